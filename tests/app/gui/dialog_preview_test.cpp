// View > Dialog Resource in the workbench: the preview of the current row's
// dialog in the table's language, in a window of the project.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogPreviewWindow.h"
#include "app/MainFrame.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/TextTableWiring.h"
#include "projectdb/Translations.h"
#include "views/DynDlgView.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace qln {
namespace {

int RowOfText(CTextListView& view, std::string_view source)
{
    for (int r = 0; r < view.textModel()->rowCount(); ++r)
        if (view.textModel()->row(r)->sourceText == source)
            return r;
    return -1;
}

TEST(WorkbenchDialogPreview, OpensTheCurrentRowsDialogInTheTablesLanguage)
{
    test::DemoFolder dir;
    CSettings settings(dir.settingsFile());
    test::ScriptedPrompter prompter;
    CTesselApp app(settings, prompter, test::TemplatePath());
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame& frame = *app.mainFrame();
    CTesselDoc* doc = app.OpenDocumentFile(test::Q(dir / "demo.rc"));
    ASSERT_NE(doc, nullptr);
    CTextListView* view = ActiveTextTable(frame);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLanguage(*doc->database(), 7, 1, 1252));
    view->setProject(doc->database(), view->undoStack());
    view->selectLanguage(7, 1);
    CChildFrame* project = frame.activeChild();

    // A string-table text has no dialog: nothing opens.
    view->selectRow(RowOfText(*view, "Ready"), true);
    EXPECT_EQ(OpenDialogPreview(frame), nullptr);

    const int swap = RowOfText(*view, "&Swap");
    ASSERT_GE(swap, 0);
    view->selectRow(swap, true);
    ASSERT_TRUE(view->storeTranslation(view->textModel()->row(swap)->lineIndex, 7, 1, "&Tauschen"));
    const int before = static_cast<int>(frame.mdiArea()->subWindowList().size());
    frame.command(cmd::ViewDialog)->trigger();
    ASSERT_EQ(frame.mdiArea()->subWindowList().size(), before + 1);
    QMdiSubWindow* preview = frame.mdiArea()->currentSubWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), "IDD_CONVERTER - German");
    auto* dialog = qobject_cast<CDynDlgView*>(preview->widget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->client()->findChild<QPushButton*>("IDC_SWAP")->text(), "&Tauschen");
    // The project's commands still act on the project while the preview is current.
    EXPECT_EQ(frame.activeChild(), project);
    EXPECT_EQ(ActiveTextTable(frame), view);
}

}  // namespace
}  // namespace qln
