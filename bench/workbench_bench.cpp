// Start-up and opening times of the workbench, with their targets:
//   batch start-up (qln40 /D on the demo project, no display)     < 50 ms
//   start-up to a shown main window with the demo project open    < 1 s
//   opening a project of 100,000 script lines (database built)    < 2 s
// The first two run qln40 as a child process (the median of several runs);
// the last opens the project in this process on the offscreen platform.
//
//   workbench_bench [lines]

#include "BenchSupport.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace bench = qln::bench;

namespace {

// Answers every question with Yes and prints every message.
class YesPrompter final : public qln::Prompter {
public:
    void Show(QMessageBox::Icon, const QString& text) override { std::printf("  message: %s\n", qPrintable(text)); }
    QMessageBox::StandardButton Ask(QMessageBox::Icon, const QString&, QMessageBox::StandardButtons) override
    {
        return QMessageBox::Yes;
    }
    void Beep() override {}
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool Run(const fs::path& folder, const std::vector<std::string>& args, double* seconds = nullptr)
{
    const bench::ChildRun run =
        bench::RunChild((bench::ExecutableFolder() / "qln40").string(), args,
                        {.workingFolder = folder, .output = folder / "qln40.log", .timeLimitSeconds = 120});
    if (seconds)
        *seconds = run.seconds;
    if (!run.ok())
        std::fprintf(stderr, "qln40 failed in %s (exit %d)\n", folder.c_str(), run.exitCode);
    return run.ok();
}

void Report(const char* what, double seconds, double target)
{
    std::printf("%-44s %8.1f ms  (target < %.0f ms) %s\n", what, seconds * 1000, target * 1000,
                seconds < target ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const bench::WorkFolder dir("workbench-bench");
    fs::copy(fs::path(QLN_SOURCE_DIR) / "examples/demo", dir.path(), fs::copy_options::recursive);
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    if (!Run(dir.path(), {"/C", "demo.rc"}) || !Run(dir.path(), {"/A", "demo_rc.mdb", "German", "demo_de.rc"}) ||
        !Run(dir.path(), {"/I", "translations/demo_de.rc", "German", "demo_rc.mdb"}))
        return 1;

    // Batch start-up: no display, so no window library may be loaded.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    std::vector<double> batch;
    for (int i = 0; i < 21; ++i) {
        double seconds = 0;
        if (!Run(dir.path(), {"/D", "demo_rc.mdb"}, &seconds))
            return 1;
        batch.push_back(seconds);
    }
    Report("batch start-up (qln40 /D demo_rc.mdb)", Median(batch), 0.050);

    // The workbench shown with the demo project, saved as a picture, ended.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QLN40_SCREENSHOT", (dir / "shown.png").c_str(), 1);
    std::vector<double> shown;
    for (int i = 0; i < 5; ++i) {
        double seconds = 0;
        if (!Run(dir.path(), {"demo.rc"}, &seconds) || !fs::exists(dir / "shown.png"))
            return 1;
        shown.push_back(seconds);
    }
    unsetenv("QLN40_SCREENSHOT");
    Report("start-up to the shown window with demo.rc", Median(shown), 1.0);

    // A large project: its database is built first, then opened.
    const fs::path big = dir / "big.rc";
    const bench::GeneratedScript generated = bench::GenerateScript({.lines = lines});
    bench::WriteFile(big, generated.text);
    double buildSeconds = 0;
    if (!Run(dir.path(), {"/C", "big.rc"}, &buildSeconds))
        return 1;
    std::printf("(building the database of %ld lines: %.2f s)\n", generated.lines, buildSeconds);

    QApplication app(argc, argv);
    qln::CSettings settings(QString::fromStdString((dir / "config/qln40.ini").string()));
    YesPrompter prompter;
    qln::CTesselApp tessel(settings, prompter, bench::ExecutableFolder() / "qlndb8.mdb");
    if (!tessel.InitInstance({}))
        return 1;
    QApplication::processEvents();
    const auto start = bench::Clock::now();
    if (!tessel.OpenDocumentFile(QString::fromStdString(big.string())))
        return 1;
    QApplication::processEvents();
    const double open = bench::SecondsSince(start);
    char label[64];
    std::snprintf(label, sizeof label, "opening a project of %ld lines", generated.lines);
    Report(label, open, 2.0);
    return 0;
}
