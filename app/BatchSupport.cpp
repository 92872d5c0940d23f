#include "app/BatchSupport.h"

#include "app/BatchLog.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>

namespace qln {

namespace fs = std::filesystem;

namespace {

// The whole text as a number in the given base, up to 0xFFFF.
std::optional<int> ParseNumber(std::string_view text, int base)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end || value < 0 || value > 0xFFFF)
        return std::nullopt;
    return value;
}

bool AllDigits(std::string_view text, bool hex)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [hex](char c) {
        return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

std::optional<LanguagePair> FromCombined(int value)
{
    return LanguagePair{value & 0x3FF, value >> 10};
}

std::optional<LanguagePair> FindLanguage(std::string_view text)
{
    if (auto byName = LanguageFromDisplayName(text))
        return byName;
    for (const LanguageEntry& row : LanguageTable()) {
        if (EqualsNoCase(text, row.displayName) || EqualsNoCase(text, row.ident))
            return LanguagePair{row.primary, row.sub};
    }
    // An identifier string that the table does not list comes before a
    // decimal reading only when it cannot be decimal ("0C1A").
    if (AllDigits(text, false))
        return FromCombined(ParseNumber(text, 10).value_or(-1));
    if (text.size() == 4 && AllDigits(text, true))
        return FromCombined(*ParseNumber(text, 16));
    return std::nullopt;
}

}  // namespace

std::optional<LanguagePair> ParseLanguageParameter(std::string_view text)
{
    auto language = FindLanguage(text);
    if (!language || language->primary < 0 || language->sub < 0 ||
        !LanguageDisplayName(language->primary, language->sub))
        return std::nullopt;
    return language;
}

std::string LanguageName(const LanguagePair& language)
{
    return std::string(LanguageDisplayName(language.primary, language.sub).value_or(""));
}

std::optional<int> ParseCodePageParameter(std::string_view text)
{
    if (!AllDigits(text, false))
        return std::nullopt;
    auto number = ParseNumber(text, 10);
    if (!number || !IsSupportedCodePage(*number))
        return std::nullopt;
    return number;
}

bool IsWritableFile(const fs::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

int ReadOnlyFolderError(const fs::path& file)
{
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return 0;
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return errno;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? EACCES : 0;
}

std::string FileNotFoundMessage(const fs::path& path)
{
    return msg::Format(msg::BatchFileNotFound, {path.string()}) + "\n" + CauseLine(path, NotARegularFileCause(path));
}

std::string ProjectDatabaseRefusal(const fs::path& path, OpenMode mode)
{
    const std::string refusal = msg::Format(msg::BatchNotQlnDatabase, {path.string()});
    if (!IsProjectDatabase(path))
        return refusal;
    const std::vector<std::string> missing =
        MissingProjectTables(path, mode == OpenMode::Read ? TableNeed::Read : TableNeed::All);
    return missing.empty() ? std::string() : refusal + "\n" + MissingTablesLine(missing);
}

OpenedProject OpenBatchProject(BatchLog& log, const fs::path& path, OpenMode mode)
{
    OpenedProject opened;
    opened.exitCode = batchexit::Failed;
    std::error_code ec;
    const std::string shown = path.string();
    if (!fs::is_regular_file(path, ec)) {
        log.Error(FileNotFoundMessage(path));
        return opened;
    }
    if (!HasDatabaseExtension(path)) {
        log.Error(msg::Format(msg::BatchWrongFileType, {shown}));
        return opened;
    }
    if (const std::string refusal = ProjectDatabaseRefusal(path, mode); !refusal.empty()) {
        log.Error(refusal);
        return opened;
    }
    if (mode == OpenMode::Change && !IsWritableFile(path)) {
        log.Error(msg::Format(msg::BatchReadOnlyDatabase, {shown}));
        return opened;
    }
    try {
        auto database = std::make_unique<CProjectDatabase>(
            path, mode == OpenMode::Read ? sql::Database::Mode::ReadOnly : sql::Database::Mode::ReadWrite);
        const auto version = database->GetFileVersion();
        if (!version || *version < 6) {
            log.Error(msg::Format(msg::VersionTooOld, {shown}));
            return opened;
        }
        if (*version > 8) {
            log.Error(msg::Format(msg::VersionTooNew, {shown}));
            return opened;
        }
        opened.database = std::move(database);
        opened.exitCode = batchexit::Ok;
    } catch (const sql::Error& e) {
        log.Error(msg::Format(msg::BatchDaoException, {DatabaseErrorMessage(e)}));
    }
    return opened;
}

fs::path ScriptOfDatabase(const fs::path& database)
{
    return ScriptPathForDatabase(database, ReadStoredSourceFile(database));
}

int LogInvalidLanguage(BatchLog& log, std::string_view text)
{
    log.Error(msg::Format(msg::BatchLanguageInvalid, {text}));
    return batchexit::Usage;
}

ScriptAndDatabase ReadScriptAndDatabase(const BatchRun& run, std::string_view databaseHeader,
                                        std::string_view scriptHeader)
{
    ScriptAndDatabase result;
    if (run.params.size() < 2) {
        run.log.Info(msg::Format(databaseHeader, {run.params[0]}));
        result.database = run.params[0];
        result.script = ScriptOfDatabase(result.database);
        return result;
    }
    run.log.Info(msg::Format(scriptHeader, {run.params[0], run.params[1]}));
    result.script = run.params[0];
    result.database = run.params[1];
    if (HasDatabaseExtension(result.script)) {
        run.log.Error(msg::Format(msg::BatchWrongFileType, {run.params[0]}));
        result.ok = false;
    }
    return result;
}

int LogLanguageNotInDatabase(BatchLog& log, const LanguagePair& language, const fs::path& database)
{
    log.Error(msg::Format(msg::BatchLanguageNotInDatabase, {LanguageName(language), database.string()}));
    return batchexit::Failed;
}

ProjectWithLanguage OpenWithLanguage(const BatchRun& run, std::size_t databaseParam, std::size_t languageParam,
                                     OpenMode mode)
{
    ProjectWithLanguage result;
    const auto language = ParseLanguageParameter(run.params[languageParam]);
    if (!language) {
        result.exitCode = LogInvalidLanguage(run.log, run.params[languageParam]);
        return result;
    }
    result.language = *language;
    OpenedProject opened = OpenBatchProject(run.log, run.params[databaseParam], mode);
    result.exitCode = opened.exitCode;
    result.database = std::move(opened.database);
    if (result.database)
        result.hasLanguage = HasLanguageColumn(*result.database, language->primary, language->sub);
    return result;
}

}  // namespace qln
