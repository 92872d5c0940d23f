#pragma once
// Storing what a translator typed, and what the text table shows about a
// project's progress: the row of a text read and written through the stored
// query GetResTextRecord_ByLine, the state an undo puts back, the translated
// and modified percentages, the rules of the filter commands, the column
// widths kept in Settings and the source column's header.

#include "project/TextTable.h"
#include "projectdb/Languages.h"
#include "projectdb/Sql.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

// A text's translation field and flag field exactly as stored (null stays
// null), for putting them back.
struct TranslationState {
    sql::Value text;
    sql::Value flag;
};
// Stores a translation in script form and clears the language's flag
// column; the row is written also when the text did not change. Gives the
// state before, or nothing when the language has no display name or column
// or the line has no text row (nothing is then written). Throws sql::Error.
std::optional<TranslationState> StoreTranslation(CProjectDatabase& project, std::int32_t lineIndex, int primary,
                                                 int sub, std::string_view scriptText);
std::optional<TranslationState> ReadTranslationState(CProjectDatabase& project, std::int32_t lineIndex, int primary,
                                                     int sub);
bool RestoreTranslationState(CProjectDatabase& project, std::int32_t lineIndex, int primary, int sub,
                             const TranslationState& state);

// Texts of the shown kinds (not excluded) and how many of them are
// translated into one language and marked modified for it.
struct TextProgress {
    long total = 0;
    long translated = 0;
    long modified = 0;
    // Rounded down, so 100 only when every text is translated.
    int translatedPercent() const;
    // Rounded up, so a single modified text shows.
    int modifiedPercent() const;
};
// The modified-only mode of the filter plays no part. A language the
// project lacks gives zero counts.
TextProgress ComputeTextProgress(CProjectDatabase& project, const TextTableFilter& filter, int primary, int sub);

// Whether any resource kind is shown.
bool AnyKindShown(const TextTableFilter& filter);
// "Modified and Not Translated (only)": while the current language is not
// fully translated and some kind is shown.
bool ModifiedOnlyEnabled(const TextTableFilter& filter, int translatedPercent);
// "&Excluded Text": while modified-only is off.
bool ExcludedFilterEnabled(const TextTableFilter& filter);

// Column widths kept in Settings: "WIDTH_ID_COLUMN" for the Id column and
// "WIDTH_LANG_COLUMN" for the source (language 0) and each translation.
inline constexpr std::string_view kIdWidthSetting = "WIDTH_ID_COLUMN";
inline constexpr std::string_view kLangWidthSetting = "WIDTH_LANG_COLUMN";
inline constexpr int kDefaultIdWidth = 80;
inline constexpr int kDefaultLangWidth = 120;
// The stored width, or `fallback` when there is none or it is below 1.
int StoredColumnWidth(CProjectDatabase& project, std::string_view ident, int primary, int sub, int fallback);
void StoreColumnWidth(CProjectDatabase& project, std::string_view ident, int primary, int sub, int width);

// The script's source languages (its LANGUAGE statements), each once, in
// the order they first appear.
std::vector<LanguagePair> SourceLanguages(CProjectDatabase& project);
// "Source Text (English US, German)" from the script's source languages,
// each listed once; "Source Text" when the script names none.
std::string SourceColumnHeader(CProjectDatabase& project);

}  // namespace qln

namespace qln {

// The previous source text of a line (ResourceText_Old_By_LineIndex); empty
// when there is none.
std::string OldSourceText(CProjectDatabase& project, std::int32_t lineIndex);

// Which of the translation bar's controls take input for an item.
struct BarItemState {
    bool active = false;  // an item is loaded
    bool excluded = false;
    bool modified = false;
    bool sourceEmpty = true;
    bool translationEmpty = true;
    int lineKind = 0;
};
struct BarControls {
    bool ok = false;          // "OK Next" and "OK"
    bool cancelNext = false;  // "Cancel Next"
    bool copy = false;
    bool specialChar = false;  // "Char"
    bool sourceText = false;   // "Src Text"
    bool translationEdit = false;
};
BarControls BarControlsFor(const BarItemState& item);

}  // namespace qln
