#include "rcscript/CodePages.h"

#include <gtest/gtest.h>

#include <string>

namespace qln {
namespace {

std::string Decode(std::string_view bytes, int codePage)
{
    std::string out;
    EXPECT_TRUE(DecodeToUtf8(bytes, codePage, out)) << codePage;
    return out;
}

TEST(CodePageTable, LanguagesGetTheirCodePage)
{
    struct Case {
        int primary, sub;
        const char* hex;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "0000", "1252"},   {17, 1, "03A4", "932"},  {18, 1, "03B5", "949"},  {4, 1, "03B6", "950"},
        {4, 2, "03A8", "936"},    {4, 3, "03B6", "950"},   {4, 4, "03A8", "936"},   {26, 1, "04E2", "1250"},
        {26, 2, "04E3", "1251"},  {25, 1, "04E3", "1251"}, {8, 1, "04E5", "1253"},  {31, 1, "04E6", "1254"},
        {13, 1, "04E7", "1255"},  {1, 1, "04E8", "1256"},
        // No row: the defaults. Rows with primary -1 are only listed, never found.
        {9, 1, "04E4", "1252"},   {7, 1, "04E4", "1252"},  {17, 0, "04E4", "1252"}, {-1, 1, "04E4", "1252"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.primary) + "/" + std::to_string(c.sub));
        EXPECT_EQ(CodePageHex(c.primary, c.sub), c.hex);
        EXPECT_EQ(CodePageText(c.primary, c.sub), c.text);
    }
    EXPECT_EQ(CodePageTable().size(), 17u);
}

TEST(CodePageTable, HexAndDecimalColumnsAgree)
{
    // A version block name must announce the code page the texts are written in.
    for (const CodePageRow& row : CodePageTable()) {
        if (row.hex == "0000")
            continue;
        EXPECT_EQ(std::stoi(std::string(row.hex), nullptr, 16), std::stoi(std::string(row.text))) << row.name;
    }
}

TEST(CodePageTable, ReadingCodePageFallsBackToTheWindowsCodePageOfTheLanguage)
{
    struct Case {
        int primary, sub, codePage;
    };
    const Case cases[] = {
        {17, 1, 932}, {17, 0, 932},   {5, 1, 1250},  {21, 1, 1250}, {14, 1, 1250}, {25, 0, 1251},
        {2, 1, 1251}, {4, 0, 936},    {4, 5, 950},   {26, 3, 1251}, {26, 1, 1250}, {42, 1, 1258},
        {9, 1, 1252}, {999, 0, 1252}, {0, 0, 1252},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CodePageNumber(c.primary, c.sub), c.codePage) << c.primary << "/" << c.sub;
}

TEST(CodePageList, ListsSupportedCodePagesWithTheirDisplayText)
{
    ASSERT_EQ(CodePageList().size(), 14u);
    for (const CodePageListEntry& entry : CodePageList()) {
        EXPECT_TRUE(IsSupportedCodePage(entry.number)) << entry.number;
        EXPECT_EQ(std::to_string(entry.number), entry.text);
    }
    EXPECT_EQ(CodePageDisplay(1251), "Windows, Cyrillic,   Code page:  1251");
    EXPECT_EQ(CodePageDisplay(936), "Windows, Simplified Chinese (GB2312),   Code page:  936");
    EXPECT_EQ(CodePageDisplay(65001), "UTF-8,   Code page:  65001");
    EXPECT_EQ(CodePageDisplay(1257), "1257");
}

TEST(CodePageConversion, EncodesKnownBytesAndRoundTrips)
{
    struct Case {
        int codePage;
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {1200, "A\u20AC\U0001F600", std::string("A\0\xAC\x20\x3D\xD8\x00\xDE", 8)},
        {1201, "A\u20AC", std::string("\0A\x20\xAC", 4)},
        {65001, "Gr\u00FC\u00DFe", "Gr\xC3\xBC\xC3\x9F" "e"},
        {1250, "\u0119\u0161\u017E", "\xEA\x9A\x9E"},
        {1251, "\u0416\u0451", "\xC6\xB8"},
        {1252, "\u20AC\u00E9\u201C", "\x80\xE9\x93"},
        {0, "\u00E9", "\xE9"},
        {932, "\u65E5\u672C\\~", "\x93\xFA\x96\x7B\\~"},
        {936, "\u4E2D\u6587", "\xD6\xD0\xCE\xC4"},
        {50220, "\u65E5", "\x1B$B\x46\x7C\x1B(B"},  // a stateful code page closes its shift
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const EncodeResult encoded = EncodeFromUtf8(c.utf8, c.codePage);
        ASSERT_TRUE(encoded);
        EXPECT_EQ(encoded.bytes, c.bytes);
        EXPECT_EQ(Decode(encoded.bytes, c.codePage), c.utf8);
    }
}

TEST(CodePageConversion, RefusesCharactersTheCodePageCannotHold)
{
    struct Case {
        int codePage;
        std::string utf8;
        std::size_t offset;
    };
    const Case cases[] = {
        {1252, "ab\u0416cd", 2},
        {1251, "Gr\u00FC\u00DFe", 2},
        {1250, "ok \u20AC ok \u65E5", 10},
        {932, "\u65E5\u672C \u0119", 7},
        {936, "\u4E2D \U0001F600", 4},
        {1252, "\u00E9\u0081\u00E9\u0080", 6},  // U+0080 is not one of CP1252's five gaps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const EncodeResult encoded = EncodeFromUtf8(c.utf8, c.codePage);
        EXPECT_EQ(encoded.status, EncodeStatus::Unrepresentable);
        EXPECT_EQ(encoded.offset, c.offset);
        EXPECT_TRUE(encoded.bytes.empty());
    }
    const EncodeResult invalid = EncodeFromUtf8("ab\xC3(", 1252);
    EXPECT_EQ(invalid.status, EncodeStatus::InvalidUtf8);
    EXPECT_EQ(invalid.offset, 2u);
    EXPECT_EQ(EncodeFromUtf8("a", 99999).status, EncodeStatus::UnknownCodePage);
    std::string untouched = "x";
    EXPECT_FALSE(DecodeToUtf8("a", 99999, untouched));
    EXPECT_EQ(untouched, "x");
}

TEST(CodePageConversion, Cp1252KeepsEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = Decode(all, 1252);
    EXPECT_EQ(text.find("\uFFFD"), std::string::npos);
    for (const char* c1 : {"\u0081", "\u008D", "\u008F", "\u0090", "\u009D"})
        EXPECT_NE(text.find(c1), std::string::npos);
    const EncodeResult back = EncodeFromUtf8(text, 1252);
    ASSERT_TRUE(back);
    EXPECT_EQ(back.bytes, all);
}

TEST(CodePageConversion, DecodesSingleByteCodePages)
{
    struct Case {
        int codePage;
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {437, "\xB0\x82", "\u2591\u00E9"},   {850, "\x9B", "\u00F8"},    {866, "\x80\xEF", "\u0410\u044F"},
        {874, "\xA1", "\u0E01"},             {1253, "\xC1", "\u0391"},   {1254, "\xF0", "\u011F"},
        {1255, "\xE0", "\u05D0"},            {1256, "\xC7", "\u0627"},   {1257, "\xE0", "\u0105"},
        {1251, "\x98", "\uFFFD"},  // undefined in 1251, and only 1252 maps its gaps to C1 controls
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.bytes, c.codePage), c.utf8) << c.codePage;
}

TEST(CodePageConversion, ReplacesInvalidBytesAndKeepsTheRest)
{
    struct Case {
        int codePage;
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {932, "\"\x82\xA0\x82", "\"\u3042\uFFFD"},   // lead byte cut off at the end
        {932, "\x81\"x\"", "\uFFFD\"x\""},             // a bad trail byte keeps the quote
        {936, "a\xFF" "b", "a\uFFFD" "b"},
        {65001, "a\xFF" "b\xC0\xAF", "a\uFFFD" "b\uFFFD\uFFFD"},
        {65001, "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
        {65001, "\xE0\x80\x80\xF4\x90\x80\x80.", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD."},  // overlong, too large
        {65001, "0123456789\u00E9\U0010FFFF\xC3", "0123456789\u00E9\U0010FFFF\uFFFD"},  // cut off
        {1200, std::string("A\0\x00\xD8" "B\0x", 7), "A\uFFFD" "B\uFFFD"},
        {1201, std::string("\xDC\x00\0A", 4), "\uFFFD" "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.bytes, c.codePage), c.utf8) << c.codePage;
}

}  // namespace
}  // namespace qln
