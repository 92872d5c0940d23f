// The text table's rows: identifiers by category, order, group marks and
// the filters, and the matching of rows by their identifiers.

#include "worksheet_support.h"

namespace qln::test {
namespace {

struct ExpectedRow {
    std::string itemType, resourceIdent, idText, source;
    bool excluded;
    int groupMark;
};

std::vector<ExpectedRow> Describe(const TextTable& table)
{
    std::vector<ExpectedRow> rows;
    for (const TextTableRow& r : table.rows)
        rows.push_back({std::string(r.itemType()), r.resourceIdent, r.idText, r.sourceText, r.excluded, r.groupMark});
    return rows;
}

bool operator==(const ExpectedRow& a, const ExpectedRow& b)
{
    return a.itemType == b.itemType && a.resourceIdent == b.resourceIdent && a.idText == b.idText &&
           a.source == b.source && a.excluded == b.excluded && a.groupMark == b.groupMark;
}

void PrintTo(const ExpectedRow& r, std::ostream* os)
{
    *os << r.itemType << " | " << r.resourceIdent << " | " << r.idText << " | " << r.source << " | ex " << r.excluded
        << " | group " << r.groupMark;
}

std::vector<std::string> ItemTypes(const TextTable& table)
{
    std::vector<std::string> types;
    for (const TextTableRow& r : table.rows)
        types.emplace_back(r.itemType());
    return types;
}

TEST_F(SampleProject, RowsCarryTheIdentifiersOfTheirResourceInScriptOrder)
{
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    const std::vector<ExpectedRow> expected = {
        {"Dialog Caption", "IDD_ABOUT", "\"Caption\"", "About Demo", false, 1},
        {"Dialog Item", "IDD_ABOUT", "IDC_STATIC", "Demo, Version 1.0", false, 0},
        {"Dialog Item", "IDD_ABOUT", "IDC_STATIC", "Copyright \"\"2024\"\"", false, 0},
        {"Dialog Item", "IDD_ABOUT", "IDOK", "OK", false, 0},
        {"Popup Menu", "IDR_MAIN", "\"Popup\"", "&File", false, 1},
        {"Menu Item", "IDR_MAIN", "ID_FILE_OPEN", "&Open...\\tCtrl+O", false, 0},
        {"Menu Item", "IDR_MAIN", "ID_APP_EXIT", "E&xit", false, 0},
        {"Popup Menu", "IDR_MAIN", "\"Popup\"", "&Help", false, 0},
        {"Menu Item", "IDR_MAIN", "ID_APP_ABOUT", "&About...", false, 0},
        {"Stringtable String", "STRINGTABLE", "IDS_HELLO", "Hello, world", false, 1},
        {"Stringtable String", "STRINGTABLE", "IDS_SIZE", "Größe: %d", false, 0},
        {"Stringtable String", "STRINGTABLE", "IDS_EMPTY", "", true, 0},
        {"Bitmap File", "IDB_LOGO", "IDB_LOGO", "res\\\\logo.bmp", true, 1},
        {"Block Header", "VS_VERSION_INFO", "\"Block Header\"", "040904b0", false, 1},
        {"Version Value", "VS_VERSION_INFO", "FileDescription", "Demo Application", false, 0},
        {"Version Value", "VS_VERSION_INFO", "FileVersion", "1.0", false, 0},
    };
    EXPECT_EQ(Describe(table), expected);

    ASSERT_EQ(table.languages.size(), 2u);
    EXPECT_EQ(table.languages[0].displayName, "German");
    EXPECT_EQ(table.languages[1].displayName, "French");
    EXPECT_EQ(table.rows[9].translations, (std::vector<std::string>{"Hallo, Welt", ""}));
    EXPECT_EQ(table.rows[10].translations, (std::vector<std::string>{"", "Taille : %d"}));
    // The two dialog items of one dialog point to the same dialog line.
    EXPECT_EQ(table.rows[1].resourceLine, table.rows[0].resourceLine);
    EXPECT_NE(table.rows[0].resourceLine, -1);
}

TEST_F(SampleProject, OldFormatProjectsGiveTheSameRows)
{
    const std::vector<ExpectedRow> current = Describe(LoadTextTable(*project, TextTableFilter{}));
    ApplyVersion7Layout(project->db());  // dialogs and controls lose Lang_Id
    project->InvalidateLayout();
    EXPECT_EQ(Describe(LoadTextTable(*project, TextTableFilter{})), current);
}

TEST_F(SampleProject, FiltersHideTheirKindsAndExcludedTexts)
{
    struct Case {
        const char* name;
        void (*change)(TextTableFilter&);
        std::vector<std::string> absentTypes;
        std::size_t rows;
    };
    const Case cases[] = {
        {"all shown", [](TextTableFilter&) {}, {}, 16},
        {"no dialogs", [](TextTableFilter& f) { f.dialogs = false; }, {"Dialog Caption", "Dialog Item"}, 12},
        {"no menus", [](TextTableFilter& f) { f.menus = false; }, {"Popup Menu", "Menu Item"}, 11},
        {"no strings", [](TextTableFilter& f) { f.strings = false; }, {"Stringtable String"}, 13},
        {"no versions", [](TextTableFilter& f) { f.versions = false; }, {"Block Header", "Version Value"}, 13},
        {"no bitmaps", [](TextTableFilter& f) { f.bitmaps = false; }, {"Bitmap File"}, 15},
        {"no excluded", [](TextTableFilter& f) { f.excluded = false; }, {"Bitmap File"}, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextTableFilter filter;
        c.change(filter);
        const TextTable table = LoadTextTable(*project, filter);
        EXPECT_EQ(table.rows.size(), c.rows);
        const std::vector<std::string> types = ItemTypes(table);
        for (const std::string& absent : c.absentTypes)
            EXPECT_EQ(std::count(types.begin(), types.end(), absent), 0) << absent;
        for (const TextTableRow& row : table.rows)
            EXPECT_TRUE(filter.excluded || !row.excluded);
    }
}

TEST_F(SampleProject, FilterComesFromTheProjectsStoredFlags)
{
    ASSERT_TRUE(project->SetOption("StringtableEdit", false));
    ASSERT_TRUE(project->SetOption("ExcludeEdit", false));
    const TextTableFilter filter = TextTableFilter::FromProject(*project);
    EXPECT_FALSE(filter.strings);
    EXPECT_FALSE(filter.excluded);
    // A new project shows every kind but the include statements.
    EXPECT_TRUE(filter.dialogs && filter.menus && filter.versions && filter.bitmaps);
    EXPECT_FALSE(filter.includes);
    ASSERT_TRUE(project->SetOption("IncludeEdit", true));
    EXPECT_TRUE(TextTableFilter::FromProject(*project).includes);
}

TEST_F(SampleProject, ModifiedOnlyKeepsUntranslatedAndModifiedTexts)
{
    // IDS_HELLO fully translated and flagged in German; IDS_SIZE fully
    // translated and not flagged: only the second disappears.
    Translate("IDS_HELLO", kFrench, "Bonjour");
    ASSERT_TRUE(project->SetTranslation(StringLine("IDS_HELLO"), kGerman.primary, kGerman.sub, "Hallo", true));
    Translate("IDS_SIZE", kGerman, "Größe: %d");
    TextTableFilter filter;
    filter.modifiedOnly = true;
    const TextTable table = LoadTextTable(*project, filter);
    std::vector<std::string> ids;
    for (const TextTableRow& row : table.rows) {
        EXPECT_FALSE(row.excluded) << row.idText;
        if (row.category == category::StringtableString)
            ids.push_back(row.idText);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"IDS_HELLO"}));
    EXPECT_EQ(table.rows.size(), 16u - 2 /*excluded*/ - 1 /*IDS_SIZE*/);
    const auto hello = std::find_if(table.rows.begin(), table.rows.end(),
                                    [](const TextTableRow& r) { return r.idText == "IDS_HELLO"; });
    EXPECT_EQ(hello->modified, (std::vector<bool>{true, false}));
}

TEST_F(SampleProject, MatcherHandsOutRowsSharingAKeyOnceEachPreferringTheSameSource)
{
    const TextTable table = LoadTextTable(*project, TextTableFilter{});
    TextRowMatcher matcher(table);
    const std::string second = "Copyright \"\"2024\"\"";
    // The source text picks the second IDC_STATIC first; the other one is next.
    EXPECT_EQ(matcher.match("idd_about", "Dialog Item", "idc_static", &second), 2);
    EXPECT_EQ(matcher.match("IDD_ABOUT", "Dialog Item", "IDC_STATIC", nullptr), 1);
    EXPECT_EQ(matcher.match("IDD_ABOUT", "Dialog Item", "IDC_STATIC", nullptr), -1);
    // Without a source: in order.
    EXPECT_EQ(matcher.match("IDR_MAIN", "Popup Menu", "\"Popup\""), 4);
    EXPECT_EQ(matcher.match("IDR_MAIN", "Popup Menu", "\"Popup\""), 7);
    // The item type is part of the key.
    EXPECT_EQ(matcher.match("STRINGTABLE", "Menu Item", "IDS_HELLO"), -1);
    EXPECT_EQ(matcher.match("STRINGTABLE", "Stringtable String", "IDS_UNKNOWN"), -1);
    EXPECT_TRUE(matcher.known("IDR_MAIN", "Popup Menu", "\"Popup\""));
}

}  // namespace
}  // namespace qln::test
