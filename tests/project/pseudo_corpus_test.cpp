// Pseudo-translation on real scripts: every script of the corpus that builds
// gets a German pseudo-translation of all its texts, written beside (a mirror
// of) its source. The written script must keep every text's placeholders and
// hotkeys, and compile wherever its source compiles.

#include "project/ProjectBuild.h"
#include "project/PseudoTranslation.h"
#include "project/TextChecks.h"
#include "project/TranslationWriter.h"
#include "projectdb/Translations.h"
#include "projectdb/temp_project.h"
#include "compile_support.h"
#include "corpus_mirror.h"
#include "writer_support.h"
#include "CorpusScripts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace qln {
namespace {

namespace fs = std::filesystem;

constexpr int kPrimary = 7, kSub = 1;  // German

// Builds the script and writes its German pseudo-translation in the code
// page; the write's status (Unrepresentable when a source text does not fit).
struct PseudoScript {
    WriteStatus status = WriteStatus::NotWritable;
    std::string message;
    std::vector<test::StoredText> texts;
    std::size_t filled = 0;
};

PseudoScript WritePseudo(const fs::path& script, const fs::path& db, const fs::path& written, int codePage)
{
    PseudoScript out;
    test::CopyTemplateTo(db);
    CProjectDatabase project(db);
    BuildReport report;
    if (BuildFromScript(script, project, NoProgress(), &report) != 0) {
        out.message = report.message;
        return out;
    }
    if (!AddLanguage(project, kPrimary, kSub, codePage)) {
        out.message = "the language was not added";
        return out;
    }
    out.filled = checks::PseudoTranslate(project, "German").filled;
    out.texts = test::StoredTexts(project);
    const WriteResult result = WriteTranslatedScript(written, script, project, kPrimary, kSub);
    out.status = result.status;
    out.message = result.message;
    return out;
}

TEST(PseudoCorpus, WrittenScriptsKeepPlaceholdersAndHotkeysAndCompile)
{
    const fs::path corpus = fs::weakly_canonical(QLN_CORPUS_DIR);
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    test::TempDir work;
    test::MirrorTree mirror(corpus, work / "mirror");
    test::CompiledPairs pairs(corpus, work.path());

    int written = 0, inUtf8 = 0, notBuilt = 0;
    std::size_t filled = 0, textsCompared = 0;
    for (const fs::path& script : test::ScriptsUnder(corpus)) {
        const std::string key = fs::relative(script, corpus).string();
        SCOPED_TRACE(key);
        const fs::path dir = mirror.Writable(script.parent_path());
        // One name per script: scripts of one folder are compiled side by side.
        const fs::path target = dir / (script.stem().string() + "_pseudo_de.rc");
        // Western scripts are written in 1252; one whose own texts 1252
        // cannot hold (Japanese, Cyrillic, ...) in UTF-8.
        PseudoScript pseudo = WritePseudo(script, work / "project.mdb", target, 1252);
        if (pseudo.status == WriteStatus::Unrepresentable) {
            fs::remove(work / "project.mdb");
            pseudo = WritePseudo(script, work / "project.mdb", target, 65001);
            ++inUtf8;
        }
        fs::remove(work / "project.mdb");
        if (pseudo.texts.empty() && pseudo.status == WriteStatus::NotWritable) {
            ++notBuilt;
            continue;
        }
        ASSERT_EQ(pseudo.status, WriteStatus::Written) << pseudo.message;
        ++written;
        filled += pseudo.filled;

        const test::ParsedScript parsed = test::ParseScriptBytes(test::ReadBytes(target));
        ASSERT_EQ(parsed.error, 0);
        const std::vector<std::string> texts = parsed.Texts();
        ASSERT_EQ(texts.size(), pseudo.texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::string& source = pseudo.texts[i].source;
            if (pseudo.texts[i].excluded) {
                EXPECT_EQ(texts[i], source);
                continue;
            }
            ++textsCompared;
            EXPECT_EQ(checks::ComparePlaceholders(source, texts[i]), "") << source << " -> " << texts[i];
            EXPECT_EQ(checks::FindHotkeys(source), checks::FindHotkeys(texts[i])) << source << " -> " << texts[i];
        }
        pairs.Add(key, script, target);
    }
    std::cout << "[ pseudo ] " << written << " scripts written (" << inUtf8 << " in UTF-8), " << filled
              << " texts filled, " << textsCompared << " compared; " << notBuilt << " not built\n";
    EXPECT_GT(written, 400);

    if (!test::ResourceCompilerAvailable()) {
        std::cout << "[ pseudo ] no resource compiler: the written scripts were not compiled\n";
        return;
    }
    const std::vector<test::CompiledPairs::Result> compared = pairs.Compare();
    ASSERT_FALSE(compared.empty()) << "the written scripts could not be compiled";
    std::map<std::string, int> counts;
    for (const auto& [key, status, detail] : compared) {
        ++counts[status];
        // This sample's resource.h defines the English language symbols itself
        // and it includes no Windows header, so LANG_GERMAN is unknown to it.
        if (key == "windows-classic-samples/Samples/IME/cpp/SampleIME/SampleIME.rc")
            continue;
        EXPECT_NE(status, "second-fails") << key << ": " << detail;
    }
    std::cout << "[ pseudo ] compiled: " << counts["differ"] + counts["same"] << ", written script fails "
              << counts["second-fails"] << ", source does not compile " << counts["first-fails"] << "\n";
}

}  // namespace
}  // namespace qln
