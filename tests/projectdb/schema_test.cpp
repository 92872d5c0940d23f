// The generated template: every table and field with its type, the affinity
// of the declared types, the one Project row, the query catalogue, and that
// no lookup of a line scans a table.

#include "db_fixture.h"

#include "projectdb/Statements.h"

#include <sqlite3.h>

#include <set>

namespace qln::test {
namespace {

struct TemplateTest : ::testing::Test {
    TempDir dir;
    std::filesystem::path file = CopyTemplate(dir);
    CProjectDatabase pdb{file};
};

TEST_F(TemplateTest, EveryFieldHasItsType)
{
    using T = FieldType;
    struct Field {
        const char* table;
        const char* field;
        FieldType type;
    };
    const Field fields[] = {
        {"ResFileLine", "LineIndex", T::Long}, {"ResFileLine", "Line", T::Long},
        {"ResFileLine", "LineIdentSym", T::Long}, {"ResFileLine", "BeforeStr", T::Memo},
        {"ResFileLine", "BehindStr", T::Memo}, {"ResFileLine", "Added", T::Integer},
        {"ResourceText", "LineIndex", T::Long}, {"ResourceText", "SourceText", T::Memo},
        {"ResourceText", "SourceText_Old", T::Memo}, {"ResourceText", "Exclude", T::Byte},
        {"ResourceText", "Modified", T::Byte},
        {"Dialogs", "LineIndex", T::Long}, {"Dialogs", "Lang_Id", T::Long}, {"Dialogs", "Name_ID", T::Text},
        {"Dialogs", "cx", T::Long}, {"Dialogs", "cy", T::Long}, {"Dialogs", "cx_prev", T::Long},
        {"Dialogs", "cy_prev", T::Long}, {"Dialogs", "Flags", T::Long}, {"Dialogs", "Modified", T::Byte},
        {"DialogControl", "LineIndex", T::Long}, {"DialogControl", "DlgLine", T::Long},
        {"DialogControl", "Lang_Id", T::Long}, {"DialogControl", "Name_ID", T::Text},
        {"DialogControl", "Class", T::Text}, {"DialogControl", "Type", T::Long},
        {"DialogControl", "Flags", T::Long}, {"DialogControl", "x", T::Long}, {"DialogControl", "y", T::Long},
        {"DialogControl", "cx", T::Long}, {"DialogControl", "cy", T::Long}, {"DialogControl", "x_prev", T::Long},
        {"DialogControl", "y_prev", T::Long}, {"DialogControl", "cx_prev", T::Long},
        {"DialogControl", "cy_prev", T::Long}, {"DialogControl", "Modified", T::Byte},
        {"DlgCaption", "LineIndex", T::Long}, {"DlgCaption", "DlgLine", T::Long},
        {"Menu", "LineIndex", T::Long}, {"Menu", "Name_ID", T::Text},
        {"MenuItem", "LineIndex", T::Long}, {"MenuItem", "MenuLine", T::Long}, {"MenuItem", "Level", T::Integer},
        {"MenuItem", "Name_ID", T::Text},
        {"StringtableString", "LineIndex", T::Long}, {"StringtableString", "Name_ID", T::Text},
        {"Bitmap", "LineIndex", T::Long}, {"Bitmap", "Name_ID", T::Text},
        {"Version", "LineIndex", T::Long}, {"Version", "Name_ID", T::Text},
        {"VersionBlockHeader", "LineIndex", T::Long}, {"VersionBlockHeader", "VersResLine", T::Long},
        {"VersionBlockValues", "LineIndex", T::Long}, {"VersionBlockValues", "VersResLine", T::Long},
        {"VersionBlockValues", "BlockHeaderLine", T::Long}, {"VersionBlockValues", "Value", T::Text},
        {"IncludeFile", "LineIndex", T::Long}, {"IncludeFile", "Name_ID", T::Text},
        {"IncludeFile", "FileTime", T::Long}, {"IncludeFile", "FileDate", T::Long},
        {"IncludeFile", "FileSize", T::Long},
        {"Source File Language", "LineIndex", T::Long}, {"Source File Language", "Lang_Id", T::Long},
        {"Source File Language", "CodePage", T::Integer}, {"Source File Language", "CharSet", T::Integer},
        {"Source File Language", "FontName", T::Text},
        {"Translations", "Lang_Id", T::Long}, {"Translations", "LanguageStr", T::Text},
        {"Translations", "CodePage", T::Integer}, {"Translations", "CharSet", T::Integer},
        {"Translations", "FontName", T::Text}, {"Translations", "FileName", T::Memo},
        {"Translations", "FileTime", T::Long}, {"Translations", "FileDate", T::Long},
        {"Translations", "FileSize", T::Long}, {"Translations", "FileStatus", T::Long},
        {"Project", "SourceFile", T::Memo}, {"Project", "FileTime", T::Long}, {"Project", "FileDate", T::Long},
        {"Project", "FileSize", T::Long}, {"Project", "FileVersion", T::Long}, {"Project", "Status", T::Long},
        {"Settings", "SettingIdent", T::Text}, {"Settings", "Lang_Id", T::Long}, {"Settings", "StrValue", T::Memo},
        {"Settings", "NumValue", T::Long},
        {"Bookmark", "ID", T::Counter}, {"Bookmark", "LineIndex", T::Long}, {"Bookmark", "Name", T::Text},
        {"Bookmark", "Window", T::Text}, {"Bookmark", "Lang_Id", T::Long},
    };
    for (const auto& f : fields) {
        auto type = FieldTypeOf(pdb.db(), f.table, f.field);
        ASSERT_TRUE(type.has_value()) << f.table << "." << f.field;
        EXPECT_EQ(*type, f.type) << f.table << "." << f.field;
    }
    // The option flags and translation columns are added at run time only.
    EXPECT_FALSE(HasField(pdb.db(), "Project", "BitmapEdit"));
    auto& st = pdb.db().cached("SELECT count(*) FROM pragma_table_info('ResourceText')");
    st.step();
    EXPECT_EQ(st.columnInt(0), 5);
}

TEST_F(TemplateTest, TextFieldsKeepTextsAndLongFieldsKeepNumbers)
{
    auto& db = pdb.db();
    pdb.AppendLine(10, 1, 0, 70, "1.0", "007");
    pdb.AppendText(10, "1e3", false);
    pdb.AppendMenuResource(11, "0012");
    auto& st = db.cached(
        "SELECT typeof(BeforeStr), BeforeStr, BehindStr, typeof(LineIndex), "
        "(SELECT SourceText FROM ResourceText), (SELECT Name_ID FROM Menu) FROM ResFileLine");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnText(0), "text");
    EXPECT_EQ(st.columnText(1), "1.0");
    EXPECT_EQ(st.columnText(2), "007");
    EXPECT_EQ(st.columnText(3), "integer");
    EXPECT_EQ(st.columnText(4), "1e3");
    EXPECT_EQ(st.columnText(5), "0012");
}

TEST_F(TemplateTest, HasOneProjectRowOfVersion8AndNoTranslation)
{
    auto& st = pdb.db().cached("SELECT count(*), typeof(FileVersion), FileVersion, Status FROM Project");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnInt(0), 1);
    EXPECT_EQ(st.columnText(1), "integer");
    EXPECT_EQ(st.columnInt(2), 8);
    EXPECT_EQ(st.columnInt(3), 1);
    st.reset();
    EXPECT_EQ(pdb.GetFileVersion(), 8);
    EXPECT_TRUE(pdb.UsesLangId());
}

// Every stored query the program opens by name, and the table its edits or
// deletes go to ("" = read only).
const std::pair<const char*, const char*> kCatalogue[] = {
    {"AllLineIndex", ""}, {"ResourceTextTable", ""}, {"ResourceText_And_LineIdentSym", ""},
    {"GetResTextRecord_ByLine", "ResourceText"}, {"ResourceText_Old_By_LineIndex", ""},
    {"ResLineValues_By_LineIndex", "ResFileLine"}, {"LineIdentSym_By_LineIndex", ""},
    {"IsTextModified_All", "ResourceText"}, {"Added_Fields", "ResFileLine"}, {"Translation_Ids", ""},
    {"TranslationInfoTable", ""}, {"FileName", "Translations"}, {"Translation", "Translations"},
    {"FileVersion", ""}, {"Dialog_By_Ident", "Dialogs"}, {"Dialogs_By_LineIndex", "Dialogs"},
    {"Dialog_By_LineIndex", ""}, {"Dialog_ItemIdent_By_LineIndex", "DialogControl"},
    {"Dialog_Controls_By_LineIndex", "DialogControl"}, {"Dialog_Control_By_LineIndex_LangId", "DialogControl"},
    {"Dialog_Controls_By_DlgLineIndex_ItemIdent", ""}, {"Dialog_Controls_StrLess_By_DlgLineIndex_ItemIdent", ""},
    {"Dialog_Controls_By_Dialog_LineIndex", ""}, {"Dialog_LineIndex_By_DlgItemIndex", ""},
    {"Dialog_LineIndex_By_DlgCaptionIndex", ""}, {"Dialog_Caption", ""}, {"Dialog_Control", ""},
    {"ResourceStrings_Of_DialogControls", ""}, {"ResourceString_Of_DialogCaption", ""},
    {"ResourceStrings_Of_Menu", ""}, {"Menu_Ident_By_LineIndex", ""}, {"Menu_LineIndex_By_MenuItemIndex", ""},
    {"MenuItem_By_LineIndex", "MenuItem"}, {"MenuItem_By_MenuResIndex_MenuItemIdent", ""}, {"MenuItem_Line", ""},
    {"PopupItem_By_MenuIdent", ""}, {"MenuItem_Ident_By_LineIndex", ""},
    {"Stringtable_String_Ident_By_LineIndex", ""}, {"Bitmap_Ident_By_LineIndex", ""},
    {"StringTable_SourceString_By_ItemIdent", ""}, {"StringtableString_By_Ident", "ResourceText"},
    {"Bitmap_By_ItemIdent", ""}, {"BitmapString_By_Ident", "ResourceText"},
    {"VersionValue_By_VersionIndex_ItemIdent", ""}, {"VersionBlockHeader_By_VersionIndex", ""},
    {"VersionBlockHeader_By_LineIndex", "VersionBlockHeader"}, {"VersionValue_By_LineIndex", "VersionBlockValues"},
    {"VersionValue_By_ResIdent_ValueIdent", ""}, {"Version_BlockHeaders", "VersionBlockHeader"},
    {"Dialogs_Line_Id", ""}, {"Menus_Line_Id", ""}, {"Versions_Line_Id", ""}, {"Bookmark_ID_and_Name", ""},
    {"Bookmark_By_ID", "Bookmark"}, {"Obsolete_ResLineAndStringtableString", "StringtableString"},
    {"Dialog_Captions_Old", "DlgCaption"}, {"Dialog_Controls_Old", "DialogControl"}, {"DialogRes", "Dialogs"},
    {"Obsolete_Strings_At_TableResourceText", "ResourceText"}, {"Bitmaps_Old", "Bitmap"},
    {"Obsolete_ResLine", "ResFileLine"}, {"VersionValues", "VersionBlockValues"}, {"Versions", "Version"},
    {"Bookmarks", "Bookmark"},
};

TEST_F(TemplateTest, CatalogueHoldsEveryStoredQuery)
{
    std::set<std::string> expected;
    for (const auto& [name, table] : kCatalogue) {
        expected.insert(name);
        EXPECT_EQ(pdb.StoredQuery(name).editTable, table) << name;
    }
    auto& st = pdb.db().cached("SELECT Name FROM QueryCatalogue");
    std::set<std::string> stored;
    while (st.step())
        stored.insert(st.columnText(0));
    EXPECT_EQ(stored, expected);
    try {
        pdb.StoredQuery("No_Such_Query");
        FAIL();
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.code(), SQLITE_ERROR);
    }
}

// The plan of a statement, one detail line per step.
std::vector<std::string> planOf(sql::Database& db, const std::string& text)
{
    std::vector<std::string> plan;
    auto st = db.prepare("EXPLAIN QUERY PLAN " + text);
    while (st.step())
        plan.push_back(st.columnText(3));
    return plan;
}

// Queries with a parameter look up rows for one line, dialog, menu or
// identifier: none of them may read a whole table.
TEST_F(TemplateTest, LookupsUseIndexesNeverScans)
{
    std::vector<const QueryText*> queries;
    for (const auto& [name, table] : kCatalogue)
        queries.push_back(&pdb.StoredQuery(name));
    for (const QueryText* q : stmt::All)
        queries.push_back(q);
    int checked = 0;
    for (const QueryText* q : queries) {
        if (q->sql.find(':') == std::string::npos)
            continue;  // lists of a whole table
        ++checked;
        // Reading a subquery's own (small) result is fine; reading a table is not.
        std::set<std::string> derived;
        for (const auto& step : planOf(pdb.db(), q->sql)) {
            for (const char* kind : {"CO-ROUTINE ", "MATERIALIZE "})
                if (step.starts_with(kind))
                    derived.insert(step.substr(std::string_view(kind).size()));
            // Every line at rest has Added = 0: a search by it alone reads them all.
            EXPECT_FALSE(step.ends_with("(Added=?)")) << q->name << ": " << step;
            if (!step.starts_with("SCAN "))
                continue;
            const std::string scanned = step.substr(5, step.find(' ', 5) - 5);
            EXPECT_TRUE(derived.count(scanned)) << q->name << ": " << step;
        }
    }
    EXPECT_GT(checked, 60);
}

TEST(Version7Layout, StoresLanguagesAsTwoFields)
{
    TempDir dir;
    auto file = CopyTemplateVersion7(dir);
    CProjectDatabase pdb(file);
    EXPECT_EQ(pdb.GetFileVersion(), 7);
    EXPECT_FALSE(pdb.UsesLangId());
    for (const char* table : {"Translations", "Source File Language", "Bookmark"}) {
        EXPECT_EQ(FieldTypeOf(pdb.db(), table, "Language"), FieldType::Long) << table;
        EXPECT_EQ(FieldTypeOf(pdb.db(), table, "SubLanguage"), FieldType::Long) << table;
        EXPECT_FALSE(HasField(pdb.db(), table, "Lang_Id")) << table;
    }
    EXPECT_FALSE(HasField(pdb.db(), "Dialogs", "Lang_Id"));
    EXPECT_FALSE(HasField(pdb.db(), "DialogControl", "Lang_Id"));
    EXPECT_TRUE(HasField(pdb.db(), "Settings", "Lang_Id"));
}

}  // namespace
}  // namespace qln::test
