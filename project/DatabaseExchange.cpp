#include "project/DatabaseExchange.h"

#include "project/TextTable.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/SafeFile.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <sqlite3.h>

#include <algorithm>
#include <new>

namespace qln {

namespace fs = std::filesystem;

namespace {

bool Contains(const std::vector<LanguagePair>& list, LanguagePair language)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const LanguagePair& l) { return l.primary == language.primary && l.sub == language.sub; });
}

std::string NameOf(LanguagePair language)
{
    auto name = LanguageDisplayName(language.primary, language.sub);
    return name ? std::string(*name) : LanguageIdentString(language.primary, language.sub);
}

// Removes a translation from the export copy with everything kept for it alone.
void DropLanguage(CProjectDatabase& copy, LanguagePair language)
{
    const LanguageResult dropped = DeleteLanguage(copy, language.primary, language.sub);
    if (dropped.status != LanguageStatus::Ok)
        throw sql::Error(dropped.errorCode != 0 ? dropped.errorCode : SQLITE_ERROR, 0, dropped.message);
    if (!copy.UsesLangId())
        return;
    const std::int32_t id = LangIdOf(language.primary, language.sub);
    for (const char* table : {"Dialogs", "DialogControl", "Settings"})
        copy.db().prepare(std::string("DELETE FROM ") + table + " WHERE Lang_Id = ?1").bind(1, id).run();
}

ImportResult Refusal(std::string_view pattern, const fs::path& source, std::string_view language = {})
{
    ImportResult result;
    result.status = ImportStatus::Failed;
    result.message = msg::Format(pattern, {source.string(), language});
    return result;
}

// Fills the empty translations of `project` from `from`, both tables with
// the language. Every row of the source is matched, translated or not, so
// that the n-th of several rows with one key meets the n-th of the project.
void FillTranslations(CProjectDatabase& project, const TextTable& from, const TextTable& to, LanguagePair language,
                      ImportResult& result)
{
    const int sourceColumn = from.languageIndex(language.primary, language.sub);
    const int targetColumn = to.languageIndex(language.primary, language.sub);
    TextRowMatcher matcher(to);
    for (const TextTableRow& row : from.rows) {
        const int found = matcher.match(row.resourceIdent, row.itemType(), row.idText, &row.sourceText);
        const std::string& text = row.translations[static_cast<std::size_t>(sourceColumn)];
        if (text.empty())
            continue;
        ++result.read;
        if (found < 0)
            continue;
        ++result.matched;
        const TextTableRow& target = to.rows[static_cast<std::size_t>(found)];
        if (target.excluded || !target.translations[static_cast<std::size_t>(targetColumn)].empty())
            continue;
        // A translation made for another source text, or one its own project
        // flagged, is to be checked.
        const bool notActual =
            row.modified[static_cast<std::size_t>(sourceColumn)] || row.sourceText != target.sourceText;
        if (project.SetTranslation(target.lineIndex, language.primary, language.sub, text, notActual))
            ++result.imported;
    }
}

}  // namespace

void CopyDatabaseFile(sql::Database& from, const fs::path& to, bool synced)
{
    sql::Database target(to, sql::Database::Mode::Create);
    if (!synced)
        target.exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = OFF");
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", from.handle(), "main");
    if (!backup)
        target.fail(sqlite3_errcode(target.handle()));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        throw sql::Error(stepped, stepped, sqlite3_errstr(stepped));
    if (finished != SQLITE_OK)
        target.fail(finished);
}

void CopyDatabaseFile(const fs::path& from, const fs::path& to)
{
    sql::Database source(from, sql::Database::Mode::ReadWrite);
    CopyDatabaseFile(source, to, false);
}

ExportResult ExportDatabase(CProjectDatabase& project, const fs::path& target, const DatabaseExportOptions& options)
{
    ExportResult result;
    const std::string shown = target.string();
    auto refuse = [&](std::string_view pattern, ExportStatus status = ExportStatus::Refused) {
        result.status = status;
        result.message = msg::Format(pattern, {shown});
        return result;
    };
    if (SameFile(project.path(), target))
        return refuse(msg::ExportDbIsCurrent);
    if (options.isOpen && options.isOpen(target))
        return refuse(msg::ExportDbIsOpen);
    // Held from the test that the target is new until it is in place.
    const ProjectFileLock lock = ProjectFileLock::Take(target, LockMode::Exclusive);
    if (lock.status() == LockStatus::InUse) {
        result.status = ExportStatus::Failed;
        result.message = DatabaseInUseMessage(target);
        return result;
    }
    std::error_code ec;
    if (fs::exists(target, ec) && !options.overwrite)
        return refuse(msg::ExportDbExists, ExportStatus::AskOverwrite);
    auto failed = [&](std::string_view cause) {
        result.status = ExportStatus::Failed;
        result.message =
            msg::Format(msg::ExportDbCopyFailed, {project.path().string(), shown}) + "\n" + CauseLine(target, cause);
        return result;
    };

    try {
        const std::vector<LanguagePair> present = ListLanguages(project);
        const std::vector<LanguagePair> keep = options.languages.value_or(present);
        for (const LanguagePair& language : keep)
            if (!Contains(present, language)) {
                result.status = ExportStatus::Refused;
                result.message = msg::Format(msg::ExportDbNoSuchLanguage, {project.path().string(), NameOf(language)});
                return result;
            }
        TempFileBeside file(target);
        CopyDatabaseFile(project.db(), file.path());
        {
            CProjectDatabase copy(file.path());
            for (const LanguagePair& language : present)
                if (!Contains(keep, language))
                    DropLanguage(copy, language);
            copy.db().exec("VACUUM");
        }
        file.Commit(ec);
        if (ec)
            throw fs::filesystem_error(ec.message(), target, ec);
        for (const LanguagePair& language : present)
            if (Contains(keep, language))
                result.languages.push_back(language);
    } catch (const fs::filesystem_error& e) {
        return failed(e.code().message());
    } catch (const std::exception& e) {
        return failed(e.what());
    }
    result.status = ExportStatus::Exported;
    result.message = msg::Format(msg::ExportDbDone, {shown});
    return result;
}

ImportResult ImportFromDatabase(const fs::path& database, const fs::path& source, LanguagePair language,
                                const DatabaseImportOptions& options)
{
    if (source.empty() || !LanguageDisplayName(language.primary, language.sub))
        return {};
    if (SameFile(database, source))
        return Refusal(msg::ImportDbIsCurrent, source);
    if (!IsProjectDatabase(source))
        return Refusal(msg::NotProjectDatabase, source);
    Progress& progress = options.progress ? *options.progress : NoProgress();
    progress.Status(msg::Format(msg::ImportProgressTitle, {source.string()}));

    TextTable from;
    try {
        CProjectDatabase other(source, sql::Database::Mode::ReadOnly);
        const std::vector<LanguagePair> languages = ListLanguages(other);
        if (languages.empty())
            return Refusal(msg::ImportDbNoTranslation, source);
        if (!Contains(languages, language))
            return Refusal(msg::ImportDbLacksLanguage, source, NameOf(language));
        from = LoadTextTable(other, TextTableFilter{}, progress);
    } catch (const sql::Error& e) {
        return FailedImport({}, source, DatabaseErrorMessage(e));
    }
    ImportResult result = ImportOnWorkCopy(database, source, language, [&](CProjectDatabase& project, ImportResult& out) {
        const TextTable to = LoadTextTable(project, TextTableFilter{}, progress);
        if (progress.Cancelled()) {
            out.status = ImportStatus::Cancelled;
            return false;
        }
        FillTranslations(project, from, to, language, out);
        return true;
    });
    if (result.ok() && options.sourceOpen)
        result.question = msg::Format(msg::ImportDbFinished, {source.string()});
    return result;
}

ImportResult ImportFromDatabase(std::unique_ptr<CProjectDatabase>& project, const fs::path& source,
                                LanguagePair language, const DatabaseImportOptions& options)
{
    return ImportWithDatabaseClosed(project, source, [&](const fs::path& database) {
        return ImportFromDatabase(database, source, language, options);
    });
}

}  // namespace qln
