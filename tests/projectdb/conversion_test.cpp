#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "temp_project.h"
#include "version7_project.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::CountOf;
using test::TempDir;

std::int64_t BookmarkLangOf(CProjectDatabase& p, std::int64_t id)
{
    Recordset rs = p.OpenQuery("Bookmark_By_ID", {{"ID", id}});
    if (rs.empty())
        return -1;
    if (p.UsesLangId())
        return rs.getInt64("Lang_Id");
    return LangIdOf(rs.getInt("Language"), rs.getInt("SubLanguage"));
}

TEST(Conversion, VersionSevenOpensAndReadsInItsOwnLayout)
{
    TempDir dir;
    fs::path db = dir / "app.mdb";
    test::MakeVersion7Database(db);
    ASSERT_TRUE(IsProjectDatabase(db));
    CProjectDatabase p(db);
    EXPECT_EQ(CheckVersion(p, dir / "app.rc").check, VersionCheck::Accepted);
    EXPECT_FALSE(p.UsesLangId());
    auto langs = ListLanguages(p);
    ASSERT_EQ(langs.size(), 2u);
    EXPECT_EQ(p.GetText(10, 7, 3)->translation, "Servus");
    EXPECT_EQ(BookmarkLangOf(p, 1), LangIdOf(7, 3));
    EXPECT_EQ(BookmarkLangOf(p, 2), LangIdOf(9, 1));
}

TEST(Conversion, CancelledLeavesTheOldFileAndNoWorkFile)
{
    TempDir dir;
    fs::path db = dir / "app.mdb";
    test::MakeVersion7Database(db);
    const std::string original = test::FileBytes(db);
    int asked = 0;
    ConvertResult r = ConvertDatabase(db, test::TemplatePath(), {}, [&] { return ++asked < 5; });
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(asked, 5);
    EXPECT_TRUE(test::FileBytes(db) == original);
    EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"app.mdb"}));
}

TEST(Conversion, KeepsEverythingAndTheBackup)
{
    TempDir dir;
    fs::path db = dir / "app.mdb";
    test::MakeVersion7Database(db);
    std::string original = test::FileBytes(db);
    ASSERT_EQ(CheckConvertible(db).check, ConvertCheck::Convertible);

    std::vector<int> steps;
    ConvertResult r = ConvertDatabase(db, test::TemplatePath(), [&](int step) { steps.push_back(step); });
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.backup, dir / "app_old7.mdb");
    EXPECT_EQ(r.message, "Database  " + db.string() + " successful converted !\n(The old database file is strored in " +
                             r.backup.string() + ".)");
    std::vector<int> expected;
    for (int i = 0; i <= 16; ++i)
        expected.push_back(i);
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(test::FileBytes(r.backup) == original);
    EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"app.mdb", "app_old7.mdb"}));
    EXPECT_EQ(ReadFileVersion(db), 8);
    EXPECT_EQ(CheckConvertible(db).check, ConvertCheck::AlreadyCurrent);

    // Every row of every table came along.
    {
        sql::Database oldDb(r.backup, sql::Database::Mode::ReadOnly);
        sql::Database newDb(db, sql::Database::Mode::ReadOnly);
        for (const char* table : {"ResFileLine", "ResourceText", "Translations", "\"Source File Language\"", "Dialogs",
                                  "DialogControl", "StringtableString", "IncludeFile", "Settings", "Bookmark",
                                  "Project"}) {
            std::string q = std::string("SELECT count(*) FROM ") + table;
            EXPECT_EQ(CountOf(newDb, q), CountOf(oldDb, q)) << table;
            EXPECT_GT(CountOf(newDb, q), 0) << table;
        }
        EXPECT_EQ(CountOf(newDb, "SELECT count(*) FROM QueryCatalogue"), CountOf(oldDb, "SELECT count(*) FROM QueryCatalogue"));
    }

    CProjectDatabase p(db);
    ASSERT_TRUE(p.UsesLangId());
    EXPECT_EQ(CheckVersion(p, dir / "app.rc").check, VersionCheck::Accepted);
    auto langs = ListLanguages(p);
    ASSERT_EQ(langs.size(), 2u);
    EXPECT_EQ(langs[0].primary, 9);
    EXPECT_EQ(langs[1].primary, 7);
    EXPECT_EQ(langs[1].sub, 3);
    EXPECT_EQ(GetCodePage(p, 7, 3), 1250);
    auto hello = p.GetText(10, 7, 3);
    ASSERT_TRUE(hello);
    EXPECT_EQ(hello->translation, "Servus");
    EXPECT_TRUE(hello->notActual);
    EXPECT_EQ(p.GetText(10, 9, 1)->translation, "Hello!");
    EXPECT_EQ(p.GetText(31, 7, 3)->translation, "Jo");
    EXPECT_EQ(BookmarkLangOf(p, 1), LangIdOf(7, 3));
    EXPECT_EQ(BookmarkLangOf(p, 2), LangIdOf(9, 1));
    EXPECT_EQ(p.GetSetting("WIDTH_ID_COLUMN", 0, 0)->number, 120);
    EXPECT_EQ(p.GetOption("BitmapEdit"), false);
    EXPECT_EQ(p.GetStatus(), 2);
    EXPECT_EQ(ReadStoredSourceFile(db), "C:\\Work\\App.rc");
    EXPECT_FALSE(p.SourceChanged(FileStamp{999, 0x2000, 0x3000}));
    EXPECT_EQ(CountOf(p.db(), "SELECT Lang_Id FROM \"Source File Language\""), LangIdOf(9, 1));
    EXPECT_EQ(CountOf(p.db(), "SELECT count(*) FROM Dialogs WHERE Lang_Id = 0 AND cx = 100"), 1);
    EXPECT_EQ(CountOf(p.db(), "SELECT count(*) FROM DialogControl WHERE Lang_Id = 0 AND DlgLine = 30 AND cy = 14"), 1);
    EXPECT_EQ(CountOf(p.db(), "SELECT FileSize FROM IncludeFile"), 120);
    sql::Statement stray = p.db().prepare("SELECT " + sql::QuoteIdentifier(test::kStrayColumn) +
                                          " FROM ResourceText WHERE LineIndex = 11");
    ASSERT_TRUE(stray.step());
    EXPECT_EQ(stray.columnText(0), "kept");
    // The converted project works like a new one.
    EXPECT_EQ(NewTranslation(p, 12, 1, 1252, dir / "fr.rc").status, LanguageStatus::Ok);
}

TEST(Conversion, RefusesWhatItCannotConvert)
{
    TempDir dir;
    fs::path v8 = dir / "new.mdb";
    test::CopyTemplateTo(v8);
    ConvertCheckResult current = CheckConvertible(v8);
    EXPECT_EQ(current.check, ConvertCheck::AlreadyCurrent);
    EXPECT_EQ(current.message, "The database file '" + v8.string() +
                                   "' is the actual database version for this Quillon version. The database has not "
                                   "to be converted.");

    // Version 5 is refused on opening but converted.
    fs::path v5 = dir / "old.mdb";
    test::MakeVersion7Database(v5);
    {
        sql::Database raw(v5);
        raw.exec("UPDATE Project SET FileVersion = 5");
    }
    {
        CProjectDatabase p(v5);
        EXPECT_EQ(CheckVersion(p, dir / "old.rc").check, VersionCheck::TooOld);
    }
    EXPECT_EQ(CheckConvertible(v5).check, ConvertCheck::Convertible);
    EXPECT_TRUE(ConvertDatabase(v5, test::TemplatePath()).ok);
    EXPECT_EQ(ReadFileVersion(v5), 8);

    fs::path renamed = dir / "old.dat";
    fs::copy_file(dir / "old_old7.mdb", renamed);
    EXPECT_EQ(CheckConvertible(renamed).check, ConvertCheck::NotProjectDatabase);
    {
        sql::Database raw(dir / "zero.mdb", sql::Database::Mode::Create);
        raw.exec("CREATE TABLE Project (FileVersion LONG INTEGER); INSERT INTO Project VALUES (0)");
    }
    EXPECT_EQ(CheckConvertible(dir / "zero.mdb").check, ConvertCheck::NotProjectDatabase);
}

TEST(Conversion, FailureLeavesTheOriginalAndNoStrayFiles)
{
    TempDir dir;
    fs::path db = dir / "app.mdb";
    test::MakeVersion7Database(db);
    std::string original = test::FileBytes(db);

    ConvertResult noTemplate = ConvertDatabase(db, dir / "missing" / "qlndb8.mdb");
    EXPECT_FALSE(noTemplate.ok);
    EXPECT_EQ(noTemplate.message, "Can not find  file \"" + (dir / "missing" / "qlndb8.mdb").string() +
                                      "\" at the Quillon directory.\nExecute the Quillon Setup program to complete the files.");

    // A translation whose name belongs to no language.
    {
        sql::Database raw(db);
        raw.exec("INSERT INTO Translations (LanguageStr, Language, SubLanguage) VALUES ('Klingon', 99, 1)");
    }
    original = test::FileBytes(db);
    ConvertResult unknown = ConvertDatabase(db, test::TemplatePath());
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.message, "Error !\n: Database  " + db.string() + " not converted.");
    EXPECT_TRUE(test::FileBytes(db) == original);
    EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"app.mdb"});
}

}  // namespace
}  // namespace qln
