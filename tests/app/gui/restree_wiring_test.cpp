// The resource tree in the workbench: every project window has it in its
// left pane, a third of the width less 3 pixels; the main window's filter
// commands rebuild it; its nodes reach the table and the translation bar,
// and its context menu opens the dialog preview and the bitmap view.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ResTreeWiring.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/Translations.h"
#include "views/DynDlgView.h"
#include "views/ResTreeModel.h"
#include "views/ResTreeView.h"
#include "views/TextListView.h"
#include "views/TranslationBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>

namespace qln {
namespace {

QModelIndex ChildLabelled(CResTreeView& tree, const QModelIndex& parent, const QString& label)
{
    tree.expand(parent);
    CResTreeModel& m = *tree.treeModel();
    for (int r = 0; r < m.rowCount(parent); ++r)
        if (m.index(r, 0, parent).data().toString() == label)
            return m.index(r, 0, parent);
    return {};
}

TEST(WorkbenchResourceTree, LeftPaneFollowsTheTableAndOpensThePreview)
{
    test::DemoFolder dir;
    CSettings settings(dir.settingsFile());
    test::ScriptedPrompter prompter;
    CTesselApp app(settings, prompter, test::TemplatePath());
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.mainFrame();
    frame.resize(1200, 800);
    frame.show();
    CTesselDoc* doc = app.OpenDocumentFile(test::Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    CChildFrame* child = frame.activeChild();
    auto* tree = qobject_cast<CResTreeView*>(child->treeView());
    ASSERT_NE(tree, nullptr);
    CTextListView* table = ActiveTextTable(frame);
    EXPECT_EQ(tree->textView(), table);
    ASSERT_TRUE(AddLanguage(*doc->database(), 7, 1, 1252));
    table->setProject(doc->database(), table->undoStack());
    child->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(child->splitter()->sizes().first(), CChildFrame::TreePaneWidth(child->splitter()->width()));

    // The main window's filter command reaches the tree through the table.
    CResTreeModel& model = *tree->treeModel();
    frame.command(cmd::ShowMenus)->trigger();
    EXPECT_EQ(model.groupIndex(ResourceGroup::Menus).data().toString(), "Menus (hidden)");
    frame.command(cmd::ShowMenus)->trigger();
    EXPECT_EQ(model.groupIndex(ResourceGroup::Menus).data().toString(), "Menus (1)");

    // A control's node selects its text; Enter puts the caret into the bar.
    const QModelIndex converter = ChildLabelled(*tree, model.groupIndex(ResourceGroup::Dialogs), "IDD_CONVERTER");
    const QModelIndex swap = ChildLabelled(*tree, converter, "IDC_SWAP");
    ASSERT_TRUE(swap.isValid());
    tree->setFocus();
    tree->setCurrentIndex(swap);
    ASSERT_NE(table->selectedRow(), nullptr);
    EXPECT_EQ(table->selectedRow()->sourceText, "&Swap");
    auto* bar = qobject_cast<CTranslationBar*>(frame.translationDock());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->item().lineIndex, table->selectedRow()->lineIndex);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_TRUE(bar->translationEdit()->hasFocus());

    // View Dialog... on the dialog's own node previews that dialog.
    const int windows = static_cast<int>(frame.mdiArea()->subWindowList().size());
    const QModelIndex about = ChildLabelled(*tree, model.groupIndex(ResourceGroup::Dialogs), "IDD_ABOUTBOX");
    const auto menu = tree->makeContextMenu(about);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->actions().first()->isEnabled());
    menu->actions().first()->trigger();
    ASSERT_EQ(frame.mdiArea()->subWindowList().size(), windows + 1);
    QMdiSubWindow* preview = frame.mdiArea()->activeSubWindow();
    ASSERT_NE(qobject_cast<CDynDlgView*>(preview->widget()), nullptr);
    EXPECT_TRUE(preview->windowTitle().startsWith("Dialog: IDD_ABOUTBOX")) << preview->windowTitle().toStdString();
    EXPECT_EQ(table->selectedRow()->resourceIdent, "IDD_ABOUTBOX");
    preview->close();

    // "View Bitmap..." opens the bitmap's view.
    tree->expand(model.groupIndex(ResourceGroup::Bitmaps));
    const auto bitmapMenu = tree->makeContextMenu(model.index(0, 0, model.groupIndex(ResourceGroup::Bitmaps)));
    ASSERT_NE(bitmapMenu, nullptr);
    ASSERT_TRUE(bitmapMenu->actions().first()->isEnabled());
    bitmapMenu->actions().first()->trigger();
    EXPECT_TRUE(frame.mdiArea()->activeSubWindow()->windowTitle().startsWith("Bitmap: IDB_RULER"))
        << frame.mdiArea()->activeSubWindow()->windowTitle().toStdString();
}

}  // namespace
}  // namespace qln
