#include "rcscript/CodePages.h"

#include "rcscript/Messages.h"

#include <charconv>

namespace qln {
namespace {

// Chinese rows: traditional Chinese (sublanguages 1 and 3) is written in 950,
// simplified Chinese (2 and 4) in 936, in the decimal column and the hexadecimal
// one alike (a Chinese text cannot be held by 1252).
constexpr CodePageRow kCodePageTable[] = {
    {"7-bit ASCII", "0000", "1252", 0, 0},
    {"Windows, Japan (Shift-JIS X-0208)", "03A4", "932", 17, 1},
    {"Windows, Korean (Shift - KSC 5601)", "03B5", "949", 18, 1},
    {"Windows, Taiwan (GB5)", "03B6", "950", 4, 1},
    {"Windows, Taiwan (GB5)", "03B6", "950", 4, 1},
    {"Windows, Simplified Chinese (GB2312)", "03A8", "936", 4, 2},
    {"Windows, Taiwan (GB5)", "03B6", "950", 4, 3},
    {"Windows, Simplified Chinese (GB2312)", "03A8", "936", 4, 4},
    {"Unicode", "04B0", "1200", -1, 1},
    {"Windows, Latin-2 (Eastern European)", "04E2", "1250", 26, 1},
    {"Windows, Cyrillic", "04E3", "1251", 26, 2},
    {"Russian", "04E3", "1251", 25, 1},
    {"Windows, Multilingual", "04E4", "1252", -1, 1},
    {"Windows, Greek", "04E5", "1253", 8, 1},
    {"Windows, Turkish", "04E6", "1254", 31, 1},
    {"Windows, Hebrew", "04E7", "1255", 13, 1},
    {"Windows, Arabic", "04E8", "1256", 1, 1},
};

constexpr CodePageListEntry kCodePageList[] = {
    {"7-bit ASCII", "0", 0},
    {"Windows, Japan (Shift-JIS X-0208)", "932", 932},
    {"Windows, Simplified Chinese (GB2312)", "936", 936},
    {"Windows, Korean (Shift - KSC 5601)", "949", 949},
    {"Windows, Taiwan (GB5)", "950", 950},
    {"Unicode", "1200", 1200},
    {"Windows, Latin-2 (Eastern European)", "1250", 1250},
    {"Windows, Cyrillic", "1251", 1251},
    {"Windows, Multilingual", "1252", 1252},
    {"Windows, Greek", "1253", 1253},
    {"Windows, Turkish", "1254", 1254},
    {"Windows, Hebrew", "1255", 1255},
    {"Windows, Arabic", "1256", 1256},
    {"UTF-8", "65001", 65001},
};

// ANSI code pages Windows uses for primary languages (default sublanguage);
// languages not listed use 1252.
struct AnsiCodePage {
    int primary;
    int codePage;
};
constexpr AnsiCodePage kAnsiCodePages[] = {
    {1, 1256},  {2, 1251},  {4, 936},   {5, 1250},  {8, 1253},  {13, 1255}, {14, 1250},
    {17, 932},  {18, 949},  {21, 1250}, {24, 1250}, {25, 1251}, {26, 1250}, {27, 1250},
    {28, 1250}, {30, 874},  {31, 1254}, {32, 1256}, {34, 1251}, {35, 1251}, {36, 1250},
    {37, 1257}, {38, 1257}, {39, 1257}, {41, 1256}, {42, 1258}, {47, 1251}, {63, 1251},
    {64, 1251}, {68, 1251}, {80, 1251},
};

int ParseInt(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

std::span<const CodePageRow> CodePageTable()
{
    return kCodePageTable;
}

const CodePageRow* FindCodePageRow(int primary, int sub)
{
    for (const CodePageRow& row : kCodePageTable)
        if (row.primary >= 0 && row.primary == primary && row.sub == sub)
            return &row;
    return nullptr;
}

std::string CodePageHex(int primary, int sub)
{
    const CodePageRow* row = FindCodePageRow(primary, sub);
    return std::string(row ? row->hex : "04E4");
}

std::string CodePageText(int primary, int sub)
{
    const CodePageRow* row = FindCodePageRow(primary, sub);
    return std::string(row ? row->text : "1252");
}

int CodePageNumber(int primary, int sub)
{
    if (const CodePageRow* row = FindCodePageRow(primary, sub))
        return ParseInt(row->text);
    // Sublanguages outside the table: Chinese of Hong Kong and Macau (3, 5) is
    // traditional, every other Chinese (neutral included) simplified; Serbian and
    // Bosnian in Cyrillic script use 1251 where Croatian uses 1250.
    if (primary == 4)
        return sub == 3 || sub == 5 ? 950 : 936;
    if (primary == 26 && (sub == 3 || sub == 7 || sub == 8 || sub == 10 || sub == 12))
        return 1251;
    for (const AnsiCodePage& entry : kAnsiCodePages)
        if (entry.primary == primary)
            return entry.codePage;
    return 1252;
}

std::span<const CodePageListEntry> CodePageList()
{
    return kCodePageList;
}

std::string CodePageDisplay(int number)
{
    for (const CodePageListEntry& entry : kCodePageList)
        if (entry.number == number)
            return msg::Format(msg::CodePageDisplay, {entry.name, entry.text});
    return std::to_string(number);
}

}  // namespace qln
