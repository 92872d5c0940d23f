#pragma once
// Languages of translations: the display-name rule, the built-in language table,
// the character set table, and the names derived from them (version block names).

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qln {

// Display name of a language: the name users see, the name of its translation
// column in ResourceText and the value of Translations.LanguageStr. Empty when the
// primary language has none; callers must then not touch the database.
std::optional<std::string_view> LanguageDisplayName(int primary, int sub);

// A language whose display name is `name`: the first row of the language table
// that the rule names so, else the first primary language and sublanguage the
// rule names so. Nothing when no language has that name.
struct LanguagePair {
    int primary;
    int sub;
};
std::optional<LanguagePair> LanguageFromDisplayName(std::string_view name);

// Name of the flag column that belongs to a translation column.
std::string LanguageFlagColumn(std::string_view displayName);

// One row of the language table (the languages offered in language lists).
struct LanguageEntry {
    std::string_view ident;          // four hex digits of the combined identifier, e.g. "0409"
    std::string_view displayName;    // name shown in lists
    int primary;
    int sub;
    std::string_view primarySymbol;  // e.g. LANG_ENGLISH
    std::string_view subSymbol;      // e.g. SUBLANG_ENGLISH_US
    int charSet;                     // Windows character set used to show it (1 = default)
};

// The 51 rows of the language table, in list order.
std::span<const LanguageEntry> LanguageTable();

// Row of the language table with that primary language and sublanguage, or -1.
int FindLanguageRow(int primary, int sub);

// Identifier string and symbols of a table row; row -1 (or any row outside the
// table) gives empty strings.
struct LanguageSymbolSet {
    std::string_view ident;
    std::string_view primarySymbol;
    std::string_view subSymbol;
};
LanguageSymbolSet LanguageSymbols(int row);

// Four hexadecimal digits of a language identifier: the table's identifier string
// when the language is listed, else the combined value in upper case.
std::string LanguageIdentString(int primary, int sub);

// Version block name of a language: its identifier string followed by the code
// page half (e.g. "040904E4").
std::string VersionBlockName(int primary, int sub);

// An existing 8-character block name split into its language half and code-page
// half; nothing when the name is not 8 characters long.
struct VersionBlockParts {
    std::string language;
    std::string codePage;
};
std::optional<VersionBlockParts> SplitVersionBlockName(std::string_view name);

// The code-page half of the version block a translation writes in place of a
// source block: the source's own half (as written) when it names Unicode
// (04B0, as compiled version strings always are); otherwise the Windows code
// page the translation is written in, as four hexadecimal digits: the script's
// code page, or for a UTF-8 or UTF-16 script the language's own (Polish gets
// "04E2" written in 1250 and in UTF-8).
std::string TranslatedBlockCodePage(std::string_view sourceBlock, int primary, int sub, int codePage);

// Whether a block name is a language and a code page: eight hexadecimal digits.
bool IsLanguageBlockName(std::string_view name);

// One row of the character set table.
struct CharSetEntry {
    int charSet;                    // Windows character set number
    std::string_view name;
    std::string_view defaultFont;
};

// The 17 rows of the character set table.
std::span<const CharSetEntry> CharSetTable();

// The row of a character set number, or nullptr.
const CharSetEntry* FindCharSet(int charSet);

// Character set a language is shown with (from the language table; 1 when the
// language is not listed).
int LanguageCharSet(int primary, int sub);

}  // namespace qln
