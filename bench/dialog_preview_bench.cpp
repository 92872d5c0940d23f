// The dialog preview of a large dialog in a real (offscreen) window: a script
// with one dialog of 300 controls (statics, buttons, check boxes, radio
// buttons, group boxes, all with texts) is built, German is added with every
// text translated and a few controls widened in a German layout, then the
// preview is opened in German (view made and built) and switched between the
// source and German, several times each. Prints the worst and median times;
// the targets are 200 ms to open and 100 ms to switch.
//
// usage: dialog_preview_bench [RUNS]

#include "BenchSupport.h"
#include "OffscreenApplication.h"
#include "GeneratedProject.h"
#include "projectdb/Translations.h"
#include "views/DynDlgView.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench = qln::bench;
using bench::Clock;

namespace {

constexpr int kControls = 300, kColumns = 10;
constexpr int kGermanPrimary = 7, kGermanSub = 1;

std::string DialogScript()
{
    const int rows = (kControls + kColumns - 1) / kColumns;
    std::string s = "#include <windows.h>\r\n"
                    "IDD_LARGE DIALOGEX 0, 0, " + std::to_string(kColumns * 64 + 8) + ", " +
                    std::to_string(rows * 14 + 8) + "\r\n"
                    "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
                    "CAPTION \"Large dialog\"\r\n"
                    "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\r\n"
                    "BEGIN\r\n";
    for (int i = 0; i < kControls; ++i) {
        const std::string id = std::to_string(1000 + i), text = "\"Item &" + std::to_string(i) + " text\"";
        const std::string at =
            std::to_string(4 + (i % kColumns) * 64) + ", " + std::to_string(4 + (i / kColumns) * 14) + ", 60, 12";
        switch (i % 6) {
        case 0: s += "    LTEXT " + text + ", " + id + ", " + at + "\r\n"; break;
        case 1: s += "    PUSHBUTTON " + text + ", " + id + ", " + at + "\r\n"; break;
        case 2: s += "    CONTROL " + text + ", " + id + ", \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, " + at + "\r\n"; break;
        case 3: s += "    CONTROL " + text + ", " + id + ", \"Button\", BS_AUTORADIOBUTTON, " + at + "\r\n"; break;
        case 4: s += "    GROUPBOX " + text + ", " + id + ", " + at + "\r\n"; break;
        default: s += "    CTEXT " + text + ", " + id + ", " + at + "\r\n"; break;
        }
    }
    return s + "END\r\n";
}

struct Times {
    double worst = 0, median = 0;
};

Times Measure(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms.back(), ms[ms.size() / 2]};
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const bench::WorkFolder folder("dialog-preview-bench", {});
    const std::filesystem::path script = folder / "large.rc", database = folder / "large_rc.mdb";
    if (!bench::WriteFile(script, DialogScript()))
        return 1;
    std::filesystem::copy_file(qln::DefaultTemplatePath(), database);
    qln::CProjectDatabase project(database);
    qln::BuildReport report;
    if (qln::BuildFromScript(script, project, qln::NoProgress(), &report) != 0) {
        std::fprintf(stderr, "build failed: %s\n", report.message.c_str());
        return 1;
    }
    if (!qln::AddLanguage(project, kGermanPrimary, kGermanSub, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET German = 'Eintrag ' || SourceText");
    // A German layout for every 50th control: 20 units wider.
    project.db().exec(
        "INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Class, Type, Flags, x, y, cx, cy) "
        "SELECT LineIndex, DlgLine, " + std::to_string(kGermanPrimary + 1024 * kGermanSub) +
        ", Name_ID, Class, Type, Flags, x, y, cx + 20, cy FROM DialogControl WHERE Lang_Id = 0 AND LineIndex % 50 = 0");
    std::int32_t dialogLine = -1;
    {
        qln::sql::Statement st = project.db().prepare("SELECT LineIndex FROM Dialogs WHERE Name_ID = 'IDD_LARGE'");
        if (!st.step())
            return 1;
        dialogLine = static_cast<std::int32_t>(st.columnInt64(0));
    }

    const bench::OffscreenApplication app("dialog_preview_bench");
    qln::CDynDlgView::templateFont();  // loaded once per process, not per preview

    std::vector<double> open, toSource, toGerman;
    std::size_t controls = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        qln::CDynDlgView view(&project, dialogLine);
        if (!view.build(kGermanPrimary, kGermanSub))
            return 1;
        view.resize(1100, 800);
        view.show();
        QApplication::processEvents();
        open.push_back(bench::SecondsSince(start) * 1000);
        controls = view.controls().size();
        for (const bool source : {true, false}) {
            const auto switchStart = Clock::now();
            view.showLanguage(source ? -1 : kGermanPrimary, source ? -1 : kGermanSub);
            QApplication::processEvents();
            (source ? toSource : toGerman).push_back(bench::SecondsSince(switchStart) * 1000);
        }
    }
    std::vector<double> switches = toSource;
    switches.insert(switches.end(), toGerman.begin(), toGerman.end());
    const Times o = Measure(open), s = Measure(toSource), g = Measure(toGerman), all = Measure(switches);
    std::printf("%zu controls, %d runs\n", controls, runs);
    std::printf("open in German:     worst %7.1f ms, median %7.1f ms (target < 200 ms)\n", o.worst, o.median);
    std::printf("switch to source:   worst %7.1f ms, median %7.1f ms (target < 100 ms)\n", s.worst, s.median);
    std::printf("switch to German:   worst %7.1f ms, median %7.1f ms (target < 100 ms)\n", g.worst, g.median);
    return o.worst < 200 && all.worst < 100 ? 0 : 1;
}
