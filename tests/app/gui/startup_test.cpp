// Start-up of the workbench and the bookkeeping of opened projects: the
// template check, a file named at start, the same project opened twice,
// and what closing the main window writes into the settings file.

#include "gui_support.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ProjectFilesBar.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <QDockWidget>
#include <QMdiArea>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::DemoFolder;
using test::Q;
using test::ScriptedPrompter;

TEST(WorkbenchStart, WithoutFileShowsTheEmptyWorkbench)
{
    DemoFolder dir;
    CSettings settings(dir.settingsFile());
    ScriptedPrompter prompter;
    CTesselApp app(settings, prompter, test::TemplatePath());
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame* frame = app.mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->children().empty());
    EXPECT_TRUE(prompter.shown.empty());
    // Every bar can be saved and restored by name; the dialog edit bar starts hidden.
    for (QToolBar* bar : frame->findChildren<QToolBar*>())
        EXPECT_FALSE(bar->objectName().isEmpty()) << bar->windowTitle().toStdString();
    for (QDockWidget* dock : frame->findChildren<QDockWidget*>())
        EXPECT_FALSE(dock->objectName().isEmpty()) << dock->windowTitle().toStdString();
    EXPECT_TRUE(frame->dialogEditDock()->isHidden());
    const auto bars = frame->barTable();
    ASSERT_EQ(bars.size(), 6u);
    EXPECT_EQ(bars[3].name, "Statusbar");
    EXPECT_EQ(bars[3].widget, frame->statusBar());
    EXPECT_EQ(frame->projectFilesDock()->windowTitle(), "Project Files");
    EXPECT_EQ(frame->projectFilesBar()->list()->columnCount(), 5);
    // Commands that need a project wait for one; the first start opens in the current folder.
    EXPECT_FALSE(frame->command(cmd::FileSave)->isEnabled());
    EXPECT_TRUE(frame->command(cmd::FileOpen)->isEnabled());
    EXPECT_EQ(frame->command(cmd::RefreshStatus)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(settings.projectPath(), QDir::currentPath());
}

TEST(WorkbenchStart, MissingTemplateStopsWithItsPath)
{
    DemoFolder dir;
    CSettings settings(dir.settingsFile());
    ScriptedPrompter prompter;
    const fs::path missing = dir / "nowhere/qlndb8.mdb";
    CTesselApp app(settings, prompter, missing);
    EXPECT_FALSE(app.InitInstance({}));
    EXPECT_EQ(app.mainFrame(), nullptr);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(prompter.shown[0].text.contains(Q(missing)));
}

TEST(WorkbenchStart, FileNamedAtStartOpensAndIsRemembered)
{
    DemoFolder dir;
    CSettings settings(dir.settingsFile());
    ScriptedPrompter prompter;  // answers Yes: build the database
    {
        CTesselApp app(settings, prompter, test::TemplatePath());
        ASSERT_TRUE(app.InitInstance(Q(dir / "demo.rc")));
        CMainFrame* frame = app.mainFrame();
        ASSERT_EQ(frame->children().size(), 1u);
        CTesselDoc* doc = frame->activeChild()->document();
        EXPECT_TRUE(fs::exists(dir / "demo_rc.mdb"));
        EXPECT_EQ(doc->status(), 1);
        EXPECT_TRUE(frame->activeChild()->windowTitle().startsWith("demo.rc  [No Translation]"));
        EXPECT_TRUE(frame->command(cmd::FileSave)->isEnabled());

        // The same project again, through its database and through its
        // script: the open window is activated with a beep, nothing is added.
        const int beeps = prompter.beeps;
        EXPECT_EQ(app.OpenDocumentFile(Q(dir / "demo_rc.mdb")), doc);
        EXPECT_EQ(app.OpenDocumentFile(Q(dir / "demo.rc")), doc);
        EXPECT_EQ(prompter.beeps, beeps + 2);
        EXPECT_EQ(frame->children().size(), 1u);
        EXPECT_EQ(frame->GetProjectFiles(), std::vector<std::string>{(dir / "demo.rc").string()});

        QTreeWidget* list = frame->projectFilesBar()->list();
        ASSERT_EQ(list->topLevelItemCount(), 1);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "demo.rc");
        EXPECT_EQ(list->topLevelItem(0)->text(2), "No Translation");
        EXPECT_EQ(list->topLevelItem(0)->text(3), "0");
        EXPECT_EQ(list->topLevelItem(0)->text(4), Q(dir.path()));
        frame->close();
    }
    // Closing wrote the list, the folder, the recent files and the bar state.
    QSettings ini(dir.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("PROJECTFILES/File0").toString(), Q(dir / "demo.rc"));
    EXPECT_EQ(ini.value("PROJECTFILES/File1").toString(), "");
    EXPECT_EQ(ini.value("PATH/PROJECT").toString(), Q(dir.path()));
    EXPECT_EQ(ini.value("Recent File List/File1").toString(), Q(dir / "demo.rc"));
    EXPECT_FALSE(ini.value("General/State").toByteArray().isEmpty());
    EXPECT_TRUE(ini.contains("SETTINGS/MainWndCX"));
}

TEST(WorkbenchStart, StoredPlacementIsUsedOnlyInsideItsRange)
{
    DemoFolder dir;
    struct Case {
        int cx, cy;
        bool used;
    };
    // The window is never narrower than its menus and toolbars, so the lower
    // limits are proved without a window (project_file_list_test).
    for (const Case c : {Case{1500, 1500, false}, Case{1499, 1499, true}}) {
        {
            QSettings ini(dir.settingsFile(), QSettings::IniFormat);
            ini.setValue("SETTINGS/MainWndCX", c.cx);
            ini.setValue("SETTINGS/MainWndCY", c.cy);
        }
        CSettings settings(dir.settingsFile());
        ScriptedPrompter prompter;
        CTesselApp app(settings, prompter, test::TemplatePath());
        ASSERT_TRUE(app.InitInstance({}));
        const QSize size = app.mainFrame()->size();
        EXPECT_EQ(size.width() == c.cx && size.height() == c.cy, c.used) << c.cx << " x " << c.cy;
    }
}

TEST(WorkbenchStart, DeclinedBuildOpensNothing)
{
    DemoFolder dir;
    CSettings settings(dir.settingsFile());
    ScriptedPrompter prompter;
    prompter.fallback = QMessageBox::No;
    CTesselApp app(settings, prompter, test::TemplatePath());
    ASSERT_TRUE(app.InitInstance(Q(dir / "demo.rc")));
    EXPECT_TRUE(prompter.Saw(
        msg::Format(msg::AskBuildDatabase, {(dir / "demo.rc").string(), (dir / "demo_rc.mdb").string()})));
    EXPECT_TRUE(app.mainFrame()->children().empty());
    EXPECT_FALSE(fs::exists(dir / "demo_rc.mdb"));
    EXPECT_TRUE(app.mainFrame()->GetProjectFiles().empty());
}

}  // namespace
}  // namespace qln

namespace qln {
namespace {

TEST(WorkbenchStart, DroppedFilesOpen)
{
    DemoFolder dir;
    test::ScriptedPrompter prompter;
    CSettings settings(dir.settingsFile());
    CTesselApp app(settings, prompter, test::TemplatePath());
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame* frame = app.mainFrame();
    EXPECT_TRUE(frame->acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(test::Q(dir / "demo.rc")), QUrl::fromLocalFile(test::Q(dir / "asia/asiademo.rc"))});
    EXPECT_EQ(frame->openDropped(data), 2);
    ASSERT_EQ(frame->children().size(), 2u);
    EXPECT_EQ(frame->activeChild()->document()->scriptPath().filename(), "asiademo.rc");
    EXPECT_EQ(frame->GetProjectFiles().size(), 2u);
    // The recent files list the newest first.
    EXPECT_EQ(settings.recentFiles(), (QStringList{test::Q(dir / "asia/asiademo.rc"), test::Q(dir / "demo.rc")}));
}

}  // namespace
}  // namespace qln
