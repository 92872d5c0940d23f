#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "temp_project.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::CountOf;
using test::TempDir;

// --- Pairing -------------------------------------------------------------------------

TEST(Pairing, ScriptGivesLongNameUnlessOnlyTheShortExists)
{
    TempDir dir;
    fs::path script = dir / "demo.rc";
    EXPECT_EQ(LongDatabasePath(script), dir / "demo_rc.mdb");
    EXPECT_EQ(ShortDatabasePath(script), dir / "demo.mdb");
    EXPECT_EQ(DatabasePathForScript(script), dir / "demo_rc.mdb");
    test::WriteFile(dir / "demo.mdb", "");
    EXPECT_EQ(DatabasePathForScript(script), dir / "demo.mdb");
    test::WriteFile(dir / "demo_rc.mdb", "");
    EXPECT_EQ(DatabasePathForScript(script), dir / "demo_rc.mdb");
    EXPECT_EQ(PairProjectPaths(script).database, dir / "demo_rc.mdb");
    EXPECT_EQ(LongDatabasePath(dir / "app.dlg"), dir / "app_dlg.mdb");
}

TEST(Pairing, DatabaseGivesScriptInItsOwnDirectory)
{
    struct Case {
        const char* database;
        std::optional<std::string> stored;
        const char* script;
    };
    const Case cases[] = {
        {"/p/demo_rc.mdb", "C:\\work\\src\\demo.rc", "/p/demo.rc"},
        {"/p/demo_rc.mdb", "/elsewhere/demo.rc", "/p/demo.rc"},
        {"/p/demo.mdb", "C:\\work\\demo.rc", "/p/demo.rc"},
        {"/p/DEMO_rc.mdb", "demo.RC", "/p/DEMO.RC"},
        {"/p/app_dlg.mdb", "D:\\x\\app.dlg", "/p/app.dlg"},
        {"/p/copy_rc.mdb", "C:\\work\\demo.rc", "/p/copy_rc.rc"},
        {"/p/demo_rc.mdb", std::nullopt, "/p/demo_rc.rc"},
        {"/p/demo_rc.mdb", "", "/p/demo_rc.rc"},
        {"/p/x.mdb", "C:\\x.rc", "/p/x.rc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScriptPathForDatabase(c.database, c.stored), fs::path(c.script)) << c.database;
}

TEST(Pairing, OpenedDatabaseReadsItsStoredScript)
{
    TempDir dir;
    fs::path db = dir / "demo_rc.mdb";
    test::CopyTemplateTo(db);
    {
        CProjectDatabase p(db);
        p.SetProjectFile("C:\\Src\\Demo.rc", FileStamp{}, 8);
    }
    ProjectPaths paths = PairProjectPaths(db);
    EXPECT_EQ(paths.database, db);
    EXPECT_EQ(paths.script, dir / "demo.rc");
    EXPECT_TRUE(HasDatabaseExtension(dir / "X.MDB"));
    EXPECT_FALSE(HasDatabaseExtension(dir / "x.mdb.rc"));
}

// --- Recognising and checking ------------------------------------------------------------

TEST(Recognising, OnlyAProjectTableWithALongFileVersion)
{
    TempDir dir;
    test::CopyTemplateTo(dir / "good.mdb");
    {
        sql::Database text(dir / "text.mdb", sql::Database::Mode::Create);
        text.exec("CREATE TABLE Project (SourceFile TEXT, FileVersion TEXT); INSERT INTO Project VALUES ('a.rc', '8')");
        sql::Database none(dir / "none.mdb", sql::Database::Mode::Create);
        none.exec("CREATE TABLE Other (FileVersion LONG INTEGER)");
        sql::Database nofield(dir / "nofield.mdb", sql::Database::Mode::Create);
        nofield.exec("CREATE TABLE Project (SourceFile TEXT)");
    }
    test::WriteFile(dir / "garbage.mdb", std::string(4096, 'x'));
    test::WriteFile(dir / "empty.mdb", "");
    EXPECT_TRUE(IsProjectDatabase(dir / "good.mdb"));
    for (const char* name : {"text.mdb", "none.mdb", "nofield.mdb", "garbage.mdb", "empty.mdb", "missing.mdb"})
        EXPECT_FALSE(IsProjectDatabase(dir / name)) << name;
    EXPECT_FALSE(IsProjectDatabase(dir.path()));
    EXPECT_FALSE(fs::exists(dir / "missing.mdb"));  // looking did not create it
    EXPECT_EQ(CheckConvertible(dir / "text.mdb").message,
              "Open Database.\n" + (dir / "text.mdb").string() + " is not a resource file database.\nCannot open file.");
}

TEST(Checking, VersionsSixToEightAreAccepted)
{
    TempDir dir;
    fs::path db = dir / "v.mdb";
    test::CopyTemplateTo(db);
    CProjectDatabase p(db);
    struct Case {
        std::optional<int> version;
        VersionCheck check;
    };
    const Case cases[] = {{std::nullopt, VersionCheck::TooOld}, {1, VersionCheck::TooOld}, {5, VersionCheck::TooOld},
                          {6, VersionCheck::Accepted},          {7, VersionCheck::Accepted}, {8, VersionCheck::Accepted},
                          {9, VersionCheck::TooNew}};
    for (const Case& c : cases) {
        if (c.version)
            p.db().exec("UPDATE Project SET FileVersion = " + std::to_string(*c.version));
        else
            p.db().exec("UPDATE Project SET FileVersion = NULL");
        p.InvalidateLayout();
        VersionCheckResult r = CheckVersion(p, dir / "absent.rc");
        EXPECT_EQ(r.check, c.check) << c.version.value_or(-1);
    }
    p.db().exec("UPDATE Project SET FileVersion = 5");
    p.InvalidateLayout();
    EXPECT_EQ(CheckVersion(p, dir / "absent.rc").message,
              "Error: File Version !\nThe database file\n   " + db.string() +
                  "\nis from an older  beta version and not supported.\nDelete the file and open the resource file again.");
    p.db().exec("UPDATE Project SET FileVersion = 9");
    p.InvalidateLayout();
    EXPECT_EQ(CheckVersion(p, dir / "absent.rc").message,
              "Can not open database !\n\nThee database '" + db.string() +
                  "' is from a newer of Quillon.\nPlease ask for the current version.");
}

TEST(Checking, ChangedScriptSetsUpdateNeeded)
{
    TempDir dir;
    fs::path script = dir / "demo.rc";
    test::WriteFile(script, "STRINGTABLE\nBEGIN\nEND\n");
    fs::path db = dir / "demo_rc.mdb";
    test::CopyTemplateTo(db);
    CProjectDatabase p(db);
    p.SetProjectFile(script.string(), *ReadFileStamp(script), 8);
    p.SetStatus(kStatusIncomplete);
    VersionCheckResult same = CheckVersion(p, script);
    EXPECT_EQ(same.check, VersionCheck::Accepted);
    EXPECT_FALSE(same.sourceChanged);
    EXPECT_EQ(p.GetStatus(), kStatusIncomplete);

    test::WriteFile(script, "STRINGTABLE\nBEGIN\n  1 \"x\"\nEND\n");  // other size
    VersionCheckResult changed = CheckVersion(p, script);
    EXPECT_TRUE(changed.sourceChanged);
    EXPECT_EQ(p.GetStatus(), kStatusUpdateNeeded);
    EXPECT_FALSE(CheckVersion(p, script).sourceChanged);  // already known
}

// --- Creating --------------------------------------------------------------------------------

TEST(Creating, MissingTemplateLeavesNoFile)
{
    TempDir dir;
    OpenRequest request = test::DemoRequest(dir);
    request.templatePath = dir / "nowhere" / "qlndb8.mdb";
    OpenResult r = OpenOrCreate(request);
    EXPECT_FALSE(r.opened());
    EXPECT_EQ(r.message, "Can not find  file \"" + request.templatePath.string() +
                             "\" at the Quillon directory.\nExecute the Quillon Setup program to complete the files.");
    EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"demo.rc"});
}

TEST(Creating, FailedBuildLeavesNoFile)
{
    TempDir dir;
    OpenRequest request = test::DemoRequest(dir);
    request.build = [](CProjectDatabase& db) {
        db.AppendLine(10, 1, 0, 70, "x", "");
        return -3;
    };
    OpenResult r = OpenOrCreate(request);
    EXPECT_FALSE(r.opened());
    EXPECT_EQ(r.buildError, -3);
    EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"demo.rc"});
}

TEST(Creating, BuildsFromTemplateThenOpensTheExistingFile)
{
    TempDir dir;
    OpenRequest request = test::DemoRequest(dir);
    request.options.values[0] = false;  // BitmapEdit
    std::vector<std::string> statusTexts;
    request.status = [&](std::string_view text) { statusTexts.emplace_back(text); };
    request.build = [](CProjectDatabase& db) {
        db.AppendLine(10, 1, 0, 70, "IDS_A \"", "\"");
        db.AppendText(10, "A", false);
        return 0;
    };
    OpenResult r = OpenOrCreate(request);
    ASSERT_TRUE(r.opened()) << r.message;
    EXPECT_TRUE(r.created);
    EXPECT_EQ(r.fileVersion, 8);
    ASSERT_EQ(statusTexts.size(), 2u);
    EXPECT_EQ(statusTexts[0], "Build Database " + request.database.string() + ".");
    EXPECT_EQ(statusTexts[1], "");
    CProjectDatabase& p = *r.database;
    EXPECT_EQ(p.GetFileVersion(), 8);
    EXPECT_EQ(p.GetOption("BitmapEdit"), false);
    EXPECT_EQ(p.GetOption("IncludeEdit"), false);
    EXPECT_EQ(p.GetOption("StringtableEdit"), true);
    EXPECT_FALSE(p.SourceChanged(*ReadFileStamp(request.script)));
    EXPECT_EQ(ReadStoredSourceFile(request.database), request.script.string());
    EXPECT_EQ(CountOf(p.db(), "SELECT count(*) FROM ResourceText"), 1);
    EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"demo.rc", "demo_rc.mdb"}));
    r.database.reset();

    request.build = [](CProjectDatabase&) -> int { throw std::logic_error("must not build again"); };
    OpenResult again = OpenOrCreate(request);
    ASSERT_TRUE(again.opened());
    EXPECT_FALSE(again.created);
    EXPECT_EQ(CountOf(again.database->db(), "SELECT count(*) FROM ResourceText"), 1);
}

// --- Compacting ------------------------------------------------------------------------------

TEST(Compacting, ReportsSizesAndKeepsTheData)
{
    TempDir dir;
    fs::path db = dir / "big.mdb";
    test::MakeFragmentedDatabase(db, 3000, 200);
    std::uintmax_t before = fs::file_size(db);
    CompactResult r = CompactDatabaseFile(db);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.oldSize, before);
    EXPECT_EQ(r.newSize, fs::file_size(db));
    EXPECT_LT(r.newSize, r.oldSize);
    EXPECT_EQ(r.message, "Compact Database !\nFile: " + db.string() + "\nSize:  " + std::to_string(r.oldSize) +
                             " -> " + std::to_string(r.newSize));
    CProjectDatabase p(db);
    EXPECT_EQ(CountOf(p.db(), "SELECT count(*) FROM ResFileLine"), 1500);
    EXPECT_EQ(CountOf(p.db(), "SELECT count(*) FROM ResourceText"), 3000);
    EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"big.mdb"});

    // Into another file, as an update ends: an existing target is replaced.
    test::WriteFile(dir / "project.mdb", "old content");
    CompactResult into = CompactDatabase(db, dir / "project.mdb");
    ASSERT_TRUE(into.ok) << into.message;
    EXPECT_EQ(into.newSize, fs::file_size(dir / "project.mdb"));
    CProjectDatabase copy(dir / "project.mdb");
    EXPECT_EQ(CountOf(copy.db(), "SELECT count(*) FROM ResourceText"), 3000);
}

TEST(Compacting, RefusesOtherFilesAndLeavesACancelledOneAlone)
{
    TempDir dir;
    test::WriteFile(dir / "x.mdb", "not a database");
    CompactResult r = CompactDatabaseFile(dir / "x.mdb");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Open Database.\n" + (dir / "x.mdb").string() + " is not a resource file database.\nCannot open file.");
    test::CopyTemplateTo(dir / "t.rc");
    EXPECT_FALSE(CompactDatabaseFile(dir / "t.rc").ok);

    fs::path db = dir / "c.mdb";
    test::CopyTemplateTo(db);
    {
        CProjectDatabase p(db);
        test::AppendTextLines(p, 2000, 100);
    }
    std::string bytes = test::FileBytes(db);
    CompactResult cancelled = CompactDatabaseFile(db, [] { return false; });
    EXPECT_FALSE(cancelled.ok);
    EXPECT_EQ(cancelled.message, "Error: Compacting database failed !");
    EXPECT_TRUE(test::FileBytes(db) == bytes);
    EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"c.mdb", "t.rc", "x.mdb"}));
}

}  // namespace
}  // namespace qln
