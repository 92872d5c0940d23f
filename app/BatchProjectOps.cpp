// The batch operations that make or change a project's files: creating the
// database (C), adding a translation (A) and writing a translated script (RC).

#include "app/BatchLog.h"
#include "app/BatchOperations.h"
#include "project/ProjectBuild.h"
#include "project/OptionRules.h"
#include "project/ProjectFiles.h"
#include "project/TranslationWriter.h"
#include "projectdb/DefaultCodePage.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Languages.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

namespace qln {

namespace fs = std::filesystem;

namespace {

int Failed(BatchLog& log, std::string_view message)
{
    if (!message.empty())
        log.Error(message);
    log.Error(msg::BatchCommandFailed);
    return batchexit::Failed;
}

}  // namespace

int RunCreateDb(const BatchRun& run)
{
    const fs::path script = run.params[0];
    run.log.Info(msg::BatchCreateHeader);
    std::error_code ec;
    if (!fs::is_regular_file(script, ec)) {
        run.log.Error(FileNotFoundMessage(script));
        return batchexit::Failed;
    }
    if (HasDatabaseExtension(script)) {
        run.log.Error(msg::Format(msg::BatchWrongFileType, {script.string()}));
        return batchexit::Failed;
    }
    const fs::path database = DatabasePathForScript(script);
    if (fs::exists(database, ec)) {
        run.log.Error(msg::Format(msg::BatchCreateExists, {database.string(), script.string()}));
        return batchexit::Failed;
    }
    if (const int e = ReadOnlyFolderError(database))
        return Failed(run.log, WithCause(msg::Format(msg::BuildDatabaseError, {database.string()}), database, e));
    BuildResult result = BuildProjectDatabase(script, database);
    if (!result.ok() || !result.created)
        return Failed(run.log, result.message);
    if (!result.report.warning.empty())
        run.log.Info(result.report.warning);
    run.log.Info(msg::Format(msg::BatchCreateSucceeded, {database.string(), script.string()}));
    return batchexit::Ok;
}

int RunAddLang(const BatchRun& run)
{
    run.log.Info(msg::BatchAddLangHeader);
    const fs::path database = run.params[0];
    const fs::path file = run.params[2];
    ProjectWithLanguage opened = OpenWithLanguage(run, 0, 1, OpenMode::Change);
    if (!opened.database)
        return opened.exitCode;
    const LanguagePair language = opened.language;
    const fs::path script = ScriptOfDatabase(database);
    std::optional<int> codePage;
    if (run.params.size() > 3) {
        codePage = ParseCodePageParameter(run.params[3]);
        if (!codePage) {
            run.log.Error(msg::Format(msg::BatchCodePageInvalid, {run.params[3]}));
            return batchexit::Usage;
        }
    }
    CProjectDatabase& project = *opened.database;
    if (const int e = ReadOnlyFolderError(database))
        return Failed(run.log, WithCause(msg::AddLanguageFailed, database, e));
    // A file the project reads is a wrong parameter, never to be overwritten.
    if (const std::string refusal = TranslationFileRefusal(project, script, file); !refusal.empty()) {
        Failed(run.log, refusal);
        return batchexit::Usage;
    }
    // Nobody can be asked in batch mode: an existing file is simply replaced
    // when the translation is written.
    const FileNameCheckResult check = CheckTranslationFileName(project, script, file);
    if (check.check != FileNameCheck::Ok && check.check != FileNameCheck::AskOverwrite)
        return Failed(run.log, check.message);
    if (!codePage)
        codePage = DefaultTranslationCodePage(script, language.primary, language.sub);
    const LanguageResult added =
        NewTranslation(project, language.primary, language.sub, *codePage, StoredTranslationName(script, file));
    if (added.status != LanguageStatus::Ok)
        return Failed(run.log, added.message);
    RecomputeProjectStatus(project);
    run.log.Info(msg::Format(msg::BatchAddLangSucceeded, {LanguageName(language), database.string()}));
    return batchexit::Ok;
}

int RunWriteRc(const BatchRun& run)
{
    run.log.Info(msg::BatchWriteHeader);
    const fs::path database = run.params[0];
    const fs::path output = run.params[2];
    // Changes the project too: the written file's name and stamp are stored.
    ProjectWithLanguage opened = OpenWithLanguage(run, 0, 1, OpenMode::Change);
    if (!opened.database)
        return opened.exitCode;
    const LanguagePair language = opened.language;
    if (!opened.hasLanguage)
        return LogLanguageNotInDatabase(run.log, language, database);
    // The writer refuses the project's own files: a slip of the command line.
    std::error_code ec;
    const fs::path script = fs::absolute(ScriptOfDatabase(database), ec);
    if (const int e = ReadOnlyFolderError(output))
        return Failed(run.log, WithCause(FileErrorText(FileErrorCause(e)), output, e));
    const WriteResult written =
        WriteTranslatedScript(output, script, *opened.database, language.primary, language.sub);
    if (written.status != WriteStatus::Written) {
        Failed(run.log, written.message);
        return written.status == WriteStatus::ProjectFile ? batchexit::Usage : batchexit::Failed;
    }
    RecordTranslationFile(*opened.database, language.primary, language.sub, StoredTranslationName(script, output),
                          output);
    run.log.Info(msg::Format(msg::BatchWriteSucceeded, {LanguageName(language), database.string(), output.string()}));
    return batchexit::Ok;
}

}  // namespace qln
