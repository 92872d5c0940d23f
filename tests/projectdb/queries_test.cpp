// Every stored query run against a populated database: the fields it yields
// and the rows, in script order where that matters; the literal statements on
// both layouts; and the lookups' edge cases.

#include "db_fixture.h"

#include "projectdb/Statements.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace qln::test {
namespace {

using Params = std::vector<std::pair<std::string, sql::Value>>;

Recordset run(CProjectDatabase& pdb, const QueryText& q, const Params& params)
{
    auto& st = pdb.Query(q);
    for (const auto& [name, value] : params)
        st.bind(":" + name, value);
    return Recordset(pdb.db(), q.editTable, st);
}

std::vector<std::string> column(Recordset& rs, const std::string& field)
{
    std::vector<std::string> out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out.push_back(rs.getText(field).value_or("<null>"));
    return out;
}

std::vector<std::string> S(std::initializer_list<std::int64_t> values)
{
    std::vector<std::string> out;
    for (auto v : values)
        out.push_back(std::to_string(v));
    return out;
}

struct QueryCase {
    const char* name;
    Params params;
    std::vector<std::string> fields;  // must be in the result
    const char* key;                  // field whose values are compared
    std::vector<std::string> values;  // expected values of `key`
    bool ordered;                     // in this order (script order), else as a set
};

struct QueryTest : ::testing::Test {
    TempDir dir;
    CProjectDatabase pdb{CopyTemplate(dir)};
    QueryTest()
    {
        FillSample(pdb);
        pdb.AppendBookmark(li::Open, "mark", "text", 7, 1);
    }
};

TEST_F(QueryTest, EveryStoredQueryYieldsItsFieldsAndRows)
{
    const std::vector<std::string> textFields = {"LineIndex", "SourceText", "SourceText_Old", "Exclude", "Modified",
                                                 "German", "German_Modified"};
    const auto texts = S({li::Include, li::Caption, li::Hello, li::PopupFile, li::Open, li::PopupEdit, li::Copy,
                          li::StrOne, li::StrTwo, li::Logo, li::Block, li::Value, li::AfxInclude});
    const auto lines = S({li::Include, li::Language, li::Dialog, li::Caption, li::Hello, li::Icon, li::Menu,
                          li::PopupFile, li::Open, li::PopupEdit, li::Copy, li::StrOne, li::StrTwo, li::Logo,
                          li::Version, li::Block, li::Value, li::AfxInclude});
    auto withKind = textFields;
    withKind.push_back("LineIdentSym");
    const std::string L = "LineIndex";

    const QueryCase cases[] = {
        {"AllLineIndex", {}, {L}, "LineIndex", lines, false},
        {"ResourceTextTable", {}, textFields, "LineIndex", texts, true},
        {"ResourceText_And_LineIdentSym", {}, withKind, "LineIndex", texts, true},
        {"GetResTextRecord_ByLine", {{L, li::Hello}}, textFields, "SourceText", {"Hello"}, true},
        {"ResourceText_Old_By_LineIndex", {{L, li::Hello}}, {"SourceText_Old"}, "LineIndex", S({li::Hello}), true},
        {"ResLineValues_By_LineIndex", {{L, li::Caption}}, {"Line", "LineIdentSym", "BeforeStr", "BehindStr"},
         "BeforeStr", {"CAPTION \""}, true},
        {"LineIdentSym_By_LineIndex", {{L, li::Open}}, {"LineIdentSym"}, "LineIdentSym", {"4"}, true},
        {"IsTextModified_All", {}, textFields, "LineIndex", {}, true},
        {"Added_Fields", {}, {"Added"}, "LineIndex", {}, true},
        {"Translation_Ids", {}, {"Lang_Id"}, "Lang_Id", S({German}), true},
        {"TranslationInfoTable", {}, {"FileName", "LanguageStr"}, "LanguageStr", {"German"}, true},
        {"FileName", {{"LanguageId", 7}, {"SubLanguageId", 1}}, {"FileName", "FileTime", "FileDate", "FileSize"},
         "FileName", {"<null>"}, true},
        {"Translation", {{"LanguageId", 7}, {"SubLanguageId", 1}}, {"LanguageStr"}, "LanguageStr", {"German"}, true},
        {"FileVersion", {}, {"FileVersion"}, "FileVersion", {"8"}, true},
        {"Dialog_By_Ident", {{"DlgIdent", "IDD_ABOUT"}}, {L, "cx", "cy", "cx_prev", "cy_prev"}, "cx", {"200"}, true},
        {"Dialogs_By_LineIndex", {{L, li::Dialog}}, {"Lang_Id", "Modified", "cx_prev", "cy_prev"}, "Lang_Id",
         S({0, German}), false},
        {"Dialog_By_LineIndex", {{L, li::Dialog}}, {"Name_ID", "cx", "cy"}, "cx", {"200"}, true},
        {"Dialog_ItemIdent_By_LineIndex", {{L, li::Hello}},
         {"Name_ID", "DlgLine", "Class", "x", "y", "cx", "cy", "Type", "Flags"}, "cx", {"50"}, true},
        {"Dialog_Controls_By_LineIndex", {{L, li::Hello}}, {"Lang_Id", "Modified"}, "Lang_Id", S({0, German}),
         false},
        {"Dialog_Control_By_LineIndex_LangId", {{L, li::Hello}, {"Lang_Id", German}},
         {"x", "y", "cx", "cy", "x_prev", "y_prev", "cx_prev", "cy_prev"}, "cx", {"70"}, true},
        {"Dialog_Controls_By_DlgLineIndex_ItemIdent", {{"DlgLineIndex", li::Dialog}, {"ItemIdent", "IDC_HELLO"}},
         {L, "Type", "SourceText", "Flags", "x", "y", "cx", "cy"}, "SourceText", {"Hello"}, true},
        {"Dialog_Controls_StrLess_By_DlgLineIndex_ItemIdent", {{"DlgLineIndex", li::Dialog}, {"ItemIdent", "IDC_ICON"}},
         {L, "Type", "Flags", "x", "y", "cx", "cy"}, "LineIndex", S({li::Icon}), true},
        {"Dialog_Controls_By_Dialog_LineIndex", {{"DlgLineIndex", li::Dialog}},
         {"Name_ID", L, "Class", "x", "y", "cx", "cy", "Type", "Flags"}, "Name_ID", {"IDC_HELLO", "IDC_ICON"}, true},
        {"Dialog_LineIndex_By_DlgItemIndex", {{L, li::Hello}}, {"DlgLine"}, "DlgLine", S({li::Dialog}), true},
        {"Dialog_LineIndex_By_DlgCaptionIndex", {{L, li::Caption}}, {"DlgLine"}, "DlgLine", S({li::Dialog}), true},
        {"Dialog_Caption", {{"DlgIdent", "IDD_ABOUT"}}, {"SourceText", L}, "SourceText", {"About"}, true},
        {"Dialog_Control", {{"DlgIdent", "IDD_ABOUT"}, {"ItemIdent", "IDC_HELLO"}, {"ItemIdentSym", 30}},
         {L, "LineIdentSym", "x", "y", "cx", "cy"}, "cx", {"50"}, true},
        {"ResourceStrings_Of_DialogControls", {{"DlgLineIndex", li::Dialog}}, textFields, "SourceText", {"Hello"},
         true},
        {"ResourceString_Of_DialogCaption", {{"DlgLineIndex", li::Dialog}}, textFields, "SourceText", {"About"},
         true},
        {"ResourceStrings_Of_Menu", {{"MenuLineIndex", li::Menu}}, textFields, "SourceText",
         {"&File", "&Open", "&Edit", "&Copy"}, true},
        {"Menu_Ident_By_LineIndex", {{L, li::Menu}}, {"Name_ID"}, "Name_ID", {"IDR_MAIN"}, true},
        {"Menu_LineIndex_By_MenuItemIndex", {{L, li::Open}}, {"MenuLine"}, "MenuLine", S({li::Menu}), true},
        {"MenuItem_By_LineIndex", {{L, li::Open}}, {"MenuLine", "Level", "Name_ID"}, "Level", {"1"}, true},
        {"MenuItem_By_MenuResIndex_MenuItemIdent", {{"MenuLineIndex", li::Menu}, {"ItemIdent", "ID_FILE_OPEN"}},
         {L, "SourceText"}, "SourceText", {"&Open"}, true},
        {"MenuItem_Line", {{"MenuIdent", "IDR_MAIN"}, {"ItemIdent", "ID_EDIT_COPY"}}, {"SourceText", L},
         "SourceText", {"&Copy"}, true},
        {"PopupItem_By_MenuIdent", {{"MenuIdent", "IDR_MAIN"}, {"ItemIdentSym", 3}}, {L}, "LineIndex",
         S({li::PopupFile, li::PopupEdit}), true},
        {"MenuItem_Ident_By_LineIndex", {{L, li::Copy}}, {"Name_ID"}, "Name_ID", {"ID_EDIT_COPY"}, true},
        {"Stringtable_String_Ident_By_LineIndex", {{L, li::StrTwo}}, {"Name_ID"}, "Name_ID", {"IDS_TWO"}, true},
        {"Bitmap_Ident_By_LineIndex", {{L, li::Logo}}, {"Name_ID"}, "Name_ID", {"IDB_LOGO"}, true},
        {"StringTable_SourceString_By_ItemIdent", {{"ItemIdent", "IDS_TWO"}}, {"SourceText", L}, "SourceText",
         {"Two"}, true},
        {"StringtableString_By_Ident", {{"Name_ID", "IDS_ONE"}}, {"SourceText", L, "Modified", "SourceText_Old"},
         "SourceText", {"One"}, true},
        {"Bitmap_By_ItemIdent", {{"ItemIdent", "IDB_LOGO"}}, {"SourceText", L}, "SourceText", {"logo.bmp"}, true},
        {"BitmapString_By_Ident", {{"Name_ID", "IDB_LOGO"}}, {"SourceText", L, "Modified", "SourceText_Old"},
         "SourceText", {"logo.bmp"}, true},
        {"VersionValue_By_VersionIndex_ItemIdent", {{"VersionLineIndex", li::Version}, {"ItemIdent", "FileDescription"}},
         {"SourceText", L}, "SourceText", {"Demo"}, true},
        {"VersionBlockHeader_By_VersionIndex", {{"VersionLineIndex", li::Version}}, {"SourceText", L}, "SourceText",
         {"040704E4"}, true},
        {"VersionBlockHeader_By_LineIndex", {{L, li::Block}}, {"VersResLine"}, "VersResLine", S({li::Version}), true},
        {"VersionValue_By_LineIndex", {{L, li::Value}}, {"Value", "VersResLine", "BlockHeaderLine"}, "Value",
         {"FileDescription"}, true},
        {"VersionValue_By_ResIdent_ValueIdent", {{"VersIdent", "VS_VERSION_INFO"}, {"ValueIdent", "FileDescription"}},
         {L}, "LineIndex", S({li::Value}), true},
        {"Version_BlockHeaders", {}, {L}, "LineIndex", S({li::Block}), true},
        {"Dialogs_Line_Id", {}, {"Name_ID", L}, "LineIndex", S({li::Dialog}), true},
        {"Menus_Line_Id", {}, {"Name_ID", L}, "Name_ID", {"IDR_MAIN"}, true},
        {"Versions_Line_Id", {}, {"Name_ID", L}, "Name_ID", {"VS_VERSION_INFO"}, true},
        {"Bookmark_ID_and_Name", {}, {"ID", "Name"}, "Name", {"mark"}, true},
        {"Bookmark_By_ID", {{"ID", 1}}, {L, "Window", "Lang_Id"}, "LineIndex", S({li::Open}), true},
        {"Obsolete_ResLineAndStringtableString", {}, {L}, "LineIndex", S({li::StrOne, li::StrTwo}), false},
        {"Dialog_Captions_Old", {}, {L}, "LineIndex", S({li::Caption}), false},
        {"Dialog_Controls_Old", {}, {L}, "LineIndex", S({li::Hello, li::Hello, li::Icon}), false},
        {"DialogRes", {}, {L}, "LineIndex", S({li::Dialog, li::Dialog}), false},
        {"Obsolete_Strings_At_TableResourceText", {}, {L}, "LineIndex", texts, false},
        {"Bitmaps_Old", {}, {L}, "LineIndex", S({li::Logo}), false},
        {"Obsolete_ResLine", {}, {L}, "LineIndex", lines, false},
        {"VersionValues", {}, {L}, "LineIndex", S({li::Value}), false},
        {"Versions", {}, {L}, "LineIndex", S({li::Version}), false},
        {"Bookmarks", {}, {L}, "LineIndex", S({li::Open}), false},
    };
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    std::set<std::string> covered;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        covered.insert(c.name);
        Recordset rs = run(pdb, pdb.StoredQuery(c.name), c.params);
        for (const auto& field : c.fields)
            EXPECT_TRUE(rs.hasField(field)) << field;
        if (!pdb.StoredQuery(c.name).editTable.empty()) {
            EXPECT_TRUE(rs.hasField("RowKey"));
        }
        auto got = column(rs, c.key);
        if (c.ordered)
            EXPECT_EQ(got, c.values);
        else
            EXPECT_EQ(sorted(got), sorted(c.values));
    }
    auto& st = pdb.db().cached("SELECT count(*) FROM QueryCatalogue");
    st.step();
    EXPECT_EQ(covered.size(), static_cast<size_t>(st.columnInt(0)));
}

// Statements of old databases run on the version 7 layout with the same
// parameters, and the language comes back as two fields.
TEST(QueryVersion7, OldTextsRunOnTheOldLayout)
{
    TempDir dir;
    auto file = CopyTemplateVersion7(dir);
    CProjectDatabase pdb(file);
    FillSample(pdb);
    pdb.AppendBookmark(li::Open, "mark", "text", 9, 2);

    Recordset ids = pdb.OpenQuery("Translation_Ids");
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ids.getInt64("Language"), 7);
    EXPECT_EQ(ids.getInt64("SubLanguage"), 1);
    Recordset mark = pdb.OpenQuery("Bookmark_By_ID", {{"ID", 1}});
    ASSERT_EQ(mark.size(), 1u);
    EXPECT_EQ(mark.getInt64("Language"), 9);
    EXPECT_EQ(mark.getInt64("SubLanguage"), 2);
    Recordset file7 = pdb.OpenQuery("FileName", {{"LanguageId", 7}, {"SubLanguageId", 1}});
    EXPECT_EQ(file7.size(), 1u);
    Recordset control = pdb.OpenQuery("Dialog_Control_By_LineIndex_LangId", {{"LineIndex", li::Hello}, {"Lang_Id", 0}});
    EXPECT_EQ(control.size(), 1u);
    Recordset controls = pdb.Open(stmt::ControlsOfDialog, {{"LineIndex", li::Dialog}});
    EXPECT_EQ(controls.size(), 1u);  // the control with a text
    Recordset lang = pdb.Open(stmt::SourceLanguages);
    ASSERT_EQ(lang.size(), 1u);
    EXPECT_EQ(lang.getInt64("Language"), 7);
    EXPECT_EQ(lang.getInt64("SubLanguage"), 1);
}

TEST_F(QueryTest, EveryLiteralStatementRuns)
{
    for (const QueryText* q : stmt::All) {
        SCOPED_TRACE(q->name);
        auto& st = pdb.Query(*q);
        // Parameters left unbound are null: the statement still has to run.
        Recordset rs(pdb.db(), q->editTable, st);
        if (!q->editTable.empty()) {
            EXPECT_TRUE(rs.hasField("RowKey"));
        }
    }
    Recordset lines = pdb.Open(stmt::LinesInOrder);
    EXPECT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines.getInt64("LineIndex"), li::Include);
    Recordset menu = pdb.Open(stmt::ItemsOfMenu, {{"LineIndex", li::Menu}});
    EXPECT_EQ(column(menu, "LineIndex"), S({li::PopupFile, li::Open, li::PopupEdit, li::Copy}));
    Recordset includes = pdb.Open(stmt::IncludeLines);
    EXPECT_EQ(column(includes, "SourceText"), (std::vector<std::string>{"resource.h", "afxres.rc"}));
    EXPECT_EQ(pdb.Open(stmt::HasIncludeLines).size(), 1u);
}

// A statement prepared before a translation was added must still yield the
// new columns: "ResourceText.*" is expanded again.
TEST_F(QueryTest, TextQueriesFollowAddedAndDroppedColumns)
{
    for (const char* name : {"ResourceTextTable", "GetResTextRecord_ByLine", "ResourceStrings_Of_Menu"}) {
        SCOPED_TRACE(name);
        auto params = Params{{"LineIndex", li::Hello}, {"MenuLineIndex", li::Menu}};
        auto open = [&] {
            auto& st = pdb.Query(name);
            for (const auto& [param, value] : params)
                if (st.hasParameter(":" + param))
                    st.bind(":" + param, value);
            return Recordset(pdb.db(), pdb.StoredQuery(name).editTable, st);
        };
        EXPECT_FALSE(open().hasField("French"));
        AddTranslationColumns(pdb.db(), "French", LangIdOf(12, 1));
        Recordset after = open();
        EXPECT_TRUE(after.hasField("French"));
        EXPECT_TRUE(after.hasField("French_Modified"));
        pdb.db().exec("DELETE FROM Translations WHERE LanguageStr = 'French'");
        pdb.db().exec("ALTER TABLE ResourceText DROP COLUMN French");
        pdb.db().exec("ALTER TABLE ResourceText DROP COLUMN French_Modified");
        EXPECT_FALSE(open().hasField("French"));
    }
}

// --- Edge cases of the lookups ------------------------------------------------------

void markAdded(CProjectDatabase& pdb, std::int32_t lineIndex)
{
    pdb.db().cached("UPDATE ResFileLine SET Added = 1 WHERE LineIndex = ?1").bind(1, lineIndex).run();
}

TEST_F(QueryTest, LookupsByIdentifierSeeOnlyOldLines)
{
    EXPECT_EQ(pdb.OpenQuery("Dialog_By_Ident", {{"DlgIdent", "IDD_ABOUT"}}).size(), 1u);
    markAdded(pdb, li::Dialog);  // matched during an update
    EXPECT_TRUE(pdb.OpenQuery("Dialog_By_Ident", {{"DlgIdent", "IDD_ABOUT"}}).empty());
    markAdded(pdb, li::StrTwo);
    EXPECT_TRUE(pdb.OpenQuery("StringTable_SourceString_By_ItemIdent", {{"ItemIdent", "IDS_TWO"}}).empty());
    EXPECT_EQ(pdb.OpenQuery("StringTable_SourceString_By_ItemIdent", {{"ItemIdent", "IDS_ONE"}}).size(), 1u);
}

TEST_F(QueryTest, PopupLookupNeedsExactlyOneExactMatch)
{
    // The new script's menu of the same name, already stored with Added = 1.
    pdb.AppendLine(200, 100, 1, 2, "IDR_MAIN MENU", "");
    pdb.AppendMenuResource(200, "IDR_MAIN");
    auto popup = [&](const char* text) {
        Recordset rs = pdb.Open(stmt::UniquePopupByText, {{"MenuLineIndex", 200}, {"SrcText", std::string(text)}});
        return column(rs, "LineIndex");
    };
    EXPECT_EQ(popup("&File"), S({li::PopupFile}));
    EXPECT_TRUE(popup("&file").empty());  // texts compare exactly
    EXPECT_TRUE(popup("&Open").empty());  // a menu item, not a popup
    // A second popup with the same text: no match at all.
    pdb.AppendLine(201, 30, 0, 3, "POPUP \"", "\"");
    pdb.AppendText(201, "&File", false);
    pdb.AppendMenuItem(201, li::Menu, 1, "");
    EXPECT_TRUE(popup("&File").empty());
    EXPECT_EQ(popup("&Edit"), S({li::PopupEdit}));
}

TEST_F(QueryTest, IncludeLookupIgnoresCase)
{
    Recordset found = pdb.Open(stmt::OldIncludeLine, {{"IncludeFile", "RESOURCE.H"}});
    EXPECT_EQ(column(found, "LineIndex"), S({li::Include}));
    markAdded(pdb, li::Include);
    EXPECT_TRUE(pdb.Open(stmt::OldIncludeLine, {{"IncludeFile", "resource.h"}}).empty());
}

TEST_F(QueryTest, CaptionLookupSkipsAModifiedCaption)
{
    EXPECT_EQ(pdb.Open(stmt::CaptionOfDialog, {{"DlgLineIndex", li::Dialog}}).size(), 1u);
    ASSERT_TRUE(pdb.SetSourceText(li::Caption, "About Demo", "About"));
    EXPECT_TRUE(pdb.Open(stmt::CaptionOfDialog, {{"DlgLineIndex", li::Dialog}}).empty());
    EXPECT_EQ(pdb.OpenQuery("IsTextModified_All").size(), 1u);
}

TEST_F(QueryTest, EditsAndDeletesGoThroughTheQuerysTable)
{
    Recordset dialog = pdb.OpenQuery("Dialog_By_Ident", {{"DlgIdent", "IDD_ABOUT"}});
    ASSERT_FALSE(dialog.empty());
    dialog.edit({{"cx_prev", 200}, {"cx", 220}});
    EXPECT_EQ(dialog.getInt64("cx"), 220);
    Recordset layouts = pdb.OpenQuery("Dialogs_By_LineIndex", {{"LineIndex", li::Dialog}});
    std::map<std::int64_t, std::int64_t> cxByLang;
    for (; !layouts.eof(); layouts.moveNext())
        cxByLang[layouts.getInt64("Lang_Id")] = layouts.getInt64("cx");
    EXPECT_EQ(cxByLang, (std::map<std::int64_t, std::int64_t>{{0, 220}, {German, 240}}));

    Recordset readOnly = pdb.OpenQuery("Dialog_By_LineIndex", {{"LineIndex", li::Dialog}});
    EXPECT_THROW(readOnly.edit({{"cx", 1}}), sql::Error);

    // Deleting while walking: every row is visited once.
    EXPECT_EQ(pdb.DeleteQueryRows("Obsolete_ResLine"), 18u);
    EXPECT_TRUE(pdb.OpenQuery("AllLineIndex").empty());
}

}  // namespace
}  // namespace qln::test
