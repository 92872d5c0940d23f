// Writing one translation of a large script: a generated script of about
// 100,000 lines is built into a project database, every text gets a German
// translation and every tenth control a German layout, and the translated
// script is written. Prints the times and the peak memory.
//
// usage: write_bench [LINES] [DIRECTORY]

#include "BenchSupport.h"
#include "project/ProjectBuild.h"
#include "project/TranslationWriter.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const bench::WorkFolder folder("write-bench", argc > 2 ? fs::path(argv[2]) : fs::path());
    const fs::path& dir = folder.path();
    const fs::path script = dir / "big.rc";
    const fs::path database = dir / "big_rc.mdb";
    bench::WriteFile(script, bench::GenerateScript({.lines = lines}).text);

    fs::copy_file(qln::DefaultTemplatePath(), database, fs::copy_options::overwrite_existing);
    qln::CProjectDatabase project(database);
    auto start = Clock::now();
    qln::BuildReport report;
    if (qln::BuildFromScript(script, project, qln::NoProgress(), &report) != 0) {
        std::fprintf(stderr, "build failed: %s\n", report.message.c_str());
        return 1;
    }
    const double buildTime = bench::SecondsSince(start);

    if (!qln::AddLanguage(project, 7, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = SourceText || ' (de)' WHERE Exclude = 0");
    project.db().exec(
        "INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Type, Flags, x, y, cx, cy) "
        "SELECT LineIndex, DlgLine, 1031, Name_ID, Type, Flags, x + 1, y, cx + 10, cy FROM DialogControl "
        "WHERE Lang_Id = 0 AND LineIndex % 10 = 0");

    start = Clock::now();
    const qln::WriteResult result = qln::WriteTranslatedScript(dir / "big_0407.rc", script, project, 7, 1);
    const double writeTime = bench::SecondsSince(start);
    if (result.status != qln::WriteStatus::Written) {
        std::fprintf(stderr, "write failed: %s\n", result.message.c_str());
        return 1;
    }
    std::printf("lines in the database: %d\nbuild: %.3f s\nwrite one translation: %.3f s (%d lines, %ju bytes)\n"
                "peak memory: %.1f MB\n",
                report.lines, buildTime, writeTime, result.lines,
                static_cast<std::uintmax_t>(fs::file_size(dir / "big_0407.rc")), bench::PeakMegabytes());
    return 0;
}
