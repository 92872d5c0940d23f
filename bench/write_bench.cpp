// Writing one translation of a large script: a generated script of about
// 100,000 lines is built into a project database, every text gets a German
// translation and every tenth control a German layout, and the translated
// script is written. Prints the times and the peak memory.
//
// usage: write_bench [LINES] [DIRECTORY]

#include "project/ProjectBuild.h"
#include "project/TranslationWriter.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// One dialog and one string table per block; about 20 lines each.
std::string GenerateScript(int lines)
{
    std::string s = "#include \"resource.h\"\r\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n"
                    "#pragma code_page(1252)\r\n";
    for (int i = 0, written = 3; written < lines; ++i, written += 20) {
        const std::string n = std::to_string(i);
        s += "IDD_DLG" + n + " DIALOGEX 0, 0, 200, 100\r\nSTYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION\r\n"
             "CAPTION \"Dialog " + n + "\"\r\nFONT 8, \"MS Shell Dlg\"\r\nBEGIN\r\n"
             "    LTEXT \"&Name " + n + ":\", IDC_NAME" + n + ", 7, 7, 40, 8\r\n"
             "    EDITTEXT IDC_EDIT" + n + ", 50, 7, 100, 12, ES_AUTOHSCROLL\r\n"
             "    DEFPUSHBUTTON \"OK\", IDOK, 50, 80, 50, 14\r\n"
             "    PUSHBUTTON \"Cancel\", IDCANCEL, 110, 80, 50, 14\r\nEND\r\n"
             "STRINGTABLE\r\nBEGIN\r\n";
        for (int k = 0; k < 7; ++k)
            s += "    IDS_S" + n + "_" + std::to_string(k) + " \"String \"\"" + n + "\"\" number " +
                 std::to_string(k) + "\\n\"\r\n";
        s += "END\r\n";
    }
    return s;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path dir = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / ("qln-write-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path script = dir / "big.rc";
    const fs::path database = dir / "big_rc.mdb";
    std::ofstream(script, std::ios::binary) << GenerateScript(lines);

    fs::copy_file(qln::DefaultTemplatePath(), database, fs::copy_options::overwrite_existing);
    qln::CProjectDatabase project(database);
    auto start = std::chrono::steady_clock::now();
    qln::BuildReport report;
    if (qln::BuildFromScript(script, project, qln::NoProgress(), &report) != 0) {
        std::fprintf(stderr, "build failed: %s\n", report.message.c_str());
        return 1;
    }
    const double buildTime = Seconds(start);

    if (!qln::AddLanguage(project, 7, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = SourceText || ' (de)' WHERE Exclude = 0");
    project.db().exec(
        "INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Type, Flags, x, y, cx, cy) "
        "SELECT LineIndex, DlgLine, 1031, Name_ID, Type, Flags, x + 1, y, cx + 10, cy FROM DialogControl "
        "WHERE Lang_Id = 0 AND LineIndex % 10 = 0");

    start = std::chrono::steady_clock::now();
    const qln::WriteResult result = qln::WriteTranslatedScript(dir / "big_0407.rc", script, project, 7, 1);
    const double writeTime = Seconds(start);
    if (result.status != qln::WriteStatus::Written) {
        std::fprintf(stderr, "write failed: %s\n", result.message.c_str());
        return 1;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("lines in the database: %d\nbuild: %.3f s\nwrite one translation: %.3f s (%d lines, %ju bytes)\n"
                "peak memory: %.1f MB\n",
                report.lines, buildTime, writeTime, result.lines,
                static_cast<std::uintmax_t>(fs::file_size(dir / "big_0407.rc")), usage.ru_maxrss / 1024.0);
    if (argc <= 2)
        fs::remove_all(dir);
    return 0;
}
