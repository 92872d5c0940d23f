// Building the project database of a large script: a generated script of
// 100,000 lines (dialogs, menus, string tables, version resources) is built
// into a new database, several times over; prints each run's time, their
// median and minimum, and the peak memory of the process.
//
//   build_bench [lines] [template] [runs]   (defaults: 100000, -, 5)
//
// The template ("-": the default) is qlndb8.mdb beside the executable.

#include "BenchSupport.h"
#include "project/ProjectBuild.h"
#include "projectdb/ProjectDatabase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace bench = qln::bench;

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path templatePath = argc > 2 && std::string(argv[2]) != "-" ? fs::path(argv[2])
                                                                          : bench::ExecutableFolder() / "qlndb8.mdb";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    const bench::WorkFolder dir("build-bench");
    const fs::path script = dir / "bench.rc";
    {
        const bench::GeneratedScript generated = bench::GenerateScript({.lines = lines});
        bench::WriteFile(script, generated.text);
        std::printf("script: %ld lines, %.1f MB\n", generated.lines, static_cast<double>(generated.text.size()) / 1e6);
    }

    std::vector<double> wall, processor;
    for (int run = 0; run < runs; ++run) {
        fs::remove(dir / "bench_rc.mdb");
        const double cpuStart = bench::ProcessorSeconds();
        const auto start = bench::Clock::now();
        qln::BuildResult built =
            qln::BuildProjectDatabase(script, dir / "bench_rc.mdb", qln::NoProgress(), templatePath);
        wall.push_back(bench::SecondsSince(start));
        processor.push_back(bench::ProcessorSeconds() - cpuStart);
        if (!built.ok()) {
            std::fprintf(stderr, "build failed (%d): %s\n", built.code, built.message.c_str());
            return 1;
        }
        std::printf("build:  %.3f s (processor %.3f s), %d statements, database %.1f MB\n", wall.back(),
                    processor.back(), built.report.lines,
                    static_cast<double>(fs::file_size(dir / "bench_rc.mdb")) / 1e6);
    }
    const bench::Spread w = bench::Summarise(wall), p = bench::Summarise(processor);
    std::printf("build of %d runs: median %.3f s, min %.3f s (processor: median %.3f s, min %.3f s)\n", runs,
                w.median, w.min, p.median, p.min);
    std::printf("peak memory: %.1f MB\n", bench::PeakMegabytes());
    return 0;
}
