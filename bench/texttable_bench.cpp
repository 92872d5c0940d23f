// The text table of a large project in a real (offscreen) window: the
// generated 100,000-line script is built, German and French are added and
// half the German texts filled in; then the table is opened, a filter is
// turned off and on, translations are stored one by one, and every cell is
// read as scrolling would. Prints each figure and the memory the table takes.
//
// usage: texttable_bench [LINES] [DIRECTORY]

#include "BenchSupport.h"
#include "GeneratedProject.h"
#include "OffscreenApplication.h"
#include "project/ProjectBuild.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <QApplication>
#include <QUndoStack>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const bench::WorkFolder folder("texttable-bench", argc > 2 ? fs::path(argv[2]) : fs::path());
    const std::unique_ptr<qln::CProjectDatabase> built = bench::BuildGeneratedProject(folder.path(), {.lines = lines});
    if (!built)
        return 1;
    qln::CProjectDatabase& project = *built;
    if (!qln::AddLanguage(project, 7, 1, 1252) || !qln::AddLanguage(project, 12, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = SourceText || ' (de)' WHERE LineIndex % 2 = 0");

    const bench::OffscreenApplication app("texttable_bench");
    qln::CTextListView view;
    view.resize(1000, 700);
    view.show();
    QUndoStack undo;
    const double before = bench::CurrentMegabytes();

    auto start = Clock::now();
    view.setProject(&project, &undo);
    QApplication::processEvents();
    const double openSeconds = bench::SecondsSince(start);
    qln::CTextTableModel& model = *view.textModel();
    const int rows = model.rowCount();
    std::printf("open: %d rows, %d columns in %.3f s\n", rows, model.columnCount(), openSeconds);
    std::printf("memory of the table: %.1f MB (peak %.1f MB)\n", bench::CurrentMegabytes() - before,
                bench::PeakMegabytes());

    start = Clock::now();
    view.toggleFilter(qln::TextCommand::FilterDialogs);
    QApplication::processEvents();
    std::printf("filter off: %d rows in %.3f s\n", model.rowCount(), bench::SecondsSince(start));
    start = Clock::now();
    view.toggleFilter(qln::TextCommand::FilterDialogs);
    QApplication::processEvents();
    std::printf("filter on: %d rows in %.3f s\n", model.rowCount(), bench::SecondsSince(start));

    const int stores = 200;
    start = Clock::now();
    const double storeCpu = bench::ProcessorSeconds();
    for (int i = 0; i < stores; ++i) {
        const auto* row = model.row((i * 397) % rows);
        view.storeTranslation(row->lineIndex, 7, 1, "Übersetzt " + std::to_string(i));
    }
    std::printf("store: %.2f ms per translation, processor %.2f ms (%d stored)\n",
                bench::SecondsSince(start) * 1000 / stores, (bench::ProcessorSeconds() - storeCpu) * 1000 / stores,
                stores);

    // The bare write of one text, for comparison: the engine's commit.
    start = Clock::now();
    for (int i = 0; i < stores; ++i)
        project.SetTranslation(model.row((i * 397) % rows)->lineIndex, 7, 1, "direkt", false);
    std::printf("bare write: %.2f ms per text\n", bench::SecondsSince(start) * 1000 / stores);

    // Scrolling: every cell of every row read once through the model.
    start = Clock::now();
    qsizetype characters = 0;
    for (int r = 0; r < model.rowCount(); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            characters += model.data(model.index(r, c)).toString().size();
    std::printf("scroll: all %d rows read in %.3f s (%lld characters)\n", model.rowCount(), bench::SecondsSince(start),
                static_cast<long long>(characters));
    start = Clock::now();
    for (int page = 0; page < 200; ++page) {
        view.scrollTo(model.index((page * 500) % model.rowCount(), 1));
        view.viewport()->repaint();
    }
    std::printf("paint: %.2f ms per page\n", bench::SecondsSince(start) * 1000 / 200);
    std::printf("peak memory: %.1f MB\n", bench::PeakMegabytes());
    return 0;
}
