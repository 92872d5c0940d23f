// View > Menu Resource and View > Bitmap Resource in the workbench: the
// windows of the current row's menu and bitmap, their languages, the
// translation bar's item and stored translations showing at once.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/MenuBitmapWindows.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "views/DynBitmapView.h"
#include "views/DynMenuView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"
#include "views/TranslationBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

namespace qln {
namespace {

std::int32_t LineOfRow(CTextListView& view, int row)
{
    return view.textModel()->row(row)->lineIndex;
}

class WorkbenchMenuBitmap : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<CTesselApp>(settings, prompter, test::TemplatePath());
        ASSERT_TRUE(app->InitInstance({}));
        frame = app->mainFrame();
        doc = app->OpenDocumentFile(test::Q(dir / "demo.rc"));
        ASSERT_NE(doc, nullptr);
        table = ActiveTextTable(*frame);
        ASSERT_NE(table, nullptr);
        ASSERT_TRUE(AddLanguage(*doc->database(), 7, 1, 1252));
        doc->TranslationsChanged(false);
        table->setProject(doc->database(), table->undoStack());
        table->selectLanguage(7, 1);
        project = frame->activeChild();
        bar = qobject_cast<CTranslationBar*>(frame->translationDock());
        ASSERT_NE(bar, nullptr);
    }
    std::int32_t Select(std::string_view source)
    {
        const int row = test::RowOfText(*table, source);
        EXPECT_GE(row, 0) << source;
        table->selectRow(row, true);
        return LineOfRow(*table, row);
    }
    int Windows() const { return static_cast<int>(frame->mdiArea()->subWindowList().size()); }

    test::DemoFolder dir;
    CSettings settings{dir.settingsFile()};
    test::ScriptedPrompter prompter;
    std::unique_ptr<CTesselApp> app;
    CMainFrame* frame = nullptr;
    CTesselDoc* doc = nullptr;
    CTextListView* table = nullptr;
    CChildFrame* project = nullptr;
    CTranslationBar* bar = nullptr;
};

TEST_F(WorkbenchMenuBitmap, MenuViewFollowsLanguagesSelectionAndStoredTranslations)
{
    const std::int32_t exitLine = Select("E&xit");
    ASSERT_TRUE(table->storeTranslation(exitLine, 7, 1, "&Beenden"));
    Select("E&xit");
    const int before = Windows();
    frame->command(cmd::ViewMenu)->trigger();
    ASSERT_EQ(Windows(), before + 1);
    QMdiSubWindow* window = frame->mdiArea()->currentSubWindow();
    auto* view = qobject_cast<CDynMenuView*>(window->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(window->windowTitle().startsWith("Menu: IDR_MAINFRAME  (demo.rc")) << window->windowTitle().toStdString();
    EXPECT_EQ(frame->activeChild(), project);
    EXPECT_EQ(view->language().primary, 7);
    EXPECT_TRUE(view->translatedAction()->isChecked());
    EXPECT_EQ(frame->languageCombo()->currentText(), "German");
    // The row's item is selected and is the translation bar's item, in German.
    EXPECT_EQ(view->selectedLine(), exitLine);
    EXPECT_EQ(view->itemOfLine(exitLine)->text(0), "&Beenden");
    EXPECT_EQ(bar->item().lineIndex, exitLine);
    EXPECT_EQ(bar->item().primary, 7);
    EXPECT_EQ(bar->translationEdit()->toPlainText(), "&Beenden");

    // A click on another node makes it the bar's item; what is stored there
    // shows in the tree at once, with the image of a translated item.
    const std::int32_t openLine = LineOfRow(*table, test::RowOfText(*table, "&Open List...\\tCtrl+O"));
    QTreeWidgetItem* open = view->itemOfLine(openLine);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->data(0, Qt::AccessibleDescriptionRole).toInt(), 6);
    view->tree()->scrollToItem(open);
    QTest::mouseClick(view->tree()->viewport(), Qt::LeftButton, {}, view->tree()->visualItemRect(open).center());
    EXPECT_EQ(bar->item().lineIndex, openLine);
    bar->translationEdit()->setPlainText("Liste ö&ffnen...");
    ASSERT_TRUE(bar->store());
    EXPECT_EQ(open->text(0), "Liste ö&ffnen...");
    EXPECT_EQ(open->data(0, Qt::AccessibleDescriptionRole).toInt(), 8);
    // And so does an undo through the table.
    table->undoStack()->undo();
    EXPECT_EQ(open->text(0), "&Open List...\\tCtrl+O");

    // The language tool bar: the source text, then German again.
    frame->languageCombo()->setCurrentIndex(0);
    emit frame->languageCombo()->activated(0);
    EXPECT_TRUE(view->sourceShown());
    EXPECT_TRUE(view->sourceAction()->isChecked());
    EXPECT_EQ(view->itemOfLine(exitLine)->text(0), "E&xit");
    EXPECT_EQ(view->itemOfLine(exitLine)->data(0, Qt::AccessibleDescriptionRole).toInt(), 12);
    // With the source shown the bar still edits the tool bar's (first) translation.
    EXPECT_EQ(bar->item().primary, 7);
    view->translatedAction()->trigger();
    EXPECT_FALSE(view->sourceShown());
    EXPECT_EQ(view->itemOfLine(exitLine)->text(0), "&Beenden");

    // The same menu again: the open window comes to the front in the table's language.
    view->sourceAction()->trigger();
    frame->mdiArea()->setActiveSubWindow(project);
    table->selectLanguage(7, 1);  // the tool bar chose the source for the table too
    Select("&Undo\\tAlt+Backspace");
    frame->command(cmd::ViewMenu)->trigger();
    EXPECT_EQ(Windows(), before + 1);
    EXPECT_EQ(frame->mdiArea()->currentSubWindow(), window);
    EXPECT_FALSE(view->sourceShown());

    // Next Item and Previous Item walk the tree and offer each node to the bar.
    ASSERT_TRUE(view->selectLine(exitLine));
    frame->command(cmd::NextItem)->trigger();
    EXPECT_EQ(view->selectedLine(), LineOfRow(*table, test::RowOfText(*table, "&Edit")));
    EXPECT_EQ(bar->item().lineIndex, view->selectedLine());
    frame->command(cmd::PreviousItem)->trigger();
    EXPECT_EQ(view->selectedLine(), exitLine);
    EXPECT_EQ(bar->item().lineIndex, exitLine);

    // Activated again after the table: the bar edits the view's node again.
    frame->mdiArea()->setActiveSubWindow(project);
    const std::int32_t ready = Select("Ready");
    EXPECT_EQ(bar->item().lineIndex, ready);
    frame->mdiArea()->setActiveSubWindow(window);
    EXPECT_EQ(bar->item().lineIndex, exitLine);
    EXPECT_EQ(frame->languageCombo()->currentText(), "German");

    // String at Table: the selected node's row in the table.
    ASSERT_TRUE(view->selectLine(openLine));
    frame->command(cmd::ViewStringTable)->trigger();
    EXPECT_EQ(frame->mdiArea()->currentSubWindow(), project);
    EXPECT_EQ(table->selectedRow()->lineIndex, openLine);

    // A string-table row opens no menu; closing the project closes the view.
    Select("Ready");
    frame->command(cmd::ViewMenu)->trigger();
    EXPECT_EQ(Windows(), before + 1);
    EXPECT_EQ(OpenMenuView(*frame, exitLine, {-1, -1}), nullptr);  // a text line, not a menu
}

TEST_F(WorkbenchMenuBitmap, BitmapViewPerLanguageWithPanes)
{
    // German is written into translations/, where the translator's script
    // names the bitmap relative to that folder.
    ASSERT_TRUE(SetTranslationFile(*doc->database(), 7, 1, {"translations/demo_de.rc", {}}));
    Select("res/demo.bmp");
    const int before = Windows();
    frame->command(cmd::ViewBitmap)->trigger();
    ASSERT_EQ(Windows(), before + 1);
    QMdiSubWindow* window = frame->mdiArea()->currentSubWindow();
    auto* view = qobject_cast<CDynBitmapView*>(window->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(window->windowTitle().startsWith("Bitmap: IDB_RULER  (demo.rc")) << window->windowTitle().toStdString();
    // Untranslated, the source name is looked for beside the German script: not there.
    EXPECT_FALSE(view->hasImage());
    EXPECT_EQ(view->missingText(), "res/demo.bmp\n(Bitmap file not found)");
    EXPECT_EQ(frame->pane(cmd::PaneLanguage)->text(), "German Bitmap");
    EXPECT_EQ(frame->pane(cmd::PaneProgress)->text(), "Translated: 0%  Modified: 0%");

    // The translator's name finds the bitmap; the view follows the store at once.
    const std::int32_t line = view->bitmapLine();
    ASSERT_TRUE(table->storeTranslation(line, 7, 1, "../res/demo.bmp"));
    ASSERT_TRUE(view->hasImage());
    EXPECT_EQ(view->extent(), QSize(16, 16));
    EXPECT_TRUE(view->missingText().isEmpty());
    EXPECT_EQ(frame->pane(cmd::PaneProgress)->text(), "Translated: 100%  Modified: 0%");

    // The source: its own folder.
    frame->languageCombo()->setCurrentIndex(0);
    emit frame->languageCombo()->activated(0);
    EXPECT_TRUE(view->sourceShown());
    EXPECT_TRUE(view->hasImage());
    EXPECT_EQ(view->choice().fullPath, dir / "res" / "demo.bmp");
    EXPECT_EQ(frame->pane(cmd::PaneLanguage)->text(), "Source Bitmap");
    EXPECT_EQ(frame->pane(cmd::PaneProgress)->text(), "");

    // The panes follow the view when it is activated again.
    frame->mdiArea()->setActiveSubWindow(project);
    frame->mdiArea()->setActiveSubWindow(window);
    EXPECT_EQ(frame->pane(cmd::PaneLanguage)->text(), "Source Bitmap");

    // A menu row opens no bitmap; the bitmap again raises the same window.
    frame->mdiArea()->setActiveSubWindow(project);
    Select("E&xit");
    frame->command(cmd::ViewBitmap)->trigger();
    EXPECT_EQ(Windows(), before + 1);
    table->selectLanguage(7, 1);
    Select("res/demo.bmp");
    frame->command(cmd::ViewBitmap)->trigger();
    EXPECT_EQ(Windows(), before + 1);
    EXPECT_EQ(frame->mdiArea()->currentSubWindow(), window);
    EXPECT_FALSE(view->sourceShown());
}

}  // namespace
}  // namespace qln
