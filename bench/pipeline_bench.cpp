// The batch pipeline of the command line on a large script: qln40 runs as a
// child process in a temporary folder for each step, as a build script would
// run it: /C (create the database of a generated script), /A (add German),
// /RC (write the German script), then 1% of the script's texts are edited and
// /U updates the database. Prints each step's wall time, processor time and
// the child's peak memory.
//
// When rc2po (translate-toolkit) is installed, the extraction of the texts of
// a smaller script is compared as well: ours is /C on that script, theirs is
// `rc2po SCRIPT.rc OUT.po`, stopped at a time limit (then the ratio printed is
// a lower bound).
//
//   pipeline_bench [lines] [comparison lines] [rc2po limit in seconds]
//                  (defaults: 100000 5000 600)
//
// qln40 is taken from beside this executable (the build folder).

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace bench = qln::bench;

// Prints the end of a child's output, where its error messages are.
void ShowOutput(const fs::path& output)
{
    std::ifstream in(output, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t from = text.size() > 2000 ? text.size() - 2000 : 0;
    std::fprintf(stderr, "%s\n", text.substr(from).c_str());
}

// The generated script written to `path`; returns its line and text counts.
bench::GeneratedScript WriteScript(const fs::path& path, long lines, double editedFraction = 0)
{
    bench::GeneratedScript script = bench::GenerateScript({.lines = lines, .editedFraction = editedFraction});
    if (!bench::WriteFile(path, script.text)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    script.text.clear();
    script.text.shrink_to_fit();  // the children inherit what this process holds
    return script;
}

class Pipeline {
public:
    explicit Pipeline(const fs::path& folder)
        : folder_(folder), qln40_((bench::ExecutableFolder() / "qln40").string())
    {
    }

    // Runs one qln40 command; prints its figures and reports whether it succeeded.
    std::optional<bench::ChildRun> Step(const char* what, const std::vector<std::string>& args)
    {
        const fs::path output = folder_ / "step.log";
        const bench::ChildRun run = bench::RunChild(qln40_, args, {.workingFolder = folder_, .output = output});
        std::printf("%-24s %8.3f s (processor %7.3f s)  peak memory %7.1f MB\n", what, run.seconds,
                    run.processorSeconds, run.peakMegabytes);
        if (!run.ok()) {
            std::fprintf(stderr, "qln40 %s failed (exit code %d):\n", args.front().c_str(), run.exitCode);
            ShowOutput(output);
            return std::nullopt;
        }
        return run;
    }

private:
    fs::path folder_;
    std::string qln40_;
};

// The program found in PATH, or empty.
fs::path FindInPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        std::error_code ec;
        const fs::path candidate = fs::path(folder) / program;
        if (!folder.empty() && fs::is_regular_file(candidate, ec))
            return candidate;
    }
    return {};
}

bool RunPipeline(Pipeline& pipeline, const fs::path& folder, long lines)
{
    const bench::GeneratedScript script = WriteScript(folder / "app.rc", lines);
    std::printf("script: %ld lines, %ld texts (a child's peak memory is not below the %.1f MB this process holds)\n",
                script.lines, script.texts, bench::CurrentMegabytes());
    if (!pipeline.Step("/C  create", {"/C", "app.rc"}) ||
        !pipeline.Step("/A  add German", {"/A", "app_rc.mdb", "German", "app_de.rc"}) ||
        !pipeline.Step("/RC write German", {"/RC", "app_rc.mdb", "German", "app_de.rc"}))
        return false;
    const bench::GeneratedScript edited = WriteScript(folder / "app.rc", lines, 0.01);
    // A later time stamp than the database's, however coarse the file system's clock.
    fs::last_write_time(folder / "app.rc", fs::last_write_time(folder / "app.rc") + std::chrono::seconds(4));
    std::printf("edited %ld of %ld texts\n", edited.editedTexts, edited.texts);
    return pipeline.Step("/U  update", {"/U", "app_rc.mdb"}).has_value();
}

bool CompareWithRc2po(Pipeline& pipeline, const fs::path& folder, long lines, double limitSeconds)
{
    const fs::path rc2po = FindInPath("rc2po");
    if (rc2po.empty()) {
        std::printf("rc2po is not installed (Debian package translate-toolkit): no comparison\n");
        return true;
    }
    const bench::GeneratedScript script = WriteScript(folder / "small.rc", lines);
    std::printf("\nextracting the texts of a script of %ld lines, %ld texts\n", script.lines, script.texts);
    const std::optional<bench::ChildRun> ours = pipeline.Step("qln40 /C", {"/C", "small.rc"});
    if (!ours)
        return false;
    const fs::path output = folder / "rc2po.log";
    const bench::ChildRun theirs =
        bench::RunChild(rc2po.string(), {"small.rc", "small.po"},
                        {.workingFolder = folder, .output = output, .timeLimitSeconds = limitSeconds});
    std::printf("%-24s %8.3f s (processor %7.3f s)  peak memory %7.1f MB%s\n", "rc2po", theirs.seconds,
                theirs.processorSeconds, theirs.peakMegabytes, theirs.timedOut ? "  (stopped at the limit)" : "");
    if (!theirs.timedOut && !theirs.ok()) {
        std::fprintf(stderr, "rc2po failed (exit code %d):\n", theirs.exitCode);
        ShowOutput(output);
        return false;
    }
    std::printf("rc2po takes %s%.1f times as long as qln40 /C\n", theirs.timedOut ? "at least " : "",
                theirs.seconds / ours->seconds);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const long comparisonLines = argc > 2 ? std::atol(argv[2]) : 5000;
    const double limitSeconds = argc > 3 ? std::atof(argv[3]) : 600;
    if (!fs::is_regular_file(bench::ExecutableFolder() / "qln40")) {
        std::fprintf(stderr, "qln40 is not beside this program; build it first\n");
        return 1;
    }
    const bench::WorkFolder folder("pipeline-bench");
    Pipeline pipeline(folder.path());
    if (!RunPipeline(pipeline, folder.path(), lines))
        return 1;
    return CompareWithRc2po(pipeline, folder.path(), comparisonLines, limitSeconds) ? 0 : 1;
}
