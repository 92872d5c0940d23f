// Importing a large translated script: a generated English script of 100,000
// lines is built into a project database, then its German twin (the same
// resources with translated texts) is imported into it. Prints the times and
// the peak memory of the process; the import's target is under 2 seconds.
// The database export and the import from a database are timed as well.
//
//   import_bench [lines] [template]
//
// The template defaults to qlndb8.mdb beside the executable.

#include "BenchSupport.h"
#include "project/DatabaseExchange.h"
#include "project/ImportScript.h"
#include "project/ProjectBuild.h"
#include "projectdb/ProjectDatabase.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;
using bench::SecondsSince;

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path templatePath = argc > 2 ? fs::path(argv[2]) : qln::DefaultTemplatePath();
    const bench::WorkFolder dir("import-bench");
    const fs::path source = dir / "big.rc", translated = dir / "big_de.rc", db = dir / "big_rc.mdb";
    bench::WriteFile(source, bench::GenerateScript({.lines = lines}).text);
    bench::WriteFile(translated, bench::GenerateScript({.lines = lines,
                                                        .translationPrefix = "[de] ",
                                                        .language = "LANG_GERMAN, SUBLANG_GERMAN"})
                                     .text);

    auto start = Clock::now();
    qln::BuildResult built = qln::BuildProjectDatabase(source, db, qln::NoProgress(), templatePath);
    if (!built.ok()) {
        std::fprintf(stderr, "build failed: %s\n", built.message.c_str());
        return 1;
    }
    built.database.reset();
    std::printf("build of %d lines: %.2f s\n", lines, SecondsSince(start));

    start = Clock::now();
    const qln::ImportResult imported = qln::ImportTranslatedScript(db, translated, {7, 1});
    const double importSeconds = SecondsSince(start);
    std::printf("script import: %d of %d texts in %.2f s (target < 2 s)  %s\n", imported.imported, imported.read,
                importSeconds, imported.ok() ? "" : imported.message.c_str());

    start = Clock::now();
    qln::ExportResult exported;
    {
        qln::CProjectDatabase project(db);
        exported = qln::ExportDatabase(project, dir / "export.mdb");
    }
    std::printf("database export: %.2f s  %s\n", SecondsSince(start), exported.ok() ? "" : exported.message.c_str());

    // A second project of the same script fills its German from the export.
    qln::BuildResult second = qln::BuildProjectDatabase(source, dir / "second_rc.mdb", qln::NoProgress(), templatePath);
    second.database.reset();
    start = Clock::now();
    const qln::ImportResult fromDb = qln::ImportFromDatabase(dir / "second_rc.mdb", dir / "export.mdb", {7, 1});
    std::printf("database import: %d texts in %.2f s\n", fromDb.imported, SecondsSince(start));
    std::printf("peak memory: %.1f MB\n", bench::PeakMegabytes());
    return imported.ok() && importSeconds < 2.0 ? 0 : 1;
}
