// Worksheet export and import of a large project: a generated script with
// about 100,000 texts is built, German and French translations are filled
// in, the text table is loaded, exported to .xlsx and .csv, every hundredth
// German text is changed in the database and each file is imported back.
// Prints the times and the peak memory.
//
// usage: worksheet_bench [TEXTS] [DIRECTORY]

#include "project/ProjectBuild.h"
#include "project/TextTable.h"
#include "project/Worksheet.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// One dialog (4 texts) and one string table (7 texts) per block.
std::string GenerateScript(int texts)
{
    std::string s = "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n";
    for (int i = 0; i * 11 < texts; ++i) {
        const std::string n = std::to_string(i);
        s += "IDD_DLG" + n + " DIALOGEX 0, 0, 200, 100\r\nCAPTION \"Dialog " + n + "\"\r\nBEGIN\r\n"
             "    LTEXT \"&Name " + n + ":\", IDC_NAME" + n + ", 7, 7, 40, 8\r\n"
             "    DEFPUSHBUTTON \"OK\", IDOK, 50, 80, 50, 14\r\n"
             "    PUSHBUTTON \"Cancel\", IDCANCEL, 110, 80, 50, 14\r\nEND\r\n"
             "STRINGTABLE\r\nBEGIN\r\n";
        for (int k = 0; k < 7; ++k)
            s += "    IDS_S" + n + "_" + std::to_string(k) + " \"String, \"\"" + n + "\"\" number " +
                 std::to_string(k) + "\"\r\n";
        s += "END\r\n";
    }
    return s;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of this process so far (the machine may be busy with others).
double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv)
{
    const int texts = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path dir = argc > 2 ? fs::path(argv[2])
                                  : fs::temp_directory_path() / ("qln-worksheet-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path script = dir / "big.rc";
    const fs::path database = dir / "big_rc.mdb";
    std::ofstream(script, std::ios::binary) << GenerateScript(texts);

    fs::copy_file(qln::DefaultTemplatePath(), database, fs::copy_options::overwrite_existing);
    qln::CProjectDatabase project(database);
    qln::BuildReport report;
    if (qln::BuildFromScript(script, project, qln::NoProgress(), &report) != 0) {
        std::fprintf(stderr, "build failed: %s\n", report.message.c_str());
        return 1;
    }
    if (!qln::AddLanguage(project, 7, 1, 1252) || !qln::AddLanguage(project, 12, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = SourceText || ' (de, äöü)', "
                      "\"French\" = SourceText || ' (fr, éè)' WHERE Exclude = 0");

    auto start = std::chrono::steady_clock::now();
    const qln::TextTable table = qln::LoadTextTable(project, qln::TextTableFilter{});
    std::printf("text table: %zu rows loaded in %.2f s\n", table.rows.size(), Seconds(start));

    int failures = 0;
    for (const char* name : {"texts.xlsx", "texts.csv"}) {
        const fs::path file = dir / name;
        start = std::chrono::steady_clock::now();
        double cpu = CpuSeconds();
        const qln::WorksheetExportResult exported =
            qln::ExportWorksheet(project, file, qln::AllColumns(project), qln::TextTableFilter{});
        const double exportTime = Seconds(start), exportCpu = CpuSeconds() - cpu;
        if (!exported.ok) {
            std::fprintf(stderr, "export failed: %s\n", exported.message.c_str());
            return 1;
        }
        project.db().exec("UPDATE ResourceText SET \"German\" = 'changed' WHERE LineIndex % 100 = 0 AND Exclude = 0");
        start = std::chrono::steady_clock::now();
        cpu = CpuSeconds();
        const qln::WorksheetImportResult imported = qln::ImportWorksheet(project, file);
        const double importTime = Seconds(start), importCpu = CpuSeconds() - cpu;
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

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    if (argc <= 2)
        fs::remove_all(dir);
    return failures == 0 ? 0 : 1;
}
