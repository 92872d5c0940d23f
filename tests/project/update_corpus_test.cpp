// Real scripts through a full round: build, translate every text, update from
// the unchanged script (nothing may change), then update from an edited copy
// with a few changed strings, a dialog replaced by a new menu: the untouched
// texts keep their translations and only the changed ones are flagged.

#include "update_support.h"
#include "CorpusScripts.h"

#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* InsertedMenu =
    "IDR_QLN_INSERTED MENU\nBEGIN\n    POPUP \"Inserted popup\"\n    BEGIN\n"
    "        MENUITEM \"Inserted item\", 40999\n    END\nEND\n";

struct Statement {
    int kind = 0, line = 0;
    bool hasText = false;
    std::string text, name;
};

// The statements a build stores, with the physical line each starts on.
std::vector<Statement> Statements(const std::string& text)
{
    std::vector<Statement> out;
    CRcParser parser(text);
    CRcStatement st;
    for (;;) {
        parser.ParseStatement(st);
        if (st.kind == kind::Unknown || st.error != 0 || st.kind == kind::EndOfInput)
            break;
        out.push_back({st.kind, st.sourceLine, st.HasText(), std::string(st.SourceText()), std::string(st.NameId())});
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::size_t Occurrences(const std::string& haystack, const std::string& needle)
{
    std::size_t count = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

struct Edit {
    std::string script;
    std::map<std::string, std::string> changed;  // old text -> new text
    std::set<std::string> removedDialog;         // identifier of the dialog taken out
};

// Changes up to three strings with unique identifiers and replaces the first
// dialog with a unique identifier by a new menu (or puts the menu first).
Edit EditScript(const std::string& text)
{
    const std::vector<Statement> statements = Statements(text);
    std::vector<std::string> lines = SplitLines(text);
    std::map<std::string, int> names;
    for (const Statement& s : statements)
        ++names[std::to_string(s.kind == kind::DialogEx ? kind::Dialog : s.kind) + ":" + s.name];
    auto unique = [&](const Statement& s) {
        return names[std::to_string(s.kind == kind::DialogEx ? kind::Dialog : s.kind) + ":" + s.name] == 1;
    };
    Edit edit;
    for (std::size_t i = 0; i + 1 < statements.size() && edit.changed.size() < 3; ++i) {
        const Statement& s = statements[i];
        if (s.kind != kind::StringTableEntry || !s.hasText || s.text.empty() || !unique(s) ||
            statements[i + 1].line == s.line || edit.changed.count(s.text))
            continue;
        std::string& line = lines[static_cast<std::size_t>(s.line - 1)];
        const std::string quoted = "\"" + s.text + "\"";
        if (Occurrences(line, quoted) != 1 || Occurrences(text, quoted) != 1)
            continue;
        line.replace(line.find(quoted), quoted.size(), "\"" + s.text + " (edited)\"");
        edit.changed[s.text] = s.text + " (edited)";
    }
    std::size_t first = 0, last = 0;  // physical lines [first, last) replaced by the menu
    for (std::size_t i = 0; i < statements.size() && last == 0; ++i) {
        const Statement& s = statements[i];
        if ((s.kind != kind::Dialog && s.kind != kind::DialogEx) || s.name.empty() || !unique(s))
            continue;
        int depth = 0;
        for (std::size_t j = i + 1; j < statements.size(); ++j) {
            depth += statements[j].kind == kind::Begin ? 1 : statements[j].kind == kind::End ? -1 : 0;
            if (depth == 0 && statements[j].kind == kind::End) {
                if (j + 1 < statements.size() && statements[j + 1].line > statements[j].line) {
                    first = static_cast<std::size_t>(s.line - 1);
                    last = static_cast<std::size_t>(statements[j + 1].line - 1);
                    edit.removedDialog.insert(s.name);
                }
                break;
            }
        }
    }
    std::string out;
    if (last == 0)
        out = InsertedMenu;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (last != 0 && i == first)
            out += InsertedMenu;
        if (last == 0 || i < first || i >= last)
            out += lines[i];
    }
    edit.script = out;
    return edit;
}

TEST(UpdateCorpus, UnchangedScriptsChangeNothingAndEditsTouchOnlyTheirTexts)
{
    if (!fs::is_directory(QLN_CORPUS_DIR))
        GTEST_SKIP() << "corpus folder " << QLN_CORPUS_DIR << " is absent";
    std::size_t rounds = 0, edited = 0, dialogs = 0;
    for (const fs::path& script : ScriptsUnder(QLN_CORPUS_DIR)) {
        SCOPED_TRACE(script.string());
        TempDir dir;
        const fs::path db = dir / "corpus_rc.mdb";
        if (!BuildFile(script, db).ok())
            continue;  // the parser rejects it: the build tests cover that
        ++rounds;
        TranslateAll(db);
        const Dump before = DumpDatabase(db, false);
        const auto texts = Texts(db);
        UpdateResult result = Update(script, db);
        ASSERT_TRUE(result.ok()) << result.errorDetail;
        ASSERT_EQ(DumpDatabase(db, false), before);

        DecodedScript decoded;
        std::string error;
        ASSERT_TRUE(LoadScriptFile(script, decoded, error)) << error;
        const Edit edit = EditScript(decoded.text);
        // The texts of the dialog taken out: its caption and controls.
        std::set<std::string> removed;
        for (std::string name : edit.removedDialog) {
            for (std::size_t at = name.find('\''); at != std::string::npos; at = name.find('\'', at + 2))
                name.insert(at, "'");
            const std::string dialog =
                "(SELECT LineIndex FROM Dialogs WHERE Lang_Id = 0 AND Name_ID = '" + name + "')";
            for (const Row& row : Rows(db, "SELECT LineIndex FROM DialogControl WHERE DlgLine IN " + dialog +
                                               " UNION SELECT LineIndex FROM DlgCaption WHERE DlgLine IN " + dialog))
                removed.insert(row[0]);
        }
        const fs::path copy = dir / "edited.rc";
        WriteFile(copy, edit.script);
        result = Update(copy, db);
        ASSERT_TRUE(result.ok()) << result.errorDetail;
        edited += edit.changed.size();
        dialogs += edit.removedDialog.size();

        const auto after = Texts(db);
        std::size_t added = 0;
        for (const auto& [index, state] : after)
            added += texts.count(index) == 0;
        EXPECT_EQ(added, 2u) << "only the inserted menu's texts are new";
        for (const auto& [index, state] : texts) {
            auto it = after.find(index);
            auto change = edit.changed.find(state.source);
            if (removed.count(index))
                EXPECT_EQ(it, after.end()) << "text of the removed dialog kept: " << state.source;
            else if (it == after.end())
                ADD_FAILURE() << "text lost: " << state.source;
            else if (change != edit.changed.end())
                EXPECT_EQ(it->second, (TextState{change->second, state.german, "1", state.source}));
            else
                EXPECT_EQ(it->second, state) << "untouched text " << state.source;
        }
    }
    std::cout << "[ corpus ] " << rounds << " scripts updated; " << edited << " strings edited, " << dialogs
              << " dialogs replaced by a menu\n";
    EXPECT_GT(rounds, 100u);
}

}  // namespace
}  // namespace qln::test
