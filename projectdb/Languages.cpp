#include "projectdb/Languages.h"

#include "projectdb/Schema.h"
#include "rcscript/AsciiText.h"
#include "rcscript/CodePages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace qln {

std::optional<std::string_view> LanguageDisplayName(int primary, int sub)
{
    switch (primary) {
    case 0: return "Neutral Language";
    case 1: return "Arabic";
    case 2: return "Bulgarian";
    case 3: return "Catalan";
    case 4:
        switch (sub) {
        case 2: return "Chinese - PR China";
        case 3: return "Chinese - Hong Kong";
        case 4: return "Chinese - Singapore";
        default: return "Chinese - Taiwan";
        }
    case 5: return "Czech";
    case 6: return "Danish";
    case 7:
        switch (sub) {
        case 2: return "German Swiss";
        case 3: return "German - Austria";
        default: return "German";
        }
    case 8: return "Greek";
    case 9:
        switch (sub) {
        case 1: return "English US";
        case 3: return "English Australian";
        case 4: return "English Canadian";
        case 5: return "English New Zealand";
        case 6: return "English Irish";
        default: return "English UK";
        }
    case 10: return sub == 2 ? "Spanish Mexican" : "Spanish Castilian";
    case 11: return "Finnish";
    case 12:
        switch (sub) {
        case 2: return "French Belgian";
        case 3: return "French Canadian";
        case 4: return "French Swiss";
        default: return "French";
        }
    case 13: return "Hebrew";
    case 14: return "Hungarian";
    case 15: return "Icelandic";
    case 16: return sub == 2 ? "Italian Swiss" : "Italian";
    case 17: return "Japanese";
    case 18: return "Korean";
    case 19: return sub == 2 ? "Dutch Belgian" : "Dutch";
    case 20: return sub == 2 ? "Norwegian - Nynorsk" : "Norwegian - Bokmal";
    case 21: return "Polish";
    case 22: return sub == 1 ? "Portuguese Brazilian" : "Portuguese";
    case 23: return "Rhaeto-Romanic";
    case 24: return "Romanian";
    case 25: return "Russian";
    case 26: return "Croato-Serbian";  // every sublanguage shares the name
    case 27: return "Slovak";
    case 28: return "Albanian";
    case 29: return "Swedish";
    case 31: return "Turkish";
    case 36: return "Slovenia";
    default: return std::nullopt;
    }
}

std::string LanguageFlagColumn(std::string_view displayName)
{
    std::string name(displayName);
    name += "_Modified";
    return name;
}

namespace {

constexpr std::array<LanguageEntry, 51> kLanguages{{
    {"0000", "Neutral", 0, 0, "LANG_NEUTRAL", "SUBLANG_NEUTRAL", 1},
    {"0401", "Arabic", 1, 1, "LANG_ARABIC", "SUBLANG_DEFAULT", 1},
    {"0402", "Bulgarian", 2, 1, "LANG_BULGARIAN", "SUBLANG_DEFAULT", 1},
    {"0403", "Catalan", 3, 1, "LANG_CATALAN", "SUBLANG_DEFAULT", 1},
    {"0405", "Czech", 5, 1, "LANG_CZECH", "SUBLANG_DEFAULT", 1},
    {"0406", "Danish", 6, 1, "LANG_DANISH", "SUBLANG_DEFAULT", 1},
    {"0407", "German", 7, 1, "LANG_GERMAN", "SUBLANG_GERMAN", 1},
    {"0C07", "German - Austria", 7, 3, "LANG_GERMAN", "SUBLANG_GERMAN_AUSTRIAN", 1},
    {"0408", "Greek", 8, 1, "LANG_GREEK", "SUBLANG_DEFAULT", 161},
    {"0409", "English US", 9, 1, "LANG_ENGLISH", "SUBLANG_ENGLISH_US", 1},
    {"040a", "Spanish Castilian", 10, 1, "LANG_SPANISH", "SUBLANG_SPANISH", 1},
    {"080A", "Spanish Mexican", 10, 2, "LANG_SPANISH", "SUBLANG_SPANISH_MEXICAN", 1},
    {"040b", "Finnish", 11, 1, "LANG_FINNISH", "SUBLANG_DEFAULT", 1},
    {"040c", "French", 12, 1, "LANG_FRENCH", "SUBLANG_FRENCH", 1},
    {"040d", "Hebrew", 13, 1, "LANG_HEBREW", "SUBLANG_DEFAULT", 177},
    {"040e", "Hungarian", 14, 1, "LANG_HUNGARIAN", "SUBLANG_DEFAULT", 1},
    {"040f", "Icelandic", 15, 1, "LANG_ICELANDIC", "SUBLANG_DEFAULT", 1},
    {"0410", "Italian", 16, 1, "LANG_ITALIAN", "SUBLANG_ITALIAN", 1},
    {"0411", "Japanese", 17, 1, "LANG_JAPANESE", "SUBLANG_DEFAULT", 1},
    {"0412", "Korean", 18, 1, "LANG_KOREAN", "SUBLANG_DEFAULT", 1},
    {"0413", "Dutch", 19, 1, "LANG_DUTCH", "SUBLANG_DUTCH", 1},
    {"0414", "Norwegian - Bokmal", 20, 1, "LANG_NORWEGIAN", "SUBLANG_NORWEGIAN_BOKMAL", 1},
    {"0415", "Polish", 21, 1, "LANG_POLISH", "SUBLANG_DEFAULT", 1},
    {"0416", "Portuguese Brazilian", 22, 1, "LANG_PORTUGUESE", "SUBLANG_PORTUGUESE_BRAZILIAN", 1},
    {"0417", "Rhaeto-Romanic", 23, 1, "LANG_RHAETO_ROMAN", "SUBLANG_DEFAULT", 1},
    {"0418", "Romanian", 24, 1, "LANG_ROMANIAN", "SUBLANG_DEFAULT", 1},
    {"0419", "Russian", 25, 1, "LANG_RUSSIAN", "SUBLANG_DEFAULT", 204},
    {"041a", "Croato-Serbian", 26, 1, "LANG_CROATIAN", "SUBLANG_DEFAULT", 1},
    {"0424", "Slovenia", 36, 1, "LANG_SLOVENIAN", "SUBLANG_DEFAULT", 1},
    {"041b", "Slovak", 27, 1, "LANG_SLOVAK", "SUBLANG_DEFAULT", 1},
    {"041c", "Albanian", 28, 1, "LANG_ALBANIAN", "SUBLANG_DEFAULT", 1},
    {"041d", "Swedish", 29, 1, "LANG_SWEDISH", "SUBLANG_DEFAULT", 1},
    {"041f", "Turkish", 31, 1, "LANG_TURKISH", "SUBLANG_DEFAULT", 162},
    {"0807", "German Swiss", 7, 2, "LANG_GERMAN", "SUBLANG_GERMAN_SWISS", 1},
    {"0809", "English UK", 9, 2, "LANG_ENGLISH", "SUBLANG_ENGLISH_UK", 1},
    {"080C", "French Belgian", 12, 2, "LANG_FRENCH", "SUBLANG_FRENCH_BELGIAN", 1},
    {"0810", "Italian Swiss", 16, 2, "LANG_ITALIAN", "SUBLANG_ITALIAN_SWISS", 1},
    {"0813", "Dutch Belgian", 19, 2, "LANG_DUTCH", "SUBLANG_DUTCH_BELGIAN", 1},
    {"0814", "Norwegian - Nynorsk", 20, 2, "LANG_NORWEGIAN", "SUBLANG_NORWEGIAN_NYNORSK", 1},
    {"0816", "Portuguese", 22, 2, "LANG_PORTUGUESE", "SUBLANG_PORTUGUESE", 1},
    {"081A", "Serbo-Croatian Cyrillic", 26, 2, "LANG_SERBO_CROATIAN", "SUBLANG_SERBO_CROATIAN_CYRILLIC", 1},
    {"0C0C", "French Canadian", 12, 3, "LANG_FRENCH", "SUBLANG_FRENCH_CANADIAN", 1},
    {"100C", "French Swiss", 12, 4, "LANG_FRENCH", "SUBLANG_FRENCH_SWISS", 1},
    {"0404", "Chinese - Taiwan", 4, 1, "LANG_CHINESE", "SUBLANG_CHINESE_TRADITIONAL", 1},
    {"0804", "Chinese - PR China", 4, 2, "LANG_CHINESE", "SUBLANG_CHINESE_SIMPLIFIED", 1},
    {"0c04", "Chinese - Hong Kong", 4, 3, "LANG_CHINESE", "SUBLANG_CHINESE_HONGKONG", 1},
    {"1004", "Chinese - Singapore", 4, 4, "LANG_CHINESE", "SUBLANG_CHINESE_SINGAPORE", 1},
    {"0c09", "English Australian", 9, 3, "LANG_ENGLISH", "SUBLANG_ENGLISH_AUS", 1},
    {"1009", "English Canadian", 9, 4, "LANG_ENGLISH", "SUBLANG_ENGLISH_CAN", 1},
    {"1409", "English New Zealand", 9, 5, "LANG_ENGLISH", "SUBLANG_ENGLISH_NZ", 1},
    {"1809", "English Irish", 9, 6, "LANG_ENGLISH", "SUBLANG_ENGLISH_EIRE", 1},
}};

constexpr std::array<CharSetEntry, 17> kCharSets{{
    {1, "  - %1", "Arial"},
    {0, "ANSI (Western)", "Arial"},
    {2, "Symbol", "Arial"},
    {128, "ShiftJIS", "Arial"},
    {129, "HANGEUL", "Arial"},
    {134, "GB2312", "Arial"},
    {136, "Chinese Big5", "Arial"},
    {255, "OEM", "Arial"},
    {130, "Johab", "Arial"},
    {177, "Hebrew", "Arial"},
    {178, "Arabic", "Arial"},
    {161, "Greek", "Arial Greek"},
    {162, "Turkish", "Arial"},
    {163, "Vitnamese", "Arial"},
    {222, "Thai", "Arial"},
    {238, "East Europe", "Arial"},
    {204, "Cyrillic", "Arial Cyr"},
}};

}  // namespace

std::span<const LanguageEntry> LanguageTable() { return kLanguages; }

std::optional<LanguagePair> LanguageFromDisplayName(std::string_view name)
{
    for (const LanguageEntry& e : kLanguages)
        if (LanguageDisplayName(e.primary, e.sub) == name)
            return LanguagePair{e.primary, e.sub};
    for (int primary = 0; primary < 64; ++primary)
        for (int sub = 0; sub < 64; ++sub)
            if (LanguageDisplayName(primary, sub) == name)
                return LanguagePair{primary, sub};
    return std::nullopt;
}

int FindLanguageRow(int primary, int sub)
{
    for (size_t i = 0; i < kLanguages.size(); ++i)
        if (kLanguages[i].primary == primary && kLanguages[i].sub == sub)
            return static_cast<int>(i);
    return -1;
}

LanguageSymbolSet LanguageSymbols(int row)
{
    if (row < 0 || row >= static_cast<int>(kLanguages.size()))
        return {};
    const LanguageEntry& e = kLanguages[static_cast<size_t>(row)];
    return {e.ident, e.primarySymbol, e.subSymbol};
}

std::string LanguageIdentString(int primary, int sub)
{
    int row = FindLanguageRow(primary, sub);
    if (row >= 0)
        return std::string(kLanguages[static_cast<size_t>(row)].ident);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(LangIdOf(primary, sub)) & 0xFFFFu);
    return buf;
}

std::string VersionBlockName(int primary, int sub)
{
    return LanguageIdentString(primary, sub) + CodePageHex(primary, sub);
}

std::optional<VersionBlockParts> SplitVersionBlockName(std::string_view name)
{
    if (name.size() != 8)
        return std::nullopt;
    return VersionBlockParts{std::string(name.substr(0, 4)), std::string(name.substr(4))};
}

bool IsLanguageBlockName(std::string_view name)
{
    return name.size() == 8 && std::all_of(name.begin(), name.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

std::string TranslatedBlockCodePage(std::string_view sourceBlock, int primary, int sub, int codePage)
{
    if (IsLanguageBlockName(sourceBlock) && EqualsNoCase(sourceBlock.substr(4), "04B0"))
        return std::string(sourceBlock.substr(4));
    if (codePage == 65001 || codePage == 1200 || codePage == 1201)
        codePage = CodePageNumber(primary, sub);
    char half[8];
    std::snprintf(half, sizeof half, "%04X", static_cast<unsigned>(codePage) & 0xFFFFu);
    return half;
}

std::span<const CharSetEntry> CharSetTable() { return kCharSets; }

const CharSetEntry* FindCharSet(int charSet)
{
    for (const CharSetEntry& e : kCharSets)
        if (e.charSet == charSet)
            return &e;
    return nullptr;
}

int LanguageCharSet(int primary, int sub)
{
    int row = FindLanguageRow(primary, sub);
    return row >= 0 ? kLanguages[static_cast<size_t>(row)].charSet : 1;
}

}  // namespace qln
