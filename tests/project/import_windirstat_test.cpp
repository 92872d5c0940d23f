// Real translations: the project of windirstat's English script imports each
// of its translated scripts; written back for that language, the script must
// compile to the same menus, string tables and dialog texts as the real
// translated script, apart from the differences that
// data/import_windirstat_differences.txt explains one by one.

#include "compiled_texts.h"
#include "import_support.h"

#include "project/ImportScript.h"
#include "project/TranslationWriter.h"
#include "projectdb/ProjectDatabase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::CompiledTexts;
using test::CompilerAvailable;

// Language identifier -> keys whose texts may differ.
std::map<std::string, std::set<std::string>> ExplainedDifferences()
{
    std::map<std::string, std::set<std::string>> explained;
    std::ifstream in(fs::path(QLN_TEST_DATA_DIR) / "import_windirstat_differences.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string language, keys;
        std::getline(fields, language, '\t');
        std::getline(fields, keys, '\t');
        std::size_t from = 0;
        while (from <= keys.size()) {
            const std::size_t bar = keys.find(" | ", from);
            explained[language].insert(keys.substr(from, bar - from));
            if (bar == std::string::npos)
                break;
            from = bar + 3;
        }
    }
    return explained;
}

TEST(ImportWindirstat, TranslatedScriptsImportAndWriteBackAsTheRealOnes)
{
    const fs::path corpus = fs::path(QLN_CORPUS_DIR) / "windirstat";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    const fs::path tools = fs::path(QLN_CORPUS_DIR).parent_path() / "tools";
    const bool compile = CompilerAvailable(tools);
    test::TempDir work;
    fs::copy(corpus, work / "windirstat", fs::copy_options::recursive);
    const fs::path dir = work / "windirstat" / "windirstat";
    const fs::path source = dir / "windirstat.rc";
    const fs::path db = dir / "windirstat_rc.mdb";
    ASSERT_TRUE(test::BuildFile(source, db).ok());
    const std::string total = test::Value(db, "SELECT count(*) FROM ResourceText");

    const auto explained = ExplainedDifferences();
    std::set<std::string> explainedSeen;
    int imported = 0;
    for (const auto& entry : fs::directory_iterator(dir / "res")) {
        const std::string folder = entry.path().filename().string();
        if (folder.rfind("wdsr", 0) != 0)
            continue;
        const std::string ident = folder.substr(4);
        SCOPED_TRACE(ident);
        const int id = std::stoi(ident, nullptr, 16);
        const LanguagePair language{id & 0x3FF, id >> 10};
        const fs::path translated = entry.path() / "windirstat.rc";
        const ImportResult result = ImportTranslatedScript(db, translated, language);
        if (!LanguageDisplayName(language.primary, language.sub)) {
            // A language without a display name cannot be a translation.
            EXPECT_EQ(result.status, ImportStatus::NotStarted);
            std::cout << "[ import ] " << ident << ": not imported, the language has no display name\n";
            continue;
        }
        ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
        EXPECT_TRUE(result.notes.empty());
        ++imported;
        std::cout << "[ import ] " << ident << " " << *LanguageDisplayName(language.primary, language.sub) << ": "
                  << result.imported << " of " << total << " texts imported (" << result.read
                  << " texts read)\n";

        CProjectDatabase project(db);
        const fs::path written = dir / ("windirstat_" + ident + ".rc");
        const WriteResult write = WriteTranslatedScript(written, source, project, language.primary, language.sub);
        ASSERT_EQ(write.status, WriteStatus::Written) << write.message;
        if (!compile)
            continue;
        const auto real = CompiledTexts(tools, dir, fs::relative(translated, dir), work / "real.txt");
        const auto ours = CompiledTexts(tools, dir, written.filename(), work / "ours.txt");
        ASSERT_FALSE(ours.empty()) << "the written script does not compile";
        const std::set<std::string> allowed = explained.count(ident) ? explained.at(ident) : std::set<std::string>{};
        if (real.empty()) {
            // "*": the real script does not compile here, so there is nothing to compare with.
            EXPECT_TRUE(allowed.count("*")) << "the real translated script does not compile";
            explainedSeen.insert(ident + " *");
            std::cout << "[ compare ] " << ident << ": the real script does not compile\n";
            continue;
        }
        std::set<std::string> keys;
        for (const auto* texts : {&real, &ours})
            for (const auto& [key, text] : *texts)
                keys.insert(key);
        int same = 0;
        for (const std::string& key : keys) {
            const auto a = real.find(key), b = ours.find(key);
            if (a != real.end() && b != ours.end() && a->second == b->second) {
                ++same;
                EXPECT_FALSE(allowed.count(key)) << key << " is the same now: remove it from the list";
                continue;
            }
            explainedSeen.insert(ident + " " + key);
            EXPECT_TRUE(allowed.count(key)) << key << "\n real:    " << (a == real.end() ? "-" : a->second)
                                            << "\n written: " << (b == ours.end() ? "-" : b->second);
        }
        std::cout << "[ compare ] " << ident << ": " << same << " of " << keys.size() << " texts the same\n";
    }
    EXPECT_GE(imported, 10);
    if (!compile)
        return;
    for (const auto& [language, keys] : explained)
        for (const std::string& key : keys)
            EXPECT_TRUE(explainedSeen.count(language + " " + key)) << language << " " << key << " was not compared";
}

}  // namespace
}  // namespace qln
