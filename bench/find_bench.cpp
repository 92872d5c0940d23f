// Find and Mark All over a large text table: a generated project with at
// least 50,000 texts, German and French filled in (some texts marked
// modified), searched in three columns (source, German, French). Times the
// core searches alone and the table's finder (marks set in the model, the
// row selected), best of five runs each. Target: under 200 ms each.
//
// usage: find_bench [TEXTS] [DIRECTORY]

#include "BenchSupport.h"
#include "GeneratedProject.h"
#include "OffscreenApplication.h"
#include "project/TextSearch.h"
#include "projectdb/Translations.h"
#include "views/TextFinder.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <QApplication>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
namespace bench = qln::bench;
using bench::Clock;

namespace {

// Best of five runs, in milliseconds.
double Best(const std::function<void()>& run)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, bench::SecondsSince(start) * 1000);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const long texts = argc > 1 ? std::atol(argv[1]) : 50000;
    const bench::WorkFolder folder("find-bench", argc > 2 ? fs::path(argv[2]) : fs::path());
    const std::unique_ptr<qln::CProjectDatabase> built =
        bench::BuildGeneratedProject(folder.path(), {.lines = 10000, .texts = texts});
    if (!built)
        return 1;
    qln::CProjectDatabase& project = *built;
    if (!qln::AddLanguage(project, 7, 1, 1252) || !qln::AddLanguage(project, 12, 1, 1252))
        return 1;
    project.db().exec("UPDATE ResourceText SET \"German\" = 'Übersetzt: ' || SourceText, "
                      "\"French\" = 'Traduit : ' || SourceText, "
                      "\"German_Modified\" = (LineIndex % 97 = 0)");

    const bench::OffscreenApplication app("find_bench");
    qln::CTextListView view;
    view.resize(1000, 700);
    view.show();
    QUndoStack undo;
    view.setProject(&project, &undo);
    QApplication::processEvents();
    const qln::TextTable& table = view.textModel()->table();
    std::printf("table: %zu rows, %d columns\n", table.rows.size(), view.textModel()->columnCount());

    const std::vector<int> columns = qln::SearchColumns(true, {0, 1}, false);
    struct Case {
        const char* title;
        const char* text;
        qln::FindOptions options;
    };
    const Case cases[] = {
        {"no hit, match case", "Zebrastreifen", {false, true}},
        {"no hit, any case, whole word", "zebrastreifen", {true, false}},
        {"many hits, any case", "e", {false, false}},
    };
    for (const Case& c : cases) {
        std::size_t hits = 0;
        const double mark = Best([&] {
            qln::TextMatcher matcher(c.text, c.options);
            hits = qln::MarkAllText(table, columns, matcher).size();
        });
        // Find Next from row 0 to a hit in the last row, or the whole walk without one.
        const double next = Best([&] {
            qln::TextMatcher matcher(c.text, c.options);
            qln::FindNextText(table, columns, matcher, {static_cast<int>(table.rows.size()) - 1, 3}, -1);
        });
        std::printf("core  %-30s Mark All %7.1f ms (%zu cells)   Find Next %7.1f ms\n", c.title, mark, hits, next);
    }
    const double changed = Best([&] { qln::MarkAllChanged(table, qln::SearchColumns(false, {0, 1}, true)); });
    std::printf("core  %-30s Mark All %7.1f ms\n", "changed items", changed);

    // The table's finder: marks set in the model and painted, the hit selected.
    qln::CTextFinder* finder = qln::CTextFinder::of(&view);
    for (const Case& c : cases) {
        qln::FindRequest request{true, {0, 1}, false, c.text, c.options};
        int marked = 0;
        const double mark = Best([&] {
            marked = finder->markAll(request);
            QApplication::processEvents();
        });
        const double next = Best([&] {
            view.selectRow(static_cast<int>(table.rows.size()) - 1, false);
            finder->findNext(request);
            QApplication::processEvents();
        });
        std::printf("table %-30s Mark All %7.1f ms (%d cells)   Find Next %7.1f ms\n", c.title, mark, marked, next);
    }
    std::printf("peak memory: %.1f MB\n", bench::PeakMegabytes());
    return 0;
}
