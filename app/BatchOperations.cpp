// The dispatch of batch commands and the operations that only read a
// project (T, D, L) or work on files (LIDS, COMP).

#include "app/BatchOperations.h"

#include "app/BatchCommandLine.h"
#include "app/BatchLog.h"
#include "projectdb/FileChecks.h"
#include "projectdb/FileStamp.h"
#include "projectdb/Languages.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace qln {

namespace fs = std::filesystem;

namespace {

constexpr BatchOperation kOperations[] = {
    {batchcmd::CreateDb, msg::UsageCreateDb, {}, 1, 0b1, RunCreateDb},
    {batchcmd::AddLang, msg::UsageAddLang, msg::UsageAddLangCodePage, 4, 0b101, RunAddLang},
    {batchcmd::WriteRc, msg::UsageWriteRc, {}, 3, 0b101, RunWriteRc},
    {batchcmd::Translated, msg::UsageTranslated, {}, 2, 0b1, RunIsTranslated},
    {batchcmd::UpToDate, msg::UsageUpToDate, {}, 2, 0b11, RunIsUpToDate},
    {batchcmd::HasLanguage, msg::UsageHasLanguage, {}, 2, 0b1, RunHasLanguage},
    {batchcmd::Update, msg::UsageUpdate, {}, 2, 0b11, RunUpdate},
    {batchcmd::Export, msg::UsageExport, {}, -1, 0b11, RunExport},
    {batchcmd::Import, msg::UsageImport, {}, 3, 0b101, RunImport},
    {batchcmd::Compact, msg::UsageCompact, {}, 1, 0b1, RunCompact},
    {batchcmd::ListLids, msg::UsageListLids, {}, 1, 0b1, RunListLids},
};

int UsageError(BatchLog& log, std::string_view error, const BatchOperation& op)
{
    log.Error(error);
    log.Error(op.usage);
    if (!op.usageExtra.empty())
        log.Error(op.usageExtra);
    return batchexit::Usage;
}

struct TranslationCounts {
    std::int64_t amount = 0;      // texts that are not excluded
    std::int64_t translated = 0;  // of those, with a translation
    std::int64_t notActual = 0;   // of those, flagged: the source changed after translating
};

// Counts as the project status does: every text that is not excluded.
TranslationCounts CountTranslation(CProjectDatabase& project, std::string_view language)
{
    const std::string column = "ResourceText." + sql::QuoteIdentifier(language);
    const std::string flag = "ResourceText." + sql::QuoteIdentifier(LanguageFlagColumn(language));
    sql::Statement st = project.db().prepare(
        "SELECT count(*), count(CASE WHEN coalesce(" + column + ", '') <> '' THEN 1 END), count(CASE WHEN coalesce(" +
        flag + ", 0) <> 0 THEN 1 END) FROM ResourceText JOIN ResFileLine ON ResFileLine.LineIndex = "
        "ResourceText.LineIndex WHERE coalesce(ResourceText.Exclude, 0) = 0");
    TranslationCounts counts;
    if (st.step()) {
        counts.amount = st.columnInt64(0);
        counts.translated = st.columnInt64(1);
        counts.notActual = st.columnInt64(2);
    }
    return counts;
}

}  // namespace

std::span<const BatchOperation> BatchOperations()
{
    return kOperations;
}

const BatchOperation* FindOperation(int commandId)
{
    for (const BatchOperation& op : kOperations)
        if (op.commandId == commandId)
            return &op;
    return nullptr;
}

int RunBatchCommand(const CBatchCommandLineInfo& info, BatchLog& log)
{
    if (info.switches.size() > 1) {
        std::string given;
        for (const std::string& s : info.switches)
            given += (given.empty() ? "/" : " /") + s;
        log.Error(msg::Format(msg::BatchOneCommandOnly, {given}));
        return batchexit::Usage;
    }
    const BatchSwitchEntry* entry = info.switches.empty() ? nullptr : FindBatchSwitch(info.switches.front());
    const BatchOperation* op = entry ? FindOperation(entry->commandId) : nullptr;
    if (!op) {
        log.Error(msg::Format(msg::BatchUnknownFlag, {info.switches.empty() ? "" : info.switches.front()}));
        return batchexit::Usage;
    }
    const auto count = static_cast<int>(info.params.size());
    if (count < entry->minParams)
        return UsageError(log, msg::BatchMissingParameter, *op);
    if (op->maxParams >= 0 && count > op->maxParams)
        return UsageError(log, msg::BatchTooManyParameters, *op);
    try {
        const auto locks = LockCommandFiles(op->commandId, info.params, log);
        if (!locks)
            return batchexit::Failed;
        return op->run(BatchRun{log, info.params});
    } catch (const sql::Error& e) {
        log.Error(msg::Format(msg::BatchDaoException, {DatabaseErrorMessage(e)}));
    } catch (const std::exception& e) {
        log.Error(e.what());
    }
    log.Error(msg::BatchCommandFailed);
    return batchexit::Failed;
}

void PrintUsage(std::FILE* out)
{
    auto line = [out](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fputc('\n', out);
    };
    line(msg::BatchUsageTitle);
    for (const BatchOperation& op : kOperations) {
        line(op.usage);
        if (!op.usageExtra.empty())
            line(op.usageExtra);
    }
    line(msg::UsageLogFile);
    line(msg::BatchUsageLanguage);
    line(msg::BatchUsageExitCodes);
}

int RunIsTranslated(const BatchRun& run)
{
    run.log.Info(msg::Format(msg::BatchTranslatedHeader, {run.params[0], run.params[1]}));
    ProjectWithLanguage opened = OpenWithLanguage(run, 0, 1, OpenMode::Read);
    if (!opened.database)
        return opened.exitCode;
    if (!opened.hasLanguage)
        return LogLanguageNotInDatabase(run.log, opened.language, run.params[0]);
    const TranslationCounts counts = CountTranslation(*opened.database, LanguageName(opened.language));
    const bool complete = counts.translated >= counts.amount;
    run.log.Info(complete ? msg::BatchYes : msg::BatchNo);
    run.log.Info(msg::Format(msg::BatchTranslatedCounts, {std::to_string(counts.amount),
                                                          std::to_string(counts.translated),
                                                          std::to_string(counts.notActual)}));
    return complete ? batchexit::Ok : batchexit::No;
}

int RunIsUpToDate(const BatchRun& run)
{
    const ScriptAndDatabase files =
        ReadScriptAndDatabase(run, msg::BatchUpToDateHeader, msg::BatchUpToDateHeaderScript);
    if (!files.ok)
        return batchexit::Failed;
    OpenedProject opened = OpenBatchProject(run.log, files.database, OpenMode::Read);
    if (!opened.database)
        return opened.exitCode;
    const fs::path& script = files.script;
    const auto stamp = ReadFileStamp(script);
    if (!stamp) {
        run.log.Error(FileNotFoundMessage(script));
        return batchexit::Failed;
    }
    // A project already marked as waiting for its update stays out of date.
    CProjectDatabase& project = *opened.database;
    const bool changed = project.GetStatus() == kStatusUpdateNeeded || project.SourceChanged(*stamp) ||
                         project.IncludesChanged(script);
    run.log.Info(changed ? msg::BatchUpToDateNo : msg::BatchUpToDateYes);
    return changed ? batchexit::No : batchexit::Ok;
}

int RunHasLanguage(const BatchRun& run)
{
    run.log.Info(msg::Format(msg::BatchHasLanguageHeader, {run.params[0], run.params[1]}));
    ProjectWithLanguage opened = OpenWithLanguage(run, 0, 1, OpenMode::Read);
    if (!opened.database)
        return opened.exitCode;
    run.log.Info(opened.hasLanguage ? msg::BatchYes : msg::BatchNo);
    return opened.hasLanguage ? batchexit::Ok : batchexit::No;
}

int RunListLids(const BatchRun& run)
{
    std::string text(msg::BatchListLidsHeader);
    text += '\n';
    for (const LanguageEntry& row : LanguageTable()) {
        text += msg::Format(msg::BatchListLidsLine, {row.ident, row.displayName});
        text += '\n';
    }
    const fs::path file = run.params[0];
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        const int cause = errno;
        run.log.Error(msg::Format(msg::BatchCannotWriteFile, {file.string(), std::strerror(cause)}));
        run.log.Error(msg::BatchCommandFailed);
        return batchexit::Failed;
    }
    return batchexit::Ok;
}

int RunCompact(const BatchRun& run)
{
    const fs::path database = run.params[0];
    run.log.Info(msg::Format(msg::BatchCompactHeader, {database.string()}));
    auto notCompacted = [&run](std::string_view error) {
        run.log.Error(error);
        run.log.Error(msg::BatchCompactNotDone);
        return batchexit::Failed;
    };
    std::error_code ec;
    if (!fs::is_regular_file(database, ec))
        return notCompacted(FileNotFoundMessage(database));
    if (!HasDatabaseExtension(database))
        return notCompacted(msg::Format(msg::BatchWrongFileType, {database.string()}));
    if (const std::string refusal = ProjectDatabaseRefusal(database, OpenMode::Change); !refusal.empty())
        return notCompacted(refusal);
    if (!IsWritableFile(database))
        return notCompacted(msg::Format(msg::BatchReadOnlyDatabase, {database.string()}));
    const std::string failed = msg::Format(msg::BatchCompactFailed, {database.string()});
    // The compacted copy is made beside the database.
    if (const int e = ReadOnlyFolderError(database))
        return notCompacted(WithCause(failed, database, e));
    const CompactResult result = CompactDatabaseFile(database);
    if (!result.ok)
        return notCompacted(result.cause.empty() ? failed : failed + "\n" + result.cause);
    run.log.Info(msg::BatchCompactSucceeded);
    return batchexit::Ok;
}

}  // namespace qln
