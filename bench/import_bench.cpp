// Importing a large translated script: a generated English script of 100,000
// lines is built into a project database, then its German twin (the same
// resources with translated texts) is imported into it. Prints the times and
// the peak memory of the process; the import's target is under 2 seconds.
// The database export and the import from a database are timed as well.
//
//   import_bench [lines] [template]
//
// The template defaults to qlndb8.mdb beside the executable.

#include "project/DatabaseExchange.h"
#include "project/ImportScript.h"
#include "project/ProjectBuild.h"
#include "projectdb/ProjectDatabase.h"

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
using Clock = std::chrono::steady_clock;

// A script of about `wanted` lines; `german` gives every text its translation.
std::string Script(int wanted, bool german)
{
    const auto t = [german](const std::string& english, const std::string& translated) {
        return german ? translated : english;
    };
    std::string out = german ? "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\r\n" : "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n";
    int lines = 1;
    auto line = [&](const std::string& text) {
        out += text + "\r\n";
        ++lines;
    };
    for (int g = 0; lines < wanted; ++g) {
        const std::string n = std::to_string(g);
        line("IDD_DLG_" + n + " DIALOGEX 0, 0, 240, 160");
        line("CAPTION \"" + t("Options ", "Optionen ") + n + "\"");
        line("BEGIN");
        for (int c = 0; c < 6; ++c) {
            line("    LTEXT \"" + t("Value ", "Wert ") + std::to_string(c) + ":\",IDC_STATIC,7," + std::to_string(10 + 14 * c) +
                 ",80,8");
            line("    EDITTEXT IDC_EDIT_" + n + "_" + std::to_string(c) + ",90," + std::to_string(10 + 14 * c) + ",120,12");
        }
        line("    DEFPUSHBUTTON \"OK\",IDOK,130,140,50,14");
        line("    PUSHBUTTON \"" + t("Cancel", "Abbrechen") + "\",IDCANCEL,184,140,50,14");
        line("END");
        line("IDR_MENU_" + n + " MENU");
        line("BEGIN");
        line("    POPUP \"" + t("&File", "&Datei") + "\"");
        line("    BEGIN");
        line("        MENUITEM \"" + t("&Open", "\xC3\x96&" "ffnen") + "\", ID_OPEN_" + n);
        line("        MENUITEM \"" + t("E&xit", "&Beenden") + "\", ID_EXIT_" + n);
        line("    END");
        line("END");
        line("STRINGTABLE");
        line("BEGIN");
        for (int s = 0; s < 15; ++s)
            line("    IDS_" + n + "_" + std::to_string(s) + " \"" + t("Message ", "Meldung ") + std::to_string(s) +
                 " of " + n + "\"");
        line("END");
    }
    return out;
}

void Write(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path templatePath = argc > 2 ? fs::path(argv[2]) : qln::DefaultTemplatePath();
    const fs::path dir = fs::temp_directory_path() / ("qln-import-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path source = dir / "big.rc", translated = dir / "big_de.rc", db = dir / "big_rc.mdb";
    Write(source, Script(lines, false));
    Write(translated, Script(lines, true));

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
    std::printf("peak memory: %.1f MB\n", PeakMegabytes());

    std::error_code ec;
    fs::remove_all(dir, ec);
    return imported.ok() && importSeconds < 2.0 ? 0 : 1;
}
