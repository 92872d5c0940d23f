// The rules behind the option pages and translation dialogs, on the demo
// project built with the real template.
#include "project/build_support.h"

#include "project/OptionRules.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "projectdb/version7_project.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The demo project copied into a temporary folder and built.
struct DemoProject {
    TempDir dir;
    fs::path script = dir / "demo.rc";
    fs::path database = dir / "demo_rc.mdb";
    DemoProject()
    {
        fs::copy(fs::path(QLN_SOURCE_DIR) / "examples/demo", dir.path(), fs::copy_options::recursive);
        const BuildResult built = test::BuildFile(script, database);
        EXPECT_TRUE(built.ok()) << built.message;
    }
};

TEST(IncludeExtensions, AcceptsShortListsAndStoresThemUpperCase)
{
    EXPECT_TRUE(CheckIncludeExtensions("rc2, dlg").ok);
    EXPECT_TRUE(CheckIncludeExtensions("").ok);
    EXPECT_TRUE(CheckIncludeExtensions("   H,,  hh  _x1").ok);
    EXPECT_EQ(NormaliseIncludeExtensions("rc2, dlg"), "RC2, DLG");
    EXPECT_EQ(NormaliseIncludeExtensions("  h,,H dlg "), "H, DLG");
    EXPECT_TRUE(SameIncludeExtensions("RC2, DLG", "dlg rc2"));
    EXPECT_FALSE(SameIncludeExtensions("RC2", "RC2 H"));
}

TEST(IncludeExtensions, RefusesScriptExtensionsLongPiecesAndOtherCharacters)
{
    const IncludeListCheck script = CheckIncludeExtensions("h, RC");
    EXPECT_FALSE(script.ok);
    EXPECT_EQ(script.message, "Include extension 'rc' is not accepted as a resource include file");
    EXPECT_EQ(CheckIncludeExtensions("dlg, resx").message,
              "Include extension 'resx' is not accepted as a resource include file");
    // A piece is cut at 21 characters before it is named.
    EXPECT_EQ(CheckIncludeExtensions(std::string(30, 'a')).message,
              msg::Format(msg::IncludeExtensionRefused, {std::string(21, 'a')}));
    const IncludeListCheck semicolon = CheckIncludeExtensions("  RC2;DLG");
    EXPECT_FALSE(semicolon.ok);
    EXPECT_EQ(semicolon.message, "Include extension(s) 'rc2;dlg' contains not allowed characters");
    EXPECT_FALSE(CheckIncludeExtensions("h.").ok);
}

TEST(IncludeExtensions, ChangedSetMarksTheProjectOutOfDate)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    ASSERT_EQ(project.GetStatus(), kStatusNoTranslation);
    const IncludeListChange first = ApplyIncludeExtensions(project, "rc2, dlg", "");
    EXPECT_TRUE(first.outOfDate);
    EXPECT_FALSE(first.inSettingsFile);
    EXPECT_EQ(StoredIncludeExtensions(project), "RC2, DLG");
    EXPECT_EQ(project.GetStatus(), kStatusUpdateNeeded);

    // Only the spelling changes: stored again, but the project is not out of date.
    project.SetStatus(kStatusNoTranslation);
    const IncludeListChange respelled = ApplyIncludeExtensions(project, "dlg rc2", "RC2, DLG");
    EXPECT_FALSE(respelled.outOfDate);
    EXPECT_EQ(StoredIncludeExtensions(project), "DLG, RC2");
    EXPECT_EQ(project.GetStatus(), kStatusNoTranslation);
    EXPECT_FALSE(ApplyIncludeExtensions(project, "DLG, RC2", "DLG, RC2").outOfDate);
}

TEST(IncludeExtensions, OlderFormatKeepsTheListInTheSettingsFile)
{
    TempDir dir;
    const fs::path database = dir / "app.mdb";
    test::MakeVersion7Database(database);
    CProjectDatabase project(database);
    EXPECT_FALSE(StoredIncludeExtensions(project));
    const IncludeListChange change = ApplyIncludeExtensions(project, "h", "");
    EXPECT_TRUE(change.inSettingsFile);
    EXPECT_EQ(change.stored, "H");
    EXPECT_FALSE(project.GetSetting("RES_INCLUDES", 0, 0));
}

TEST(TranslationFileChoice, RefusesProjectFilesInvalidNamesAndOtherTranslationsFiles)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    auto check = [&](std::string_view name, std::optional<LanguagePair> editing = std::nullopt) {
        return CheckTranslationFileChoice(project, demo.script, name, editing);
    };
    EXPECT_EQ(check("demo.rc").message, msg::TranslationFileIsSource);
    EXPECT_EQ(check(demo.script.string()).check, FileNameCheck::IsSourceFile);
    EXPECT_EQ(check("resource.h").check, FileNameCheck::IsSourceFile);
    EXPECT_EQ(check("nowhere/demo_de.rc").message,
              "Translation File Name\nnowhere/demo_de.rc is not a valid file name.");
    EXPECT_EQ(check("res").check, FileNameCheck::Invalid);
    EXPECT_EQ(check("").check, FileNameCheck::Invalid);
    EXPECT_EQ(check("demo_0407.rc").check, FileNameCheck::Ok);
    EXPECT_EQ(check("translations/demo_de.rc").message,
              "There exists already a file translations/demo_de.rc.\nDo you realy want to use the file name ?");

    ASSERT_EQ(AddTranslation(project, demo.script, {{7, 1}, 1252, "demo_0407.rc", {}}).status, LanguageStatus::Ok);
    // Stored beside the script, so the name is found whatever the current folder.
    EXPECT_EQ(GetTranslationFile(project, 7, 1)->fileName, "demo_0407.rc");
    EXPECT_EQ(check("demo_0407.rc").message, "The file name demo_0407.rc is already use by an other translation.");
    EXPECT_EQ(check((demo.dir / "demo_0407.rc").string()).check, FileNameCheck::InUse);
    // The translation's own page may keep its own file.
    EXPECT_EQ(check("demo_0407.rc", LanguagePair{7, 1}).check, FileNameCheck::Ok);
}

TEST(NewLanguages, ListsTheTableAndMarksTheLanguagesThatExist)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    std::vector<LanguageChoice> choices = NewLanguageChoices(project, demo.script);
    ASSERT_EQ(choices.size(), 51u);
    EXPECT_TRUE(std::none_of(choices.begin(), choices.end(), [](const LanguageChoice& c) { return c.taken; }));
    EXPECT_EQ(choices[6].entry->displayName, "German");
    EXPECT_EQ(choices[6].defaultFileName, "demo_0407.rc");
    EXPECT_EQ(choices[6].defaultCodePage, 1252);
    EXPECT_EQ(choices[26].defaultCodePage, 1251);  // Russian
    EXPECT_EQ(choices[8].defaultFont, "Arial Greek");

    ASSERT_EQ(AddTranslation(project, demo.script, {{26, 1}, 1250, "demo_hr.rc", {}}).status, LanguageStatus::Ok);
    choices = NewLanguageChoices(project, demo.script);
    EXPECT_TRUE(choices[27].taken);
    // Serbo-Croatian Cyrillic would share the Croato-Serbian column.
    EXPECT_TRUE(choices[40].taken);
    EXPECT_FALSE(choices[6].taken);
    const LanguageResult again = AddTranslation(project, demo.script, {{26, 2}, 1251, "demo_sr.rc", {}});
    EXPECT_EQ(again.status, LanguageStatus::AlreadyExists);
    EXPECT_EQ(again.message, "The language  Croato-Serbian  already exists. ");
    EXPECT_EQ(ListLanguages(project).size(), 1u);
}

TEST(TranslationSettings, StoresWhatChangedAndReportsAChangedFileName)
{
    DemoProject demo;
    CProjectDatabase project(demo.database);
    ASSERT_EQ(AddTranslation(project, demo.script, {{12, 1}, 1252, "demo_fr.rc", {"Liberation Serif", 1}}).status,
              LanguageStatus::Ok);
    EXPECT_EQ(project.GetStatus(), kStatusIncomplete);
    const TranslationSettings before = ReadTranslationSettings(project, {12, 1});
    EXPECT_EQ(before.codePage, 1252);
    EXPECT_EQ(before.fileName, "demo_fr.rc");
    EXPECT_EQ(before.font.name, "Liberation Serif");

    TranslationSettings after = before;
    after.fileName = "DEMO_FR.RC";  // letter case only: not a new file
    after.codePage = 65001;
    EXPECT_FALSE(ApplyTranslationSettings(project, demo.script, {12, 1}, before, after));
    EXPECT_EQ(GetCodePage(project, 12, 1), 65001);
    EXPECT_EQ(GetTranslationFile(project, 12, 1)->fileName, "demo_fr.rc");

    after.fileName = (demo.dir / "translations" / "fr.rc").string();
    after.font = {"DejaVu Sans", 1};
    EXPECT_TRUE(ApplyTranslationSettings(project, demo.script, {12, 1}, before, after));
    const TranslationSettings read = ReadTranslationSettings(project, {12, 1});
    EXPECT_EQ(read.fileName, (demo.dir / "translations" / "fr.rc").string());
    EXPECT_EQ(read.font.name, "DejaVu Sans");

    SetSourceFont(project, {"DejaVu Sans Mono", 1});
    EXPECT_EQ(GetSourceFont(project)->name, "DejaVu Sans Mono");
    EXPECT_EQ(LoadFonts(project).at(LangIdOf(9, 1)).fontName, "DejaVu Sans Mono");
}

}  // namespace
}  // namespace qln
