#include "rcscript/parse_support.h"

#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace qln {
namespace {

using test::ParseAll;
using test::WithoutEnd;

// One statement of a small script and what the parser must report for it.
struct StatementCase {
    const char* what;
    const char* script;
    int index;          // statement to check; -1 = the last one
    int kind;
    int error;
    const char* text;   // SourceText, or nullptr when the statement carries none
    const char* name;   // Name_ID
    const char* before; // BeforeStr, or nullptr when not checked
};

const StatementCase kStatements[] = {
    {"separator", "M MENU\nBEGIN\n MENUITEM SEPARATOR\nEND\n", 2, 39, 0, nullptr, "", nullptr},
    {"menu item", "M MENU\nBEGIN\n MENUITEM \"E&xit\", ID_APP_EXIT\nEND\n", 2, 4, 0, "E&xit",
     "ID_APP_EXIT", "MENUITEM \""},
    {"menu item with options", "M MENU\nBEGIN\n MENUITEM \"&Bold\",IDM_B,CHECKED, GRAYED\nEND\n", 2, 4,
     0, "&Bold", "IDM_B", nullptr},
    {"popup", "M MENU\nBEGIN\n POPUP \"&File\", HELP\n BEGIN\n END\nEND\n", 2, 3, 0, "&File", "",
     nullptr},
    {"extended menu item keeps its fields", "M MENUEX\nBEGIN\n MENUITEM \"&Open\", 100, MFT_STRING, MFS_ENABLED\nEND\n",
     2, 4, 0, "&Open", "100", nullptr},
    {"extended popup", "M MENUEX\nBEGIN\n POPUP \"&File\", 200, MFT_STRING, MFS_ENABLED, 0\n BEGIN\n  MENUITEM \"\", , MFT_SEPARATOR\n END\nEND\n",
     2, 3, 0, "&File", "", nullptr},
    {"include with doubled backslash", "#include \"res\\\\sub.h\"\n", 0, 9, 0, "res\\\\sub.h", "",
     "#include \""},
    {"include with angle brackets", "#include <afxres.h>\n", 0, 9, 0, "afxres.h", "", "#include <"},
    {"rcinclude bare name", "rcinclude res\\app.rc2\n", 0, 10, 0, "res\\app.rc2", "", "rcinclude "},
    {"doubled quote and escaped quote", "STRINGTABLE\nBEGIN\n IDS_A \"say \"\"hi\"\" \\\"x\\\"\"\nEND\n", 2,
     70, 0, "say \"\"hi\"\" \\\"x\\\"", "IDS_A", "IDS_A \""},
    {"string table entry with comma and expression name", "STRINGTABLE\nBEGIN\n IDS_BASE+1, \"x\"\nEND\n", 2,
     70, 0, "x", "IDS_BASE+1", nullptr},
    {"string table TEXT macro", "STRINGTABLE\nBEGIN\n 7 TEXT(\"t\")\nEND\n", 2, 70, 0, "t", "7", nullptr},
    {"string table number", "STRINGTABLE\nBEGIN\n 7 12\nEND\n", 2, 65, 0, nullptr, "7", nullptr},
    {"empty caption", "D DIALOG 0,0,1,1\nBEGIN\n LTEXT \"\", IDC_X, 1, 2, 3, 4\nEND\n", 2, 19, 0, "", "IDC_X",
     "LTEXT \""},
    {"control text as written", "D DIALOG 0,0,1,1\nBEGIN\n LTEXT \"&Name:\", IDC_NAME, 7, 7, 50, 8\nEND\n", 2,
     19, 0, "&Name:", "IDC_NAME", "LTEXT \""},
    {"control without comma after text", "D DIALOG 0,0,1,1\nBEGIN\n CTEXT \"Demo\" -1, 0, 5, 144, 8\nEND\n", 2,
     21, 0, "Demo", "-1", nullptr},
    {"icon control is never a text", "D DIALOG 0,0,1,1\nBEGIN\n ICON \"x\", IDC_I, 1, 2\nEND\n", 2, 18, 0,
     nullptr, "IDC_I", nullptr},
    {"CONTROL class identifier kept", "D DIALOG 0,0,1,1\nBEGIN\n CONTROL \"\",IDC_L,WC_LISTVIEW,LVS_REPORT,1,2,3,4\nEND\n",
     2, 2, 0, "", "IDC_L", nullptr},
    {"caption", "D DIALOGEX 0,0,1,1\nCAPTION \"About\"\nBEGIN\nEND\n", 1, 1, 0, "About", "", nullptr},
    {"dialog font face is not a text", "D DIALOGEX 0,0,1,1\nFONT 8, \"MS Shell Dlg\", 400, 0, 0x1\n", 1, 32, 0,
     nullptr, "", nullptr},
    {"dialog named by a string", "\"ABOUT\" DIALOGEX 0,0,1,1\n", 0, 99, 0, nullptr, "ABOUT", nullptr},
    {"bitmap file name", "IDB_X BITMAP DISCARDABLE \"res\\\\b.bmp\"\n", 0, 16, 0, "res\\\\b.bmp", "IDB_X",
     nullptr},
    {"icon resource", "IDI_X ICON \"x.ico\"\n", 0, 14, 0, nullptr, "IDI_X", nullptr},
    {"resource named like a keyword", "CAPTION ICON \"x.ico\"\n", 0, 14, 0, nullptr, "CAPTION", nullptr},
    {"user resource file", "IDR_X REGISTRY \"x.rgs\"\n", 0, 95, 0, nullptr, "IDR_X", nullptr},
    {"user resource bare file", "IDR_X PNG res\\x.png\n", 0, 95, 0, nullptr, "IDR_X", nullptr},
    {"language block name", "V VERSIONINFO\nBEGIN\n BLOCK \"040904b0\"\nEND\n", 2, 85, 0, "040904b0", "",
     nullptr},
    {"string file info block", "V VERSIONINFO\nBEGIN\n BLOCK \"StringFileInfo\"\nEND\n", 2, 85, 0, nullptr, "",
     nullptr},
    {"value text", "V VERSIONINFO\nBEGIN\n VALUE \"CompanyName\", \"ACME\\0\"\nEND\n", 2, 86, 0, "ACME\\0",
     "CompanyName", "VALUE \"CompanyName\", \""},
    {"value numbers", "V VERSIONINFO\nBEGIN\n VALUE \"Translation\", 0x409, 1200\nEND\n", 2, 86, 0, nullptr,
     "Translation", nullptr},
    {"string inside version info", "V VERSIONINFO\nBEGIN\n \"more\"\nEND\n", 2, 86, 0, nullptr, "",
     "         \"more\""},
    {"define", "#define IDC_X 100 // comment\n", 0, 65, 0, nullptr, "", "#define IDC_X 100"},
    {"continued define is one statement", "#define S WS_CHILD | \\\n  WS_VISIBLE\nX", 0, 65, 0, nullptr, "",
     "#define S WS_CHILD | WS_VISIBLE"},
    {"endif", "#if 0\n#else\n#endif // x\n", 2, 92, 0, nullptr, "", "#endif"},
    {"code page", "#pragma code_page(1251)\n", 0, 106, 0, nullptr, "", nullptr},
    {"marker", "$$IF(X) rest\n", 0, 66, 0, nullptr, "", "$$IF(X) rest"},
    {"single quoted", "'abc def'\n", 0, 72, 0, nullptr, "", "'abc def'"},
    {"accelerator", "A ACCELERATORS\nBEGIN\n \"^C\", ID_COPY, CONTROL, VIRTKEY\nEND\n", 2, 34, 0, nullptr,
     "ID_COPY", "\"^C\", ID_COPY, CONTROL, VIRTKEY"},
    {"comment between tokens", "STRINGTABLE\nBEGIN\n IDS_A /* note */ \"x\"\nEND\n", 2, 70, 0, "x", "IDS_A",
     "IDS_A \""},
    {"menu named with a macro suffix",
     "#if defined(APSTUDIO_INVOKED)\nIDR_MAINFRAME$(_MAC) MENU PRELOAD DISCARDABLE\nBEGIN\n POPUP \"&File\"\n BEGIN\n"
     " END\nEND\n#endif\n",
     1, 8, 0, nullptr, "IDR_MAINFRAME$(_MAC)", nullptr},
    {"dialog named with a macro suffix", "IDD_ABOUTBOX$(_MAC) DIALOG DISCARDABLE 0, 0, 217, 55\nBEGIN\nEND\n", 0, 13, 0,
     nullptr, "IDD_ABOUTBOX$(_MAC)", nullptr},
    {"end of input after a line break", "STRINGTABLE\nBEGIN\nEND\n", -1, 73, 0, nullptr, "", ""},
    // Failures carry their code.
    {"popup with a number", "M MENU\nBEGIN\n POPUP 123\nEND\n", 2, 3, -96, nullptr, "", nullptr},
    {"popup with two strings", "M MENU\nBEGIN\n POPUP \"a\" \"b\"\nEND\n", 2, 3, -96, nullptr, "", nullptr},
    {"menu item with a number", "M MENU\nBEGIN\n MENUITEM 5, ID_X\nEND\n", 2, 4, -95, nullptr, "", nullptr},
    {"menu item without name", "M MENU\nBEGIN\n MENUITEM \"x\"\nEND\n", 2, 4, -99, nullptr, "", nullptr},
    {"user resource without file", "IDR_X MYTYPE\nIDR_Y MYTYPE \"y\"\n", 0, 35, -97, nullptr, "", nullptr},
    {"language with a string", "LANGUAGE \"x\", 1\n", 0, 94, -93, nullptr, "", nullptr},
    {"language without comma", "LANGUAGE LANG_GERMAN SUBLANG_GERMAN\n", 0, 94, -93, nullptr, "", nullptr},
    {"unknown character", "@ x\n", 0, 0, -99, nullptr, "", nullptr},
    {"unterminated string", "STRINGTABLE\nBEGIN\n IDS_A \"abc\n", 2, 70, -99, nullptr, "", nullptr},
    {"stray operator", "| X\n", 0, 0, -99, nullptr, "", nullptr},
};

TEST(Parser, Statements)
{
    for (const StatementCase& c : kStatements) {
        SCOPED_TRACE(c.what);
        const std::vector<CRcStatement> all = ParseAll(c.script);
        const std::size_t i = c.index < 0 ? all.size() - 1 : static_cast<std::size_t>(c.index);
        ASSERT_LT(i, all.size());
        const CRcStatement& st = all[i];
        EXPECT_EQ(st.kind, c.kind) << st.text;
        EXPECT_EQ(st.error, c.error) << st.text;
        if (c.error != 0)
            continue;
        EXPECT_EQ(st.HasText(), c.text != nullptr) << st.text;
        if (c.text) {
            EXPECT_EQ(st.SourceText(), c.text);
        }
        EXPECT_EQ(st.NameId(), c.name);
        if (c.before) {
            EXPECT_EQ(st.BeforeStr(), c.before);
        }
        EXPECT_EQ(std::string(st.BeforeStr()) + std::string(st.SourceText()) + std::string(st.BehindStr()),
                  st.text);
    }
}

TEST(Parser, LanguageValues)
{
    struct Case {
        const char* statement;
        int language, subLanguage;
    };
    const Case cases[] = {
        {"LANGUAGE LANG_GERMAN, SUBLANG_GERMAN", 7, 1},
        {"LANGUAGE 7, 1", 7, 1},
        // The resource compiler takes hexadecimal numbers here, and real scripts use them.
        {"LANGUAGE 0x07, 0x01", 7, 1},
        {"LANGUAGE LANG_SERBIAN, SUBLANG_DEFAULT", 0, 1},
        {"language LANG_ENGLISH,SUBLANG_ENGLISH_UK", 9, 2},
    };
    for (const Case& c : cases) {
        const std::vector<CRcStatement> all = ParseAll(c.statement);
        ASSERT_EQ(all.size(), 2u);
        EXPECT_EQ(all[0].kind, 94) << c.statement;
        EXPECT_EQ(all[0].error, 0) << c.statement;
        EXPECT_EQ(all[0].result, 94) << c.statement;
        EXPECT_EQ(all[0].language, c.language) << c.statement;
        EXPECT_EQ(all[0].subLanguage, c.subLanguage) << c.statement;
    }
}

TEST(Parser, DialogHeaderCoordinatesAndContext)
{
    CRcParser parser("IDD_ABOUT DIALOG DISCARDABLE 0, 0, 217, 55\nSTYLE WS_POPUP\nBEGIN\nEND\nX ICON \"i\"");
    CRcStatement st;
    parser.ParseStatement(st);
    EXPECT_EQ(st.kind, 13);
    EXPECT_EQ(st.NameId(), "IDD_ABOUT");
    EXPECT_EQ(std::vector<int>({st.x, st.y, st.cx, st.cy}), std::vector<int>({0, 0, 217, 55}));
    EXPECT_EQ(st.text.substr(st.coordPos[2], st.coordLen[2]), "217");
    EXPECT_EQ(parser.Context(), 13);
    parser.ParseStatement(st);
    parser.ParseStatement(st);
    EXPECT_EQ(parser.Depth(), 1);
    parser.ParseStatement(st);
    EXPECT_EQ(st.kind, 7);
    EXPECT_EQ(st.result, 7);
    EXPECT_EQ(parser.Context(), 0);
    EXPECT_EQ(parser.Depth(), 0);
    EXPECT_EQ(parser.StatementCount(), 4);
}

TEST(Parser, ControlCoordinatesAndStyleBits)
{
    const auto all = WithoutEnd(ParseAll(
        "D DIALOGEX 0,0,9,9\nBEGIN\n"
        "  CONTROL \"Check\",IDC_C,\"Button\",WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,\n"
        "          7,-20,50,10, WS_EX_STATICEDGE\n"
        "  LTEXT \"x\",IDC_X,1,2,3,4,WS_CHILD | WS_VISIBLE | NOT WS_VISIBLE | 0x1\n"
        "END\n"));
    ASSERT_EQ(all.size(), 5u);
    const CRcStatement& control = all[2];
    EXPECT_EQ(control.kind, 2);
    EXPECT_EQ(control.flagBits, 0x50000003u);
    EXPECT_EQ(std::vector<int>({control.x, control.y, control.cx, control.cy}), std::vector<int>({7, -20, 50, 10}));
    EXPECT_EQ(control.text.substr(control.coordPos[1], control.coordLen[1]), "-20");
    EXPECT_EQ(control.BehindStr(), "\",IDC_C,\"Button\",WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 7,-20,50,10, WS_EX_STATICEDGE");
    EXPECT_EQ(all[3].flagBits, 0x40000001u);
    EXPECT_EQ(all[3].cy, 4);
}

TEST(Parser, StoredDialogLinesParseAgainToTheSameCoordinates)
{
    const auto all = WithoutEnd(ParseAll(
        "IDD_A DIALOGEX 1, 2, 300, 200\nBEGIN\n"
        "  CONTROL \"&Go\",IDC_GO,\"Button\",BS_PUSHBUTTON |\n    WS_TABSTOP,10,20,50,14\n"
        "  EDITTEXT IDC_E, 7, 40, 100, 12, ES_AUTOHSCROLL\nEND\n"));
    ASSERT_EQ(all.size(), 5u);
    for (std::size_t i : {0u, 2u, 3u}) {
        const CRcStatement again = CRcParser::ParseLine(all[i].text, i == 0 ? 0 : 13, i == 0 ? 0 : 1);
        EXPECT_EQ(again.text, all[i].text);
        EXPECT_EQ(again.kind, all[i].kind);
        EXPECT_EQ(again.error, 0);
        EXPECT_EQ(std::vector<int>({again.x, again.y, again.cx, again.cy}),
                  std::vector<int>({all[i].x, all[i].y, all[i].cx, all[i].cy}));
        for (int k = 0; k < 4; ++k) {
            EXPECT_GT(again.coordLen[k], 0);
            EXPECT_EQ(again.coordPos[k], all[i].coordPos[k]);
        }
    }
    EXPECT_EQ(all[2].cx, 50);
}

TEST(Parser, UserResourceBodiesAreKeptWithoutTexts)
{
    const auto all = WithoutEnd(ParseAll(
        "IDR_MAINFRAME TOOLBAR 16, 15\nBEGIN\n    BUTTON ID_FILE_NEW\n    SEPARATOR\nEND\n"
        "GUIDELINES DESIGNINFO\nBEGIN\n    IDD_ABOUT, DIALOG\n    BEGIN\n        LEFTMARGIN, 7\n    END\nEND\n"
        "IDR_DATA RCDATA\nBEGIN\n  \"text\", 1, { 2 } END\n"
        "IDD_X DLGINIT\nBEGIN\n    IDC_COMBO, 0x403, 6, 0\n0x6e4f, \"\\145\\000\"\n    0\nEND\n"
        "IDR_Y MYTYPE\nLANGUAGE 9, 1\nVERSION 2\nBEGIN\n 1\nEND\n"
        "X ICON \"x\"\n"));
    std::vector<int> kinds;
    for (const CRcStatement& st : all) {
        kinds.push_back(st.kind);
        EXPECT_FALSE(st.HasText()) << st.text;
        EXPECT_EQ(st.error, 0) << st.text;
    }
    const std::vector<int> expected = {35, 6, 65, 65, 7,                 // toolbar
                                       35, 6, 65, 6, 65, 7, 7,           // design info, nested
                                       31, 6, 65, 6, 65, 7, 7,           // braces split the body line
                                       35, 6, 65, 65, 65, 7,             // dialog init
                                       35, 94, 65, 6, 65, 7,             // header options
                                       14};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(all[2].text, "   BUTTON ID_FILE_NEW");
    EXPECT_EQ(all[9].text, "      LEFTMARGIN, 7");
}

TEST(Parser, LineCountAndSourceLines)
{
    CRcParser parser("// head\n\nSTRINGTABLE\nBEGIN\n  IDS_A\n   \"x\"\nEND\n");
    std::vector<int> lines;
    CRcStatement st;
    do {
        parser.ParseStatement(st);
        lines.push_back(st.sourceLine);
    } while (st.kind != kind::EndOfInput);
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 7, 8}));
    EXPECT_EQ(parser.StatementCount(), 5);
    // After the end every call reports the end again.
    parser.ParseStatement(st);
    EXPECT_EQ(st.kind, kind::EndOfInput);
    EXPECT_TRUE(st.text.empty());
}

TEST(Parser, StatementLengthLimitCountsCharactersOutsideStrings)
{
    // A string of any length is read whole; its characters do not count.
    auto entry = [](const std::string& body) {
        return "STRINGTABLE\nBEGIN\n 1 \"" + body + "\"\nEND\n";
    };
    for (const std::string& body : {std::string(5000, 'a'), std::string(3000, 'x') + "\"\"" + std::string(3000, 'y')}) {
        const auto all = ParseAll(entry(body));
        ASSERT_GE(all.size(), 3u);
        EXPECT_EQ(all[2].error, 0);
        EXPECT_EQ(all[2].SourceText(), body);
    }

    // The rest of the statement is bound by the limit: a style expression of
    // 1,400 characters ends with -83, one of 140 does not.
    auto control = [](int names) {
        std::string style = "WS_X";
        for (int i = 1; i < names; ++i)
            style += " | WS_X";
        return "D DIALOG 0,0,10,10\nBEGIN\n CONTROL \"t\", 1, \"Button\", " + style + ", 1,2,3,4\nEND\n";
    };
    EXPECT_EQ(ParseAll(control(20))[2].error, 0);
    EXPECT_EQ(ParseAll(control(200))[2].error, rcerr::Output);
}

TEST(Parser, RecordsControlClassAndDialogFace)
{
    // The class of a CONTROL (quoted or an identifier) and the face of a
    // dialog FONT are recorded without being texts.
    const struct {
        const char* script;
        const char* face;
    } cases[] = {
        {"D DIALOG 0,0,1,1\nBEGIN\n CONTROL \"Go\",IDC_GO,\"Button\",BS_PUSHBUTTON,1,2,3,4\nEND\n", "Button"},
        {"D DIALOG 0,0,1,1\nBEGIN\n CONTROL \"\",IDC_L,WC_LISTVIEW,LVS_REPORT,1,2,3,4\nEND\n", "WC_LISTVIEW"},
        {"D DIALOGEX 0,0,1,1\nFONT 8, \"MS Shell Dlg\"\nBEGIN\nEND\n", "MS Shell Dlg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const auto all = ParseAll(c.script);
        ASSERT_GE(all.size(), 3u);
        const CRcStatement& st = all[1].kind == kind::Font ? all[1] : all[2];
        ASSERT_GT(st.faceLen, 0);
        EXPECT_EQ(st.text.substr(st.facePos, st.faceLen), c.face);
    }
}

TEST(Parser, EveryControlStatementOfTheCompilersOffersItsText)
{
    // One control of each kind, in the order of the script.
    const struct {
        int kind;
        const char* text;  // nullptr: the statement takes no text
        int x, y, cx, cy;
    } expected[] = {
        {19, "Left text", 4, 4, 60, 8},          {20, "Right text", 4, 14, 60, 8},
        {21, "Centred text", 4, 24, 60, 8},      {22, "Check box", 4, 34, 60, 10},
        {23, "Push button", 4, 46, 60, 14},      {25, "Group box", 4, 62, 60, 20},
        {26, "Default button", 4, 84, 60, 14},   {27, "Radio button", 4, 100, 60, 10},
        {102, "Auto radio button", 4, 112, 60, 10}, {103, "Auto check box", 4, 124, 60, 10},
        {104, "Auto three states", 4, 136, 60, 10}, {107, "Three states", 4, 148, 60, 10},
        {108, "Push box", 4, 160, 60, 14},       {110, "Boxed pen edit", 4, 176, 60, 12},
        {111, "Handwriting edit", 4, 190, 60, 12}, {112, "Ink edit", 4, 204, 60, 12},
        {109, "User button", 4, 218, 60, 14},    {2, "Generic control", 4, 234, 60, 14},
        {18, nullptr, 70, 4, 0, 0},              {28, nullptr, 70, 30, 60, 12},
        {29, nullptr, 70, 44, 60, 40},           {24, nullptr, 70, 60, 60, 40},
        {30, nullptr, 70, 104, 60, 10},
    };
    const std::string script =
        test::ReadFileBytes(std::filesystem::path(QLN_TEST_DATA_DIR) / "dialog_controls.rc");
    const std::vector<CRcStatement> all = ParseAll(script);
    ASSERT_EQ(all.back().kind, kind::EndOfInput);
    auto control = std::find_if(all.begin(), all.end(), [](const CRcStatement& st) { return st.kind == kind::Begin; });
    ASSERT_NE(control, all.end());
    int id = 101;
    for (const auto& e : expected) {
        ++control;
        ASSERT_NE(control, all.end());
        const CRcStatement& st = *control;
        SCOPED_TRACE(st.text);
        EXPECT_EQ(st.kind, e.kind);
        EXPECT_TRUE(IsDialogControlKind(st.kind));
        EXPECT_FALSE(st.unrecognised);
        EXPECT_EQ(st.HasText(), e.text != nullptr);
        if (e.text) {
            EXPECT_EQ(st.SourceText(), e.text);
        }
        EXPECT_EQ(st.NameId(), std::to_string(id++));
        EXPECT_EQ((std::vector<int>{st.x, st.y, st.cx, st.cy}), (std::vector<int>{e.x, e.y, e.cx, e.cy}));
    }
    EXPECT_EQ((++control)->kind, kind::End);
}

TEST(Parser, DialogBodyLinesNoRuleUnderstandsAreKeptAndMarked)
{
    const std::vector<CRcStatement> all = ParseAll(
        "D DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"a\", 1, 2, 3, 4, 5\n SLIDER \"b\", 2, 1, 2, 3, 4\n"
        "#define X 1\n PUSHBUTTON \"c\", 3, 1, 2, 3, 4\nEND\n");
    ASSERT_EQ(all.size(), 8u);
    const CRcStatement& unknown = all[3];
    EXPECT_EQ(unknown.kind, kind::Other);
    EXPECT_TRUE(unknown.unrecognised);
    EXPECT_EQ(unknown.text, "SLIDER \"b\", 2, 1, 2, 3, 4");
    EXPECT_EQ(unknown.sourceLine, 4);
    for (std::size_t i : {0u, 1u, 2u, 4u, 5u, 6u})
        EXPECT_FALSE(all[i].unrecognised) << all[i].text;
    EXPECT_EQ(all[5].kind, 23);
    EXPECT_EQ(all[5].SourceText(), "c");
}

TEST(Parser, ErrorTexts)
{
    EXPECT_EQ(ParserErrorText(-99, "a.rc"), "Parser Error: Resource File  a.rc");
    EXPECT_EQ(ParserErrorText(-93, "a.rc"), "Parser Error: LANGUAGE statement at file a.rc");
    EXPECT_EQ(ParserErrorText(-83, "a.rc"), "Parser Error: Write to output stream (internal error). a.rc");
    EXPECT_EQ(ParserErrorText(-88, "a.rc"), "Error: Not enough memory !");
    EXPECT_EQ(ParserErrorText(-87, "a.rc"), "Error: Can't read a.rc");
    EXPECT_EQ(ParserErrorText(2, "a.rc"), "Error: Can't open file 'a.rc'.");
    EXPECT_EQ(ParserErrorText(-1, "a.rc"), "Error: Unknown error accrued at file  a.rc");
}

}  // namespace
}  // namespace qln
