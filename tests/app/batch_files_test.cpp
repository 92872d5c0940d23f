// The files around a project database: a database reached through a link,
// work copies a killed operation left, names at the system's length limit,
// and databases that lack tables.

#include "app/batch_support.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <climits>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> NamesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BatchFiles, ALinkedDatabaseStaysALinkAndItsTargetIsReplaced)
{
    DemoCopy dir;
    dir.Run({"/C", "demo.rc"}, 0);
    fs::create_directory(dir / "store");
    fs::rename(dir / "demo_rc.mdb", dir / "store" / "demo_rc.mdb");
    fs::create_symlink("store/demo_rc.mdb", dir / "demo_rc.mdb");
    const fs::path target = dir / "store" / "demo_rc.mdb";

    dir.Run({"/I", "translations/demo_fr.rc", "French", "demo_rc.mdb"}, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "demo_rc.mdb"));
    EXPECT_NE(QueryValue(target, "SELECT count(*) FROM ResourceText WHERE coalesce(French, '') <> ''"), "0");

    WriteText(dir / "demo.rc", ReadText(dir / "demo.rc") + "\n// edited\n");
    dir.Run({"/U", "demo_rc.mdb"}, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "demo_rc.mdb"));
    EXPECT_EQ(QueryValue(target, "SELECT FileSize FROM Project"), std::to_string(fs::file_size(dir / "demo.rc")));

    Execute(target, "CREATE TABLE Filler (x); INSERT INTO Filler VALUES (zeroblob(200000)); DROP TABLE Filler");
    const auto size = fs::file_size(target);
    dir.Run({"/COMP", "demo_rc.mdb"}, 0);
    EXPECT_TRUE(fs::is_symlink(dir / "demo_rc.mdb"));
    EXPECT_LT(fs::file_size(target), size);
    dir.Run({"/T", "demo_rc.mdb", "French"}, 0);
    EXPECT_EQ(NamesIn(dir / "store"), std::vector<std::string>{"demo_rc.mdb"});
}

TEST(BatchFiles, AWriterRemovesTheWorkCopiesAKilledOperationLeft)
{
    DemoCopy dir;
    dir.Run({"/C", "demo.rc"}, 0);
    const auto clean = NamesIn(dir.path());
    for (const char* name : {".demo_rc.mdb-Xy12Ab", ".demo_rc.mdb-Xy12Ab-journal", ".demo_rc.mdb-Qw34Er"})
        fs::copy_file(dir / "demo_rc.mdb", dir / name);
    // Readers leave them: they prove nothing about other writers' copies.
    dir.Run({"/L", "demo_rc.mdb", "French"}, 1);
    EXPECT_TRUE(fs::exists(dir / ".demo_rc.mdb-Qw34Er"));
    dir.Run({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, 0);
    EXPECT_EQ(NamesIn(dir.path()), clean);
}

// Every command that writes beside the database or the output works with
// names up to the limit: temporary names and journals stay short.
TEST(BatchFiles, NamesUpToTheSystemLimitWork)
{
    DemoCopy dir;
    const std::string script = ReadText(dir / "demo.rc");
    for (std::size_t length = NAME_MAX - 7; length <= NAME_MAX; ++length) {
        SCOPED_TRACE(length);
        const std::string stem(length - 7, 'n');  // stem + "_rc.mdb"
        const std::string rc = stem + ".rc";
        const std::string db = stem + "_rc.mdb";
        const std::string out = std::string(length - 3, 'o') + ".rc";
        ASSERT_EQ(db.size(), length);
        ASSERT_EQ(out.size(), length);
        WriteText(dir / rc, script);
        dir.Run({"/C", rc}, 0);
        dir.Run({"/A", db, "German", out}, 0);
        dir.Run({"/I", "translations/demo_de.rc", "German", db}, 0);
        dir.Run({"/RC", db, "German", out}, 0);
        WriteText(dir / rc, script + "\n// edited\n");
        dir.Run({"/U", db}, 0);
        dir.Run({"/D", db}, 0);
        dir.Run({"/COMP", db}, 0);
        EXPECT_NE(ReadText(dir / out).find("LANG_GERMAN, SUBLANG_GERMAN"), std::string::npos);
        fs::remove(dir / rc);
        fs::remove(dir / db);
        fs::remove(dir / out);
    }
    DemoCopy fresh;
    EXPECT_EQ(NamesIn(dir.path()), NamesIn(fresh.path()));
}

TEST(BatchFiles, ADamagedDatabaseIsRefusedWithWhatIsMissing)
{
    DemoCopy dir;
    dir.Run({"/C", "demo.rc"}, 0);
    dir.Run({"/A", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
    const std::string notQln = msg::Format(msg::BatchNotQlnDatabase, {"demo_rc.mdb"});
    auto refused = [&dir, &notQln](const std::vector<std::string>& args, const std::string& tables) {
        SCOPED_TRACE(args[0]);
        const RunResult r = dir.Run(args, 2);
        EXPECT_NE(r.err.find(notQln + "\n" + msg::Format(msg::MissingTables, {tables})), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find(msg::BatchYes), std::string::npos);
        EXPECT_EQ(r.out.find(msg::BatchNo), std::string::npos);
    };
    fs::copy_file(dir / "demo_rc.mdb", dir / "whole.mdb");
    Execute(dir / "demo_rc.mdb", "DROP TABLE Translations");
    refused({"/T", "demo_rc.mdb", "German"}, "Translations");
    refused({"/L", "demo_rc.mdb", "German"}, "Translations");

    fs::copy_file(dir / "whole.mdb", dir / "demo_rc.mdb", fs::copy_options::overwrite_existing);
    Execute(dir / "demo_rc.mdb", "DROP TABLE ResourceText; DROP TABLE DlgCaption");
    refused({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, "ResourceText, DlgCaption");
    refused({"/T", "demo_rc.mdb", "German"}, "ResourceText");

    // A table only the writing commands need: reading still answers.
    fs::copy_file(dir / "whole.mdb", dir / "demo_rc.mdb", fs::copy_options::overwrite_existing);
    Execute(dir / "demo_rc.mdb", "DROP TABLE Bookmark");
    dir.Run({"/L", "demo_rc.mdb", "German"}, 0);
    refused({"/U", "demo_rc.mdb"}, "Bookmark");
    refused({"/COMP", "demo_rc.mdb"}, "Bookmark");
}

}  // namespace
}  // namespace qln::test
