// What every benchmark needs: a large generated resource script, clocks,
// the peak memory of this process or of a child, and a temporary folder.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace qln::bench {

// A script made of the kinds of statements a real program has: dialogs with
// their controls, menus with popups, string tables and version information.
struct ScriptOptions {
    long lines = 100000;  // at least this many lines
    long texts = 0;       // and at least this many texts
    // The edited variant: this fraction of the texts (0 to 1, spread evenly)
    // gets a changed wording, everything else stays as it was.
    double editedFraction = 0;
    // The translated variant: every text starts with this prefix.
    std::string translationPrefix{};
    // The language of the LANGUAGE statement at the top.
    std::string language = "LANG_ENGLISH, SUBLANG_ENGLISH_US";
};

struct GeneratedScript {
    std::string text;  // CR LF line ends, plain ASCII
    long lines = 0;
    long texts = 0;  // texts a translator sees (dialog, menu and string-table texts)
    long editedTexts = 0;
};

GeneratedScript GenerateScript(const ScriptOptions& options);

// Writes `text` to `path` as it is; false when the file cannot be written.
bool WriteFile(const std::filesystem::path& path, const std::string& text);

using Clock = std::chrono::steady_clock;

// Wall-clock seconds since `start`.
double SecondsSince(Clock::time_point start);
// Processor time of this process so far (user and system), in seconds: less
// disturbed than the wall clock when other work shares the machine.
double ProcessorSeconds();
// The middle and the smallest of repeated measurements: the median says what
// a run usually takes, the minimum what it takes when nothing else disturbs it.
struct Spread {
    double median = 0;
    double min = 0;
};
Spread Summarise(std::vector<double> values);

// Peak resident memory of this process so far, in megabytes.
double PeakMegabytes();
// Resident memory of this process now, in megabytes. The peak reported for
// a child started with fork is never below what the parent held at that
// moment: a figure above it is the child's own.
double CurrentMegabytes();

// The folder of the running benchmark: the build folder, where the template
// database and the other executables are.
std::filesystem::path ExecutableFolder();

// A folder to work in: `given` (created when missing, kept afterwards), or
// when that is empty a fresh folder under the temporary directory, removed
// with everything in it when the object goes.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& name, const std::filesystem::path& given = {});
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
    bool temporary_;
};

struct ChildRun {
    bool started = false;
    bool timedOut = false;  // killed at the time limit
    int exitCode = -1;      // -1 when it did not exit normally
    double seconds = 0;     // wall clock
    double processorSeconds = 0;
    double peakMegabytes = 0;  // its own peak resident memory
    bool ok() const { return started && !timedOut && exitCode == 0; }
};

struct ChildOptions {
    std::filesystem::path workingFolder{};  // empty: the current one
    std::filesystem::path output{};         // standard output and error go here; empty: inherited
    double timeLimitSeconds = 0;            // 0: no limit
};

// Runs `program` with `args` as a child process and waits for it.
// `program` without a slash is looked up in PATH.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& args, const ChildOptions& options = {});

}  // namespace qln::bench
