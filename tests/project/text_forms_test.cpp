// What the translation bar shows and stores: quote forms, block headers,
// code page characters; and what the text table counts and keeps: the
// store through the text's row, the state an undo restores, the progress
// percentages, the filter rules, column widths and the source header.

#include "worksheet_support.h"

#include "project/TextForms.h"
#include "project/TranslationStore.h"

namespace qln::test {
namespace {

TEST(TextForms, QuotesRoundTripBetweenScriptAndDisplayForm)
{
    EXPECT_EQ(ToDisplayForm("\"\""), "\"");
    EXPECT_EQ(ToScriptForm("\""), "\"\"");
    EXPECT_EQ(ToDisplayForm("Copyright \"\"2024\"\""), "Copyright \"2024\"");
    EXPECT_EQ(ToScriptForm(ToDisplayForm("Say \"\"hi\"\" now")), "Say \"\"hi\"\" now");
    // A backslash before a quote disappears; storing the shown text doubles the quote.
    EXPECT_EQ(ToDisplayForm("a \\\"b\\\""), "a \"b\"");
    EXPECT_EQ(ToScriptForm(ToDisplayForm("a \\\"b\\\"")), "a \"\"b\"\"");
    EXPECT_EQ(ToScriptForm("keep \\\" as is"), "keep \\\" as is");
    EXPECT_EQ(ToDisplayForm("tab\\there\\n"), "tab\\there\\n");
}

TEST(TextForms, BlockHeadersShowLanguageAndCodePage)
{
    EXPECT_EQ(BlockHeaderDisplay("040704E4"), "German,   Code page:  1252");
    EXPECT_EQ(BlockHeaderDisplay("040904b0"), "English US,   Code page:  1200");
    EXPECT_EQ(BlockHeaderDisplay("StringFileInfo"), "");
    EXPECT_EQ(BlockHeaderName(7, 1, 1252), "040704E4");
    EXPECT_EQ(BlockHeaderName(0x15, 1, 1250), "041504E2");
    const auto parts = SplitBlockHeader("041504E2");
    ASSERT_TRUE(parts);
    EXPECT_EQ(BlockHeaderName(parts->primary, parts->sub, parts->codePage), "041504E2");
}

TEST(TextForms, CodePageCharactersFollowTheCodePage)
{
    const auto western = CodePageCharacters(1252);
    ASSERT_EQ(western.size(), 95u);
    EXPECT_EQ(western[0], "¡");
    EXPECT_EQ(western[252 - 161], "ü");
    const auto cyrillic = CodePageCharacters(1251);
    EXPECT_EQ(cyrillic[0xC0 - 161], "А");
    EXPECT_EQ(CodePageCharacters(65001), western);
}

TEST(BarControls, EnableRulesFollowTheItem)
{
    BarItemState item{true, false, false, false, true, 70};
    BarControls c = BarControlsFor(item);
    EXPECT_TRUE(c.ok && c.cancelNext && c.copy && c.specialChar && c.translationEdit);
    EXPECT_FALSE(c.sourceText);
    item.translationEmpty = false;
    EXPECT_FALSE(BarControlsFor(item).copy);
    item.modified = true;
    EXPECT_TRUE(BarControlsFor(item).sourceText);
    item.excluded = true;
    c = BarControlsFor(item);
    EXPECT_TRUE(c.cancelNext);
    EXPECT_FALSE(c.ok || c.copy || c.specialChar || c.sourceText || c.translationEdit);
    item = {true, false, false, false, true, 85};
    EXPECT_FALSE(BarControlsFor(item).specialChar);
    item.sourceEmpty = true;
    EXPECT_FALSE(BarControlsFor(item).ok);
    EXPECT_FALSE(BarControlsFor(BarItemState{}).cancelNext);
}

TEST_F(SampleProject, StoringClearsTheFlagAndUndoRestoresTheRowExactly)
{
    const std::int32_t line = StringLine("IDS_SIZE");
    ASSERT_TRUE(project->SetTranslation(line, kGerman.primary, kGerman.sub, "alt", true));
    const auto before = ReadTranslationState(*project, line, kGerman.primary, kGerman.sub);
    ASSERT_TRUE(before);
    ASSERT_TRUE(StoreTranslation(*project, line, kGerman.primary, kGerman.sub, "Gr\xC3\xB6\xC3\x9F" "e: %d"));
    auto text = project->GetText(line, kGerman.primary, kGerman.sub);
    EXPECT_EQ(text->translation, "Größe: %d");
    EXPECT_FALSE(text->notActual);
    ASSERT_TRUE(RestoreTranslationState(*project, line, kGerman.primary, kGerman.sub, *before));
    text = project->GetText(line, kGerman.primary, kGerman.sub);
    EXPECT_EQ(text->translation, "alt");
    EXPECT_TRUE(text->notActual);

    // A never translated text goes back to null, not to an empty text.
    const std::int32_t hello = StringLine("IDS_HELLO");
    const auto untranslated = ReadTranslationState(*project, hello, kFrench.primary, kFrench.sub);
    ASSERT_TRUE(StoreTranslation(*project, hello, kFrench.primary, kFrench.sub, "Bonjour"));
    ASSERT_TRUE(RestoreTranslationState(*project, hello, kFrench.primary, kFrench.sub, *untranslated));
    EXPECT_EQ(Value(project->path(), "SELECT French IS NULL FROM ResourceText WHERE LineIndex = " +
                                         std::to_string(hello)),
              "1");
    EXPECT_FALSE(StoreTranslation(*project, 99999, kGerman.primary, kGerman.sub, "x"));
    EXPECT_FALSE(StoreTranslation(*project, line, 0x13, 1, "x"));  // no Dutch translation
}

TEST_F(SampleProject, ProgressCountsTheShownTextsOfOneLanguage)
{
    TextTableFilter all;
    const TextProgress german = ComputeTextProgress(*project, all, kGerman.primary, kGerman.sub);
    const long texts = std::stol(Value(project->path(), "SELECT count(*) FROM ResourceText WHERE Exclude = 0"));
    EXPECT_EQ(german.total, texts);
    EXPECT_EQ(german.translated, 1);
    EXPECT_EQ(german.translatedPercent(), static_cast<int>(100 / texts));
    EXPECT_EQ(german.modifiedPercent(), 0);

    TextTableFilter stringsOnly;
    stringsOnly.dialogs = stringsOnly.menus = stringsOnly.versions = stringsOnly.bitmaps = stringsOnly.includes =
        false;
    EXPECT_EQ(ComputeTextProgress(*project, stringsOnly, kGerman.primary, kGerman.sub).total, 2);  // "" is excluded
    ASSERT_TRUE(project->SetExclude(StringLine("IDS_EMPTY"), false));
    ASSERT_TRUE(project->SetTranslation(StringLine("IDS_SIZE"), kGerman.primary, kGerman.sub, "Größe", true));
    const TextProgress strings = ComputeTextProgress(*project, stringsOnly, kGerman.primary, kGerman.sub);
    EXPECT_EQ(strings.total, 3);
    EXPECT_EQ(strings.translated, 2);
    EXPECT_EQ(strings.translatedPercent(), 66);
    EXPECT_EQ(strings.modifiedPercent(), 34);  // rounded up
    ASSERT_TRUE(project->SetTranslation(StringLine("IDS_EMPTY"), kGerman.primary, kGerman.sub, "-", false));
    EXPECT_EQ(ComputeTextProgress(*project, stringsOnly, kGerman.primary, kGerman.sub).translatedPercent(), 100);
    EXPECT_FALSE(ModifiedOnlyEnabled(stringsOnly, 100));
    EXPECT_TRUE(ModifiedOnlyEnabled(stringsOnly, 99));
    stringsOnly.strings = false;
    EXPECT_FALSE(ModifiedOnlyEnabled(stringsOnly, 0));
    EXPECT_EQ(ComputeTextProgress(*project, all, 0x13, 1).total, 0);
    TextTableFilter modifiedOnly;
    modifiedOnly.modifiedOnly = true;
    EXPECT_FALSE(ExcludedFilterEnabled(modifiedOnly));
}

TEST_F(SampleProject, WidthsFallBackBelowOneAndTheHeaderNamesTheSourceLanguage)
{
    EXPECT_EQ(StoredColumnWidth(*project, kIdWidthSetting, 0, 0, kDefaultIdWidth), 80);
    StoreColumnWidth(*project, kLangWidthSetting, kGerman.primary, kGerman.sub, 0);
    EXPECT_EQ(StoredColumnWidth(*project, kLangWidthSetting, kGerman.primary, kGerman.sub, kDefaultLangWidth), 120);
    StoreColumnWidth(*project, kLangWidthSetting, kGerman.primary, kGerman.sub, 233);
    StoreColumnWidth(*project, kLangWidthSetting, kGerman.primary, kGerman.sub, 234);
    EXPECT_EQ(StoredColumnWidth(*project, kLangWidthSetting, kGerman.primary, kGerman.sub, kDefaultLangWidth), 234);
    EXPECT_EQ(Value(project->path(), "SELECT count(*) FROM Settings WHERE SettingIdent = 'WIDTH_LANG_COLUMN'"), "1");
    EXPECT_EQ(StoredColumnWidth(*project, kLangWidthSetting, 0, 0, kDefaultLangWidth), 120);

    EXPECT_EQ(SourceColumnHeader(*project), "Source Text (English US)");
    project->AppendSourceLanguage(5000, 7, 1, 1252, 0, "");
    project->AppendSourceLanguage(5001, 9, 1, 1252, 0, "");
    EXPECT_EQ(SourceColumnHeader(*project), "Source Text (English US, German)");
    project->db().exec("DELETE FROM \"Source File Language\"");
    EXPECT_EQ(SourceColumnHeader(*project), "Source Text");
}

}  // namespace
}  // namespace qln::test
