// Building a project database from a script: the rows of each kind, the
// numbering of lines, what a failed build leaves behind, and real scripts.

#include "build_support.h"
#include "CorpusScripts.h"

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
const fs::path KindsScript = fs::path(QLN_TEST_DATA_DIR) / "build" / "kinds.rc";

TEST(Build, StoresEveryStatementWithTheRowsOfItsKind)
{
    TempDir dir;
    const BuildResult built = BuildFile(KindsScript, dir / "kinds_rc.mdb");
    ASSERT_TRUE(built.ok()) << built.message;
    const fs::path db = built.database->path();

    const std::vector<int> kinds = {94, 9, 16, 13, 12, 1, 6, 19, 28, 23, 7, 8, 6, 3, 6, 4, 3, 6, 4, 7, 39, 7,
                                    7, 5, 6, 70, 7, 77, 78, 6, 85, 6, 85, 6, 86, 7, 7, 85, 6, 86, 7, 7, 73};
    const std::vector<Row> lines =
        Rows(db, "SELECT Line, LineIndex, LineIdentSym, Added, BeforeStr, BehindStr FROM ResFileLine ORDER BY Line");
    ASSERT_EQ(lines.size(), kinds.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(Row(lines[i].begin(), lines[i].begin() + 4),
                  (Row{std::to_string(i + 1), std::to_string(i + 10), std::to_string(kinds[i]), "0"}));
    EXPECT_EQ(lines[7][4] + "|" + lines[7][5], "LTEXT \"|\", IDC_NAME, 5, 6, 50, 8");
    EXPECT_EQ(lines.back()[4] + lines.back()[5], "NULLNULL");  // end of input

    const std::pair<const char*, std::vector<Row>> tables[] = {
        {"SELECT LineIndex, coalesce(SourceText, 'NULL'), Exclude, Modified FROM ResourceText",
         {{"11", R"(res\\sub.h)", "1", "0"}, {"12", "logo.bmp", "1", "0"}, {"15", "Main", "0", "0"},
          {"17", "&Name:", "0", "0"}, {"19", "NULL", "1", "0"}, {"23", "&File", "0", "0"},
          {"25", "E&xit", "0", "0"}, {"26", "&Recent", "0", "0"}, {"28", "(none)", "0", "0"},
          {"35", R"(Say ""hi"" \"now\")", "0", "0"}, {"42", "040704b0", "0", "0"}, {"44", "Demo", "0", "0"}}},
        {"SELECT LineIndex, Lang_Id, Name_ID, cx, cy FROM Dialogs", {{"13", "0", "IDD_MAIN", "200", "100"}}},
        {"SELECT LineIndex, DlgLine FROM DlgCaption", {{"15", "13"}}},
        {"SELECT LineIndex, DlgLine, Lang_Id, Name_ID, Type, Flags, x, y, cx, cy FROM DialogControl",
         {{"17", "13", "0", "IDC_NAME", "19", "0", "5", "6", "50", "8"},
          {"18", "13", "0", "IDC_EDIT", "28", "65536", "60", "6", "100", "12"},  // WS_TABSTOP
          {"19", "13", "0", "IDC_EMPTY", "23", "0", "5", "20", "40", "14"}}},
        {"SELECT LineIndex, Name_ID FROM Menu", {{"21", "IDR_MENU"}}},
        {"SELECT LineIndex, MenuLine, Level, coalesce(Name_ID, '') FROM MenuItem",
         {{"23", "21", "0", ""}, {"25", "21", "1", "ID_APP_EXIT"}, {"26", "21", "1", ""}, {"28", "21", "2", "ID_RECENT"}}},
        {"SELECT LineIndex, Name_ID FROM StringtableString", {{"35", "IDS_HELLO"}}},
        {"SELECT LineIndex, Name_ID FROM Bitmap", {{"12", "IDB_LOGO"}}},
        {"SELECT LineIndex, Name_ID FROM Version", {{"37", "VS_VERSION_INFO"}}},
        // Only the block named by a language and code page is a text; a value
        // belongs to the last block and has no row without a string.
        {"SELECT LineIndex, VersResLine FROM VersionBlockHeader", {{"42", "37"}}},
        {"SELECT LineIndex, VersResLine, BlockHeaderLine, Value FROM VersionBlockValues",
         {{"44", "37", "42", "FileDescription"}}},
        {"SELECT LineIndex, Lang_Id, CodePage, CharSet FROM \"Source File Language\"",
         {{"10", std::to_string(7 + 1 * 1024), "1252", "1"}}},
        {"SELECT count(*) FROM IncludeFile", {{"0"}}},
    };
    for (const auto& [query, rows] : tables)
        EXPECT_EQ(Rows(db, std::string(query) + " ORDER BY LineIndex"), rows) << query;

    const FileStamp stamp = ReadFileStamp(KindsScript).value();
    EXPECT_EQ(Rows(db, "SELECT SourceFile, FileVersion, Status, FileSize, FileDate, FileTime FROM Project"),
              (std::vector<Row>{{KindsScript.string(), "8", "1", std::to_string(stamp.size), std::to_string(stamp.date),
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
    };
    const Case cases[] = {
        {"empty script", "\n", {73}, 0, 0},
        {"comments only", "// nothing\n/* at\n all */\n", {73}, 0, 0},
        {"include stored, not read", "#include \"nowhere\\\\missing.h\"\n", {9, 73}, 1, 0},
        {"AppStudio names with a macro suffix",
         "#if defined(APSTUDIO_INVOKED)\nIDR_MAINFRAME$(_MAC) MENU PRELOAD DISCARDABLE\nBEGIN\n    POPUP \"&File\"\n"
         "    BEGIN\n        MENUITEM \"E&xit\", ID_APP_EXIT\n    END\nEND\n"
         "IDD_ABOUTBOX$(_MAC) DIALOG DISCARDABLE 0, 0, 217, 55\nBEGIN\nEND\n#endif\n",
         {65, 8, 6, 3, 6, 4, 7, 7, 13, 6, 7, 92, 73}, 2, 1},
        {"dialogs named by strings", "\"ABOUT\" DIALOG 0, 0, 10, 10\nBEGIN\nEND\n\"MAIN\" DIALOGEX 0, 0, 9, 9\n",
         {13, 6, 7, 99, 73}, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const BuildResult built = BuildText(dir, c.script);
        ASSERT_TRUE(built.ok()) << built.message;
        EXPECT_TRUE(built.message.empty());
        EXPECT_TRUE(built.report.missingIncludes.empty());
        EXPECT_EQ(built.report.stopLine, 0);
        const fs::path db = built.database->path();
        EXPECT_EQ(Kinds(db), c.kinds);
        EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText"), std::to_string(c.texts));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM Dialogs"), std::to_string(c.dialogs));
    }
}

TEST(Build, EveryControlTextIsOffered)
{
    TempDir dir;
    const fs::path script = fs::path(QLN_SOURCE_DIR) / "tests" / "rcscript" / "data" / "dialog_controls.rc";
    const BuildResult built = BuildFile(script, dir / "controls_rc.mdb");
    ASSERT_TRUE(built.ok()) << built.message;
    EXPECT_TRUE(built.report.warning.empty()) << built.report.warning;
    const fs::path db = built.database->path();
    // The caption and the texts of the 18 controls that take one.
    EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText"), "19");
    EXPECT_EQ(Value(db, "SELECT count(*) FROM ResFileLine WHERE LineIdentSym = 65"), "0");
    EXPECT_EQ(Rows(db, "SELECT c.Name_ID, c.Type, c.x, c.y, t.SourceText FROM DialogControl c JOIN ResourceText t "
                       "USING (LineIndex) WHERE c.Type > 104 ORDER BY c.Name_ID"),
              (std::vector<Row>{{"112", "107", "4", "148", "Three states"},
                                {"113", "108", "4", "160", "Push box"},
                                {"114", "110", "4", "176", "Boxed pen edit"},
                                {"115", "111", "4", "190", "Handwriting edit"},
                                {"116", "112", "4", "204", "Ink edit"},
                                {"117", "109", "4", "218", "User button"}}));
    EXPECT_EQ(Value(db, "SELECT count(*) FROM DialogControl"), "23");
}

TEST(Build, WarnsOfDialogLinesItDoesNotUnderstand)
{
    TempDir dir;
    const std::string text = "D DIALOGEX 0, 0, 100, 50\nBEGIN\n    LTEXT \"Name\", 1, 2, 3, 4, 5\n"
                             "    SLIDER \"Volume\", 2, 1, 2, 3, 4\n    PUSHBUTTON \"OK\", 3, 1, 2, 3, 4\n"
                             "    TRACKER 4, 1, 2, 3, 4\nEND\n";
    const BuildResult built = BuildText(dir, text);
    ASSERT_TRUE(built.ok()) << built.message;
    const std::string script = (dir / "app.rc").string();
    EXPECT_EQ(built.report.warning, "Unknown dialog statement kept without its texts: " + script +
                                        " (line 4)\nUnknown dialog statement kept without its texts: " + script +
                                        " (line 6)");
    // The lines stay in the database as they are, and the script is still whole.
    const fs::path db = built.database->path();
    EXPECT_EQ(Rows(db, "SELECT Line, BeforeStr FROM ResFileLine WHERE LineIdentSym = 65 ORDER BY Line"),
              (std::vector<Row>{{"4", "SLIDER \"Volume\", 2, 1, 2, 3, 4"}, {"6", "TRACKER 4, 1, 2, 3, 4"}}));
    EXPECT_EQ(Value(db, "SELECT group_concat(SourceText, '|') FROM (SELECT SourceText FROM ResourceText "
                        "ORDER BY LineIndex)"),
              "Name|OK");
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

    // CONTROL lines carry their window class; the other controls have none.
    EXPECT_EQ(Rows(first.database->path(), "SELECT DISTINCT Class FROM DialogControl WHERE Type = 2 ORDER BY Class"),
              (std::vector<Row>{{"Button"}, {"Static"}, {"msctls_trackbar32"}}));
}

// The build makes the indexes after the rows: the finished database has
// every index of the template, with the template's planner statistics.
TEST(Build, BuiltDatabaseHasTheTemplatesIndexesAndStatistics)
{
    TempDir dir;
    const BuildResult built = BuildFile(fs::path(QLN_SOURCE_DIR) / "examples/demo/demo.rc", dir / "demo_rc.mdb");
    ASSERT_TRUE(built.ok()) << built.message;
    const fs::path db = built.database->path();
    const std::string indexes = "SELECT name, tbl_name, sql FROM sqlite_master WHERE type = 'index' ORDER BY name";
    const std::vector<Row> expected = Rows(TemplatePath(), indexes);
    EXPECT_GT(expected.size(), 30u);
    EXPECT_EQ(Rows(db, indexes), expected);
    const std::string stats = "SELECT tbl, idx, stat FROM sqlite_stat1 ORDER BY tbl, idx";
    EXPECT_EQ(Rows(db, stats), Rows(TemplatePath(), stats));
    EXPECT_EQ(Value(db, "PRAGMA integrity_check"), "ok");
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
        {"unknown character at the start of a statement",
         "STRINGTABLE\nBEGIN\n  IDS_A \"A\"\nEND\n@ junk\nSTRINGTABLE\nBEGIN\n  IDS_B \"B\"\nEND\n",
         rcerr::ResourceFile, "Build Translation File Database.\nParser Error at file %1. (line 5)"},
        {"popup with two texts", "M MENU\nBEGIN\n  POPUP \"&File\" \"x\"\nEND\n", rcerr::Popup,
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

// Every real script builds with the rows its statements call for, or, where
// the parser rejects a statement, fails at that statement and leaves no file.
TEST(Build, CorpusScriptsBuildAsParsed)
{
    const fs::path corpus = QLN_CORPUS_DIR;
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    TempDir dir;
    const fs::path db = dir / "corpus_rc.mdb";
    int scripts = 0, rejected = 0;
    for (const fs::path& script : ScriptsUnder(corpus)) {
        SCOPED_TRACE(script.string());
        ++scripts;
        DecodedScript decoded;
        std::string error;
        ASSERT_TRUE(LoadScriptFile(script, decoded, error)) << error;
        int lines = 0, texts = 0, controls = 0;
        CRcParser parser(decoded.text);
        CRcStatement st;
        do {
            parser.ParseStatement(st);
            const bool stored = st.error == 0;
            lines += stored;
            texts += stored && st.HasText();
            controls += stored && IsDialogControlKind(st.kind);
        } while (st.error == 0 && st.kind != kind::EndOfInput);

        const BuildResult built = BuildFile(script, db);
        if (st.error != 0) {
            ++rejected;
            EXPECT_FALSE(built.ok());
            EXPECT_EQ(built.code, st.error);
            EXPECT_EQ(built.report.stopLine, st.sourceLine);
            EXPECT_FALSE(fs::exists(db));
            continue;
        }
        ASSERT_TRUE(built.ok()) << built.message;
        EXPECT_EQ(Value(db, "SELECT count(*) || ' ' || max(Line) FROM ResFileLine"),
                  std::to_string(lines) + " " + std::to_string(lines));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM ResourceText"), std::to_string(texts));
        EXPECT_EQ(Value(db, "SELECT count(*) FROM DialogControl"), std::to_string(controls));
        fs::remove(db);
    }
    std::cout << "[ corpus ] " << scripts << " scripts, " << rejected << " rejected by the parser\n";
}

}  // namespace
}  // namespace qln::test
