// The text checks and the pseudo-translation of single texts: placeholders of
// printf and positional forms, hotkeys, blanks and line breaks, punctuation.

#include "project/PseudoTranslation.h"
#include "project/TextChecks.h"

#include <gtest/gtest.h>

namespace qln::checks {
namespace {

std::vector<std::string> Kinds(std::string_view text)
{
    std::vector<std::string> kinds;
    for (const Placeholder& p : FindPlaceholders(text))
        kinds.push_back(p.text);
    return kinds;
}

TEST(TextChecks, FindsPrintfAndPositionalPlaceholders)
{
    EXPECT_EQ(Kinds("%s of %d files, %-10.3f%%, %ls and %I64d"),
              (std::vector<std::string>{"%s", "%d", "%-10.3f", "%ls", "%I64d"}));
    EXPECT_EQ(Kinds("%1 of %2!d! in %12 places, %10d wide"),
              (std::vector<std::string>{"%1", "%2!d!", "%12", "%10d"}));
    // A literal percent sign and a percent before a word are not placeholders.
    EXPECT_TRUE(Kinds("100%% sure, 50% off").empty());
    EXPECT_EQ(Kinds("%%s"), std::vector<std::string>{});
}

TEST(TextChecks, PlaceholdersMustKeepCountKindAndPrintfOrder)
{
    EXPECT_EQ(ComparePlaceholders("Copy %s to %s", "%s nach %s kopieren"), "");
    EXPECT_EQ(ComparePlaceholders("%d of %d", "%i von %d"), "");  // same class of integer
    EXPECT_NE(ComparePlaceholders("Open %s", "Öffnen"), "");
    EXPECT_NE(ComparePlaceholders("Open %s", "Öffnen %d"), "");
    EXPECT_NE(ComparePlaceholders("Open %s", "Öffnen %ls"), "");
    EXPECT_NE(ComparePlaceholders("%s: %d", "%d: %s"), "");  // printf is not positional
    EXPECT_EQ(ComparePlaceholders("%1 of %2", "%2 von %1"), "");
    EXPECT_NE(ComparePlaceholders("%1 of %2", "%1 von %1"), "");
    EXPECT_NE(ComparePlaceholders("%1!d! files", "%1 Dateien"), "");
    EXPECT_EQ(ComparePlaceholders("Open %s", "Open %s"), "");
}

TEST(TextChecks, HotkeysSkipDoubledAmpersandsAndFoldCase)
{
    EXPECT_EQ(FindHotkeys("&File"), std::vector<std::string>{"f"});
    EXPECT_EQ(FindHotkeys("Save && &Quit"), std::vector<std::string>{"q"});
    EXPECT_EQ(FindHotkeys("ファイル(&F)"), std::vector<std::string>{"f"});
    EXPECT_EQ(FindHotkeys("&Überblick"), std::vector<std::string>{"\xC3\x9C"});
    EXPECT_TRUE(FindHotkeys("Tom && Jerry").empty());
}

TEST(TextChecks, SpacingAndEllipsis)
{
    EXPECT_TRUE(CompareSpacing("Open...", "Öffnen...").empty());
    EXPECT_TRUE(CompareSpacing("Line\\none", "Zeile\\neins").empty());
    EXPECT_EQ(CompareSpacing("Line\\none", "Zeile eins").size(), 1u);
    EXPECT_TRUE(CompareSpacing("&Bright-\\r\\nness", "&Brillo", false).empty());
    EXPECT_EQ(CompareSpacing("&Open\\tCtrl+O", "Ö&ffnen Strg+O").size(), 1u);
    EXPECT_EQ(CompareSpacing(" Name: ", "Name:").size(), 2u);
    EXPECT_EQ(CompareSpacing("Open...", "Öffnen").size(), 1u);
    EXPECT_EQ(CompareSpacing("Open", "Öffnen\xE2\x80\xA6").size(), 1u);
    EXPECT_TRUE(CompareSpacing("Open...", "Öffnen\xE2\x80\xA6").empty());
}

TEST(TextChecks, FinalPunctuationCountsFullWidthFormsAsTheirOwn)
{
    EXPECT_EQ(CompareFinalPunctuation("Done.", "Fertig."), "");
    EXPECT_EQ(CompareFinalPunctuation("Done.", "完了。"), "");
    EXPECT_EQ(CompareFinalPunctuation("Name:", "名前："), "");
    EXPECT_EQ(CompareFinalPunctuation("Really?\\n", "Wirklich?\\n"), "");
    EXPECT_NE(CompareFinalPunctuation("Done.", "Fertig"), "");
    EXPECT_NE(CompareFinalPunctuation("Name", "Name:"), "");
}

TEST(PseudoText, KeepsPlaceholdersEscapesQuotesAndHotkeys)
{
    const std::string text = PseudoText("&Open %s\\tCtrl+O \"\"x\"\" %1!d! 100%%\\x41", 1252, 30);
    EXPECT_EQ(text.front(), '[');
    EXPECT_EQ(text.back(), ']');
    EXPECT_EQ(Kinds(text), Kinds("&Open %s\\tCtrl+O \"\"x\"\" %1!d! 100%%\\x41"));
    EXPECT_NE(text.find("&O"), std::string::npos);
    EXPECT_NE(text.find("\\t"), std::string::npos);
    EXPECT_NE(text.find("\"\"x\"\""), std::string::npos);
    EXPECT_NE(text.find("\\x41"), std::string::npos);
    EXPECT_NE(text.find("\xC3\xA9"), std::string::npos);  // "e" became "é"
    EXPECT_EQ(FindHotkeys(text), std::vector<std::string>{"o"});
}

TEST(PseudoText, ExpandsAndUsesOnlyWhatTheCodePageHolds)
{
    // 10 visible characters, 30 % longer: 3 fillers.
    EXPECT_EQ(PseudoText("0123456789", 1252, 30), "[0123456789~~~]");
    EXPECT_EQ(PseudoText("0123456789", 1252, 0), "[0123456789]");
    // Cyrillic 1251 has none of the accented Latin letters: plain letters stay.
    EXPECT_EQ(PseudoText("Open", 1251, 0), "[Open]");
    // 1250 has "é" and "ö" but not "ñ".
    EXPECT_EQ(PseudoText("one", 1250, 0), "[\xC3\xB6n\xC3\xA9]");
}

}  // namespace
}  // namespace qln::checks
