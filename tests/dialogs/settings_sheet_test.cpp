// The project settings sheet and the Toolbars sheet with real widgets.
#include "dialogs/dialogs_support.h"

#include "app/dialogs/SettingsSheet.h"
#include "app/dialogs/ToolbarsSheet.h"
#include "project/OptionRules.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "projectdb/version7_project.h"
#include "rcscript/Messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace qln {
namespace {

using test::DemoProject;
using test::Press;
using test::ScriptedPrompts;
using ui::SettingsSheet;

TEST(SettingsSheet, RefusedIncludeListsKeepThePageAndAcceptedOnesMarkTheProject)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    ScriptedPrompts prompts;
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<SettingsSheet&>(d);
        EXPECT_EQ(sheet.windowTitle(), "Source Text Settings");
        EXPECT_EQ(sheet.tabs()->count(), 3);
        sheet.tabs()->setCurrentIndex(1);
        QTest::keyClick(sheet.windowHandle(), Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(sheet.includeEdit()->hasFocus());
        for (const char* refused : {"rc2;dlg", "rc", "dlgx"}) {
            sheet.includeEdit()->setText(refused);
            // Enter on another page checks the include page too.
            sheet.tabs()->setCurrentIndex(0);
            sheet.tabs()->setFocus();
            Press(sheet, Qt::Key_Return);
            EXPECT_TRUE(sheet.isVisible()) << refused;
            EXPECT_EQ(sheet.tabs()->currentIndex(), 1) << refused;
            EXPECT_EQ(sheet.includeEdit()->selectedText(), refused);
        }
        sheet.includeEdit()->setText("rc2, dlg");
        Press(sheet, Qt::Key_Return);
    };
    const ui::SettingsOutcome outcome =
        ui::RunSettingsCommand(nullptr, project, demo.script, std::nullopt, {}, prompts);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_TRUE(outcome.outOfDate);
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{
                                   "Include extension(s) 'rc2;dlg' contains not allowed characters",
                                   "Include extension 'rc' is not accepted as a resource include file",
                                   "Include extension 'dlgx' is not accepted as a resource include file",
                                   std::string(msg::IncludeListChanged),
                               }));
    EXPECT_EQ(prompts.shown[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(project.GetSetting("RES_INCLUDES", 0, 0)->text, "RC2, DLG");
    EXPECT_EQ(project.GetStatus(), kStatusUpdateNeeded);

    // Opened again, the page shows the stored list; OK without a change changes nothing.
    prompts.shown.clear();
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<SettingsSheet&>(d);
        EXPECT_EQ(sheet.includeEdit()->text(), "RC2, DLG");
        Press(sheet, Qt::Key_Return);
    };
    EXPECT_FALSE(ui::RunSettingsCommand(nullptr, project, demo.script, std::nullopt, {}, prompts).outOfDate);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(SettingsSheet, OlderDatabaseKeepsTheListInTheSettingsFile)
{
    test::TempDir dir;
    const auto database = dir / "app.mdb";
    test::MakeVersion7Database(database);
    CProjectDatabase project(database);
    std::string settingsFile = "h";
    ui::SettingsHooks hooks{[&] { return settingsFile; }, [&](const std::string& list) { settingsFile = list; }};
    ScriptedPrompts prompts;
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<SettingsSheet&>(d);
        EXPECT_EQ(sheet.includeEdit()->text(), "h");
        sheet.includeEdit()->setText("h dlg");
        Press(sheet, Qt::Key_Return);
    };
    EXPECT_TRUE(ui::RunSettingsCommand(nullptr, project, dir / "app.rc", std::nullopt, hooks, prompts).outOfDate);
    EXPECT_EQ(settingsFile, "H, DLG");
}

TEST(SettingsSheet, TranslationPagesStoreCodePageAndRefuseAnotherTranslationsFile)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    AddTranslation(project, demo.script, {{7, 1}, 1252, "demo_0407.rc", {}});
    AddTranslation(project, demo.script, {{12, 1}, 1252, "demo_040c.rc", {}});
    const auto target = ui::SettingsTarget(project, 303);
    ASSERT_TRUE(target && *target);
    EXPECT_EQ((*target)->primary, 12);
    EXPECT_FALSE(ui::SettingsTarget(project, 304));
    EXPECT_FALSE(*ui::SettingsTarget(project, 301));

    ScriptedPrompts prompts;
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<SettingsSheet&>(d);
        EXPECT_EQ(sheet.windowTitle(), "French  Translation Settings");
        const auto labels = sheet.findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                [](QLabel* l) { return l->text() == "French Resource &File Name:"; }));
        EXPECT_EQ(sheet.fileEdit()->text(), "demo_040c.rc");
        sheet.fileEdit()->setText("demo_0407.rc");
        Press(sheet, Qt::Key_Return);
        EXPECT_TRUE(sheet.isVisible());
        sheet.fileEdit()->setText("demo_fr.rc");
        sheet.tabs()->setCurrentIndex(1);
        sheet.codePageBox()->setFocus();
        QTest::keyClick(sheet.codePageBox(), Qt::Key_End);
        Press(sheet, Qt::Key_Return);
    };
    const ui::SettingsOutcome outcome = ui::RunSettingsCommand(nullptr, project, demo.script, *target, {}, prompts);
    EXPECT_TRUE(outcome.modified);
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"The file name demo_0407.rc is already use by an other translation."});
    EXPECT_EQ(GetTranslationFile(project, 12, 1)->fileName, "demo_fr.rc");
    EXPECT_EQ(GetCodePage(project, 12, 1), 65001);
}

TEST(ToolbarsSheet, ShowsCheckedBarsHidesTheOthersAndLeavesTheDialogBarAlone)
{
    QMainWindow frame;
    auto* toolbar = frame.addToolBar("Edit Toolbar");
    QStatusBar* status = frame.statusBar();
    QToolBar dialogBar("Dialog Edit");
    frame.addToolBar(&dialogBar);
    dialogBar.hide();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const std::vector<ui::ToolbarEntry> bars = {{59392, "Edit Toolbar", toolbar},
                                                {98, "Translation", nullptr},
                                                {100, "Project File List", nullptr},
                                                {59393, "Statusbar", status},
                                                {99, "Language Toolbar", nullptr},
                                                {ui::kDialogEditBarId, "Dialog Edit", &dialogBar}};
    ScriptedPrompts prompts;
    prompts.drive = [](QDialog& d) {
        auto& sheet = static_cast<ui::ToolbarsSheet&>(d);
        QTreeWidget* list = sheet.list();
        EXPECT_EQ(list->headerItem()->text(0), "Toolbars");
        ASSERT_EQ(list->topLevelItemCount(), 6);
        EXPECT_EQ(sheet.checked(), (std::vector<bool>{true, false, false, true, false, false}));
        list->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Space);  // Statusbar off
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Space);  // Dialog Edit on
        EXPECT_EQ(sheet.checked(), (std::vector<bool>{true, false, false, false, false, true}));
        Press(sheet, Qt::Key_Return);
    };
    EXPECT_TRUE(ui::RunToolbarsCommand(&frame, bars, prompts));
    EXPECT_FALSE(status->isVisible());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_FALSE(dialogBar.isVisible());
}

}  // namespace
}  // namespace qln
