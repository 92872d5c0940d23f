// Fidelity of written scripts on real scripts: every script of the corpus is
// built into a database and written again for a language without
// translations, next to (a mirror of) its source so that its includes
// resolve. The written script must parse to the same texts in the same
// order, and compile to the same resources as its source apart from the
// language identifiers. Scripts whose resources necessarily differ are listed
// with their reasons in data/written_script_differences.txt.

#include "project/ProjectBuild.h"
#include "project/TranslationWriter.h"
#include "projectdb/Translations.h"
#include "projectdb/temp_project.h"
#include "compile_support.h"
#include "writer_support.h"
#include "corpus_mirror.h"
#include "CorpusScripts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr int kPrimary = 7, kSub = 1;  // German, written in UTF-8

// Scripts whose compiled resources are known to differ, each with its reason.
std::map<std::string, std::string> ExplainedDifferences()
{
    std::map<std::string, std::string> reasons;
    std::ifstream in(fs::path(QLN_TEST_DATA_DIR) / "written_script_differences.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            reasons[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return reasons;
}

TEST(WriterFidelityTest, CorpusScriptsSurviveWritingUnchanged)
{
    const fs::path corpus = fs::weakly_canonical(QLN_CORPUS_DIR);
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    test::TempDir work;
    test::MirrorTree mirror(corpus, work / "mirror");
    test::CompiledPairs pairs(corpus, work.path());

    int built = 0, notBuilt = 0, reparsed = 0;
    std::vector<std::string> notBuiltList;
    for (const fs::path& script : test::ScriptsUnder(corpus)) {
        const std::string key = fs::relative(script, corpus).string();
        SCOPED_TRACE(key);
        const fs::path db = work / "project.mdb";
        test::CopyTemplateTo(db);
        CProjectDatabase project(db);
        BuildReport report;
        if (BuildFromScript(script, project, NoProgress(), &report) != 0) {
            ++notBuilt;
            notBuiltList.push_back(key + ": " + report.message);
            continue;
        }
        ++built;
        ASSERT_TRUE(AddLanguage(project, kPrimary, kSub, 65001));
        const fs::path dir = mirror.Writable(script.parent_path());
        const fs::path written = dir / DefaultTranslationFileName(project, script, kPrimary, kSub);
        ASSERT_FALSE(fs::exists(fs::symlink_status(written)));
        WriteResult result = WriteTranslatedScript(written, script, project, kPrimary, kSub);
        ASSERT_EQ(result.status, WriteStatus::Written) << result.message;

        // (a) the written script parses again, to the same texts in the same order.
        test::ParsedScript parsed = test::ParseScriptBytes(test::ReadBytes(written));
        EXPECT_EQ(parsed.error, 0);
        EXPECT_EQ(parsed.Texts(), test::SourceTexts(project));
        reparsed += parsed.error == 0;

        pairs.Add(key, script, written);
        fs::remove(db);
    }
    std::cout << "[ fidelity ] " << built << " scripts built and written, " << reparsed << " parsed again; "
              << notBuilt << " not built\n";
    for (const std::string& s : notBuiltList)
        std::cout << "[ not built ] " << s << "\n";
    EXPECT_GT(built, 0);

    // (b) compiled resources, where the source compiles.
    if (!test::ResourceCompilerAvailable()) {
        std::cout << "[ fidelity ] no resource compiler: compiled resources not compared\n";
        return;
    }
    const std::vector<test::CompiledPairs::Result> compared = pairs.Compare();
    ASSERT_FALSE(compared.empty()) << "the compiled scripts could not be compared";

    const auto explained = ExplainedDifferences();
    std::map<std::string, int> counts;
    std::set<std::string> seenExplained;
    for (const auto& [key, status, detail] : compared) {
        ++counts[status];
        const bool isExplained = explained.count(key) != 0;
        if (isExplained)
            seenExplained.insert(key);
        if (status == "differ" || status == "second-fails") {
            EXPECT_TRUE(isExplained) << key << " " << status << ": " << detail;
            if (isExplained)
                std::cout << "[ explained ] " << key << ": " << explained.at(key) << "\n";
        } else if (status == "same") {
            EXPECT_FALSE(isExplained) << key << " compiles the same now: remove it from the list";
        }
    }
    std::cout << "[ fidelity ] compiled: " << counts["same"] << " same, " << counts["differ"] << " differ, "
              << counts["second-fails"] << " written script fails, " << counts["first-fails"]
              << " source does not compile\n";
    for (const auto& [key, reason] : explained)
        EXPECT_TRUE(seenExplained.count(key)) << key << " is listed but was not compared";
}

}  // namespace
}  // namespace qln
