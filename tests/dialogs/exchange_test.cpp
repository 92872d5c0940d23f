// Export, import and the database tools through their commands, on real files.
#include "dialogs/dialogs_support.h"

#include "app/dialogs/DatabaseTools.h"
#include "app/dialogs/ExchangeDialogs.h"
#include "project/SheetFile.h"
#include "projectdb/Lifecycle.h"
#include "project/OptionRules.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "projectdb/temp_project.h"
#include "projectdb/version7_project.h"
#include "rcscript/Messages.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::DemoProject;
using test::Press;
using test::ScriptedPrompts;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

TEST(ExportExcel, WritesTheChosenColumnsAndNothingWhenCancelled)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    AddTranslation(project, demo.script, {{7, 1}, 1252, "demo_0407.rc", {}});
    ScriptedPrompts prompts;
    prompts.files = {Q(demo.dir / "texts")};
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<ui::ExportColumnsDialog&>(d);
        ASSERT_EQ(dialog.list()->count(), 3);
        EXPECT_EQ(dialog.list()->item(0)->text(), "\"Id's\"");
        // Every column starts chosen; Space on "Source" leaves it out.
        dialog.list()->setFocus();
        QTest::keyClick(dialog.list(), Qt::Key_Down);
        QTest::keyClick(dialog.list(), Qt::Key_Space);
        Press(dialog, Qt::Key_Return);
    };
    ASSERT_TRUE(ui::RunExportExcelCommand(nullptr, project, TextTableFilter::FromProject(project), prompts));
    const SheetGrid sheet = ReadSheetFile(demo.dir / "texts.xlsx");
    EXPECT_EQ(sheet.rows.at(0), (std::vector<std::string>{"Resource Ident", "Item Type", "Id", "German"}));
    EXPECT_GT(sheet.rows.size(), 10u);
    ASSERT_EQ(prompts.asked.size(), 1u);  // open the workbook? No
    EXPECT_EQ(prompts.asked[0].rfind((demo.dir / "texts.xlsx").string() + "\n", 0), 0u);

    prompts.drive = [](QDialog& dialog) { Press(dialog, Qt::Key_Escape); };
    prompts.files = {Q(demo.dir / "other.xlsx")};
    EXPECT_FALSE(ui::RunExportExcelCommand(nullptr, project, TextTableFilter::FromProject(project), prompts));
    EXPECT_FALSE(fs::exists(demo.dir / "other.xlsx"));
}

TEST(ImportText, ScriptImportAddsTheLanguageAndASecondImportFindsNothing)
{
    DemoProject demo;
    auto project = std::make_unique<CProjectDatabase>(demo.database);
    ScriptedPrompts prompts;
    ui::ImportMemory memory;
    const fs::path german = demo.dir / "translations" / "demo_de.rc";
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<ui::ImportLanguageDialog&>(d);
        dialog.box()->setFocus();
        dialog.box()->setCurrentIndex(dialog.box()->findText("German", Qt::MatchExactly));
        ASSERT_EQ(dialog.box()->currentText(), "German");
        Press(dialog, Qt::Key_Return);
    };
    prompts.files = {Q(german)};
    const ui::ImportOutcome first = ui::RunImportTextCommand(nullptr, project, memory, {}, prompts);
    ASSERT_TRUE(project);
    EXPECT_TRUE(first.changed);
    EXPECT_TRUE(first.languageAdded);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().text.rfind("Import text from  " + german.string() + "\n\n", 0), 0u)
        << prompts.shown.back().text;
    EXPECT_TRUE(HasLanguageColumn(*project, 7, 1));
    EXPECT_EQ(memory.lastType, "rc");
    EXPECT_EQ(memory.lastFile, german.string());
    EXPECT_EQ(ui::ImportFilter(memory.lastType).rfind(msg::ImportFilterScript, 0), 0u);

    prompts.files = {Q(german)};
    const ui::ImportOutcome second = ui::RunImportTextCommand(nullptr, project, memory, {}, prompts);
    EXPECT_FALSE(second.changed);
    EXPECT_EQ(prompts.shown.back().text, msg::Format(msg::ImportTextNothing, {german.string()}));

    prompts.files = {Q(demo.dir / "res" / "readme.txt")};
    ui::RunImportTextCommand(nullptr, project, memory, {}, prompts);
    EXPECT_EQ(prompts.shown.back().text,
              msg::Format(msg::ImportUnsupportedType, {(demo.dir / "res" / "readme.txt").string(), "txt"}));
}

TEST(ImportText, DatabaseImportOffersTheOtherProjectsTranslations)
{
    DemoProject from;
    {
        auto source = std::make_unique<CProjectDatabase>(from.database);
        ImportTranslatedScript(source, from.dir / "translations" / "demo_fr.rc", {12, 1});
        ASSERT_TRUE(source && HasLanguageColumn(*source, 12, 1));
    }
    DemoProject demo;
    auto project = std::make_unique<CProjectDatabase>(demo.database);
    ScriptedPrompts prompts;
    ui::ImportMemory memory;
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<ui::ImportLanguageDialog&>(d);
        EXPECT_EQ(dialog.box()->count(), 1);
        EXPECT_EQ(dialog.box()->currentText(), "French");
        Press(dialog, Qt::Key_Return);
    };
    prompts.files = {Q(from.database)};
    const ui::ImportOutcome outcome = ui::RunImportTextCommand(nullptr, project, memory, {}, prompts);
    ASSERT_TRUE(project);
    EXPECT_TRUE(outcome.changed);
    EXPECT_TRUE(HasLanguageColumn(*project, 12, 1));
    EXPECT_EQ(memory.lastType, "mdb");

    // The project's own database is refused.
    prompts.files = {Q(demo.database)};
    prompts.drive = {};
    EXPECT_FALSE(ui::RunImportTextCommand(nullptr, project, memory, {}, prompts).changed);
    EXPECT_EQ(prompts.shown.back().text, msg::Format(msg::ImportDbIsCurrent, {demo.database.string()}));
}

TEST(ExportDatabase, AsksBeforeOverwritingAndKeepsTheChosenTranslations)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    AddTranslation(project, demo.script, {{7, 1}, 1252, "demo_0407.rc", {}});
    AddTranslation(project, demo.script, {{12, 1}, 1252, "demo_040c.rc", {}});
    const fs::path target = demo.dir / "export.mdb";
    ScriptedPrompts prompts;
    prompts.drive = [](QDialog& d) {
        auto& dialog = static_cast<ui::ExportColumnsDialog&>(d);
        ASSERT_EQ(dialog.list()->count(), 2);
        dialog.list()->setFocus();
        QTest::keyClick(dialog.list(), Qt::Key_Space);  // without German
        Press(dialog, Qt::Key_Return);
    };
    prompts.files = {Q(target)};
    ASSERT_TRUE(ui::RunExportDatabaseCommand(nullptr, project, {}, prompts));
    EXPECT_EQ(prompts.shown.back().text, msg::Format(msg::ExportDbDone, {target.string()}));
    {
        CProjectDatabase exported(target);
        ASSERT_EQ(ListLanguages(exported).size(), 1u);
        EXPECT_EQ(ListLanguages(exported)[0].primary, 12);
    }
    prompts.files = {Q(target)};
    EXPECT_FALSE(ui::RunExportDatabaseCommand(nullptr, project, {}, prompts));  // overwrite? No
    EXPECT_EQ(prompts.asked.back(), msg::Format(msg::ExportDbExists, {target.string()}));
}

TEST(DatabaseTools, ConvertsAnOlderDatabaseRefusesACurrentOneAndCompacts)
{
    test::TempDir dir;
    const fs::path old = dir / "app.mdb";
    test::MakeVersion7Database(old);
    ScriptedPrompts prompts;
    prompts.files = {Q(old)};
    prompts.answers = {true};
    ASSERT_TRUE(ui::RunConvertDatabaseCommand(nullptr, test::TemplatePath(), prompts));
    EXPECT_EQ(prompts.asked.back(), msg::Format(msg::AskConvertDatabase, {old.string()}));
    EXPECT_EQ(prompts.shown.back().text,
              msg::Format(msg::ConvertSucceeded, {old.string(), (dir / "app_old7.mdb").string()}));
    EXPECT_EQ(ReadFileVersion(old), 8);

    prompts.files = {Q(old)};
    EXPECT_FALSE(ui::RunConvertDatabaseCommand(nullptr, test::TemplatePath(), prompts));
    EXPECT_EQ(prompts.shown.back().text, msg::Format(msg::AlreadyActualVersion, {old.string()}));

    const fs::path fragmented = dir / "big.mdb";
    test::MakeFragmentedDatabase(fragmented, 2000, 200);
    const auto before = fs::file_size(fragmented);
    prompts.files = {Q(fragmented)};
    ASSERT_TRUE(ui::RunCompactDatabaseCommand(nullptr, prompts));
    const auto after = fs::file_size(fragmented);
    EXPECT_LT(after, before);
    EXPECT_EQ(prompts.shown.back().text, msg::Format(msg::CompactSucceeded, {fragmented.string(),
                                                                            std::to_string(before),
                                                                            std::to_string(after)}));
    prompts.files = {Q(dir / "app_old7.txt")};
    EXPECT_FALSE(ui::RunCompactDatabaseCommand(nullptr, prompts));
    EXPECT_EQ(prompts.shown.back().icon, ui::MessageIcon::Stop);
}

}  // namespace
}  // namespace qln
