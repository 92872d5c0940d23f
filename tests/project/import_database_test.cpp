// Exporting a project database with chosen languages, and importing one
// language from another project database across versions of the script.

#include "import_support.h"

#include "project/DatabaseExchange.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::TranslationsOf;

constexpr LanguagePair kGerman{7, 1}, kFrench{12, 1};

std::int32_t LineOf(const fs::path& db, const std::string& source)
{
    return std::stoi(test::Value(db, "SELECT LineIndex FROM ResourceText WHERE SourceText = '" + source + "'"));
}

// The English project with German and French translations of some texts and
// a German and a French layout of the dialog.
fs::path TranslatedProject(const test::TempDir& dir, const std::string& name = "app.rc")
{
    const fs::path db = test::EnglishProject(dir, name);
    CProjectDatabase project(db);
    EXPECT_EQ(NewTranslation(project, 7, 1, 1252, "app_de.rc").status, LanguageStatus::Ok);
    EXPECT_EQ(NewTranslation(project, 12, 1, 1252, "app_fr.rc").status, LanguageStatus::Ok);
    for (const auto& [source, german, french] :
         {std::tuple{"About", "Info", "A propos"}, {"One", "Eins", "Un"}, {"Two", "Zwei", ""}, {"&File", "&Datei", ""}})
    {
        project.SetTranslation(LineOf(db, source), 7, 1, german, std::string_view(source) == "Two");
        if (*french)
            project.SetTranslation(LineOf(db, source), 12, 1, french, false);
    }
    const std::int32_t dialog = std::stoi(test::Value(db, "SELECT LineIndex FROM Dialogs"));
    for (LanguagePair l : {kGerman, kFrench})
        project.AppendDialog({.lineIndex = dialog, .langId = LangIdOf(l.primary, l.sub), .nameId = "IDD_ABOUT",
                              .cx = 240, .cy = 100});
    return db;
}

TEST(ExportDatabase, KeepsOnlyTheChosenLanguages)
{
    test::TempDir dir;
    const fs::path db = TranslatedProject(dir);
    CProjectDatabase project(db);
    const fs::path target = dir / "export.mdb";

    const ExportResult result = ExportDatabase(project, target, {.languages = std::vector{kGerman}});
    ASSERT_EQ(result.status, ExportStatus::Exported) << result.message;
    EXPECT_EQ(result.message, target.string() + "\nCreating export database successful.");
    EXPECT_EQ(test::Rows(target, "SELECT LanguageStr FROM Translations"), (std::vector<test::Row>{{"German"}}));
    const auto columns = test::Rows(target, "SELECT name FROM pragma_table_info('ResourceText') WHERE name LIKE 'Fr%'");
    EXPECT_TRUE(columns.empty());
    EXPECT_EQ(TranslationsOf(target, "German").at("One").text, "Eins");
    EXPECT_EQ(test::Value(target, "SELECT group_concat(Lang_Id) FROM Dialogs ORDER BY Lang_Id"), "0,1031");
    // The source lines and the project itself are all there; the project keeps its languages.
    EXPECT_EQ(test::Value(target, "SELECT count(*) FROM ResFileLine"), test::Value(db, "SELECT count(*) FROM ResFileLine"));
    EXPECT_EQ(ListLanguages(project).size(), 2u);

    // Unset keeps every language.
    const fs::path all = dir / "all.mdb";
    ASSERT_TRUE(ExportDatabase(project, all).ok());
    EXPECT_EQ(TranslationsOf(all, "French").at("About").text, "A propos");
}

TEST(ExportDatabase, RefusesTheCurrentAnOpenOrAnExistingFile)
{
    test::TempDir dir;
    const fs::path db = TranslatedProject(dir);
    CProjectDatabase project(db);
    const fs::path existing = dir / "old.mdb";
    test::WriteFile(existing, "old");

    struct Case {
        const char* name;
        fs::path target;
        DatabaseExportOptions options;
        ExportStatus status;
        std::string message;
    };
    const Case cases[] = {
        {"the project itself", db, {}, ExportStatus::Refused,
         db.string() + "\nYou have selected the current database. Please choose another file name for the export "
                       "database file."},
        {"an open document", dir / "other.mdb", {.isOpen = [](const fs::path&) { return true; }},
         ExportStatus::Refused,
         (dir / "other.mdb").string() + "\nThe file is currenly openend by Quillon. Please choose a new file name for "
                                        "the export database file."},
        {"an existing file", existing, {}, ExportStatus::AskOverwrite,
         existing.string() + "\nThe file already exists.\n\nDo you want to overwrite ?"},
        {"a language the project lacks", dir / "ru.mdb", {.languages = std::vector{LanguagePair{25, 1}}},
         ExportStatus::Refused, db.string() + "\nThe database has no Russian translation."},
        {"a folder that does not exist", dir / "no" / "x.mdb", {}, ExportStatus::Failed,
         db.string() + "\nCan not copy file to\n" + (dir / "no" / "x.mdb").string() + ".\n     " +
             (dir / "no" / "x.mdb").string() + ": " + std::strerror(ENOENT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExportResult result = ExportDatabase(project, c.target, c.options);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.message, c.message);
    }
    EXPECT_EQ(test::FileBytes(existing), "old");
    EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"app.rc", "app_rc.mdb", "old.mdb"}));

    // Confirmed, the existing file is replaced.
    ASSERT_TRUE(ExportDatabase(project, existing, {.overwrite = true}).ok());
    EXPECT_TRUE(IsProjectDatabase(existing));
}

// The next version of the script: strings reordered, one source text changed,
// one string new, the dialog caption gone.
constexpr const char* kNextVersion = R"(LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
IDR_MAIN MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open", ID_FILE_OPEN
    END
END
STRINGTABLE
BEGIN
    IDS_TWO "Two"
    IDS_ZERO "Zero"
    IDS_ONE "The one"
    IDS_THREE "Three"
END
)";

TEST(ImportDatabase, FillsEmptyTranslationsAcrossScriptVersions)
{
    test::TempDir oldDir, newDir;
    const fs::path from = TranslatedProject(oldDir);
    test::WriteFile(newDir / "app.rc", kNextVersion);
    ASSERT_TRUE(test::BuildFile(newDir / "app.rc", newDir / "app_rc.mdb").ok());
    const fs::path db = newDir / "app_rc.mdb";
    {
        CProjectDatabase project(db);
        ASSERT_EQ(NewTranslation(project, 7, 1, 1252, {}).status, LanguageStatus::Ok);
        project.SetTranslation(LineOf(db, "Three"), 7, 1, "Drei", false);
    }

    const ImportResult result = ImportFromDatabase(db, from, kGerman);
    ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.message, msg::Format(msg::ImportTextDone, {from.string(), "3"}));
    EXPECT_TRUE(result.question.empty());
    const auto translations = TranslationsOf(db, "German");
    struct Expect {
        const char* source;
        const char* text;
        const char* flag;
    };
    for (const Expect& e : {Expect{"Two", "Zwei", "1"},      // flagged in its own project
                            Expect{"The one", "Eins", "1"},  // made for another source text
                            Expect{"&File", "&Datei", "0"},
                            Expect{"Three", "Drei", "0"},  // kept
                            Expect{"Zero", "NULL", nullptr}}) {
        SCOPED_TRACE(e.source);
        EXPECT_EQ(translations.at(e.source).text, e.text);
        if (e.flag) {
            EXPECT_EQ(translations.at(e.source).flag, e.flag);
        }
    }

    // Again: nothing is left to fill. A new language is added on the way.
    EXPECT_EQ(ImportFromDatabase(db, from, kGerman).status, ImportStatus::Nothing);
    const ImportResult french = ImportFromDatabase(db, from, kFrench, {.sourceOpen = true});
    ASSERT_EQ(french.status, ImportStatus::Imported) << french.message;
    EXPECT_TRUE(french.languageAdded);
    EXPECT_EQ(TranslationsOf(db, "French").at("The one").text, "Un");
    EXPECT_EQ(french.question,
              from.string() + "\nImport text from database finished. Do you want to close the open import database "
                              "document ?");
}

TEST(ImportDatabase, RefusalsLeaveTheProjectAsItWas)
{
    test::TempDir dir, bareDir;
    const fs::path db = TranslatedProject(dir);
    const fs::path bare = test::EnglishProject(bareDir);
    const std::string before = test::FileBytes(db);
    struct Case {
        const char* name;
        fs::path source;
        LanguagePair language;
        std::string message;
    };
    const Case cases[] = {
        {"the project itself", db, kGerman, db.string() + "\nThe import database is the current database !"},
        {"no translation", bare, kGerman, bare.string() + "\nDatabase contains no translation. No text to import."},
        {"not a project database", dir / "app.rc", kGerman,
         msg::Format(msg::NotProjectDatabase, {(dir / "app.rc").string()})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = ImportFromDatabase(db, c.source, c.language);
        EXPECT_EQ(result.status, ImportStatus::Failed);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(test::FileBytes(db), before);
    }
    // A language the import database lacks.
    const ImportResult lacking = ImportFromDatabase(bare, db, LanguagePair{25, 1});
    EXPECT_EQ(lacking.message, db.string() + "\nDatabase contains no Russian translation. No text to import.");
}

}  // namespace
}  // namespace qln
