#pragma once
// What the batch operations share: exit codes, the run context, reading a
// <language> or code page parameter, and opening a project database with the
// checks and log messages every operation makes.

#include "projectdb/Languages.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class BatchLog;
class CProjectDatabase;

// Process exit codes of batch mode.
namespace batchexit {
inline constexpr int Ok = 0;      // done, or the answer is yes
inline constexpr int No = 1;      // the answer of T, D or L is no
inline constexpr int Failed = 2;  // the operation failed; nothing was changed
inline constexpr int Usage = 3;   // unknown switch, missing or wrong parameter
}

// One operation's view of the command line.
struct BatchRun {
    BatchLog& log;
    const std::vector<std::string>& params;
};

// A language named by its display name (table names first, then the naming
// rule), its identifier string from the language table ("0407", any case), a
// decimal language id (1031) or four hexadecimal digits. Only languages with
// a display name are returned.
std::optional<LanguagePair> ParseLanguageParameter(std::string_view text);
// The language's display name (the name of its translation column).
std::string LanguageName(const LanguagePair& language);

// A code page number this program can write translated scripts in.
std::optional<int> ParseCodePageParameter(std::string_view text);

// A file we may change: it exists, we may write it and it has a write
// permission bit at all (so a file marked read-only stays untouched even for
// a user whom the system lets write everything).
bool IsWritableFile(const std::filesystem::path& path);

// The system's error number when the folder of `file` exists but no new file
// can be made in it (an operation's work copy or journal beside `file`); 0
// otherwise, also for a missing folder, which the operation reports itself.
// As for files, a folder without any write permission bit counts as read-only
// even for a user whom the system lets write everything.
int ReadOnlyFolderError(const std::filesystem::path& file);

// "File not found" for a path that is no regular file, with the cause line
// (no such file, a folder, ...).
std::string FileNotFoundMessage(const std::filesystem::path& path);

enum class OpenMode { Read, Change };

struct OpenedProject {
    std::unique_ptr<CProjectDatabase> database;
    int exitCode = 0;  // when database is null
};

// Why a file is refused as a project database ("File is not a QLN
// database.", with the tables a damaged one lacks for the operation); empty
// when it is whole.
std::string ProjectDatabaseRefusal(const std::filesystem::path& path, OpenMode mode);

// Opens a project database for an operation, logging why not: a missing
// file, a name without the extension "mdb", a file that is not a project
// database, an unsupported format version, a read-only file to change.
OpenedProject OpenBatchProject(BatchLog& log, const std::filesystem::path& path, OpenMode mode);

// The script of a database: stored in its Project row, looked for beside it.
std::filesystem::path ScriptOfDatabase(const std::filesystem::path& database);

// Logs a language that is not a valid parameter and returns the exit code.
int LogInvalidLanguage(BatchLog& log, std::string_view text);
// Logs a language the database has no translation for; returns the exit code.
int LogLanguageNotInDatabase(BatchLog& log, const LanguagePair& language, const std::filesystem::path& database);

// The parameters "<db>" or "<rc> <db>" of D and U. The header matching their
// number is logged; `ok` is false (and logged) when the script is named by a
// database's name. With the database alone the script is the one it stores.
struct ScriptAndDatabase {
    std::filesystem::path script;
    std::filesystem::path database;
    bool ok = true;
};
ScriptAndDatabase ReadScriptAndDatabase(const BatchRun& run, std::string_view databaseHeader,
                                        std::string_view scriptHeader);

// A <language> parameter and a project database, checked in that order.
struct ProjectWithLanguage {
    std::unique_ptr<CProjectDatabase> database;
    LanguagePair language{};
    bool hasLanguage = false;  // the database has the language's translation column
    int exitCode = 0;          // when database is null
};
ProjectWithLanguage OpenWithLanguage(const BatchRun& run, std::size_t databaseParam, std::size_t languageParam,
                                     OpenMode mode);

}  // namespace qln
