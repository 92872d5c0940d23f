// Whether project databases survive what users do to them: operations killed
// at random moments, and two programs changing one project at once.
//
//   file_safety_bench [kills per operation (default 40)] [runs per pair (default 20)] [lines (default 20000)]
//
// (a) Kills: qln40 /U, /I, /COMP and the conversion of a format-7 database
//     are killed (SIGKILL) after a random part of their usual run time. The
//     database must open as a project and hold either its old or its new
//     content; after the next run of the operation no stray file may remain.
// (b) Pairs: every pair of /U, /A, /I, /COMP and /E (from the same source)
//     runs at once. The database (and the export) must end as one serial
//     order of the two leaves them, with the exit codes of that order, and a
//     command that failed must say why.
//
// qln40 and the template qlndb8.mdb are taken from the build folder.

#include "BenchSupport.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/Schema.h"
#include "projectdb/Sql.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace bench = qln::bench;

using Args = std::vector<std::string>;

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A copy of a folder's files that keeps their times (the project stores them).
void CopyFolder(const fs::path& from, const fs::path& to)
{
    fs::remove_all(to);
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path target = to / entry.path().filename();
        fs::copy_file(entry.path(), target);
        fs::last_write_time(target, fs::last_write_time(entry.path()));
    }
}

std::set<std::string> NamesIn(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// Every row of every table, sorted: equal content gives equal text. Empty
// when the file is no readable, intact project database.
std::string Content(const fs::path& db)
{
    if (!fs::exists(db) || !qln::IsProjectDatabase(db))
        return {};
    try {
        qln::sql::Database database(db, qln::sql::Database::Mode::ReadOnly);
        qln::sql::Statement check = database.prepare("PRAGMA integrity_check");
        if (!check.step() || check.columnText(0) != "ok")
            return {};
        std::vector<std::string> tables;
        qln::sql::Statement list =
            database.prepare("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name");
        while (list.step())
            tables.push_back(list.columnText(0));
        std::string text;
        for (const std::string& table : tables) {
            qln::sql::Statement rows = database.prepare("SELECT * FROM " + qln::sql::QuoteIdentifier(table));
            std::vector<std::string> lines;
            while (rows.step()) {
                std::string line;
                for (int i = 0; i < rows.columnCount(); ++i)
                    line += rows.columnName(i) + "=" + (rows.isNull(i) ? "<null>" : rows.columnText(i)) + "|";
                lines.push_back(std::move(line));
            }
            std::sort(lines.begin(), lines.end());
            text += "[" + table + "]\n";
            for (const std::string& line : lines)
                text += line + "\n";
        }
        return text;
    } catch (const std::exception&) {
        return {};
    }
}

// Where `now` departs from both expected contents, to show what went wrong.
std::string FirstDifference(const std::string& now, const std::string& before, const std::string& after)
{
    if (now.empty())
        return "no intact project database";
    auto departs = [&now](const std::string& other) {
        const auto at = std::mismatch(now.begin(), now.end(), other.begin(), other.end()).first;
        const auto lineStart = now.rfind('\n', static_cast<std::size_t>(at - now.begin()));
        return now.substr(lineStart == std::string::npos ? 0 : lineStart + 1, 200);
    };
    return "\n  from the old content at: " + departs(before) + "\n  from the new content at: " + departs(after);
}

// A child process: qln40 with arguments, or a function of this program.
class Child {
public:
    // Its standard output and error go to a file named after `dir` and `tag`.
    Child(const fs::path& dir, const Args& args, const std::string& tag = "out")
        : output_(dir.parent_path() / (dir.filename().string() + "." + tag))
    {
        Start(dir, [&args] {
            Args all{(bench::ExecutableFolder() / "qln40").string()};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& a : all)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
        });
    }
    Child(const fs::path& dir, const std::function<int()>& work)
        : output_(dir.parent_path() / (dir.filename().string() + ".fn"))
    {
        Start(dir, [&work] { ::_exit(work()); });
    }
    ~Child() { Wait(); }
    void Kill() { ::kill(pid_, SIGKILL); }
    // The exit code, -1 when it did not exit normally.
    int Wait()
    {
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            pid_ = -1;
        }
        return exitCode_;
    }
    std::string Output() const { return ReadText(output_); }

private:
    void Start(const fs::path& dir, const std::function<void()>& run)
    {
        pid_ = ::fork();
        if (pid_ == 0) {
            const int out = ::open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0 || ::chdir(dir.c_str()) != 0)
                ::_exit(127);
            run();
            ::_exit(127);
        }
    }

    fs::path output_;
    pid_t pid_ = -1;
    int exitCode_ = -1;
};

int Convert()
{
    return qln::ConvertDatabase("old.mdb", bench::ExecutableFolder() / "qlndb8.mdb").ok ? 0 : 2;
}

struct KillTrial {
    std::string name;
    std::string database;  // the file that must survive
    Args args;             // qln40's; none: the conversion
    std::function<void(const fs::path&)> prepare;
};

// Starts the operation of a trial in `dir` as a process of its own.
void StartTrial(std::optional<Child>& child, const fs::path& dir, const KillTrial& trial)
{
    if (trial.args.empty())
        child.emplace(dir, [] { return Convert(); });
    else
        child.emplace(dir, trial.args);
}

int RunTrial(const fs::path& dir, const KillTrial& trial)
{
    std::optional<Child> child;
    StartTrial(child, dir, trial);
    return child->Wait();
}

struct KillFigures {
    int tried = 0, survived = 0, killedMidway = 0, stray = 0;
};

KillFigures RunKills(const fs::path& work, const fs::path& base, const KillTrial& trial, int count,
                     std::mt19937& random)
{
    KillFigures figures;
    // The states before and after an uninterrupted run, and its duration.
    const fs::path reference = work / "reference";
    CopyFolder(base, reference);
    trial.prepare(reference);
    const std::string before = Content(reference / trial.database);
    const auto start = bench::Clock::now();
    if (RunTrial(reference, trial) != 0) {
        std::fprintf(stderr, "%s does not run without a kill\n", trial.name.c_str());
        return figures;
    }
    const double seconds = bench::SecondsSince(start);
    const std::string after = Content(reference / trial.database);
    const std::set<std::string> clean = NamesIn(reference);
    std::uniform_real_distribution<double> moment(0.0, seconds * 1.1);
    for (int i = 0; i < count; ++i) {
        const fs::path dir = work / "trial";
        CopyFolder(base, dir);
        trial.prepare(dir);
        ++figures.tried;
        {
            std::optional<Child> child;
            StartTrial(child, dir, trial);
            std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
            child->Kill();
            if (child->Wait() == -1)
                ++figures.killedMidway;
        }
        const std::string now = Content(dir / trial.database);
        if (!now.empty() && (now == before || now == after))
            ++figures.survived;
        else
            std::fprintf(stderr, "%s: trial %d left a database in neither state: %s\n", trial.name.c_str(), i,
                         FirstDifference(now, before, after).c_str());
        RunTrial(dir, trial);  // the next run
        const std::set<std::string> left = NamesIn(dir);
        std::vector<std::string> extra;
        std::set_difference(left.begin(), left.end(), clean.begin(), clean.end(), std::back_inserter(extra));
        figures.stray += static_cast<int>(extra.size());
        for (const std::string& name : extra)
            std::fprintf(stderr, "%s: trial %d left %s\n", trial.name.c_str(), i, name.c_str());
    }
    return figures;
}

int Qln(const fs::path& dir, const Args& args)
{
    Child child(dir, args);
    return child.Wait();
}

// --- Pairs -------------------------------------------------------------------

struct Command {
    std::string name;
    Args args;
};

struct Outcome {
    std::string content;  // database and export
    int first = -1, second = -1;
};

std::string ResultOf(const fs::path& dir)
{
    return Content(dir / "big_rc.mdb") + "\n[export]\n" + Content(dir / "out.mdb");
}

struct PairFigures {
    int runs = 0, serial = 0, failures = 0, explained = 0;
};

PairFigures RunPair(const fs::path& work, const fs::path& base, const Command& x, const Command& y, int count)
{
    // The two serial orders.
    std::vector<Outcome> orders;
    for (int order = 0; order < 2; ++order) {
        const fs::path dir = work / "serial";
        CopyFolder(base, dir);
        Outcome o;
        o.first = Qln(dir, order ? y.args : x.args);
        o.second = Qln(dir, order ? x.args : y.args);
        if (order)
            std::swap(o.first, o.second);
        o.content = ResultOf(dir);
        orders.push_back(o);
    }
    PairFigures figures;
    for (int i = 0; i < count; ++i) {
        const fs::path dir = work / "pair";
        CopyFolder(base, dir);
        int codeX, codeY;
        std::string said;
        {
            // Who starts first alternates; both run at the same time.
            std::optional<Child> a, b;
            if (i % 2 == 0) {
                a.emplace(dir, x.args, "x");
                b.emplace(dir, y.args, "y");
            } else {
                b.emplace(dir, y.args, "y");
                a.emplace(dir, x.args, "x");
            }
            codeX = a->Wait();
            codeY = b->Wait();
            said = (codeX != 0 ? a->Output() : std::string()) + (codeY != 0 ? b->Output() : std::string());
        }
        ++figures.runs;
        const std::string content = ResultOf(dir);
        bool serial = false;
        for (const Outcome& o : orders)
            serial = serial || (o.content == content && o.first == codeX && o.second == codeY);
        figures.serial += serial ? 1 : 0;
        if (!serial)
            std::fprintf(stderr, "%s + %s: run %d ended in no serial state (exit %d, %d)\n", x.name.c_str(),
                         y.name.c_str(), i, codeX, codeY);
        const int failed = (codeX != 0) + (codeY != 0);
        figures.failures += failed;
        if (failed && said.find("QLN Error") != std::string::npos)
            figures.explained += failed;
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    const int kills = argc > 1 ? std::atoi(argv[1]) : 40;
    const int pairRuns = argc > 2 ? std::atoi(argv[2]) : 20;
    const long lines = argc > 3 ? std::atol(argv[3]) : 20000;
    bench::WorkFolder work("file-safety");
    const fs::path base = work / "base";
    fs::create_directories(base);
    const bench::GeneratedScript script = bench::GenerateScript({.lines = lines});
    bench::WriteFile(base / "big.rc", script.text);
    bench::WriteFile(base / "big_fr.rc", bench::GenerateScript({.lines = lines, .translationPrefix = "fr "}).text);
    const std::string edited = bench::GenerateScript({.lines = lines, .editedFraction = 0.1}).text;
    if (Qln(base, {"/C", "big.rc"}) != 0 || Qln(base, {"/A", "big_rc.mdb", "German", "big_de.rc"}) != 0) {
        std::fprintf(stderr, "the project cannot be built\n");
        return 1;
    }
    fs::copy_file(base / "big_rc.mdb", base / "old.mdb");
    {
        qln::sql::Database old(base / "old.mdb");
        qln::ApplyVersion7Layout(old);
    }
    std::printf("Project: %ld lines, %ld texts\n\n(a) SIGKILL at a random moment\n", script.lines, script.texts);
    const fs::file_time_type editedTime = fs::last_write_time(base / "big.rc") + std::chrono::hours(1);
    auto nothing = [](const fs::path&) {};
    const KillTrial trials[] = {
        {"/U", "big_rc.mdb", {"/U", "big_rc.mdb"},
         [&edited, editedTime](const fs::path& dir) {
             // The same stamp in every trial: the update stores it.
             bench::WriteFile(dir / "big.rc", edited);
             fs::last_write_time(dir / "big.rc", editedTime);
         }},
        {"/I", "big_rc.mdb", {"/I", "big_fr.rc", "French", "big_rc.mdb"}, nothing},
        {"/COMP", "big_rc.mdb", {"/COMP", "big_rc.mdb"}, nothing},
        {"convert", "old.mdb", {}, nothing},
    };
    std::mt19937 random(20261208);
    KillFigures total;
    std::printf("  %-8s %6s %9s %8s %6s\n", "", "tried", "survived", "midway", "stray");
    for (const KillTrial& trial : trials) {
        const KillFigures f = RunKills(work.path(), base, trial, kills, random);
        std::printf("  %-8s %6d %9d %8d %6d\n", trial.name.c_str(), f.tried, f.survived, f.killedMidway, f.stray);
        total.tried += f.tried;
        total.survived += f.survived;
        total.killedMidway += f.killedMidway;
        total.stray += f.stray;
        std::fflush(stdout);
    }
    std::printf("  %-8s %6d %9d %8d %6d  (lost: %d)\n", "total", total.tried, total.survived, total.killedMidway,
                total.stray, total.tried - total.survived);

    // Smaller project for the pairs: 15 pairs, each run serially twice and
    // then `pairRuns` times at once.
    const fs::path pairBase = work / "pairbase";
    fs::create_directories(pairBase);
    const long pairLines = std::max(2000L, lines / 10);
    bench::WriteFile(pairBase / "big.rc", bench::GenerateScript({.lines = pairLines}).text);
    bench::WriteFile(pairBase / "big_fr.rc",
                     bench::GenerateScript({.lines = pairLines, .translationPrefix = "fr "}).text);
    Qln(pairBase, {"/C", "big.rc"});
    Qln(pairBase, {"/A", "big_rc.mdb", "German", "big_de.rc"});
    bench::WriteFile(pairBase / "big.rc", bench::GenerateScript({.lines = pairLines, .editedFraction = 0.1}).text);
    const Command commands[] = {
        {"/U", {"/U", "big_rc.mdb"}},
        {"/A", {"/A", "big_rc.mdb", "Italian", "big_it.rc"}},
        {"/I", {"/I", "big_fr.rc", "French", "big_rc.mdb"}},
        {"/COMP", {"/COMP", "big_rc.mdb"}},
        {"/E", {"/E", "big_rc.mdb", "out.mdb", "German"}},
    };
    std::printf("\n(b) two commands at once, %d runs per pair (%ld lines)\n", pairRuns, pairLines);
    std::printf("  %-14s %6s %7s %9s %10s\n", "", "runs", "serial", "failures", "explained");
    int pairs = 0, serialPairs = 0;
    for (std::size_t i = 0; i < std::size(commands); ++i)
        for (std::size_t j = i; j < std::size(commands); ++j) {
            const PairFigures f = RunPair(work.path(), pairBase, commands[i], commands[j], pairRuns);
            const std::string name = commands[i].name + " + " + commands[j].name;
            std::printf("  %-14s %6d %7d %9d %10d\n", name.c_str(), f.runs, f.serial, f.failures, f.explained);
            std::fflush(stdout);
            ++pairs;
            serialPairs += f.serial == f.runs ? 1 : 0;
        }
    std::printf("  pairs always serial: %d of %d\n", serialPairs, pairs);
    return total.survived == total.tried && total.stray == 0 && serialPairs == pairs ? 0 : 1;
}
