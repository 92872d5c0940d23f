// The text table inside the workbench: a project opens with its table in
// the right pane, the translation bar edits the active table's row, the
// main window's Edit commands, Undo and the status panes act on it.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

namespace qln {
namespace {

using test::DemoFolder;
using test::Q;
using test::ScriptedPrompter;

QAction* EditAction(CMainFrame& frame, const QString& prefix)
{
    for (QAction* menu : frame.menuBar()->actions())
        if (menu->menu())
            for (QAction* a : menu->menu()->actions())
                if (a->text().startsWith(prefix))
                    return a;
    return nullptr;
}

TEST(WorkbenchTextTable, TranslatesThroughTheBarAndTheEditMenu)
{
    DemoFolder dir;
    CSettings settings(dir.settingsFile());
    ScriptedPrompter prompter;
    CTesselApp app(settings, prompter, test::TemplatePath());
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.mainFrame();
    CTesselDoc* doc = app.OpenDocumentFile(Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    CTextListView* view = ActiveTextTable(frame);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame.activeChild()->textView(), view);
    ASSERT_GT(view->textModel()->rowCount(), 30);
    auto* bar = qobject_cast<CTranslationBar*>(frame.translationDock());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->view(), view);

    ASSERT_TRUE(AddLanguage(*doc->database(), 7, 1, 1252));
    view->setProject(doc->database(), view->undoStack());
    const int row = 30;
    view->selectRow(row, true);
    const std::int32_t line = view->textModel()->row(row)->lineIndex;
    ASSERT_EQ(bar->item().lineIndex, line);
    QTest::keyClick(view, Qt::Key_F4);
    QTest::keyClicks(bar->translationEdit(), "Übersetzt");
    QTest::keyClick(bar->translationEdit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(doc->database()->GetText(line, 7, 1)->translation, "Übersetzt");
    EXPECT_TRUE(doc->isModified());
    EXPECT_NE(view->selectedRowIndex(), row);
    EXPECT_TRUE(frame.pane(cmd::PaneProgress)->text().startsWith("Translated: "));
    EXPECT_EQ(frame.pane(cmd::PaneLanguage)->text(), "German");

    // Exclude Item and a filter through the main window, then Undo.
    view->selectRow(row, true);
    frame.command(cmd::ExcludeItem)->trigger();
    EXPECT_TRUE(doc->database()->GetText(line, 7, 1)->exclude);
    EXPECT_TRUE(frame.command(cmd::ExcludeItem)->isChecked());
    QAction* undo = EditAction(frame, "Undo");
    ASSERT_NE(undo, nullptr);
    undo->trigger();
    EXPECT_FALSE(doc->database()->GetText(line, 7, 1)->exclude);
    undo->trigger();
    EXPECT_EQ(doc->database()->GetText(line, 7, 1)->translation, std::nullopt);

    ASSERT_TRUE(frame.command(cmd::ShowStringtables)->isChecked());
    const int rows = view->textModel()->rowCount();
    frame.command(cmd::ShowStringtables)->trigger();
    EXPECT_LT(view->textModel()->rowCount(), rows);
    EXPECT_FALSE(frame.command(cmd::ShowStringtables)->isChecked());
    EXPECT_EQ(doc->database()->GetOption("StringtableEdit"), false);

    // In the translation edit Ctrl+X cuts; it does not exclude the text.
    frame.command(cmd::ShowStringtables)->trigger();
    view->selectRow(row, true);
    QTest::keyClick(view, Qt::Key_F4);
    QTest::keyClicks(bar->translationEdit(), "abc");
    QTest::keyClick(bar->translationEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(bar->translationEdit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(bar->translationEdit()->toPlainText(), "");
    EXPECT_FALSE(doc->database()->GetText(line, 7, 1)->exclude);

    // The language list selects the source column.
    frame.languageCombo()->setCurrentIndex(0);
    emit frame.languageCombo()->activated(0);
    EXPECT_TRUE(view->sourceSelected());
}

}  // namespace
}  // namespace qln
