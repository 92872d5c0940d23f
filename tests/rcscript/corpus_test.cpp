// Real scripts written by others: each must be read to its end, every statement
// must be sound, and no translatable string may be lost on the way.

#include "rcscript/parse_support.h"
#include "CorpusScripts.h"

#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace qln {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = QLN_CORPUS_DIR;

// Files that fail for a reason of their own, with that reason (path<TAB>reason).
std::map<std::string, std::string> KnownFailures()
{
    std::map<std::string, std::string> known;
    std::istringstream in(test::ReadFileBytes(fs::path(QLN_TEST_DATA_DIR) / "corpus_known_failures.txt"));
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos)
            continue;
        known[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return known;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Reads a string literal starting at s[i] == '"' on one line; returns false when
// it does not close on that line.
bool ReadLiteral(const std::string& s, std::size_t i, std::string& body)
{
    const std::size_t start = ++i;
    while (i < s.size()) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            i += 2;
        } else if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"') {
            i += 2;
        } else if (s[i] == '"') {
            body = s.substr(start, i - start);
            return true;
        } else {
            ++i;
        }
    }
    return false;
}

// An independent, line-based scan for the strings a translator must see: the
// first string of menu, caption and text-control lines, and of string-table lines.
std::map<std::string, int> ScanTranslatableStrings(const std::string& script)
{
    static const char* const kTextStatements[] = {
        "MENUITEM", "POPUP", "CAPTION", "LTEXT", "RTEXT", "CTEXT", "PUSHBUTTON", "DEFPUSHBUTTON",
        "GROUPBOX", "CHECKBOX", "RADIOBUTTON", "AUTOCHECKBOX", "AUTORADIOBUTTON", "AUTO3STATE", "CONTROL",
        "STATE3", "PUSHBOX", "USERBUTTON", "BEDIT", "HEDIT", "IEDIT"};
    std::map<std::string, int> found;
    std::istringstream in(script);
    std::string line;
    bool inComment = false, tablePending = false, inTable = false;
    while (std::getline(in, line)) {
        std::size_t i = line.find_first_not_of(" \t\r");
        if (inComment) {
            const std::size_t end = line.find("*/");
            if (end == std::string::npos)
                continue;
            inComment = false;
            i = line.find_first_not_of(" \t\r", end + 2);
        }
        if (i == std::string::npos || line.compare(i, 2, "//") == 0 || line[i] == '#')
            continue;
        if (line.compare(i, 2, "/*") == 0) {
            inComment = line.find("*/", i + 2) == std::string::npos;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j])) || line[j] == '_'))
            ++j;
        const std::string word = Upper(line.substr(i, j - i));
        if (word == "STRINGTABLE") {
            tablePending = true;
            continue;
        }
        if (tablePending && (word == "BEGIN" || line[i] == '{')) {
            tablePending = false;
            inTable = true;
            continue;
        }
        if (inTable && (word == "END" || line[i] == '}')) {
            inTable = false;
            continue;
        }
        bool textLine = false;
        for (const char* k : kTextStatements)
            textLine = textLine || word == k;
        std::size_t q = line.find('"', j);
        if (inTable) {
            // id [,] "text": only name characters before the quote
            textLine = q != std::string::npos &&
                       line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_+-, \t",
                                              i) == q;
        } else if (textLine) {
            const std::size_t k = line.find_first_not_of(" \t", j);
            textLine = k != std::string::npos && (line[k] == '"' || (line[k] == 'L' && k + 1 < line.size() && line[k + 1] == '"'));
            q = line.find('"', j);
        }
        std::string body;
        if (textLine && ReadLiteral(line, q, body))
            ++found[body];
    }
    return found;
}

bool IsTextKind(int k)
{
    return k == 1 || k == 2 || k == 3 || k == 4 || (k >= 19 && k <= 23) || (k >= 25 && k <= 27) ||
           (k >= 102 && k <= 104) || (k >= 107 && k <= 112) || k == kind::StringTableEntry;
}

TEST(Corpus, EveryScriptParsesAndKeepsItsTexts)
{
    if (!fs::is_directory(kCorpus))
        GTEST_SKIP() << "corpus folder " << kCorpus << " is absent";
    const auto known = KnownFailures();
    int files = 0, failures = 0, texts = 0;
    for (const fs::path& path : test::ScriptsUnder(kCorpus)) {
        const std::string rel = fs::relative(path, kCorpus).generic_string();
        SCOPED_TRACE(rel);
        ++files;
        DecodedScript script;
        std::string error;
        ASSERT_TRUE(LoadScriptFile(path, script, error)) << error;

        const auto all = test::ParseAll(script.text);
        const CRcStatement& last = all.back();
        const bool ok = last.kind == kind::EndOfInput && last.error == 0;
        const auto listed = known.find(rel);
        if (listed != known.end()) {
            ++failures;
            EXPECT_FALSE(ok) << "listed as a known failure but parses: remove it from the list";
            continue;
        }
        EXPECT_TRUE(ok) << ParserErrorText(last.error, rel) << " at line " << last.sourceLine << ": "
                        << last.text.substr(0, 200);

        std::map<std::string, int> parsed;
        for (const CRcStatement& st : all) {
            if (st.error != 0)
                continue;
            test::ExpectSoundStatement(st, script.text, rel);
            if (st.HasText() && IsTextKind(st.kind))
                ++parsed[std::string(st.SourceText())];
        }
        for (const auto& [text, count] : ScanTranslatableStrings(script.text)) {
            texts += count;
            EXPECT_LE(count, parsed[text]) << "text lost: \"" << text << "\"";
        }
    }
    EXPECT_GT(files, 400);
    EXPECT_GT(texts, 10000);
    EXPECT_EQ(failures, static_cast<int>(known.size())) << "a listed file is missing from the corpus";
}

}  // namespace
}  // namespace qln
