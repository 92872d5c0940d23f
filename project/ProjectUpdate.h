#pragma once
// Following changes of the source script: the change test, the out-of-date
// state of an open project, and the database update.
//
// The update works on a copy of the project database beside it: the script is
// parsed again and merged into the copy's rows (UpdateMerge.h), lines that
// vanished are purged, texts that changed are flagged in every translated
// language, the script's new stamp and the project status are recorded, and
// the copy is compacted into a file that replaces the original in one rename.
// A failed, cancelled or interrupted update leaves the original as it was.
//
// Entry point for the document and for batch operation U: UpdateDatabase().

#include "project/Progress.h"
#include "project/UpdateMerge.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qln {

class CProjectDatabase;

// Code of an update refused because the database is older than version 8.
inline constexpr int kUpdateOldFormat = -91;

// --- Change test and out-of-date state ---------------------------------------------

// True when the script's stamp is newer than (or its size differs from) the
// one stored in Project, or else an include file that can be read is newer
// than its IncludeFile row. False when the script cannot be read.
bool IsSourceChanged(CProjectDatabase& db, const std::filesystem::path& script);

// The out-of-date state of an open project (the document's updateNeeded). A
// window that blinks its Update button or marks its title listens through
// the callback, which runs on every change of the state.
class ProjectChangeState {
public:
    using Listener = std::function<void(bool updateNeeded)>;
    explicit ProjectChangeState(Listener listener = {}) : listener_(std::move(listener)) {}

    bool updateNeeded() const noexcept { return updateNeeded_; }
    void SetUpdateNeeded(bool needed);

    // On opening a project: when Project.Status is 4 already, or the change
    // test says changed (Status is then set to 4), the project is out of date.
    // Returns updateNeeded().
    bool CheckOnOpen(CProjectDatabase& db, const std::filesystem::path& script);
    // Refresh Status: true when a project not yet known to be out of date is
    // found changed now (its Status becomes 4).
    bool Refresh(CProjectDatabase& db, const std::filesystem::path& script);
    // The project's list of include-file extensions changed: the project must
    // be updated. Returns the message to show.
    std::string IncludeListChanged(CProjectDatabase& db);

private:
    void MarkOutOfDate(CProjectDatabase& db);

    Listener listener_;
    bool updateNeeded_ = false;
};

// The title suffix of an out-of-date project; opened through its database, the
// script's file name follows as "(name.rc)".
std::string OutOfDateTitle(const std::string& title, const std::string& scriptFileName = {});
// "The following source file(s) has changed: ..." for Refresh Status.
std::string ChangedSourcesMessage(const std::vector<std::string>& scripts);

// --- The update pass -----------------------------------------------------------------

struct UpdatePassReport {
    int code = 0;  // 0, kReadCancelled, kUpdateOldFormat, a parser or file code
    std::vector<std::string> missingIncludes;
    std::vector<UnrecognisedLine> unrecognisedLines;
    int stopLine = 0;
    std::string openError;
    UpdateCounts counts;
    std::size_t purgedLines = 0;
    // Seconds spent loading the old state, reading and merging the script,
    // renumbering the unchanged lines, and purging and flagging.
    double loadSeconds = 0, readSeconds = 0, renumberSeconds = 0, purgeSeconds = 0;
};

// Runs the update on an open database (the work copy) inside the caller's
// transaction. Returns the report's code; on any code but 0 the caller rolls
// back. Throws sql::Error on a database failure.
int RunUpdatePass(CProjectDatabase& db, const std::filesystem::path& script, Progress& progress,
                  UpdatePassReport& report);

// --- The update transaction ----------------------------------------------------------

enum class UpdateOutcome {
    Updated,
    NoScript,         // the script does not exist: nothing happened
    NeedsConversion,  // format version 7 or lower: convert first
    Cancelled,        // the user cancelled: the database is unchanged
    Failed,           // the database is unchanged
};

struct UpdateRequest {
    std::filesystem::path script;
    std::filesystem::path database;
    Progress* progress = nullptr;  // none: no report, no cancel
    bool batch = false;            // no message boxes: the caller logs instead
};

struct UpdateResult {
    UpdateOutcome outcome = UpdateOutcome::Failed;
    int code = 0;               // the pass's code, or the engine's on a database error
    std::string message;        // success or failure text
    std::string errorDetail;    // the parser's, memory or database error text, if any
    std::string warning;        // the include files that could not be read and unrecognised lines, if any
    int status = 0;             // Project.Status after a successful update
    UpdatePassReport report;

    bool ok() const noexcept { return outcome == UpdateOutcome::Updated; }
    // Whether the document shows message/errorDetail/warning in boxes.
    bool showMessages = true;
};

// The document's Update Database command (OnUpdateDatabase) without its
// windows. The database file must not be open for writing elsewhere while it
// runs; the caller closes its own connection first and reopens it afterwards.
UpdateResult UpdateDatabase(const UpdateRequest& request);

}  // namespace qln
