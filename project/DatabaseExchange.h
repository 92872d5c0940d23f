#pragma once
// Exchanging translations between project databases.
//
// Export: the project database is copied to a new file that keeps only the
// chosen translations (the other languages lose their columns, their
// Translations row, their dialog layouts and their settings).
//
// Import: one language of another project database fills the empty
// translations of the project. Texts are matched by the names they have
// outside the database (resource identifier, item type and item identifier,
// as in the worksheets), so the import works across versions of the script.
// Like the script import it works on a copy of the project database and
// replaces the original only on success.

#include "project/ImportScript.h"
#include "project/Progress.h"
#include "projectdb/Languages.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qln {

class CProjectDatabase;
namespace sql {
class Database;
}

// Copies a whole database through the engine's online backup, so the copy is
// consistent even while `from` is open; `to` is overwritten. Throws sql::Error.
// Without `synced` the copy is written without journal or sync: for a work
// copy, which is thrown away when anything fails.
void CopyDatabaseFile(sql::Database& from, const std::filesystem::path& to, bool synced = true);
// A work copy of the database file (not synced).
void CopyDatabaseFile(const std::filesystem::path& from, const std::filesystem::path& to);

// --- Export --------------------------------------------------------------------------

enum class ExportStatus {
    Exported,
    AskOverwrite,  // the file exists: ask, then call again with overwrite set
    Refused,       // the current database, a database open in the program, an unknown language
    Failed,        // nothing was written
};

struct ExportResult {
    ExportStatus status = ExportStatus::Failed;
    std::string message;
    std::vector<LanguagePair> languages;  // the translations the export kept

    bool ok() const { return status == ExportStatus::Exported; }
};

struct DatabaseExportOptions {
    // The translations to keep; unset keeps them all.
    std::optional<std::vector<LanguagePair>> languages{};
    bool overwrite = false;
    // True for a file the program has open as a document.
    std::function<bool(const std::filesystem::path&)> isOpen{};
};

// Writes the export database `target` from the open project. The new file is
// written beside `target` and takes its name only when complete.
ExportResult ExportDatabase(CProjectDatabase& project, const std::filesystem::path& target,
                            const DatabaseExportOptions& options = {});

// --- Import --------------------------------------------------------------------------

struct DatabaseImportOptions {
    Progress* progress = nullptr;
    // True when `source` is open as a document (the result then carries the
    // question whether to close it).
    bool sourceOpen = false;
};

// Imports the translation `language` of the project database `source` into
// the project database file `database` (not open elsewhere in this process).
// A language that is not yet a translation of the project is added.
ImportResult ImportFromDatabase(const std::filesystem::path& database, const std::filesystem::path& source,
                                LanguagePair language, const DatabaseImportOptions& options = {});

// The same for the document's open database, closed meanwhile and opened again.
ImportResult ImportFromDatabase(std::unique_ptr<CProjectDatabase>& project, const std::filesystem::path& source,
                                LanguagePair language, const DatabaseImportOptions& options = {});

}  // namespace qln
