#pragma once
// How a project database comes into being and is kept in shape: pairing a
// script with its database file, creating one from the template, recognising
// and version-checking an existing file, converting the older formats 6 and 7
// (and earlier) to 8, and compacting. Every operation that replaces a file
// writes a temporary file beside it and renames it over the original, so the
// original is never left half written.
//
// The operations return result codes with the message to show; asking the
// user (build? convert?) is the caller's part.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qln {

class CProjectDatabase;

inline constexpr std::string_view kTemplateFileName = "qlndb8.mdb";

// The template in the directory of the running executable.
std::filesystem::path DefaultTemplatePath();

// --- Pairing a script and its database -----------------------------------------

// True when the path has the extension "mdb" (in any case).
bool HasDatabaseExtension(const std::filesystem::path& path);
// demo.rc -> demo_rc.mdb
std::filesystem::path LongDatabasePath(const std::filesystem::path& script);
// demo.rc -> demo.mdb
std::filesystem::path ShortDatabasePath(const std::filesystem::path& script);
// The long name if that file exists, else the short name if that one exists,
// else the long name (a database still to be built).
std::filesystem::path DatabasePathForScript(const std::filesystem::path& script);
// The script of a database, always in the database's directory: derived from
// the stored source path's title and extension (which may be a path written
// on Windows, with backslashes), or the database path with extension "rc"
// when none is stored.
std::filesystem::path ScriptPathForDatabase(const std::filesystem::path& database,
                                            const std::optional<std::string>& storedSourceFile);
// Project.SourceFile of a database file; nothing when it cannot be read or is empty.
std::optional<std::string> ReadStoredSourceFile(const std::filesystem::path& database);

struct ProjectPaths {
    std::filesystem::path script;
    std::filesystem::path database;
};
// Either path opened by the user gives both.
ProjectPaths PairProjectPaths(const std::filesystem::path& opened);

// --- Recognising and checking ----------------------------------------------------

// True when the file is an SQLite database with a Project table whose
// FileVersion field is declared Long.
bool IsProjectDatabase(const std::filesystem::path& path);

// Project.FileVersion of a database file, when it can be read.
std::optional<std::int64_t> ReadFileVersion(const std::filesystem::path& path);

// --- Creating and opening ---------------------------------------------------------

// The seven Project option flags, in the order of ProjectOptionNames; a new
// document starts with every flag set except IncludeEdit.
struct ProjectOptions {
    bool values[7] = {true, true, false, true, true, true, true};
};

// Fills a new database from the script; returns 0 or the builder's negative error code.
using BuildFunction = std::function<int(CProjectDatabase&)>;

struct OpenRequest {
    std::filesystem::path script;
    std::filesystem::path database;
    std::filesystem::path templatePath = DefaultTemplatePath();
    BuildFunction build;        // used only when the database does not exist yet
    ProjectOptions options;     // written into a new database's Project row
    // Status bar text: "Build Database ..." while building, empty at the end.
    std::function<void(std::string_view)> status;
};

struct OpenResult {
    std::unique_ptr<CProjectDatabase> database;  // set when opened
    bool created = false;
    std::int32_t fileVersion = 0;
    int errorCode = 0;   // the engine's result code when a database error ended it
    int buildError = 0;  // the builder's error code when the build failed
    std::string message; // text to show on failure (may be empty: failure without message)
    std::string cause;   // the line naming the file and the system's cause of a file failure

    bool opened() const noexcept { return database != nullptr; }
};

// Opens the database when it exists; otherwise builds it from the template and
// the script. The new database is built in a temporary file beside its final
// name and renamed into place only when complete: a failed or interrupted build
// leaves no file behind.
OpenResult OpenOrCreate(const OpenRequest& request);

enum class VersionCheck { Accepted, TooOld, TooNew };

struct VersionCheckResult {
    VersionCheck check = VersionCheck::TooOld;
    std::int32_t version = 0;
    bool sourceChanged = false;  // the script or an include changed: Status was set to 4 now
    std::string message;         // for TooOld and TooNew
};

// Checks an existing database before it is used: versions 6 to 8 are accepted.
// Unless Status already says so, a changed script (compared with its stamp now)
// or include file sets Status to 4.
VersionCheckResult CheckVersion(CProjectDatabase& database, const std::filesystem::path& script);

// Writes each option flag the database lacks with the given value.
void EnsureProjectOptions(CProjectDatabase& database, const ProjectOptions& options);

// --- Compacting ------------------------------------------------------------------

struct CompactResult {
    bool ok = false;
    std::uintmax_t oldSize = 0;  // bytes
    std::uintmax_t newSize = 0;  // bytes
    std::string message;         // success or failure text
    std::string cause;           // on failure: the line naming the file and the cause
};

// Called while the engine works; returning false cancels the compaction.
using KeepGoing = std::function<bool()>;

// Compacts `source` into `target` (which may be the same file): the compacted
// copy is written beside `target` and renamed over it. Nothing is changed on
// failure or cancel. Neither file may be open elsewhere in this process.
CompactResult CompactDatabase(const std::filesystem::path& source, const std::filesystem::path& target,
                              const KeepGoing& keepGoing = {});

// The command: checks that the file is a project database, then compacts it in place.
CompactResult CompactDatabaseFile(const std::filesystem::path& path, const KeepGoing& keepGoing = {});

// --- Converting -------------------------------------------------------------------

enum class ConvertCheck { Convertible, NotProjectDatabase, AlreadyCurrent };

struct ConvertCheckResult {
    ConvertCheck check = ConvertCheck::NotProjectDatabase;
    std::int64_t version = 0;
    std::string message;  // empty for Convertible
};

// Whether a file may be converted: extension "mdb", a project database, a
// readable version from 1 to 7.
ConvertCheckResult CheckConvertible(const std::filesystem::path& path);

// The backup name: app.mdb -> app_old7.mdb, in the same directory.
std::filesystem::path ConversionBackupPath(const std::filesystem::path& database);

struct ConvertResult {
    bool ok = false;
    std::filesystem::path backup;
    std::string message;
    bool cancelled = false;  // the user stopped it: the old file is untouched
};

// Receives the step (0 to 16) as the tables are copied.
using ConvertProgress = std::function<void(int step)>;

// Converts the database to format version 8 from the template: every row and
// every translation column is carried over (the language fields become
// Lang_Id), the old file is kept under ConversionBackupPath(), and the path
// then holds the converted database. On failure the old file is untouched and
// no temporary file is left behind. `keepGoing` is asked after each step;
// false cancels the conversion with the same guarantee.
ConvertResult ConvertDatabase(const std::filesystem::path& database, const std::filesystem::path& templatePath,
                              const ConvertProgress& progress = {}, const KeepGoing& keepGoing = {});

}  // namespace qln
