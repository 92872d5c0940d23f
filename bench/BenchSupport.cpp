#include "BenchSupport.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qln::bench {

namespace fs = std::filesystem;

namespace {

// Appends one group of resources numbered `n` to a script being generated.
class ScriptWriter {
public:
    explicit ScriptWriter(const ScriptOptions& options) : options_(options) {}

    void Line(const std::string& text)
    {
        script_.text += text;
        script_.text += "\r\n";
        ++script_.lines;
    }

    // A quoted text with the marks of the variant asked for.
    std::string Text(const std::string& body)
    {
        const double f = options_.editedFraction;
        const long i = script_.texts++;
        // Text i is edited when floor((i + 1) * f) > floor(i * f): a fraction f of
        // the texts, spread evenly.
        const auto before = static_cast<long>(static_cast<double>(i) * f);
        const bool edited = f > 0 && static_cast<long>(static_cast<double>(i + 1) * f) > before;
        script_.editedTexts += edited;
        return "\"" + options_.translationPrefix + body + (edited ? " (new wording)" : "") + "\"";
    }

    void Dialog(const std::string& id)
    {
        Line("IDD_PAGE_" + id + " DIALOGEX 0, 0, 260, 186");
        Line("STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU");
        Line("CAPTION " + Text("Settings page " + id));
        Line("FONT 8, \"MS Shell Dlg\", 400, 0, 0x1");
        Line("BEGIN");
        Line("    GROUPBOX        " + Text("Category") + ",IDC_STATIC,7,7,80,60");
        const char* categories[] = {"&Length", "&Mass", "&Temperature"};
        for (int c = 0; c < 3; ++c)
            Line("    AUTORADIOBUTTON " + Text(categories[c]) + ",IDC_CAT_" + id + "_" + std::to_string(c) + ",14," +
                 std::to_string(20 + 14 * c) + ",66,10" + (c == 0 ? ",WS_GROUP" : ""));
        for (int c = 0; c < 6; ++c) {
            const std::string y = std::to_string(10 + 14 * c);
            Line("    LTEXT           " + Text("Field &" + std::to_string(c) + " of page " + id + ":") +
                 ",IDC_STATIC,95," + y + ",70,8");
            Line("    EDITTEXT        IDC_FIELD_" + id + "_" + std::to_string(c) + ",170," + y +
                 ",80,12,ES_AUTOHSCROLL | WS_TABSTOP");
        }
        Line("    COMBOBOX        IDC_UNIT_" + id + ",95,100,70,80,CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP");
        Line("    AUTOCHECKBOX    " + Text("&Remember these values") + ",IDC_REMEMBER_" + id + ",7,130,150,10");
        Line("    DEFPUSHBUTTON   " + Text("OK") + ",IDOK,149,165,50,14");
        Line("    PUSHBUTTON      " + Text("Cancel") + ",IDCANCEL,203,165,50,14");
        Line("END");
        Line("");
    }

    void Menu(const std::string& id)
    {
        Line("IDR_MENU_" + id + " MENU");
        Line("BEGIN");
        Line("    POPUP " + Text("&File " + id));
        Line("    BEGIN");
        Line("        MENUITEM " + Text("&Open...\\tCtrl+O") + ",     ID_FILE_OPEN_" + id);
        Line("        MENUITEM " + Text("&Save\\tCtrl+S") + ",        ID_FILE_SAVE_" + id);
        Line("        MENUITEM SEPARATOR");
        Line("        POPUP " + Text("Recent &Lists"));
        Line("        BEGIN");
        Line("            MENUITEM " + Text("(empty)") + ",         ID_FILE_RECENT_" + id + ", GRAYED");
        Line("        END");
        Line("        MENUITEM SEPARATOR");
        Line("        MENUITEM " + Text("E&xit") + ",                ID_APP_EXIT_" + id);
        Line("    END");
        Line("    POPUP " + Text("&View"));
        Line("    BEGIN");
        Line("        MENUITEM " + Text("&History") + ",             ID_VIEW_HISTORY_" + id + ", CHECKED");
        Line("        MENUITEM " + Text("Always on &Top") + ",       ID_VIEW_TOPMOST_" + id);
        Line("    END");
        Line("END");
        Line("");
    }

    void StringTable(const std::string& id)
    {
        Line("STRINGTABLE");
        Line("BEGIN");
        for (int s = 0; s < 12; ++s)
            Line("    IDS_TEXT_" + id + "_" + std::to_string(s) + "  " +
                 Text("Message " + std::to_string(s) + " of group " + id + ": \"\"%1\"\" could not be found."));
        Line("END");
        Line("");
    }

    void VersionInfo(const std::string& id)
    {
        Line("VS_VERSION_INFO_" + id + " VERSIONINFO");
        Line(" FILEVERSION 1,0,0," + id);
        Line(" PRODUCTVERSION 1,0,0," + id);
        Line("BEGIN");
        Line("    BLOCK \"StringFileInfo\"");
        Line("    BEGIN");
        Line("        BLOCK \"040904b0\"");
        Line("        BEGIN");
        Line("            VALUE \"FileDescription\", " + Text("Group " + id + " of the benchmark"));
        Line("            VALUE \"FileVersion\", \"1.0.0." + id + "\"");
        Line("        END");
        Line("    END");
        Line("    BLOCK \"VarFileInfo\"");
        Line("    BEGIN");
        Line("        VALUE \"Translation\", 0x409, 1200");
        Line("    END");
        Line("END");
        Line("");
    }

    GeneratedScript Generate()
    {
        Line("// Generated for a benchmark.");
        Line("LANGUAGE " + options_.language);
        Line("#pragma code_page(1252)");
        Line("");
        for (long n = 0; script_.lines < options_.lines || script_.texts < options_.texts; ++n) {
            const std::string id = std::to_string(n);
            Dialog(id);
            Menu(id);
            StringTable(id);
            if (n % 20 == 0)
                VersionInfo(id);
        }
        return std::move(script_);
    }

private:
    const ScriptOptions& options_;
    GeneratedScript script_;
};

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

}  // namespace

GeneratedScript GenerateScript(const ScriptOptions& options)
{
    return ScriptWriter(options).Generate();
}

bool WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ProcessorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

Spread Summarise(std::vector<double> values)
{
    Spread spread;
    if (values.empty())
        return spread;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    spread.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    spread.min = values.front();
    return spread;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

double CurrentMegabytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

fs::path ExecutableFolder()
{
    return fs::canonical("/proc/self/exe").parent_path();
}

WorkFolder::WorkFolder(const std::string& name, const fs::path& given)
    : path_(given.empty() ? fs::temp_directory_path() / ("qln-" + name + "-" + std::to_string(::getpid())) : given),
      temporary_(given.empty())
{
    if (temporary_)
        fs::remove_all(path_);
    fs::create_directories(path_);
}

WorkFolder::~WorkFolder()
{
    std::error_code ec;
    if (temporary_)
        fs::remove_all(path_, ec);
}

ChildRun RunChild(const std::string& program, const std::vector<std::string>& args, const ChildOptions& options)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    ChildRun run;
    std::fflush(stdout);
    std::fflush(stderr);
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child < 0)
        return run;
    if (child == 0) {
        if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0)
            ::_exit(126);
        if (!options.output.empty()) {
            const int fd = ::open(options.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0)
                ::_exit(126);
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
            ::close(fd);
        }
        ::execvp(program.c_str(), argv.data());
        ::_exit(127);
    }
    run.started = true;

    int status = 0;
    rusage usage{};
    if (options.timeLimitSeconds <= 0) {
        while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
        }
    } else {
        // Polled, so that the child can be stopped at the limit.
        while (true) {
            const pid_t done = ::wait4(child, &status, WNOHANG, &usage);
            if (done == child || (done < 0 && errno != EINTR))
                break;
            if (SecondsSince(start) > options.timeLimitSeconds) {
                ::kill(child, SIGKILL);
                ::wait4(child, &status, 0, &usage);
                run.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    run.seconds = SecondsSince(start);
    run.processorSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    if (!run.timedOut && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace qln::bench
