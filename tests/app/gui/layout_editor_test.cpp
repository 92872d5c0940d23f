// The layout editor in the workbench: Edit Dialog Layout on the active
// preview, the "Pos. & Size" dock and the mode pane, " *" in the title, Save
// and Undo through the main window's commands, the save question on closing,
// and the dock's close ending edit mode.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/LayoutEditorCommands.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/Translations.h"
#include "views/EditDialogBar.h"
#include "views/EditDynDlgView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace qln {
namespace {

class WorkbenchLayoutEditor : public test::WorkbenchOnDemo {
protected:
    void SetUp() override
    {
        WorkbenchOnDemo::SetUp();
        for (int r = 0; r < table->textModel()->rowCount(); ++r)
            if (table->textModel()->row(r)->sourceText == "&Swap")
                table->selectRow(r, true);
        frame().command(cmd::ViewDialog)->trigger();
        editor = ActiveLayoutEditor(frame());
        ASSERT_NE(editor, nullptr);
        window = frame().mdiArea()->currentSubWindow();
    }
    QAction* command(int id) { return frame().command(id); }
    std::string germanSwap()
    {
        sql::Statement st = doc->database()->db().prepare(
            "SELECT cx FROM DialogControl WHERE Lang_Id = 1031 AND Name_ID = 'IDC_SWAP'");
        return st.step() ? st.columnText(0) : std::string();
    }

    CEditDynDlgView* editor = nullptr;
    QMdiSubWindow* window = nullptr;
};

TEST_F(WorkbenchLayoutEditor, EditModeDockTitleSaveUndoAndTheCloseQuestion)
{
    QDockWidget* dock = frame().dialogEditDock();
    auto* bar = qobject_cast<CEditDialogBar*>(dock->widget());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(dock->windowTitle(), "Pos. & Size");
    EXPECT_FALSE(dock->isVisible());
    QAction* edit = command(cmd::EditDialogLayout);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_FALSE(command(cmd::EditUndo)->isEnabled());

    // On: the dock, the pane, the table's row selected and shown in the bar.
    edit->trigger();
    EXPECT_TRUE(editor->editMode());
    EXPECT_TRUE(edit->isChecked());
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(pane(cmd::PaneMode), "Edit");
    ASSERT_EQ(editor->layout()->selection().size(), 1u);
    EXPECT_EQ(bar->currentField(2), "80");
    // Next Item moves the edit selection too.
    ASSERT_TRUE(command(cmd::NextItem)->isEnabled());
    command(cmd::NextItem)->trigger();
    EXPECT_EQ(bar->sourceField(0), "95");  // the "Result:" label after the button
    command(cmd::PreviousItem)->trigger();
    EXPECT_EQ(bar->currentField(2), "80");

    // Wider by Shift+Right: " *" and Undo; Save writes the German row.
    editor->canvas()->setFocus();
    QTest::keyClick(editor->canvas(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(window->windowTitle().endsWith(" *"));
    EXPECT_TRUE(command(cmd::EditUndo)->isEnabled());
    EXPECT_EQ(bar->currentField(2), "81");
    command(cmd::EditUndo)->trigger();
    EXPECT_EQ(bar->currentField(2), "80");
    EXPECT_FALSE(window->windowTitle().endsWith(" *"));
    QTest::keyClick(editor->canvas(), Qt::Key_Right, Qt::ShiftModifier);
    command(cmd::FileSave)->trigger();
    EXPECT_EQ(germanSwap(), "81");
    EXPECT_FALSE(window->windowTitle().endsWith(" *"));
    EXPECT_FALSE(command(cmd::EditUndo)->isEnabled());

    // Closing with unsaved changes: Cancel keeps the preview, No drops them.
    QTest::keyClick(editor->canvas(), Qt::Key_Right, Qt::ShiftModifier);
    prompter.answers = {QMessageBox::Cancel};
    window->close();
    EXPECT_TRUE(prompter.Saw("Changes at dialog IDD_CONVERTER.\n\nDo you want to save current dialog template ?"));
    EXPECT_TRUE(frame().mdiArea()->subWindowList().contains(window));
    // The refused nudge beeps through the prompter.
    const int beeps = prompter.beeps;
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(editor->canvas(), Qt::Key_Left);
    EXPECT_EQ(prompter.beeps, beeps + 1);

    // Closing the dock ends edit mode; the changes wait for the question.
    dock->close();
    EXPECT_FALSE(editor->editMode());
    EXPECT_FALSE(dock->isVisible());
    EXPECT_EQ(pane(cmd::PaneMode), "");
    EXPECT_TRUE(window->windowTitle().endsWith(" *"));
    prompter.answers = {QMessageBox::Yes};
    QPointer<QMdiSubWindow> closing = window;
    closing->close();
    QTRY_VERIFY(closing.isNull());
    EXPECT_EQ(germanSwap(), "82");
}

}  // namespace
}  // namespace qln
