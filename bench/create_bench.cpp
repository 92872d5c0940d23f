// The everyday build of a small project: `qln40 /C` on a generated script of
// 5,000 lines, run again and again as a child process in a temporary folder
// (the database is removed before each run). What a run costs here is mostly
// fixed: starting the program, copying the template, syncing the new file.
// Prints each run's wall and processor time, then their median and minimum.
//
//   create_bench [lines] [runs] [folder]   (defaults: 5000 21, a temporary folder)
//
// A folder given is kept with the script and the last database in it.
// qln40 is taken from beside this executable (the build folder).

#include "BenchSupport.h"

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
    const long lines = argc > 1 ? std::atol(argv[1]) : 5000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
    const std::string qln40 = (bench::ExecutableFolder() / "qln40").string();
    if (!fs::is_regular_file(qln40)) {
        std::fprintf(stderr, "qln40 is not beside this program; build it first\n");
        return 1;
    }
    const bench::WorkFolder folder("create-bench", argc > 3 ? fs::path(argv[3]) : fs::path());
    {
        const bench::GeneratedScript script = bench::GenerateScript({.lines = lines});
        if (!bench::WriteFile(folder / "app.rc", script.text)) {
            std::fprintf(stderr, "cannot write the script\n");
            return 1;
        }
        std::printf("script: %ld lines, %ld texts; qln40 /C, %d runs\n", script.lines, script.texts, runs);
    }
    std::vector<double> wall, processor;
    for (int i = 0; i < runs; ++i) {
        fs::remove(folder / "app_rc.mdb");
        const bench::ChildRun run =
            bench::RunChild(qln40, {"/C", "app.rc"}, {.workingFolder = folder.path(), .output = folder / "step.log"});
        if (!run.ok() || !fs::is_regular_file(folder / "app_rc.mdb")) {
            std::fprintf(stderr, "qln40 /C failed (exit code %d)\n", run.exitCode);
            return 1;
        }
        wall.push_back(run.seconds);
        processor.push_back(run.processorSeconds);
        std::printf("  run %2d: %6.1f ms (processor %6.1f ms)\n", i + 1, run.seconds * 1e3,
                    run.processorSeconds * 1e3);
    }
    const bench::Spread w = bench::Summarise(wall), p = bench::Summarise(processor);
    std::printf("qln40 /C: median %.1f ms, min %.1f ms (processor: median %.1f ms, min %.1f ms)\n", w.median * 1e3,
                w.min * 1e3, p.median * 1e3, p.min * 1e3);
    return 0;
}
