#include "project/ProjectUpdate.h"

#include "project/DatabaseExchange.h"
#include "project/ImportScript.h"
#include "project/ProjectBuild.h"
#include "projectdb/FileStamp.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/SafeFile.h"
#include "projectdb/Statements.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"

#include <chrono>
#include <new>
#include <optional>

namespace qln {

namespace fs = std::filesystem;

// --- Change test and out-of-date state ---------------------------------------------

bool IsSourceChanged(CProjectDatabase& db, const fs::path& script)
{
    const std::optional<FileStamp> stamp = ReadFileStamp(script);
    if (!stamp)
        return false;
    try {
        return db.SourceChanged(*stamp) || db.IncludesChanged(script);
    } catch (const sql::Error&) {
        return false;
    }
}

void ProjectChangeState::SetUpdateNeeded(bool needed)
{
    updateNeeded_ = needed;
    if (listener_)
        listener_(needed);
}

void ProjectChangeState::MarkOutOfDate(CProjectDatabase& db)
{
    db.SetStatus(kStatusUpdateNeeded);
    SetUpdateNeeded(true);
}

bool ProjectChangeState::CheckOnOpen(CProjectDatabase& db, const fs::path& script)
{
    if (db.GetStatus() == kStatusUpdateNeeded || IsSourceChanged(db, script))
        MarkOutOfDate(db);
    return updateNeeded_;
}

bool ProjectChangeState::Refresh(CProjectDatabase& db, const fs::path& script)
{
    if (updateNeeded_ || !IsSourceChanged(db, script))
        return false;
    MarkOutOfDate(db);
    return true;
}

std::string ProjectChangeState::IncludeListChanged(CProjectDatabase& db)
{
    MarkOutOfDate(db);
    return std::string(msg::IncludeListChanged);
}

std::string OutOfDateTitle(const std::string& title, const std::string& scriptFileName)
{
    return scriptFileName.empty() ? msg::Format(msg::OutOfDateTitle, {title})
                                  : msg::Format(msg::OutOfDateTitleWithScript, {title, scriptFileName});
}

std::string ChangedSourcesMessage(const std::vector<std::string>& scripts)
{
    return msg::Format(msg::ChangedSources, {msg::JoinLines(scripts)});
}

// --- The update pass -----------------------------------------------------------------

namespace {

std::vector<std::string> IncludeExtensions(CProjectDatabase& db)
{
    const std::optional<SettingValue> setting = db.GetSetting("RES_INCLUDES", 0, 0);
    return setting && setting->text ? SplitIncludeExtensions(*setting->text) : std::vector<std::string>{};
}

// Rows that go with their line when the update did not keep it. The stored
// queries of these tables (Obsolete_ResLineAndStringtableString,
// Dialog_Captions_Old, Dialog_Controls_Old, DialogRes,
// Obsolete_Strings_At_TableResourceText, Bitmaps_Old) offer every row whose
// line is old (Added = 0) or gone, each joined to its line; the same rows are
// chosen here in a plain scan, sparing the lines the update marked Added as
// well as the kept ones.
QueryText RowsOf(const char* table)
{
    return {std::string("Purge ") + table, std::string("SELECT rowid AS RowKey, LineIndex FROM ") + table, "", table};
}

// Deletes what the update did not keep, in the order the rows depend on
// each other, then flags the changed texts and clears the update markers.
std::size_t Purge(CProjectDatabase& db, const UpdateLineStore& store)
{
    const auto kept = [&store](std::int64_t lineIndex) { return store.IsKept(lineIndex); };
    LineIndexSet marked;
    {
        sql::Statement st = db.db().prepare("SELECT LineIndex FROM ResFileLine WHERE Added <> 0");
        while (st.step())
            if (const std::int64_t index = st.columnInt64(0); index >= 0 && index <= 0xFFFFFFFF)
                marked.insert(static_cast<std::uint32_t>(index));
    }
    const auto keptOrMarked = [&](std::int64_t lineIndex) {
        return kept(lineIndex) || (lineIndex >= 0 && lineIndex <= 0xFFFFFFFF &&
                                   marked.contains(static_cast<std::uint32_t>(lineIndex)));
    };
    for (const char* table : {"StringtableString", "DlgCaption", "DialogControl", "Dialogs"})
        db.DeleteNotKept(RowsOf(table), keptOrMarked);
    db.DeleteNotKept(stmt::OldMenuItems, kept);
    db.DeleteNotKept(stmt::OldMenus, kept);
    // Unchanged lines at their old place keep Added = 0, so these are tested
    // against the kept lines too rather than deleted wholesale.
    for (const char* query : {"VersionValues", "Version_BlockHeaders", "Versions"})
        db.DeleteNotKept(query, kept);
    db.DeleteNotKept(stmt::OldSourceLanguages, kept);
    db.DeleteNotKept("Bookmarks", kept);
    db.DeleteNotKept(stmt::IncludeFiles, kept);
    db.DeleteNotKept(RowsOf("ResourceText"), keptOrMarked);
    db.DeleteNotKept(RowsOf("Bitmap"), keptOrMarked);
    const std::size_t purged = db.DeleteNotKept("Obsolete_ResLine", kept);
    db.FlagModifiedTexts();
    db.ClearAddedMarkers();
    return purged;
}

}  // namespace

int RunUpdatePass(CProjectDatabase& db, const fs::path& script, Progress& progress, UpdatePassReport& report)
{
    report = UpdatePassReport{};
    const std::optional<std::int32_t> version = db.GetFileVersion();
    if (!version || *version < CurrentFileVersion)
        return report.code = kUpdateOldFormat;

    auto clock = std::chrono::steady_clock::now();
    auto lap = [&clock](double& seconds) {
        const auto now = std::chrono::steady_clock::now();
        seconds = std::chrono::duration<double>(now - clock).count();
        clock = now;
    };
    // The include files read now are recorded afresh with their stamps.
    db.db().exec("DELETE FROM IncludeFile");
    LineIndexSet used;
    db.LoadLineIndexes(used);
    UpdateLineStore store(db);
    store.Load();
    lap(report.loadSeconds);
    ScriptReader reader(db, used, store, ReadMode::Update, progress);
    reader.SetIncludeExtensions(IncludeExtensions(db));
    int code = reader.ReadFile(script);
    report.missingIncludes = reader.missingIncludes();
    report.unrecognisedLines = reader.unrecognisedLines();
    report.stopLine = reader.stopLine();
    report.openError = reader.openError();
    if (code == 0 && progress.Cancelled())
        code = kReadCancelled;
    lap(report.readSeconds);
    if (code == 0) {
        store.WriteMatchedPositions();
        lap(report.renumberSeconds);
        report.purgedLines = Purge(db, store);
        lap(report.purgeSeconds);
    }
    report.counts = store.counts();
    return report.code = code;
}

// --- The update transaction ----------------------------------------------------------

namespace {

// The text the pass's own error box shows.
std::string PassErrorText(const UpdatePassReport& report, const std::string& script)
{
    switch (report.code) {
    case 0:
    case kReadCancelled:
        return {};
    case rcerr::NoMemory:
        return std::string(msg::UpdateMemoryError);
    case rcerr::CantOpen:
        return report.openError;
    case rcerr::CantChangeDir:
        return msg::Format(msg::UpdateIncludeOpenError, {script});
    default: {
        std::string text = msg::Format(msg::UpdateParserError, {script});
        if (report.stopLine > 0)
            text = msg::Format(msg::ParserErrorAtLine, {text, std::to_string(report.stopLine)});
        return text;
    }
    }
}

UpdateResult Finish(UpdateResult result, UpdateOutcome outcome, const std::string& script)
{
    result.outcome = outcome;
    switch (outcome) {
    case UpdateOutcome::Updated: result.message = msg::Format(msg::UpdateSucceeded, {script}); break;
    case UpdateOutcome::Cancelled: result.message = msg::Format(msg::UpdateCancelled, {script}); break;
    case UpdateOutcome::Failed: result.message = msg::Format(msg::UpdateFailed, {script}); break;
    default: break;
    }
    return result;
}

}  // namespace

UpdateResult UpdateDatabase(const UpdateRequest& request)
{
    UpdateResult result;
    result.showMessages = !request.batch;
    const std::string script = request.script.string();
    Progress& progress = request.progress ? *request.progress : NoProgress();
    std::error_code ec;
    if (!fs::is_regular_file(request.script, ec)) {
        result.outcome = UpdateOutcome::NoScript;
        return result;
    }
    // Held until the compacted copy has replaced the database.
    const ProjectFileLock lock = ProjectFileLock::Take(request.database, LockMode::Exclusive);
    if (lock.status() == LockStatus::InUse) {
        result.errorDetail = DatabaseInUseMessage(request.database);
        return Finish(std::move(result), UpdateOutcome::Failed, script);
    }
    if (!IsProjectDatabase(request.database)) {
        result.errorDetail = msg::Format(msg::NotProjectDatabase, {request.database.string()});
        return Finish(std::move(result), UpdateOutcome::Failed, script);
    }
    const std::optional<std::int64_t> version = ReadFileVersion(request.database);
    if (version && *version > CurrentFileVersion) {
        result.errorDetail = msg::Format(msg::VersionTooNew, {request.database.string()});
        return Finish(std::move(result), UpdateOutcome::Failed, script);
    }
    if (!version || *version < CurrentFileVersion) {
        result.outcome = UpdateOutcome::NeedsConversion;
        result.code = kUpdateOldFormat;
        result.message = msg::Format(msg::UpdateNeedsConversion, {request.database.string()});
        return result;
    }
    progress.Status(msg::Format(msg::UpdateProgressTitle, {script}));
    // The stamp of the script as it is read now: a change made while the
    // update runs is noticed by the next change test.
    const std::optional<FileStamp> stamp = ReadFileStamp(request.script);

    try {
        TempFileBeside work(request.database);
        CopyDatabaseFile(request.database, work.path());
        {
            CProjectDatabase db(work.path());
            // The work copy is thrown away if anything goes wrong: no need to
            // sync it on the way (the journal stays, for include rollbacks).
            db.db().exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY");
            sql::Transaction transaction(db.db());
            result.code = RunUpdatePass(db, request.script, progress, result.report);
            result.warning = ReadingWarning(result.report.missingIncludes, result.report.unrecognisedLines);
            if (result.code == kReadCancelled)
                return Finish(std::move(result), UpdateOutcome::Cancelled, script);
            if (result.code != 0) {
                result.errorDetail = PassErrorText(result.report, script);
                return Finish(std::move(result), UpdateOutcome::Failed, script);
            }
            if (stamp)
                db.SetProjectFile(script, *stamp, CurrentFileVersion);
            result.status = ComputeProjectStatus(db);
            db.SetStatus(result.status);
            transaction.commit();
        }
        // The compacted copy replaces the original in one rename.
        const CompactResult compacted =
            CompactDatabase(work.path(), request.database, [&progress] { return !progress.Cancelled(); });
        if (!compacted.ok) {
            if (progress.Cancelled())
                return Finish(std::move(result), UpdateOutcome::Cancelled, script);
            result.errorDetail = compacted.message;
            return Finish(std::move(result), UpdateOutcome::Failed, script);
        }
    } catch (const sql::Error& e) {
        result.code = e.code();
        result.errorDetail = DatabaseErrorMessage(e);
        return Finish(std::move(result), UpdateOutcome::Failed, script);
    } catch (const fs::filesystem_error& e) {
        result.errorDetail = e.what();
        return Finish(std::move(result), UpdateOutcome::Failed, script);
    } catch (const std::bad_alloc&) {
        result.code = rcerr::NoMemory;
        result.errorDetail = std::string(msg::UpdateMemoryError);
        return Finish(std::move(result), UpdateOutcome::Failed, script);
    }
    return Finish(std::move(result), UpdateOutcome::Updated, script);
}

}  // namespace qln
