// The batch operations carried out by the update and exchange parts of the
// project: updating a database from its changed script (U), exporting
// translations to a new database, a workbook or a CSV file (E) and importing
// a language from another database, a translated script or a workbook (I).

#include "app/BatchLog.h"
#include "app/BatchOperations.h"
#include "project/DatabaseExchange.h"
#include "project/ImportScript.h"
#include "project/ProjectUpdate.h"
#include "project/SheetFile.h"
#include "project/Worksheet.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

namespace qln {

namespace fs = std::filesystem;

namespace {

int Failed(BatchLog& log, const std::vector<std::string>& notes, std::string_view message)
{
    for (const std::string& note : notes)
        log.Error(note);
    if (!message.empty())
        log.Error(message);
    log.Error(msg::BatchCommandFailed);
    return batchexit::Failed;
}

// An import writes beside the project database (its work copy, the engine's
// journal): the refusal when it cannot, else empty.
std::string ImportFolderRefusal(const fs::path& database)
{
    const int e = ReadOnlyFolderError(database);
    return e ? WithCause(msg::Format(msg::ImportWriteError, {database.string()}), database, e) : std::string();
}

// A translated script (any extension beginning with "rc") is imported as the
// workbench's Import Text does: its texts fill the still empty translations of
// the named language, which is added when the project does not have it yet.
int RunScriptImport(const BatchRun& run, const fs::path& script, const fs::path& database)
{
    const auto language = ParseLanguageParameter(run.params[1]);
    if (!language)
        return LogInvalidLanguage(run.log, run.params[1]);
    std::error_code ec;
    if (!fs::is_regular_file(script, ec)) {
        run.log.Error(FileNotFoundMessage(script));
        return batchexit::Failed;
    }
    if (!OpenBatchProject(run.log, database, OpenMode::Change).database)
        return batchexit::Failed;
    if (const std::string refusal = ImportFolderRefusal(database); !refusal.empty())
        return Failed(run.log, {}, refusal);
    const ImportResult result = ImportTranslatedScript(database, script, *language);
    if (!result.ok())
        return Failed(run.log, result.notes, result.message);
    for (const std::string& note : result.notes)
        run.log.Info(note);
    run.log.Info(result.message);
    run.log.Info(
        msg::Format(msg::BatchImportSucceeded, {LanguageName(*language), script.string(), database.string()}));
    return batchexit::Ok;
}

// A workbook or CSV file: the named language's column of the sheet fills the
// project's translations (the language is added when the project lacks it).
int RunWorksheetImport(const BatchRun& run, const fs::path& sheet, const fs::path& database)
{
    const auto language = ParseLanguageParameter(run.params[1]);
    if (!language)
        return LogInvalidLanguage(run.log, run.params[1]);
    std::error_code ec;
    if (!fs::is_regular_file(sheet, ec)) {
        run.log.Error(FileNotFoundMessage(sheet));
        return batchexit::Failed;
    }
    OpenedProject to = OpenBatchProject(run.log, database, OpenMode::Change);
    if (!to.database)
        return to.exitCode;
    if (const std::string refusal = ImportFolderRefusal(database); !refusal.empty())
        return Failed(run.log, {}, refusal);
    WorksheetImportOptions options;
    options.onlyLanguage = *language;
    const WorksheetImportResult result = ImportWorksheet(*to.database, sheet, options);
    if (!result.ok)
        return Failed(run.log, result.notices, result.message);
    for (const std::string& note : result.notices)
        run.log.Info(note);
    run.log.Info(result.message);
    run.log.Info(msg::Format(msg::BatchImportSucceeded, {LanguageName(*language), sheet.string(), database.string()}));
    return batchexit::Ok;
}

// Writes the texts the project's text table shows, with identifiers, source
// and the chosen languages (all when none is named), to a workbook or CSV file.
int RunWorksheetExport(const BatchRun& run, CProjectDatabase& project, const fs::path& source, const fs::path& target,
                       const std::optional<std::vector<LanguagePair>>& languages)
{
    WorksheetColumns columns = AllColumns(project);
    if (languages)
        columns.languages = *languages;
    const WorksheetExportResult result =
        ExportWorksheet(project, target, columns, TextTableFilter::FromProject(project));
    if (!result.ok)
        return Failed(run.log, {}, result.message);
    run.log.Info(msg::Format(msg::BatchExportSucceeded, {source.string(), target.string()}));
    for (const LanguagePair& language : columns.languages)
        run.log.Info(msg::Format(msg::BatchExportLanguage, {LanguageName(language)}));
    return batchexit::Ok;
}

}  // namespace

int RunUpdate(const BatchRun& run)
{
    const ScriptAndDatabase files = ReadScriptAndDatabase(run, msg::BatchUpdateHeader, msg::BatchUpdateHeaderScript);
    if (!files.ok) {
        run.log.Error(msg::BatchUpdateFailed);
        return batchexit::Failed;
    }
    OpenedProject opened = OpenBatchProject(run.log, files.database, OpenMode::Change);
    if (!opened.database) {
        run.log.Error(msg::BatchUpdateFailed);
        return opened.exitCode;
    }
    opened.database.reset();  // the update replaces the file
    // It is made anew beside the old one.
    if (const int e = ReadOnlyFolderError(files.database)) {
        run.log.Error(WithCause(msg::BatchUpdateFailed, files.database, e));
        return batchexit::Failed;
    }
    UpdateRequest request;
    request.script = files.script;
    request.database = files.database;
    request.batch = true;
    const UpdateResult result = UpdateDatabase(request);
    if (!result.warning.empty())
        run.log.Info(result.warning);
    switch (result.outcome) {
    case UpdateOutcome::Updated:
        run.log.Info(msg::BatchUpdateSucceeded);
        return batchexit::Ok;
    case UpdateOutcome::NoScript:
        run.log.Error(FileNotFoundMessage(request.script));
        break;
    case UpdateOutcome::NeedsConversion:
    case UpdateOutcome::Cancelled:
    case UpdateOutcome::Failed:
        if (!result.errorDetail.empty())
            run.log.Error(result.errorDetail);
        if (!result.message.empty())
            run.log.Error(result.message);
        break;
    }
    run.log.Error(msg::BatchUpdateFailed);
    return batchexit::Failed;
}

int RunExport(const BatchRun& run)
{
    run.log.Info(msg::BatchExportHeader);
    const fs::path source = run.params[0];
    const fs::path target = run.params[1];
    DatabaseExportOptions options;
    if (run.params.size() > 2) {
        std::vector<LanguagePair> languages;
        for (std::size_t i = 2; i < run.params.size(); ++i) {
            auto language = ParseLanguageParameter(run.params[i]);
            if (!language)
                return LogInvalidLanguage(run.log, run.params[i]);
            languages.push_back(*language);
        }
        options.languages = std::move(languages);
    }
    OpenedProject opened = OpenBatchProject(run.log, source, OpenMode::Read);
    if (!opened.database)
        return opened.exitCode;
    if (options.languages) {
        for (const LanguagePair& language : *options.languages) {
            if (!HasLanguageColumn(*opened.database, language.primary, language.sub))
                return LogLanguageNotInDatabase(run.log, language, source);
        }
    }
    if (SheetFormatOf(target) != SheetFormat::Unknown)
        return RunWorksheetExport(run, *opened.database, source, target, options.languages);
    if (!HasDatabaseExtension(target)) {
        run.log.Error(msg::Format(msg::BatchWrongFileType, {target.string()}));
        return batchexit::Failed;
    }
    if (const int e = ReadOnlyFolderError(target))
        return Failed(run.log, {},
                      WithCause(msg::Format(msg::ExportDbCopyFailed, {source.string(), target.string()}), target, e));
    // An existing file may be another project with its translations: batch
    // mode cannot ask whether to replace it, so it never does.
    const ExportResult result = ExportDatabase(*opened.database, target, options);
    if (result.status == ExportStatus::AskOverwrite)
        return Failed(run.log, {}, msg::Format(msg::BatchExportTargetExists, {target.string()}));
    if (!result.ok())
        return Failed(run.log, {}, result.message);
    run.log.Info(msg::Format(msg::BatchExportSucceeded, {source.string(), target.string()}));
    for (const LanguagePair& language : result.languages)
        run.log.Info(msg::Format(msg::BatchExportLanguage, {LanguageName(language)}));
    return batchexit::Ok;
}

int RunImport(const BatchRun& run)
{
    run.log.Info(msg::BatchImportHeader);
    const fs::path source = run.params[0];
    const fs::path database = run.params[2];
    switch (ClassifyImportFile(source)) {
    case ImportFileType::Script:
        return RunScriptImport(run, source, database);
    case ImportFileType::Worksheet:
        return RunWorksheetImport(run, source, database);
    default:
        break;
    }
    LanguagePair language{};
    {
        ProjectWithLanguage from = OpenWithLanguage(run, 0, 1, OpenMode::Read);
        if (!from.database)
            return from.exitCode;
        language = from.language;
        if (!from.hasLanguage)
            return LogLanguageNotInDatabase(run.log, language, source);
        OpenedProject to = OpenBatchProject(run.log, database, OpenMode::Change);
        if (!to.database)
            return to.exitCode;
    }
    if (const std::string refusal = ImportFolderRefusal(database); !refusal.empty())
        return Failed(run.log, {}, refusal);
    const ImportResult result = ImportFromDatabase(database, source, language);
    if (result.status != ImportStatus::Imported && result.status != ImportStatus::Nothing)
        return Failed(run.log, result.notes, result.message);
    for (const std::string& note : result.notes)
        run.log.Info(note);
    run.log.Info(
        msg::Format(msg::BatchImportSucceeded, {LanguageName(language), source.string(), database.string()}));
    return batchexit::Ok;
}

}  // namespace qln
