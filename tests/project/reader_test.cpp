// The statement loop with included files followed (as an update reads a
// script), progress reports and cancelling.

#include "build_support.h"

#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Sql.h"

#include <gtest/gtest.h>

#include <set>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

struct ReadOutcome {
    int code = 0;
    std::vector<std::string> missing;
    fs::path database;
};

// Reads `script` into a fresh database with the build's line store, following
// includes that match `extensions`.
ReadOutcome ReadWithIncludes(const TempDir& dir, const fs::path& script, const std::vector<std::string>& extensions)
{
    ReadOutcome out;
    out.database = CopyTemplate(dir, "read.mdb");
    CProjectDatabase pdb(out.database);
    sql::Transaction transaction(pdb.db());
    LineIndexSet used;
    pdb.LoadLineIndexes(used);
    BuildLineStore store(pdb);
    ScriptReader reader(pdb, used, store, ReadMode::Update, NoProgress());
    reader.SetIncludeExtensions(extensions);
    out.code = reader.ReadFile(script);
    out.missing = reader.missingIncludes();
    transaction.commit();
    return out;
}

std::vector<int> Kinds(const fs::path& db)
{
    std::vector<int> kinds;
    for (const Row& row : Rows(db, "SELECT LineIdentSym FROM ResFileLine ORDER BY Line"))
        kinds.push_back(std::stoi(row[0]));
    return kinds;
}

// Line numbers 1..n without gaps, line indexes without repeats.
void ExpectCleanNumbering(const fs::path& db)
{
    const std::vector<Row> rows = Rows(db, "SELECT Line, LineIndex FROM ResFileLine ORDER BY Line");
    std::set<std::string> indexes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
        EXPECT_TRUE(indexes.insert(rows[i][1]).second) << "LineIndex " << rows[i][1] << " twice";
    }
}

std::string Utf16LeWithBom(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(ReadIncludes, FollowedIncludeTakesThePlaceOfItsLine)
{
    TempDir dir;
    fs::create_directories(dir / "sub");
    // Named with a doubled backslash and in other case than on disk; UTF-16.
    WriteFile(dir / "sub" / "extra.rc2", Utf16LeWithBom("STRINGTABLE\r\nBEGIN\r\n  IDS_B \"B\"\r\nEND\r\n"));
    WriteFile(dir / "app.rc", "STRINGTABLE\nBEGIN\n  IDS_A \"A\"\nEND\n#include \"Sub\\\\Extra.RC2\"\n"
                              "#include \"resource.h\"\nSTRINGTABLE\nBEGIN\n  IDS_C \"C\"\nEND\n");
    // The empty entry must not make every include match.
    const ReadOutcome read = ReadWithIncludes(dir, dir / "app.rc", {".rc2", ""});
    ASSERT_EQ(read.code, 0);
    EXPECT_TRUE(read.missing.empty());
    EXPECT_EQ(Kinds(read.database), (std::vector<int>{5, 6, 70, 7, 5, 6, 70, 7, 73, 9, 5, 6, 70, 7, 73}));
    ExpectCleanNumbering(read.database);
    EXPECT_EQ(Rows(read.database, "SELECT SourceText FROM ResourceText JOIN ResFileLine USING (LineIndex) "
                                  "ORDER BY Line"),
              (std::vector<Row>{{"A"}, {"B"}, {"resource.h"}, {"C"}}));

    // The stamp row points to the include's first line and keeps the name as written.
    const FileStamp stamp = ReadFileStamp(dir / "sub" / "extra.rc2").value();
    EXPECT_EQ(Rows(read.database, "SELECT Line, Name_ID, FileSize, FileDate, FileTime FROM IncludeFile "
                                  "JOIN ResFileLine USING (LineIndex)"),
              (std::vector<Row>{{"5", R"(Sub\\Extra.RC2)", std::to_string(stamp.size), std::to_string(stamp.date),
                                 std::to_string(stamp.time)}}));
}

TEST(ReadIncludes, UnreadableIncludesAreListedAndKeptAsLines)
{
    TempDir dir;
    // Fails after storing a string: everything it stored is taken back.
    WriteFile(dir / "broken.rc2", "STRINGTABLE\nBEGIN\n  IDS_X \"X\"\nEND\nM MENU\nBEGIN\n  POPUP 5\nEND\n");
    WriteFile(dir / "self.rc2", "#include \"self.rc2\"\n");
    WriteFile(dir / "app.rc", "#include \"gone.rc2\"\n#include \"nodir\\\\x.rc2\"\n#include \"broken.rc2\"\n"
                              "#include \"self.rc2\"\nSTRINGTABLE\nBEGIN\n  IDS_A \"A\"\nEND\n");
    const ReadOutcome read = ReadWithIncludes(dir, dir / "app.rc", {".RC2"});
    ASSERT_EQ(read.code, 0);
    const std::string base = dir.path().string() + "/";
    EXPECT_EQ(read.missing, (std::vector<std::string>{base + "gone.rc2", base + "nodir/x.rc2", base + "broken.rc2",
                                                      base + "self.rc2"}));
    // self.rc2 is read once; its own include of itself stays a line.
    EXPECT_EQ(Kinds(read.database), (std::vector<int>{9, 9, 9, 9, 73, 5, 6, 70, 7, 73}));
    ExpectCleanNumbering(read.database);
    EXPECT_EQ(Value(read.database, "SELECT count(*) FROM ResourceText WHERE SourceText = 'X'"), "0");
    EXPECT_EQ(Value(read.database, "SELECT group_concat(Name_ID) FROM StringtableString"), "IDS_A");
    EXPECT_EQ(Value(read.database, "SELECT group_concat(Name_ID) FROM IncludeFile"), "self.rc2");
}

// Records every report; asks to stop at the `cancelAt`-th one (0: never).
class RecordingProgress final : public Progress {
public:
    explicit RecordingProgress(std::size_t cancelAt = 0) : cancelAt_(cancelAt) {}
    void Report(std::uint64_t position, std::uint64_t total) override { reports.push_back({position, total}); }
    bool Cancelled() override { return cancelAt_ != 0 && reports.size() >= cancelAt_; }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;

private:
    std::size_t cancelAt_;
};

std::string LongScript()
{
    std::string script = "STRINGTABLE\nBEGIN\n";
    for (int i = 0; i < 3000; ++i)
        script += "  IDS_S" + std::to_string(i) + " \"String number " + std::to_string(i) + "\"\n";
    return script + "END\n";
}

TEST(ReadProgress, ReportsRiseToTheTotal)
{
    TempDir dir;
    const std::string script = LongScript();
    WriteFile(dir / "app.rc", script);
    RecordingProgress progress;
    const BuildResult built = BuildFile(dir / "app.rc", dir / "app_rc.mdb", progress);
    ASSERT_TRUE(built.ok()) << built.message;
    ASSERT_GT(progress.reports.size(), 10u);
    EXPECT_LT(progress.reports.size(), 1000u);
    for (std::size_t i = 1; i < progress.reports.size(); ++i)
        EXPECT_LE(progress.reports[i - 1].first, progress.reports[i].first);
    EXPECT_EQ(progress.reports.back().first, script.size());
    EXPECT_EQ(progress.reports.back().second, script.size());
}

TEST(ReadProgress, CancelledBuildFailsQuietlyAndLeavesNoDatabase)
{
    TempDir dir;
    WriteFile(dir / "app.rc", LongScript());
    RecordingProgress progress(3);
    const BuildResult built = BuildFile(dir / "app.rc", dir / "app_rc.mdb", progress);
    EXPECT_FALSE(built.ok());
    EXPECT_EQ(built.code, kReadCancelled);
    EXPECT_TRUE(built.message.empty());
    EXPECT_EQ(progress.reports.size(), 3u);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"app.rc"});
}

}  // namespace
}  // namespace qln::test
