// Worksheet export and import of a large project: a generated script with
// about 100,000 texts is built, German and French translations are filled
// in, the text table is loaded, exported to .xlsx and .csv, every hundredth
// German text is changed in the database and each file is imported back.
// Prints the times and the peak memory.
//
// usage: worksheet_bench [TEXTS] [DIRECTORY]

#include "BenchSupport.h"
#include "GeneratedProject.h"
#include "project/ProjectBuild.h"
#include "project/TextTable.h"
#include "project/Worksheet.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;

int main(int argc, char** argv)
{
    const int texts = argc > 1 ? std::atoi(argv[1]) : 100000;
    const bench::WorkFolder folder("worksheet-bench", argc > 2 ? fs::path(argv[2]) : fs::path());
    const fs::path& dir = folder.path();
    const std::unique_ptr<qln::CProjectDatabase> built =
        bench::BuildGeneratedProject(dir, {.lines = 0, .texts = texts});
    if (!built)
        return 1;
    qln::CProjectDatabase& project = *built;
    if (!qln::AddLanguage(project, 7, 1, 1252) || !qln::AddLanguage(project, 12, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = SourceText || ' (de, äöü)', "
                      "\"French\" = SourceText || ' (fr, éè)' WHERE Exclude = 0");

    auto start = Clock::now();
    const qln::TextTable table = qln::LoadTextTable(project, qln::TextTableFilter{});
    std::printf("text table: %zu rows loaded in %.2f s\n", table.rows.size(), bench::SecondsSince(start));

    int failures = 0;
    for (const char* name : {"texts.xlsx", "texts.csv"}) {
        const fs::path file = dir / name;
        start = Clock::now();
        double cpu = bench::ProcessorSeconds();
        const qln::WorksheetExportResult exported =
            qln::ExportWorksheet(project, file, qln::AllColumns(project), qln::TextTableFilter{});
        const double exportTime = bench::SecondsSince(start), exportCpu = bench::ProcessorSeconds() - cpu;
        if (!exported.ok) {
            std::fprintf(stderr, "export failed: %s\n", exported.message.c_str());
            return 1;
        }
        project.db().exec("UPDATE ResourceText SET \"German\" = 'changed' WHERE LineIndex % 100 = 0 AND Exclude = 0");
        start = Clock::now();
        cpu = bench::ProcessorSeconds();
        const qln::WorksheetImportResult imported = qln::ImportWorksheet(project, file);
        const double importTime = bench::SecondsSince(start), importCpu = bench::ProcessorSeconds() - cpu;
        if (!imported.ok) {
            std::fprintf(stderr, "import failed: %s\n", imported.message.c_str());
            return 1;
        }
        std::printf("%s: %zu rows, %.1f MB; export %.2f s (cpu %.2f s), import %.2f s (cpu %.2f s); "
                    "%zu matched, %zu texts restored\n",
                    name, exported.rows, static_cast<double>(fs::file_size(file)) / 1e6, exportTime, exportCpu,
                    importTime, importCpu, imported.matched, imported.imported);
        failures += imported.matched != exported.rows;
    }

    std::printf("peak memory: %.1f MB\n", bench::PeakMegabytes());
    return failures == 0 ? 0 : 1;
}
