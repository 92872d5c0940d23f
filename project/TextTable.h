#pragma once
// The rows of the text table: one per translatable text, in script order,
// with the identifiers that name the text outside the database (the resource
// it belongs to, its item type and its own identifier), its source text and
// its translation in every language of the project. The GUI's table, the
// worksheet export and import and the database import all read this list.
//
// Loading is one pass over one query (no query per row), so a project with
// 100,000 texts loads in well under a second.

#include "project/Progress.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qln {

class CProjectDatabase;

// Display categories of a text, from its line kind.
namespace category {
inline constexpr int None = 0;
inline constexpr int Dialog = 1;
inline constexpr int Menu = 2;
inline constexpr int Stringtable = 3;
inline constexpr int StringtableString = 4;
inline constexpr int Versioninfo = 5;
inline constexpr int BlockHeader = 7;
inline constexpr int VersionValue = 8;
inline constexpr int BitmapFile = 10;
inline constexpr int DialogItem = 11;
inline constexpr int DialogCaption = 12;
inline constexpr int MenuItem = 13;
inline constexpr int PopupMenu = 14;
inline constexpr int Include = 15;
}  // namespace category

// Texts that name files or version blocks rather than words to translate.
inline bool IsNameCategory(int c)
{
    return c == category::Include || c == category::BitmapFile || c == category::BlockHeader;
}

// Category of a line kind (0 for kinds without one).
int ItemCategory(int lineKind);
// "Dialog Item", "Menu Item", ...; empty for category 0.
std::string_view ItemTypeName(int category);

// Which texts the table shows: the project's display flags plus the
// modified-only mode (not stored; off when a project opens).
struct TextTableFilter {
    bool dialogs = true;      // DialogEdit
    bool menus = true;        // MenuEdit
    bool strings = true;      // StringtableEdit
    bool versions = true;     // VersionEdit
    bool bitmaps = true;      // BitmapEdit
    bool includes = true;     // IncludeEdit
    bool excluded = true;     // ExcludeEdit
    bool modifiedOnly = false;

    // The flags stored in the project's Project row (a missing flag shows its kind).
    static TextTableFilter FromProject(CProjectDatabase& project);
    // False when the line kind belongs to a hidden resource kind.
    bool ShowsKind(int lineKind) const;
    // Whether a text with this exclusion flag passes the exclusion filter.
    bool ShowsExcluded() const { return excluded && !modifiedOnly; }
};

struct TextTableLanguage {
    int primary = 0;
    int sub = 0;
    std::string displayName;  // also the name of its translation column
};

struct TextTableRow {
    int category = 0;
    int lineKind = 0;             // LineIdentSym
    std::int32_t lineIndex = -1;
    // LineIndex of the resource statement the text belongs to (dialog, menu,
    // version resource; for a bitmap its own line; -1 for strings and includes).
    std::int32_t resourceLine = -1;
    std::string resourceIdent;    // its identifier; "STRINGTABLE" for string-table strings
    std::string idText;           // what the Id column shows
    bool excluded = false;
    // 1: first row of a new resource group; 2: first row of another dialog
    // inside a run of dialog texts; 0 otherwise.
    int groupMark = 0;
    std::string sourceText;
    std::vector<std::string> translations;  // per language of the table; "" = not translated
    std::vector<bool> modified;             // per language: flag column set (source changed)

    std::string_view itemType() const { return ItemTypeName(category); }
    bool anyModified() const;
    bool fullyTranslated() const;
};

struct TextTable {
    std::vector<TextTableLanguage> languages;  // the project's translations, in column order
    std::vector<TextTableRow> rows;            // in the table's order

    // Index into `languages`, or -1.
    int languageIndex(int primary, int sub) const;
    int languageIndex(std::string_view displayName) const;
};

// Resource identifier shown for string-table strings (a string table has no name).
inline constexpr std::string_view kStringTableIdent = "STRINGTABLE";

// Loads the rows the filter shows, in script order. Progress is reported in
// rows read; a cancelled load returns the rows read so far. Throws sql::Error.
TextTable LoadTextTable(CProjectDatabase& project, const TextTableFilter& filter, Progress& progress = NoProgress());

// Finds the rows of a table by the key that names a text outside the
// database: resource identifier, item type and Id text, compared without
// regard to case (identifiers are case-blind in scripts). Several rows can
// share a key (the popups of one menu, the values of two version blocks):
// each row is handed out once, the first unused one whose source text equals
// the given one, else the first unused one, so the n-th of several rows
// with a key matches the n-th in order.
class TextRowMatcher {
public:
    // The table must outlive the matcher.
    explicit TextRowMatcher(const TextTable& table);
    // Row index into table.rows, or -1 when no unused row has that key.
    // `sourceText` may be null when the caller has none.
    int match(std::string_view resourceIdent, std::string_view itemType, std::string_view idText,
              const std::string* sourceText = nullptr);
    // True when some row (used or not) has that key.
    bool known(std::string_view resourceIdent, std::string_view itemType, std::string_view idText) const;

private:
    struct Candidates {
        std::vector<int> rows;
        std::vector<bool> used;
    };
    const TextTable& table_;
    std::unordered_map<std::string, Candidates> byKey_;
};

}  // namespace qln
