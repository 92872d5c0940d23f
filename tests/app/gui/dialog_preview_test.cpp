// The dialog previews in the workbench: one preview per dialog of a project,
// opened from the table's row, switched between the source and a language,
// following the translation bar both ways, String at Table, the panes, and
// a clipped text found by the checks opening its dialog.

#include "gui_support.h"

#include "app/CheckCommands.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/DynDlgDoc.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "views/CheckResultsModel.h"
#include "views/ControlWidgets.h"
#include "views/DynDlgView.h"
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

namespace qln {
namespace {

class WorkbenchDialogPreview : public test::WorkbenchOnDemo {
protected:
    void SetUp() override
    {
        WorkbenchOnDemo::SetUp();
        project = frame().activeChild();
    }
    CTranslationBar* bar() { return qobject_cast<CTranslationBar*>(frame().translationDock()); }
    std::int32_t lineOf(std::string_view source) { return table->textModel()->row(test::RowOfText(*table, source))->lineIndex; }

    CChildFrame* project = nullptr;
};

TEST_F(WorkbenchDialogPreview, OnePreviewPerDialogFollowsTheLanguageAndTheBar)
{
    // A string-table text has no dialog: nothing opens.
    table->selectRow(test::RowOfText(*table, "Ready"), true);
    EXPECT_EQ(OpenDialogPreview(frame()), nullptr);

    const std::int32_t swap = lineOf("&Swap");
    table->selectRow(test::RowOfText(*table, "&Swap"), true);
    ASSERT_TRUE(table->storeTranslation(swap, 7, 1, "&Tauschen"));
    const auto before = frame().mdiArea()->subWindowList().size();
    QAction* open = frame().command(cmd::ViewDialog);
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    open->trigger();
    ASSERT_EQ(frame().mdiArea()->subWindowList().size(), before + 1);
    CDynDlgView* view = ActiveDialogPreview(frame());
    ASSERT_NE(view, nullptr);
    QMdiSubWindow* window = frame().mdiArea()->currentSubWindow();
    EXPECT_EQ(window->windowTitle(), "Dialog: IDD_CONVERTER  (" + doc->title() + ")");
    ASSERT_EQ(OpenPreviews(*doc).size(), 1u);
    // The row's control is selected, in German, and is the bar's item.
    ASSERT_NE(view->selected(), nullptr);
    EXPECT_EQ(view->selected()->line, swap);
    EXPECT_EQ(ControlWidgetText(view->selected()->widget), "&Tauschen");
    EXPECT_EQ(bar()->item().lineIndex, swap);
    EXPECT_EQ(bar()->item().translation, "&Tauschen");
    EXPECT_EQ(pane(cmd::PaneLanguage), "German Dialog");
    EXPECT_TRUE(pane(cmd::PaneProgress).startsWith("Translated: "));
    EXPECT_EQ(frame().languageCombo()->currentText(), "German");
    EXPECT_EQ(frame().activeChild(), project);  // the project's commands still act on the project

    // Opening it again in the source switches the same window and selects the caption.
    const std::int32_t caption = view->captionLine();
    EXPECT_EQ(OpenDialogPreview(frame(), *project, view->dialogLine(), {-1, -1}, caption), view);
    EXPECT_EQ(frame().mdiArea()->subWindowList().size(), before + 1);
    EXPECT_TRUE(view->sourceShown());
    EXPECT_EQ(view->selected()->line, caption);
    EXPECT_EQ(pane(cmd::PaneLanguage), "Source Dialog");
    EXPECT_EQ(pane(cmd::PaneProgress), "");
    EXPECT_TRUE(frame().command(cmd::ViewSourceLanguage)->isChecked());
    EXPECT_EQ(frame().languageCombo()->currentIndex(), 0);
    // View Translated: the table's language, the source being chosen in the tool bar.
    frame().command(cmd::ViewTranslated)->trigger();
    EXPECT_FALSE(view->sourceShown());
    EXPECT_TRUE(frame().command(cmd::ViewTranslated)->isChecked());
    EXPECT_FALSE(frame().command(cmd::ViewSourceLanguage)->isChecked());
    // The language tool bar switches the active preview.
    emit frame().languageCombo()->activated(0);
    EXPECT_TRUE(view->sourceShown());
    emit frame().languageCombo()->activated(1);
    EXPECT_EQ(view->language().primary, 7);

    // Next Item walks the preview's controls and the bar follows.
    view->select(view->controlOfLine(swap));
    frame().command(cmd::NextItem)->trigger();
    EXPECT_NE(view->selected()->line, swap);
    EXPECT_EQ(bar()->item().lineIndex, view->selected()->line);
    frame().command(cmd::PreviousItem)->trigger();
    EXPECT_EQ(view->selected()->line, swap);
    // A translation stored from the bar shows in the preview at once.
    bar()->translationEdit()->setPlainText("&Wechseln");
    ASSERT_TRUE(bar()->store());
    EXPECT_EQ(ControlWidgetText(view->controlOfLine(swap)->widget), "&Wechseln");
    EXPECT_EQ(*doc->database()->GetText(swap, 7, 1)->translation, "&Wechseln");

    // String at Table: the project's window, its row selected.
    frame().mdiArea()->setActiveSubWindow(window);
    view->stringResource();
    EXPECT_EQ(frame().mdiArea()->currentSubWindow(), project);
    EXPECT_EQ(table->selectedRow()->lineIndex, swap);
    // Filtered out of the table: the user is told.
    table->toggleFilter(TextCommand::FilterDialogs);
    ASSERT_LT(table->rowOfLine(swap), 0);
    frame().mdiArea()->setActiveSubWindow(window);
    view->stringResource();
    EXPECT_TRUE(prompter.Saw(msg::PreviewTextNotVisible));

    // Closing the window takes the preview off the project's list.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(OpenPreviews(*doc).empty());
}

TEST_F(WorkbenchDialogPreview, AClippedFindingOpensItsDialogOutlined)
{
    const std::int32_t swap = lineOf("&Swap");
    ASSERT_TRUE(table->storeTranslation(swap, 7, 1, "&Die beiden Einheiten gegeneinander vertauschen"));
    auto* checks = frame().QObject::findChild<CCheckCommands*>();
    ASSERT_NE(checks, nullptr);
    ASSERT_TRUE(checks->checkActiveProject());
    int row = -1;
    for (int r = 0; r < checks->model()->rowCount(); ++r)
        if (checks->model()->finding(r)->check == "clipped" && checks->model()->finding(r)->lineIndex == swap)
            row = r;
    ASSERT_GE(row, 0);
    checks->goToFinding(row);
    CDynDlgView* view = ActiveDialogPreview(frame());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->language().primary, 7);
    ASSERT_NE(view->selected(), nullptr);
    EXPECT_EQ(view->selected()->line, swap);
    EXPECT_TRUE(view->selected()->clipped);
    // Only the clipped text is outlined.
    int outlined = 0;
    for (const auto& c : view->controls())
        outlined += c->clipped ? 1 : 0;
    EXPECT_EQ(outlined, 1);
}

}  // namespace
}  // namespace qln
