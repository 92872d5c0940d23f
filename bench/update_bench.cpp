// Updating the project database of a large script after 1% of its texts
// changed. For each size: a generated script is built, every text translated,
// then every hundredth text is edited and the database updated. Prints the
// time of the whole update (copy, pass, purge, compaction) with the peak
// memory of the process that ran it, and the time of each step.
//
//   update_bench [lines ...] (default: 10000 100000)
//
// Each update runs in a process of its own, so its peak memory is its own.
//
// The template is qlndb8.mdb beside the executable.

#include "project/DatabaseExchange.h"
#include "project/ProjectBuild.h"
#include "project/ProjectUpdate.h"
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
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Writes a script of about `wanted` lines; every hundredth text is marked as
// changed when `edited` is set. Returns the number of lines.
long WriteScript(const fs::path& path, long wanted, bool edited)
{
    std::string out;
    long lines = 0, texts = 0;
    auto line = [&](const std::string& text) {
        out += text;
        out += "\r\n";
        ++lines;
    };
    auto text = [&](const std::string& body) {
        const bool change = edited && texts % 100 == 0;
        ++texts;
        return "\"" + body + (change ? " (new wording)" : "") + "\"";
    };
    line("LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US");
    for (long n = 0; lines < wanted; ++n) {
        const std::string id = std::to_string(n);
        line("IDD_FORM_" + id + " DIALOGEX 0, 0, 240, 160");
        line("CAPTION " + text("Form " + id));
        line("BEGIN");
        for (int c = 0; c < 6; ++c) {
            const std::string y = std::to_string(8 + 16 * c);
            line("    LTEXT " + text("Label " + std::to_string(c) + " of form " + id) + ", IDC_STATIC, 7, " + y +
                 ", 80, 8");
            line("    EDITTEXT IDC_EDIT_" + id + "_" + std::to_string(c) + ", 90, " + y + ", 120, 12");
        }
        line("    DEFPUSHBUTTON " + text("OK") + ", IDOK, 130, 140, 50, 14");
        line("END");
        line("IDR_MENU_" + id + " MENU");
        line("BEGIN");
        line("    POPUP " + text("&Edit " + id));
        line("    BEGIN");
        for (int m = 0; m < 4; ++m)
            line("        MENUITEM " + text("Command &" + std::to_string(m) + " of " + id) + ", ID_CMD_" + id + "_" +
                 std::to_string(m));
        line("    END");
        line("END");
        line("STRINGTABLE");
        line("BEGIN");
        for (int s = 0; s < 20; ++s)
            line("    IDS_MSG_" + id + "_" + std::to_string(s) + " " +
                 text("Message " + std::to_string(s) + " of group " + id));
        line("END");
    }
    std::ofstream(path, std::ios::binary) << out;
    return lines;
}

struct ChildResult {
    double seconds = 0;
    double peakMegabytes = 0;
    bool ok = false;
};

// Runs this program again with `args` in a fresh process: its wall time and
// its own peak memory.
ChildResult InChild(const std::vector<std::string>& args)
{
    std::fflush(stdout);
    const std::string self = fs::canonical("/proc/self/exe").string();
    std::vector<char*> argv{const_cast<char*>(self.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {Since(start), static_cast<double>(usage.ru_maxrss) / 1024.0, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

// --update: the whole update as the document runs it.
int UpdateWhole(const fs::path& script, const fs::path& db)
{
    const qln::UpdateResult result = qln::UpdateDatabase({script, db, nullptr, true});
    const qln::UpdateCounts& c = result.report.counts;
    std::printf("  texts changed %zu, lines unchanged %zu, rewritten %zu, new %zu, purged %zu\n", c.changedTexts,
                c.matchedByContent, c.rewritten, c.newLines, result.report.purgedLines);
    return result.ok() ? 0 : 1;
}

// --steps: the same update step by step.
int UpdateSteps(const fs::path& script, const fs::path& db)
{
    const fs::path work = db.parent_path() / "work.mdb";
    auto t = Clock::now();
    qln::CopyDatabaseFile(db, work);
    const double copy = Since(t);
    qln::UpdatePassReport report;
    t = Clock::now();
    {
        qln::CProjectDatabase project(work);
        project.db().exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY");
        qln::sql::Transaction transaction(project.db());
        if (qln::RunUpdatePass(project, script, qln::NoProgress(), report) != 0)
            return 1;
        project.SetStatus(qln::ComputeProjectStatus(project));
        transaction.commit();
    }
    const double pass = Since(t);
    t = Clock::now();
    const bool compacted = qln::CompactDatabase(work, db).ok;
    const double compact = Since(t);
    fs::remove(work);
    std::printf("  steps: copy %.3f s, pass %.3f s (load %.3f, read and merge %.3f, renumber %.3f, purge and "
                "flag %.3f), compaction %.3f s\n",
                copy, pass, report.loadSeconds, report.readSeconds, report.renumberSeconds, report.purgeSeconds,
                compact);
    return compacted ? 0 : 1;
}

bool Run(long wanted, const fs::path& templatePath)
{
    const fs::path dir = fs::temp_directory_path() / ("qln-update-bench-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path script = dir / "bench.rc", db = dir / "bench_rc.mdb", pristine = dir / "pristine.mdb";
    const long lines = WriteScript(script, wanted, false);

    auto start = Clock::now();
    {
        qln::BuildResult built = qln::BuildProjectDatabase(script, db, qln::NoProgress(), templatePath);
        if (!built.ok()) {
            std::fprintf(stderr, "build failed: %s\n", built.message.c_str());
            return false;
        }
        qln::CProjectDatabase& project = *built.database;
        qln::AddLanguage(project, 7, 1, 1252);
        project.db().exec("UPDATE ResourceText SET German = '[de] ' || SourceText, German_Modified = 0 "
                          "WHERE SourceText <> ''");
    }
    const double buildSeconds = Since(start);
    fs::copy_file(db, pristine);
    WriteScript(script, wanted, true);
    fs::last_write_time(script, fs::last_write_time(script) + std::chrono::seconds(4));

    std::printf("%ld lines (build and translation %.2f s, database %.1f MB)\n", lines, buildSeconds,
                static_cast<double>(fs::file_size(db)) / 1e6);
    const ChildResult whole = InChild({"--update", script.string(), db.string()});
    std::printf("  update: %.3f s, peak memory %.1f MB%s\n", whole.seconds, whole.peakMegabytes,
                whole.ok ? "" : "  FAILED");
    fs::copy_file(pristine, db, fs::copy_options::overwrite_existing);
    InChild({"--steps", script.string(), db.string()});
    fs::remove_all(dir);
    return whole.ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--update")
        return UpdateWhole(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "--steps")
        return UpdateSteps(argv[2], argv[3]);
    const fs::path templatePath = fs::canonical("/proc/self/exe").parent_path() / "qlndb8.mdb";
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atol(argv[i]));
    if (sizes.empty())
        sizes = {10000, 100000};
    bool ok = true;
    for (long size : sizes)
        ok = Run(size, templatePath) && ok;
    return ok ? 0 : 1;
}
