#include "projectdb/Languages.h"
#include "projectdb/Schema.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <utility>

namespace qln {
namespace {

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

TEST(LanguageDisplayName, FollowsTheRuleForSublanguages)
{
    struct Case {
        int primary, sub;
        const char* name;
    };
    const Case cases[] = {
        {0, 0, "Neutral Language"},     {0, 5, "Neutral Language"},
        {4, 1, "Chinese - Taiwan"},     {4, 0, "Chinese - Taiwan"},      {4, 2, "Chinese - PR China"},
        {4, 3, "Chinese - Hong Kong"},  {4, 4, "Chinese - Singapore"},   {4, 5, "Chinese - Taiwan"},
        {7, 1, "German"},               {7, 2, "German Swiss"},          {7, 3, "German - Austria"},
        {7, 4, "German"},               {9, 0, "English UK"},            {9, 1, "English US"},
        {9, 2, "English UK"},           {9, 6, "English Irish"},         {9, 7, "English UK"},
        {10, 2, "Spanish Mexican"},     {10, 3, "Spanish Castilian"},    {12, 5, "French"},
        {16, 2, "Italian Swiss"},       {19, 2, "Dutch Belgian"},        {20, 1, "Norwegian - Bokmal"},
        {20, 2, "Norwegian - Nynorsk"}, {22, 1, "Portuguese Brazilian"}, {22, 0, "Portuguese"},
        {22, 2, "Portuguese"},          {26, 1, "Croato-Serbian"},       {26, 2, "Croato-Serbian"},
        {31, 1, "Turkish"},             {36, 1, "Slovenia"},
    };
    for (const Case& c : cases) {
        auto name = LanguageDisplayName(c.primary, c.sub);
        ASSERT_TRUE(name.has_value()) << c.primary << "/" << c.sub;
        EXPECT_EQ(*name, c.name) << c.primary << "/" << c.sub;
    }
}

TEST(LanguageDisplayName, UnknownPrimaryLanguagesHaveNone)
{
    for (int primary : {30, 32, 35, 37, 63, 1023, -1})
        EXPECT_FALSE(LanguageDisplayName(primary, 1).has_value()) << primary;
}

// The table must be internally consistent: its identifier string is the hex form
// of its numbers, and its names follow the display-name rule except for the two
// rows where the list shows another name than the column is given.
TEST(LanguageTable, RowsAreConsistent)
{
    auto table = LanguageTable();
    ASSERT_EQ(table.size(), 51u);
    std::set<std::pair<int, int>> seen;
    for (size_t i = 0; i < table.size(); ++i) {
        const LanguageEntry& e = table[i];
        EXPECT_TRUE(seen.insert({e.primary, e.sub}).second) << "duplicate row " << i;
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(LangIdOf(e.primary, e.sub)));
        EXPECT_EQ(Upper(e.ident), hex) << "row " << i;
        EXPECT_EQ(FindLanguageRow(e.primary, e.sub), static_cast<int>(i));
        auto ruleName = LanguageDisplayName(e.primary, e.sub);
        ASSERT_TRUE(ruleName.has_value()) << "row " << i;
        if (i == 0)
            EXPECT_EQ(*ruleName, "Neutral Language");
        else if (i == 40)
            EXPECT_EQ(*ruleName, "Croato-Serbian");
        else
            EXPECT_EQ(*ruleName, e.displayName) << "row " << i;
        EXPECT_TRUE(e.primarySymbol.starts_with("LANG_")) << "row " << i;
        EXPECT_TRUE(e.subSymbol.starts_with("SUBLANG_")) << "row " << i;
    }
    EXPECT_EQ(table[40].displayName, "Serbo-Croatian Cyrillic");
}

TEST(LanguageTable, SymbolsOfARowAndOfNoRow)
{
    LanguageSymbolSet s = LanguageSymbols(FindLanguageRow(9, 1));
    EXPECT_EQ(s.ident, "0409");
    EXPECT_EQ(s.primarySymbol, "LANG_ENGLISH");
    EXPECT_EQ(s.subSymbol, "SUBLANG_ENGLISH_US");
    s = LanguageSymbols(FindLanguageRow(17, 1));
    EXPECT_EQ(s.subSymbol, "SUBLANG_DEFAULT");
    for (int row : {-1, 51, 1000}) {
        s = LanguageSymbols(row);
        EXPECT_TRUE(s.ident.empty() && s.primarySymbol.empty() && s.subSymbol.empty()) << row;
    }
    EXPECT_EQ(FindLanguageRow(30, 1), -1);
}

TEST(VersionBlockName, IdentifierFollowedByCodePageHalf)
{
    struct Case {
        int primary, sub;
        const char* name;
    };
    const Case cases[] = {
        {9, 1, "040904E4"},  {7, 1, "040704E4"},  {7, 3, "0C0704E4"},  {25, 1, "041904E3"},
        {26, 1, "041a04E2"}, {26, 2, "081A04E3"}, {8, 1, "040804E5"},  {17, 1, "041103A4"},
        {18, 1, "041203B5"}, {4, 1, "040403B6"},  {4, 3, "0c0403B6"},  {4, 2, "080403A8"},
        {4, 4, "100403A8"},  {1, 1, "040104E8"},  {30, 1, "041E04E4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionBlockName(c.primary, c.sub), c.name) << c.primary << "/" << c.sub;
}

TEST(VersionBlockName, TranslatedBlocksTakeTheCodePageTheyAreWrittenIn)
{
    struct Case {
        const char* source;
        int primary, codePage;
        const char* half;
    };
    const Case cases[] = {
        {"040904E4", 21, 1250, "04E2"}, {"040904E4", 17, 932, "03A4"}, {"040904E4", 7, 1252, "04E4"},
        // UTF-8 and UTF-16 scripts: the language's own Windows code page.
        {"040904E4", 21, 65001, "04E2"}, {"040904E4", 9, 1200, "04E4"}, {"040904e4", 17, 65001, "03A4"},
        // Unicode blocks stay as they are written.
        {"040904b0", 21, 1250, "04b0"}, {"040904B0", 17, 65001, "04B0"},
        // Not a language block: the code page decides.
        {"0409", 21, 1250, "04E2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TranslatedBlockCodePage(c.source, c.primary, 1, c.codePage), c.half) << c.source << " " << c.codePage;
    EXPECT_TRUE(IsLanguageBlockName("040904b0"));
    EXPECT_FALSE(IsLanguageBlockName("0409 04b0"));
    EXPECT_FALSE(IsLanguageBlockName("StringFileInfo"));
}

TEST(VersionBlockName, SplitsOnlyEightCharacterNames)
{
    auto parts = SplitVersionBlockName("040904B0");
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->language, "0409");
    EXPECT_EQ(parts->codePage, "04B0");
    EXPECT_FALSE(SplitVersionBlockName("0409").has_value());
    EXPECT_FALSE(SplitVersionBlockName("040904B00").has_value());
}

TEST(CharSetTable, HasSeventeenDistinctSetsWithFonts)
{
    auto table = CharSetTable();
    ASSERT_EQ(table.size(), 17u);
    std::set<int> numbers;
    for (const CharSetEntry& e : table) {
        EXPECT_TRUE(numbers.insert(e.charSet).second) << e.charSet;
        EXPECT_FALSE(e.defaultFont.empty());
    }
    ASSERT_NE(FindCharSet(161), nullptr);
    EXPECT_EQ(FindCharSet(161)->defaultFont, "Arial Greek");
    EXPECT_EQ(FindCharSet(3), nullptr);
    EXPECT_EQ(LanguageCharSet(8, 1), 161);
    EXPECT_EQ(LanguageCharSet(30, 1), 1);
}

}  // namespace
}  // namespace qln
