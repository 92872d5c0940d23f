// Building a project database from a script: the rows of each kind, the
// numbering of lines, what a failed build leaves behind, and real scripts.

#include "build_support.h"

#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// One statement of most kinds the build stores a row for. Line n gets
// LineIndex n + 9 in a new database.
constexpr const char* KindsScript = R"rc(LANGUAGE LANG_GERMAN, SUBLANG_GERMAN
#include "res\\sub.h"
IDB_LOGO BITMAP "logo.bmp"
IDD_MAIN DIALOGEX 0, 0, 200, 100
STYLE WS_POPUP
CAPTION "Main"
BEGIN
    LTEXT "&Name:", IDC_NAME, 5, 6, 50, 8
    EDITTEXT IDC_EDIT, 60, 6, 100, 12, WS_TABSTOP
    PUSHBUTTON "", IDC_EMPTY, 5, 20, 40, 14
END
IDR_MENU MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "E&xit", ID_APP_EXIT
        POPUP "&Recent"
        BEGIN
            MENUITEM "(none)", ID_RECENT
        END
        MENUITEM SEPARATOR
    END
END
STRINGTABLE
BEGIN
    IDS_HELLO "Say ""hi"" \"now\""
END
VS_VERSION_INFO VERSIONINFO
 FILEVERSION 1,0,0,1
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040704b0"
        BEGIN
            VALUE "FileDescription", "Demo"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x407, 1200
    END
END
)rc";

TEST(Build, EveryStatementIsALineNumberedInScriptOrder)
{
    TempDir dir;
    const BuildResult built = BuildText(dir, KindsScript);
    ASSERT_TRUE(built.ok()) << built.message;
    const fs::path db = built.database->path();

    const std::vector<int> kinds = {94, 9, 16, 13, 12, 1,  6,  19, 28, 23, 7,  8,  6, 3, 6,
                                    4,  3, 6,  4,  7,  39, 7,  7,  5,  6,  70, 7,  77, 78, 6,
                                    85, 6, 85, 6,  86, 7,  7,  85, 6,  86, 7,  7,  73};
    const std::vector<Row> lines =
        Rows(db, "SELECT Line, LineIndex, LineIdentSym, Added, BeforeStr, BehindStr FROM ResFileLine ORDER BY Line");
    ASSERT_EQ(lines.size(), kinds.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_EQ(lines[i][0], std::to_string(i + 1));
        EXPECT_EQ(lines[i][1], std::to_string(i + 10));
        EXPECT_EQ(lines[i][2], std::to_string(kinds[i]));
        EXPECT_EQ(lines[i][3], "0");
    }
    EXPECT_EQ(lines.back()[4], "NULL");  // end of input: nothing before or behind
    EXPECT_EQ(lines.back()[5], "NULL");
    EXPECT_EQ(lines[7][4], "LTEXT \"");  // the split around the text
    EXPECT_EQ(lines[7][5], "\", IDC_NAME, 5, 6, 50, 8");

    // Texts as written, and which are excluded from translation.
    EXPECT_EQ(Rows(db, "SELECT LineIndex, coalesce(SourceText, 'NULL'), Exclude, Modified FROM ResourceText "
                       "ORDER BY LineIndex"),
              (std::vector<Row>{{"11", R"(res\\sub.h)", "1", "0"},
                                {"12", "logo.bmp", "1", "0"},
                                {"15", "Main", "0", "0"},
                                {"17", "&Name:", "0", "0"},
                                {"19", "NULL", "1", "0"},
                                {"23", "&File", "0", "0"},
                                {"25", "E&xit", "0", "0"},
                                {"26", "&Recent", "0", "0"},
                                {"28", "(none)", "0", "0"},
                                {"35", R"(Say ""hi"" \"now\")", "0", "0"},
                                {"42", "040704b0", "0", "0"},
                                {"44", "Demo", "0", "0"}}));
}

TEST(Build, KindTablesPointToTheirEnclosingStatements)
{
    TempDir dir;
    const BuildResult built = BuildText(dir, KindsScript);
    ASSERT_TRUE(built.ok()) << built.message;
    const fs::path db = built.database->path();

    struct Table {
        const char* query;
        std::vector<Row> rows;
    };
    const Table tables[] = {
        {"SELECT LineIndex, Lang_Id, Name_ID, cx, cy FROM Dialogs", {{"13", "0", "IDD_MAIN", "200", "100"}}},
        {"SELECT LineIndex, DlgLine FROM DlgCaption", {{"15", "13"}}},
        {"SELECT LineIndex, DlgLine, Lang_Id, Name_ID, Type, x, y, cx, cy FROM DialogControl ORDER BY LineIndex",
         {{"17", "13", "0", "IDC_NAME", "19", "5", "6", "50", "8"},
          {"18", "13", "0", "IDC_EDIT", "28", "60", "6", "100", "12"},
          {"19", "13", "0", "IDC_EMPTY", "23", "5", "20", "40", "14"}}},
        {"SELECT Flags FROM DialogControl WHERE Name_ID = 'IDC_EDIT'", {{"65536"}}},  // WS_TABSTOP
        {"SELECT LineIndex, Name_ID FROM Menu", {{"21", "IDR_MENU"}}},
        {"SELECT LineIndex, MenuLine, Level, coalesce(Name_ID, '') FROM MenuItem ORDER BY LineIndex",
         {{"23", "21", "0", ""}, {"25", "21", "1", "ID_APP_EXIT"}, {"26", "21", "1", ""}, {"28", "21", "2", "ID_RECENT"}}},
        {"SELECT LineIndex, Name_ID FROM StringtableString", {{"35", "IDS_HELLO"}}},
        {"SELECT LineIndex, Name_ID FROM Bitmap", {{"12", "IDB_LOGO"}}},
        {"SELECT LineIndex, Name_ID FROM Version", {{"37", "VS_VERSION_INFO"}}},
        // Only the block named by a language and code page is a text.
        {"SELECT LineIndex, VersResLine FROM VersionBlockHeader", {{"42", "37"}}},
        // The value of the last block; a value without a string has no row.
        {"SELECT LineIndex, VersResLine, BlockHeaderLine, Value FROM VersionBlockValues",
         {{"44", "37", "42", "FileDescription"}}},
        {"SELECT LineIndex, Lang_Id FROM \"Source File Language\"", {{"10", std::to_string(7 + 1 * 1024)}}},
        {"SELECT count(*) FROM IncludeFile", {{"0"}}},
    };
    for (const Table& table : tables)
        EXPECT_EQ(Rows(db, table.query), table.rows) << table.query;
}

TEST(Build, ProjectRowHoldsTheScriptsStamp)
{
    TempDir dir;
    const BuildResult built = BuildText(dir, KindsScript);
    ASSERT_TRUE(built.ok()) << built.message;
    EXPECT_TRUE(built.created);
    const fs::path script = dir / "app.rc";
    const FileStamp stamp = ReadFileStamp(script).value();
    EXPECT_EQ(built.database->path(), dir / "app_rc.mdb");
    EXPECT_EQ(Rows(built.database->path(), "SELECT SourceFile, FileVersion, Status, FileSize, FileDate, FileTime "
                                           "FROM Project"),
              (std::vector<Row>{{script.string(), "8", "1", std::to_string(stamp.size), std::to_string(stamp.date),
                                 std::to_string(stamp.time)}}));
}

TEST(Build, EdgeCases)
{
    struct Case {
        const char* name;
        const char* script;
        std::vector<int> kinds;
        int texts;
        int dialogs;
        int stopLine;  // an unknown character ended the reading here
    };
    const Case cases[] = {
        {"empty script", "\n", {73}, 0, 0, 0},
        {"comments only", "// nothing\n/* at\n all */\n", {73}, 0, 0, 0},
        {"unknown character stops quietly",
         "STRINGTABLE\nBEGIN\n  IDS_A \"A\"\nEND\n@ junk\nSTRINGTABLE\nBEGIN\n  IDS_B \"B\"\nEND\n",
         {5, 6, 70, 7}, 1, 0, 5},
        {"include stored, not read", "#include \"nowhere\\\\missing.h\"\n", {9, 73}, 1, 0, 0},
        {"dialogs named by strings", "\"ABOUT\" DIALOG 0, 0, 10, 10\nBEGIN\nEND\n\"MAIN\" DIALOGEX 0, 0, 9, 9\n",
         {13, 6, 7, 99, 73}, 0, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const BuildResult built = BuildText(dir, c.script);
        ASSERT_TRUE(built.ok()) << built.message;
        EXPECT_TRUE(built.message.empty());
        EXPECT_TRUE(built.report.missingIncludes.empty());
        EXPECT_EQ(built.report.stoppedAtUnknown, c.stopLine != 0);
        EXPECT_EQ(built.report.stopLine, c.stopLine);
        const fs::path db = built.database->path();
        std::vector<int> kinds;
        for (const Row& row : Rows(db, "SELECT LineIdentSym FROM ResFileLine ORDER BY Line"))
            kinds.push_back(std::stoi(row[0]));
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText"), std::to_string(c.texts));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM Dialogs"), std::to_string(c.dialogs));
    }
}

TEST(Build, TwoBuildsGiveTheSameLinesAndIndexes)
{
    const fs::path demo = fs::path(QLN_SOURCE_DIR) / "examples/demo/demo.rc";
    TempDir one, two;
    const BuildResult first = BuildFile(demo, one / "demo_rc.mdb");
    const BuildResult second = BuildFile(demo, two / "demo_rc.mdb");
    ASSERT_TRUE(first.ok()) << first.message;
    ASSERT_TRUE(second.ok()) << second.message;
    const std::string query = "SELECT Line, LineIndex, LineIdentSym, BeforeStr, BehindStr FROM ResFileLine ORDER BY Line";
    const std::vector<Row> a = Rows(first.database->path(), query);
    EXPECT_GT(a.size(), 200u);
    EXPECT_EQ(a, Rows(second.database->path(), query));
    const std::string texts = "SELECT * FROM ResourceText ORDER BY LineIndex";
    EXPECT_EQ(Rows(first.database->path(), texts), Rows(second.database->path(), texts));
}

TEST(Build, FailedBuildLeavesNoDatabase)
{
    struct Case {
        const char* name;
        const char* script;  // nullptr: the script does not exist
        int code;
        std::string message;  // %1 stands for the script path
    };
    const Case cases[] = {
        {"statement matches no rule", "STRINGTABLE\nBEGIN\n  IDS_A \"A\"\nEND\nIDD_X DIALOG 0, 0, 9, 9\nBEGIN\n"
                                      "  LTEXT \"a\" IDC_A\nEND\n",
         rcerr::ResourceFile, "Build Translation File Database.\nParser Error at file %1. (line 7)"},
        {"popup without text", "M MENU\nBEGIN\n  POPUP \"&File\" \"x\"\nEND\n", rcerr::Popup,
         "Build Translation File Database.\nParser Error (Menu Popup) at file %1. (line 3)"},
        {"no script", nullptr, rcerr::CantOpen, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path script = dir / "app.rc";
        if (c.script)
            WriteFile(script, c.script);
        const BuildResult built = BuildFile(script, dir / "app_rc.mdb");
        EXPECT_FALSE(built.ok());
        EXPECT_EQ(built.code, c.code);
        if (!c.message.empty())
            EXPECT_EQ(built.message, msg::Format(c.message, {script.string()}));
        else
            EXPECT_NE(built.message.find(script.string()), std::string::npos) << built.message;
        EXPECT_EQ(FilesIn(dir.path()), c.script ? std::vector<std::string>{"app.rc"} : std::vector<std::string>{});
    }
}

// Statements of a script as the parser gives them, up to where reading ends.
struct ParsedCounts {
    int lines = 0, texts = 0, controls = 0, menuItems = 0;
    int error = 0, errorLine = 0;
};

ParsedCounts CountStatements(const std::string& text)
{
    ParsedCounts counts;
    CRcParser parser(text);
    CRcStatement st;
    for (;;) {
        parser.ParseStatement(st);
        if (st.kind == kind::Unknown)
            break;
        if (st.error != 0) {
            counts.error = st.error;
            counts.errorLine = st.sourceLine;
            break;
        }
        ++counts.lines;
        counts.texts += st.HasText();
        counts.controls += IsDialogControlKind(st.kind);
        counts.menuItems += st.kind == kind::Popup || st.kind == kind::MenuItem;
        if (st.kind == kind::EndOfInput)
            break;
    }
    return counts;
}

// Every real script builds with the rows its statements call for, or, where
// the parser rejects a statement, fails at that statement and leaves no file.
TEST(Build, CorpusScriptsBuildAsParsed)
{
    const fs::path corpus = QLN_CORPUS_DIR;
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
        if (entry.is_regular_file() && ext == ".rc")
            scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    ASSERT_FALSE(scripts.empty());
    TempDir dir;
    const fs::path db = dir / "corpus_rc.mdb";
    std::vector<std::string> rejected, stopped;
    for (const fs::path& script : scripts) {
        SCOPED_TRACE(script.string());
        DecodedScript decoded;
        std::string error;
        ASSERT_TRUE(LoadScriptFile(script, decoded, error)) << error;
        const ParsedCounts parsed = CountStatements(decoded.text);
        const BuildResult built = BuildFile(script, db);
        if (parsed.error != 0) {
            EXPECT_FALSE(built.ok());
            EXPECT_EQ(built.code, parsed.error);
            EXPECT_EQ(built.report.stopLine, parsed.errorLine);
            EXPECT_FALSE(fs::exists(db));
            rejected.push_back(script.lexically_relative(corpus).string() + ":" + std::to_string(parsed.errorLine));
            continue;
        }
        ASSERT_TRUE(built.ok()) << built.message;
        if (built.report.stoppedAtUnknown)
            stopped.push_back(script.lexically_relative(corpus).string() + ":" +
                              std::to_string(built.report.stopLine));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM ResFileLine"), std::to_string(parsed.lines));
        EXPECT_EQ(Value(db, "SELECT max(Line) FROM ResFileLine"), std::to_string(parsed.lines));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText"), std::to_string(parsed.texts));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM DialogControl"), std::to_string(parsed.controls));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM MenuItem"), std::to_string(parsed.menuItems));
        fs::remove(db);
    }
    auto list = [](const std::vector<std::string>& items) {
        std::string text;
        for (const std::string& item : items)
            text += "\n  " + item;
        return text;
    };
    std::cout << "[ corpus ] " << scripts.size() << " scripts; rejected by the parser:" << list(rejected)
              << "\n[ corpus ] stopped at an unknown character:" << list(stopped) << "\n";
}

}  // namespace
}  // namespace qln::test
