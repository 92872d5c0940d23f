// Building the project database of a large script: a generated script of
// 100,000 lines (dialogs, menus, string tables, version resources) is built
// into a new database; prints the time and the peak memory of the process.
//
//   build_bench [lines] [template]
//
// The template defaults to qlndb8.mdb beside the executable.

#include "project/ProjectBuild.h"
#include "projectdb/ProjectDatabase.h"

#include <algorithm>
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

// One group of resources, numbered `n`, appended to `out`; returns its line count.
int AppendGroup(std::string& out, int n)
{
    const std::string id = std::to_string(n);
    int lines = 0;
    auto line = [&](const std::string& text) {
        out += text;
        out += "\r\n";
        ++lines;
    };
    line("IDD_PAGE_" + id + " DIALOGEX 0, 0, 260, 186");
    line("STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU");
    line("CAPTION \"Settings page " + id + "\"");
    line("FONT 8, \"MS Shell Dlg\", 400, 0, 0x1");
    line("BEGIN");
    for (int c = 0; c < 8; ++c) {
        const std::string cid = "IDC_FIELD_" + id + "_" + std::to_string(c);
        const std::string y = std::to_string(10 + 14 * c);
        line("    LTEXT           \"Field &" + std::to_string(c) + " of page " + id + ":\",IDC_STATIC,7," + y + ",80,8");
        line("    EDITTEXT        " + cid + ",90," + y + ",120,12,ES_AUTOHSCROLL | WS_TABSTOP");
    }
    line("    AUTOCHECKBOX    \"&Remember these values\",IDC_REMEMBER_" + id + ",7,130,150,10");
    line("    DEFPUSHBUTTON   \"OK\",IDOK,149,165,50,14");
    line("    PUSHBUTTON      \"Cancel\",IDCANCEL,203,165,50,14");
    line("END");
    line("");
    line("IDR_MENU_" + id + " MENU");
    line("BEGIN");
    line("    POPUP \"&File " + id + "\"");
    line("    BEGIN");
    line("        MENUITEM \"&Open...\\tCtrl+O\",     ID_FILE_OPEN_" + id);
    line("        MENUITEM \"&Save\\tCtrl+S\",        ID_FILE_SAVE_" + id);
    line("        MENUITEM SEPARATOR");
    line("        MENUITEM \"E&xit\",                ID_APP_EXIT_" + id);
    line("    END");
    line("END");
    line("");
    line("STRINGTABLE");
    line("BEGIN");
    for (int s = 0; s < 12; ++s)
        line("    IDS_TEXT_" + id + "_" + std::to_string(s) + "  \"Message " + std::to_string(s) + " of group " + id +
             ": \"\"%1\"\" could not be found.\"");
    line("END");
    line("");
    if (n % 20 == 0) {
        line("VS_VERSION_INFO_" + id + " VERSIONINFO");
        line(" FILEVERSION 1,0,0," + id);
        line("BEGIN");
        line("    BLOCK \"StringFileInfo\"");
        line("    BEGIN");
        line("        BLOCK \"040904b0\"");
        line("        BEGIN");
        line("            VALUE \"FileDescription\", \"Group " + id + "\"");
        line("            VALUE \"FileVersion\", \"1.0.0." + id + "\"");
        line("        END");
        line("    END");
        line("END");
        line("");
    }
    return lines;
}

std::string MakeScript(int wanted)
{
    std::string script = "#include \"resource.h\"\r\n\r\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n"
                         "#pragma code_page(1252)\r\n\r\n";
    int lines = 5;
    for (int n = 0; lines < wanted; ++n)
        lines += AppendGroup(script, n);
    return script;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// Processor time of the process so far (user and system), in seconds: less
// disturbed than the wall clock when other work shares the machine.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path self = fs::canonical("/proc/self/exe");
    const fs::path templatePath = argc > 2 ? fs::path(argv[2]) : self.parent_path() / "qlndb8.mdb";

    const fs::path dir = fs::temp_directory_path() / ("qln-build-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path script = dir / "bench.rc";
    const std::string text = MakeScript(lines);
    std::ofstream(script, std::ios::binary) << text;
    std::printf("script: %ld lines, %.1f MB\n", static_cast<long>(std::count(text.begin(), text.end(), '\n')),
                static_cast<double>(text.size()) / 1e6);

    const double cpuStart = CpuSeconds();
    const auto start = Clock::now();
    qln::BuildResult built = qln::BuildProjectDatabase(script, dir / "bench_rc.mdb", qln::NoProgress(), templatePath);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuStart;
    if (!built.ok()) {
        std::fprintf(stderr, "build failed (%d): %s\n", built.code, built.message.c_str());
        fs::remove_all(dir);
        return 1;
    }
    std::printf("build:  %.3f s (processor %.3f s), %d statements, database %.1f MB\n", seconds, cpu,
                built.report.lines,
                static_cast<double>(fs::file_size(dir / "bench_rc.mdb")) / 1e6);
    built.database.reset();
    std::printf("peak memory: %.1f MB\n", PeakMegabytes());
    fs::remove_all(dir);
    return 0;
}
