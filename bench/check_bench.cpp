// Every translation check over a large project: a generated script of about
// 100,000 lines is built into a project database, every text gets a German
// translation (every hundredth with a lost placeholder or hotkey), and all
// checks run over German. Then the empty French column is pseudo-translated.
// Prints the times, the findings and the peak memory.
//
// usage: check_bench [LINES] [DIRECTORY]

#include "BenchSupport.h"
#include "GeneratedProject.h"
#include "project/ProjectBuild.h"
#include "project/PseudoTranslation.h"
#include "project/TranslationChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const bench::WorkFolder folder("check-bench", argc > 2 ? fs::path(argv[2]) : fs::path());
    const fs::path& dir = folder.path();
    const std::unique_ptr<qln::CProjectDatabase> built = bench::BuildGeneratedProject(dir, {.lines = lines});
    if (!built)
        return 1;
    qln::CProjectDatabase& project = *built;
    if (!qln::AddLanguage(project, 7, 1, 1252) || !qln::AddLanguage(project, 12, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = CASE WHEN LineIndex % 100 = 0 "
                      "THEN replace(replace(SourceText, '&', ''), '%', '') ELSE SourceText || ' (de)' END "
                      "WHERE Exclude = 0");

    auto start = Clock::now();
    const qln::checks::CheckRun run = qln::checks::CheckTranslation(project, "German");
    const double checkTime = bench::SecondsSince(start);

    start = Clock::now();
    const qln::checks::PseudoResult pseudo = qln::checks::PseudoTranslate(project, "French");
    const double pseudoTime = bench::SecondsSince(start);

    std::printf("texts checked: %zu\nfindings: %zu\nall checks: %.3f s\npseudo-translation: %.3f s (%zu texts)\n"
                "peak memory: %.1f MB\n",
                run.textsChecked, run.findings.size(), checkTime, pseudoTime, pseudo.filled, bench::PeakMegabytes());
    return 0;
}
