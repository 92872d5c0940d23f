// Updating the project database of a large script after 1% of its texts
// changed. For each size: a generated script is built, every text translated,
// then every hundredth text is edited and the database updated. Prints the
// time of the whole update (copy, pass, purge, compaction) with the peak
// memory of the process that ran it, and the time of each step.
//
//   update_bench [--runs N] [lines ...] (defaults: 3 runs of 10000 and 100000)
//
// Each update runs in a process of its own, so its peak memory is its own;
// the whole update runs N times from the same database, and the median and
// minimum of its wall and processor times are printed.
//
// The template is qlndb8.mdb beside the executable.

#include "BenchSupport.h"
#include "project/DatabaseExchange.h"
#include "project/ProjectBuild.h"
#include "project/ProjectUpdate.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;
using bench::SecondsSince;

// Writes a script of about `wanted` lines; every hundredth text is changed
// when `edited` is set. Returns the number of lines.
long WriteScript(const fs::path& path, long wanted, bool edited)
{
    const bench::GeneratedScript script =
        bench::GenerateScript({.lines = wanted, .editedFraction = edited ? 0.01 : 0.0});
    bench::WriteFile(path, script.text);
    return script.lines;
}

// Runs this program again with `args` in a fresh process: its wall time and
// its own peak memory.
bench::ChildRun InChild(const std::vector<std::string>& args)
{
    return bench::RunChild((bench::ExecutableFolder() / "update_bench").string(), args);
}

// --update: the whole update as the batch command runs it.
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
    const double copy = SecondsSince(t);
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
    const double pass = SecondsSince(t);
    t = Clock::now();
    const bool compacted = qln::CompactDatabase(work, db).ok;
    const double compact = SecondsSince(t);
    fs::remove(work);
    std::printf("  steps: copy %.3f s, pass %.3f s (load %.3f, read and merge %.3f, renumber %.3f, purge and "
                "flag %.3f), compaction %.3f s\n",
                copy, pass, report.loadSeconds, report.readSeconds, report.renumberSeconds, report.purgeSeconds,
                compact);
    return compacted ? 0 : 1;
}

bool Run(long wanted, int runs, const fs::path& templatePath)
{
    const bench::WorkFolder dir("update-bench");
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
    const double buildSeconds = SecondsSince(start);
    fs::copy_file(db, pristine);
    WriteScript(script, wanted, true);
    fs::last_write_time(script, fs::last_write_time(script) + std::chrono::seconds(4));

    std::printf("%ld lines (build and translation %.2f s, database %.1f MB)\n", lines, buildSeconds,
                static_cast<double>(fs::file_size(db)) / 1e6);
    const double heldAtStart = bench::CurrentMegabytes();
    std::vector<double> wall, processor;
    bool ok = true;
    for (int run = 0; run < runs; ++run) {
        fs::copy_file(pristine, db, fs::copy_options::overwrite_existing);
        const bench::ChildRun whole = InChild({"--update", script.string(), db.string()});
        std::printf("  update: %.3f s (processor %.3f s), peak memory %.1f MB (not below the %.1f MB this process "
                    "held)%s\n",
                    whole.seconds, whole.processorSeconds, whole.peakMegabytes, heldAtStart,
                    whole.ok() ? "" : "  FAILED");
        ok = ok && whole.ok();
        wall.push_back(whole.seconds);
        processor.push_back(whole.processorSeconds);
    }
    const bench::Spread w = bench::Summarise(wall), p = bench::Summarise(processor);
    std::printf("  update of %d runs: median %.3f s, min %.3f s (processor: median %.3f s, min %.3f s)\n", runs,
                w.median, w.min, p.median, p.min);
    fs::copy_file(pristine, db, fs::copy_options::overwrite_existing);
    InChild({"--steps", script.string(), db.string()});
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--update")
        return UpdateWhole(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "--steps")
        return UpdateSteps(argv[2], argv[3]);
    const fs::path templatePath = bench::ExecutableFolder() / "qlndb8.mdb";
    std::vector<long> sizes;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            sizes.push_back(std::atol(argv[i]));
    }
    if (sizes.empty())
        sizes = {10000, 100000};
    bool ok = true;
    for (long size : sizes)
        ok = Run(size, runs, templatePath) && ok;
    return ok ? 0 : 1;
}
