// The statement loop with included files followed (as an update reads a
// script), progress reports and cancelling.

#include "build_support.h"

#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"

#include <gtest/gtest.h>

#include <set>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// Reads dir/app.rc into a fresh database (dir/read.mdb) with the build's line
// store, following includes that match `extensions`; returns the missing ones.
std::vector<std::string> ReadWithIncludes(const TempDir& dir, const std::vector<std::string>& extensions)
{
    CProjectDatabase pdb(CopyTemplate(dir, "read.mdb"));
    sql::Transaction transaction(pdb.db());
    LineIndexSet used;
    BuildLineStore store(pdb);
    ScriptReader reader(pdb, used, store, ReadMode::Update, NoProgress());
    reader.SetIncludeExtensions(extensions);
    EXPECT_EQ(reader.ReadFile(dir / "app.rc"), 0);
    transaction.commit();
    // Line numbers 1..n without gaps, line indexes without repeats.
    const std::vector<Row> rows = Rows(pdb.path(), "SELECT Line, LineIndex FROM ResFileLine ORDER BY Line");
    std::set<std::string> indexes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
        EXPECT_TRUE(indexes.insert(rows[i][1]).second) << "LineIndex " << rows[i][1] << " twice";
    }
    return reader.missingIncludes();
}

TEST(ReadIncludes, FollowedIncludeTakesThePlaceOfItsLine)
{
    TempDir dir;
    fs::create_directories(dir / "sub");
    // Named with a doubled backslash and in other case than on disk; UTF-16 with BOM.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("STRINGTABLE\r\nBEGIN\r\n  IDS_B \"B\"\r\nEND\r\n"))
        utf16 += std::string{c, '\0'};
    WriteFile(dir / "sub" / "extra.rc2", utf16);
    WriteFile(dir / "app.rc", "STRINGTABLE\nBEGIN\n  IDS_A \"A\"\nEND\n#include \"Sub\\\\Extra.RC2\"\n"
                              "#include \"resource.h\"\nSTRINGTABLE\nBEGIN\n  IDS_C \"C\"\nEND\n");
    // An empty entry must not make every include match.
    EXPECT_TRUE(ReadWithIncludes(dir, {".rc2", ""}).empty());
    const fs::path db = dir / "read.mdb";
    EXPECT_EQ(Kinds(db), (std::vector<int>{5, 6, 70, 7, 5, 6, 70, 7, 73, 9, 5, 6, 70, 7, 73}));
    EXPECT_EQ(Rows(db, "SELECT SourceText FROM ResourceText JOIN ResFileLine USING (LineIndex) ORDER BY Line"),
              (std::vector<Row>{{"A"}, {"B"}, {"resource.h"}, {"C"}}));
    // The stamp row points to the include's first line and keeps the name as written.
    const FileStamp stamp = ReadFileStamp(dir / "sub" / "extra.rc2").value();
    EXPECT_EQ(Rows(db, "SELECT Line, Name_ID, FileSize, FileDate, FileTime FROM IncludeFile "
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
    const std::string base = dir.path().string() + "/";
    EXPECT_EQ(ReadWithIncludes(dir, {".RC2"}), (std::vector<std::string>{base + "gone.rc2", base + "nodir/x.rc2",
                                                                         base + "broken.rc2", base + "self.rc2"}));
    // self.rc2 is read once; its own include of itself stays a line.
    const fs::path db = dir / "read.mdb";
    EXPECT_EQ(Kinds(db), (std::vector<int>{9, 9, 9, 9, 73, 5, 6, 70, 7, 73}));
    EXPECT_EQ(Value(db, "SELECT group_concat(SourceText) FROM ResourceText"), "gone.rc2,nodir\\\\x.rc2,broken.rc2,self.rc2,A");
    EXPECT_EQ(Value(db, "SELECT group_concat(Name_ID) FROM StringtableString"), "IDS_A");
    EXPECT_EQ(Value(db, "SELECT group_concat(Name_ID) FROM IncludeFile"), "self.rc2");
}

// Records every report; asks to stop at the `cancelAt`-th one (0: never).
class RecordingProgress final : public Progress {
public:
    explicit RecordingProgress(std::size_t cancelAt) : cancelAt_(cancelAt) {}
    void Report(std::uint64_t position, std::uint64_t total) override { reports.push_back({position, total}); }
    bool Cancelled() override { return cancelAt_ != 0 && reports.size() >= cancelAt_; }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;

private:
    std::size_t cancelAt_;
};

TEST(ReadProgress, ReportsRiseToTheTotalAndCancelLeavesNoDatabase)
{
    TempDir dir;
    std::string script = "STRINGTABLE\nBEGIN\n";
    for (int i = 0; i < 3000; ++i)
        script += "  IDS_S" + std::to_string(i) + " \"String number " + std::to_string(i) + "\"\n";
    script += "END\n";
    WriteFile(dir / "app.rc", script);

    RecordingProgress watched(0);
    ASSERT_TRUE(BuildFile(dir / "app.rc", dir / "app_rc.mdb", watched).ok());
    ASSERT_GT(watched.reports.size(), 10u);
    EXPECT_LT(watched.reports.size(), 1000u);
    for (std::size_t i = 1; i < watched.reports.size(); ++i)
        EXPECT_LE(watched.reports[i - 1].first, watched.reports[i].first);
    EXPECT_EQ(watched.reports.back(), std::make_pair(std::uint64_t{script.size()}, std::uint64_t{script.size()}));

    fs::remove(dir / "app_rc.mdb");
    RecordingProgress cancelling(3);
    const BuildResult built = BuildFile(dir / "app.rc", dir / "app_rc.mdb", cancelling);
    EXPECT_FALSE(built.ok());
    EXPECT_EQ(built.code, kReadCancelled);
    EXPECT_TRUE(built.message.empty());
    EXPECT_EQ(cancelling.reports.size(), 3u);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"app.rc"});
}

}  // namespace
}  // namespace qln::test
