#pragma once
// Exchanging texts with translators through worksheets: the export writes
// the rows of the text table (as the table filters them) into an .xlsx
// workbook or a UTF-8 CSV file; the import reads such a sheet back and
// stores the texts that differ from the current translations, or only marks
// them. The file type follows the file's extension.
//
// Sheet layout (row 1 is the header): "Resource Ident", "Item Type", "Id"
// (written when identifiers are chosen), "Source Text" (when the source is
// chosen), then one column per chosen language named by its display name.
// Only a sheet that begins with all four identifier and source columns can
// be imported.

#include "project/Progress.h"
#include "project/TextTable.h"
#include "projectdb/Languages.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

inline constexpr std::string_view kHeaderResourceIdent = "Resource Ident";
inline constexpr std::string_view kHeaderItemType = "Item Type";
inline constexpr std::string_view kHeaderId = "Id";
inline constexpr std::string_view kHeaderSourceText = "Source Text";

// The columns chosen for an export. Languages that are not translations of
// the project are ignored; the others are written in the table's order.
struct WorksheetColumns {
    bool identifiers = true;
    bool source = true;
    std::vector<LanguagePair> languages;
};

struct WorksheetExportResult {
    bool ok = false;
    bool cancelled = false;
    std::size_t rows = 0;  // data rows written
    std::string message;   // why it failed; empty on success and when no column was chosen
};

// Writes the texts the filter shows to `file` (.xlsx or .csv). The file is
// written under a temporary name and renamed when complete, so a failed or
// cancelled export leaves no half-written file. Nothing is written when no
// column is chosen.
WorksheetExportResult ExportWorksheet(CProjectDatabase& project, const std::filesystem::path& file,
                                      const WorksheetColumns& columns, const TextTableFilter& filter,
                                      Progress& progress = NoProgress());

// Every translation of the project, with identifiers and source.
WorksheetColumns AllColumns(CProjectDatabase& project);

struct WorksheetImportOptions {
    // Count and mark the differing texts instead of storing them.
    bool markOnly = false;
    // Asked (with the question to show) before a language that is not yet a
    // translation of the project is added; unset: added without asking (batch).
    std::function<bool(const std::string& question)> confirmAddLanguage;
    // When set, only this language's column is read; the others are ignored.
    std::optional<LanguagePair> onlyLanguage;
};

struct MarkedCell {
    std::int32_t lineIndex;
    LanguagePair language;
};

struct WorksheetImportResult {
    bool ok = false;         // false: nothing was stored (wrong file, read or database failure)
    bool cancelled = false;  // cancelled: nothing was stored either
    std::size_t imported = 0;                // texts stored, or marked in the marking mode
    std::size_t matched = 0;                 // sheet rows that found their text
    std::string message;                     // the final result or the failure
    std::vector<std::string> notices;        // unknown languages, languages that could not be added
    std::vector<LanguagePair> addedLanguages;
    std::vector<MarkedCell> marked;          // marking mode: the cells that differ
};

// Reads the sheet of `file` (.xlsx, .xls or .csv) and imports it into the
// project in one transaction: a failure, a cancel or a killed process leaves
// the database as it was.
WorksheetImportResult ImportWorksheet(CProjectDatabase& project, const std::filesystem::path& file,
                                      const WorksheetImportOptions& options = {},
                                      Progress& progress = NoProgress());

}  // namespace qln
