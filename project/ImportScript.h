#pragma once
// Importing translations from a translated resource script: the script is
// read like a source script (decoded by its own byte-order mark, code page
// pragma or LANGUAGE; included files of the project's include list followed),
// every statement is paired with a line of the project by its identifiers
// (ImportAlignment.h), and its text becomes the translation of the chosen
// language wherever that translation is still empty and the line has a source
// text. Existing translations are never overwritten. Statements that cannot be
// paired one to one are listed in a note rather than guessed.
//
// The import works on a copy of the project database beside it; the original
// file is replaced by the finished copy in one rename, so a failed, cancelled
// or killed import leaves the project exactly as it was.

#include "project/Progress.h"
#include "projectdb/Languages.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

// What an import file is, by its extension (compared without regard to case).
enum class ImportFileType { Worksheet, Database, Script, Unsupported };

// "xls", "xlsx" and "csv" are worksheets, "mdb" a project database, any
// extension beginning with "rc" a translated script.
ImportFileType ClassifyImportFile(const std::filesystem::path& file);
// The message for a file of an unsupported type.
std::string UnsupportedImportMessage(const std::filesystem::path& file);

// The entries of the project's include-file list ("RC2, DLG H"): items
// separated by blanks, commas or semicolons.
std::vector<std::string> SplitIncludeExtensions(std::string_view list);

enum class ImportStatus {
    NotStarted,  // no file or no language: nothing happened
    Imported,    // texts were imported
    Nothing,     // the import ran and found nothing to import
    Cancelled,   // the user stopped it; the project is unchanged
    Failed,      // the project is unchanged; see message and notes
};

struct ImportResult {
    ImportStatus status = ImportStatus::NotStarted;
    int imported = 0;            // translations written
    int matched = 0;             // texts of the script found in the project (imported or already translated)
    int read = 0;                // texts of the script looked up
    int unaligned = 0;           // texts not imported: they could not be paired one to one (see notes)
    bool languageAdded = false;  // the language became a translation of the project
    std::string message;         // the final message (empty for NotStarted and Cancelled)
    // Messages shown before the final one: the missing include files, the
    // parser error or the cause of a failure.
    std::vector<std::string> notes;
    // Asked after a database import when the import database is open as a
    // document ("... close the open import database document ?").
    std::string question;

    bool ok() const { return status == ImportStatus::Imported || status == ImportStatus::Nothing; }
};

struct ScriptImportOptions {
    Progress* progress = nullptr;
    // Include-file list to follow; when unset, the project's "RES_INCLUDES"
    // setting is used.
    std::optional<std::vector<std::string>> includeExtensions{};
};

// Imports the texts of `script` into the translation `language` of the
// project database file `database`, which must not be open elsewhere in this
// process. A language that is not yet a translation is added without a file
// name, in the script's own encoding when that is UTF-8 or UTF-16, else in
// the default code page for the project's source script.
ImportResult ImportTranslatedScript(const std::filesystem::path& database, const std::filesystem::path& script,
                                    LanguagePair language, const ScriptImportOptions& options = {});

// The same for the document's open database: it is closed for the import and
// opened again afterwards, whatever the outcome. When it cannot be opened
// again, `project` is left empty and the result says why.
ImportResult ImportTranslatedScript(std::unique_ptr<CProjectDatabase>& project, const std::filesystem::path& script,
                                    LanguagePair language, const ScriptImportOptions& options = {});

// One import's work on the copy of the project database: fills translations
// and counts them in `result`; false ends the import without replacing the
// original (with result.status Failed or Cancelled and the messages set).
using ImportStep = std::function<bool(CProjectDatabase& copy, ImportResult& result)>;

// Runs an import on a copy of the project database file beside it, inside one
// transaction: the language is added to the copy when it is new (in
// `newLanguageCodePage`, or else the default code page for the project's
// source script), then `fill` runs; only when it succeeds does the copy
// replace the original. Database and file errors of the copy end the import
// as failed, naming `database` and the cause. On success the message tells
// how many texts were imported.
ImportResult ImportOnWorkCopy(const std::filesystem::path& database, const std::filesystem::path& source,
                              LanguagePair language, const ImportStep& fill,
                              std::optional<int> newLanguageCodePage = std::nullopt);

// A failed import's result: nothing imported, the cause (when given) as a
// note and "Error reading from <source> ..." as the message.
ImportResult FailedImport(ImportResult result, const std::filesystem::path& source, std::string cause);

// Runs an import that replaces the database file (`run` gets its path) while
// the document's database is closed, and opens it again afterwards. `source`
// names the imported file in a failure message.
ImportResult ImportWithDatabaseClosed(std::unique_ptr<CProjectDatabase>& project,
                                      const std::filesystem::path& source,
                                      const std::function<ImportResult(const std::filesystem::path&)>& run);

}  // namespace qln
