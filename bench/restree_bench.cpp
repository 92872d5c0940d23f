// The resource tree of a large project in a real (offscreen) window: the
// generated 100,000-line script is built, then the tree is built and every
// group opened in a fresh tree (the counts, the list and the nodes shown),
// then the largest dialog and menu. Prints each time, best of three; the
// target is under 300 ms for any group.
//
// usage: restree_bench [LINES]

#include "BenchSupport.h"
#include "GeneratedProject.h"
#include "OffscreenApplication.h"
#include "project/ResourceTree.h"
#include "views/ResTreeModel.h"
#include "views/ResTreeView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <QApplication>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench = qln::bench;
using bench::Clock;

namespace {

// Opens `index` in the tree and lets it paint; the seconds it took.
double Expand(qln::CResTreeView& tree, const QModelIndex& index)
{
    const auto start = Clock::now();
    tree.expand(index);
    tree.scrollTo(index, QAbstractItemView::PositionAtTop);
    tree.viewport()->repaint();
    return bench::SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv)
{
    const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
    const bench::WorkFolder folder("restree-bench", {});
    const std::unique_ptr<qln::CProjectDatabase> built = bench::BuildGeneratedProject(folder.path(), {.lines = lines});
    if (!built)
        return 1;
    qln::CProjectDatabase& project = *built;

    const bench::OffscreenApplication app("restree_bench");
    qln::CTextListView table;
    QUndoStack undo;
    table.setProject(&project, &undo);
    std::printf("%d texts in the table\n", table.textModel()->rowCount());

    qln::CResTreeView tree;
    tree.resize(320, 700);
    tree.show();
    double buildBest = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        tree.setTextView(&table);
        QApplication::processEvents();
        buildBest = std::min(buildBest, bench::SecondsSince(start));
    }
    std::printf("build (root, six groups, counts): %.1f ms\n", buildBest * 1000);

    double worst = 0;
    for (const qln::ResourceGroup group : qln::kResourceGroups) {
        double best = 1e9;
        int rows = 0;
        for (int run = 0; run < 3; ++run) {
            tree.refresh();
            best = std::min(best, Expand(tree, tree.treeModel()->groupIndex(group)));
            rows = tree.treeModel()->rowCount(tree.treeModel()->groupIndex(group));
        }
        worst = std::max(worst, best);
        std::printf("open %-18s %6d nodes: %7.1f ms\n",
                    tree.treeModel()->groupIndex(group).data().toString().toUtf8().constData(), rows, best * 1000);
    }
    // The resource with the most nodes below it, of dialogs and of menus.
    for (const qln::ResourceGroup group : {qln::ResourceGroup::Dialogs, qln::ResourceGroup::Menus}) {
        tree.refresh();
        const QModelIndex g = tree.treeModel()->groupIndex(group);
        tree.expand(g);
        std::size_t most = 0;
        int mostRow = -1;
        const auto resources = qln::ListResources(project, group, table.filter());
        for (std::size_t i = 0; i < resources.size(); ++i) {
            const std::size_t n = qln::ListResourceItems(project, resources[i], table.filter()).size();
            if (n > most) {
                most = n;
                mostRow = static_cast<int>(i);
            }
        }
        if (mostRow < 0)
            continue;
        const double seconds = Expand(tree, tree.treeModel()->index(mostRow, 0, g));
        worst = std::max(worst, seconds);
        std::printf("open %-18s %6zu nodes: %7.1f ms\n", resources[static_cast<std::size_t>(mostRow)].label.c_str(),
                    most, seconds * 1000);
    }
    std::printf("slowest: %.1f ms (target < 300 ms), peak memory %.1f MB\n", worst * 1000, bench::PeakMegabytes());
    return worst < 0.3 ? 0 : 1;
}
