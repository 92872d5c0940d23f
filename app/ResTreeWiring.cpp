#include "app/ResTreeWiring.h"

#include "app/ChildFrame.h"
#include "app/DialogPreviewWindow.h"
#include "app/MainFrame.h"
#include "app/MenuBitmapWindows.h"
#include "app/TesselDoc.h"
#include "views/ResTreeModel.h"
#include "views/ResTreeView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <QMdiSubWindow>

namespace qln {

namespace {

// QLN40_SCREENSHOT_TREE="Dialogs/IDD_CONVERTER,Menus": the screenshots open
// these nodes (each step the first child whose label starts with it); the
// last node of the last path becomes current.
void OpenForScreenshot(CResTreeView& tree)
{
    const QString paths = qEnvironmentVariable("QLN40_SCREENSHOT_TREE");
    CResTreeModel& model = *tree.treeModel();
    for (const QString& path : paths.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QModelIndex at = model.rootIndex();
        for (const QString& step : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            // Before the tree's first layout expand() only marks the node.
            tree.expand(at);
            if (model.canFetchMore(at))
                model.fetchMore(at);
            QModelIndex next;
            for (int r = 0; r < model.rowCount(at) && !next.isValid(); ++r)
                if (model.index(r, 0, at).data().toString().startsWith(step))
                    next = model.index(r, 0, at);
            if (!next.isValid())
                break;
            at = next;
        }
        tree.expand(at);
        tree.setCurrentIndex(at);
    }
}

}  // namespace

bool OpenTreeDialog(CMainFrame& frame, CTextListView& table, int dialogLine, int itemLine)
{
    int row = itemLine >= 0 ? table.rowOfLine(itemLine) : -1;
    const CTextTableModel& rows = *table.textModel();
    for (int r = 0; row < 0 && r < rows.rowCount(); ++r) {
        const TextTableRow& text = *rows.row(r);
        if (text.resourceLine == dialogLine &&
            (text.category == category::DialogCaption || text.category == category::DialogItem))
            row = r;
    }
    if (row < 0)
        return false;
    table.selectRow(row, false);
    return OpenDialogPreview(frame) != nullptr;
}

CResTreeView* AttachResourceTree(CMainFrame& frame, CChildFrame& child, CTesselDoc& doc, CTextListView& table)
{
    auto* tree = new CResTreeView;
    child.setTreeView(tree);
    tree->setTextView(&table);
    // The table reattaches first (it was connected first), then the tree follows it.
    QObject::connect(&doc, &CTesselDoc::reloaded, tree, &CResTreeView::refresh);
    QObject::connect(&doc, &CTesselDoc::databaseChanged, tree, &CResTreeView::refresh);
    CMainFrame* main = &frame;
    QObject::connect(tree, &CResTreeView::statusText, main, &CMainFrame::setStatusText);
    QObject::connect(tree, &CResTreeView::translateRequested, main, [main] {
        if (auto* bar = qobject_cast<CTranslationBar*>(main->translationDock()))
            bar->startTranslating();
    });
    QPointer<CTextListView> view(&table);
    QObject::connect(tree, &CResTreeView::viewDialogRequested, main, [main, view](qint32 dialog, qint32 item) {
        if (view)
            OpenTreeDialog(*main, *view, dialog, item);
    });
    // The menu and bitmap views open in the table's language, as the preview does.
    const auto language = [view] {
        return view ? view->currentLanguage(true).value_or(LanguagePair{-1, -1}) : LanguagePair{-1, -1};
    };
    QObject::connect(tree, &CResTreeView::viewMenuRequested, main, [main, language](qint32 menu, qint32 item) {
        OpenMenuView(*main, menu, language(), item);
    });
    QObject::connect(tree, &CResTreeView::viewBitmapRequested, main,
                     [main, language](qint32 bitmap) { OpenBitmapView(*main, bitmap, language()); });
    if (qEnvironmentVariableIsSet("QLN40_SCREENSHOT_TREE"))
        OpenForScreenshot(*tree);
    return tree;
}

}  // namespace qln
