#include "projectdb/Lifecycle.h"

#include "projectdb/FileChecks.h"
#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/SafeFile.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace qln {

namespace fs = std::filesystem;

namespace {

// The extension of a path without its dot.
std::string ExtensionOf(const fs::path& path)
{
    std::string ext = path.extension().string();
    return ext.empty() ? ext : ext.substr(1);
}

fs::path WithExtension(fs::path path, std::string_view ext)
{
    if (ext.empty())
        return path.replace_extension();
    return path.replace_extension("." + std::string(ext));
}

}  // namespace

fs::path DefaultTemplatePath()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return (ec ? fs::current_path(ec) : exe.parent_path()) / kTemplateFileName;
}

// --- Pairing -----------------------------------------------------------------------

bool HasDatabaseExtension(const fs::path& path) { return EqualsNoCase(ExtensionOf(path), "mdb"); }

fs::path LongDatabasePath(const fs::path& script)
{
    fs::path name = script.stem();
    name += "_" + ExtensionOf(script) + ".mdb";
    return script.parent_path() / name;
}

fs::path ShortDatabasePath(const fs::path& script) { return WithExtension(script, "mdb"); }

fs::path DatabasePathForScript(const fs::path& script)
{
    fs::path longName = LongDatabasePath(script);
    std::error_code ec;
    if (fs::exists(longName, ec))
        return longName;
    fs::path shortName = ShortDatabasePath(script);
    if (fs::exists(shortName, ec))
        return shortName;
    return longName;
}

fs::path ScriptPathForDatabase(const fs::path& database, const std::optional<std::string>& storedSourceFile)
{
    if (!storedSourceFile || storedSourceFile->empty())
        return WithExtension(database, "rc");
    // The stored path may come from Windows: take the name after either separator.
    std::string_view stored = *storedSourceFile;
    if (auto slash = stored.find_last_of("/\\"); slash != std::string_view::npos)
        stored.remove_prefix(slash + 1);
    std::string_view title = stored, ext;
    if (auto dot = stored.rfind('.'); dot != std::string_view::npos) {
        title = stored.substr(0, dot);
        ext = stored.substr(dot + 1);
    }
    std::string dbTitle = database.stem().string();
    std::string shortened;
    if (dbTitle.size() > ext.size() + 1)
        shortened = dbTitle.substr(0, dbTitle.size() - ext.size() - 1);
    if (!shortened.empty() && EqualsNoCase(shortened, title)) {
        fs::path name = shortened;
        if (!ext.empty())
            name += "." + std::string(ext);
        return database.parent_path() / name;
    }
    return WithExtension(database, ext);
}

std::optional<std::string> ReadStoredSourceFile(const fs::path& database)
{
    try {
        sql::Database db(database, sql::Database::Mode::ReadOnly);
        sql::Statement st = db.prepare("SELECT Project.SourceFile FROM Project;");
        if (st.step() && !st.isNull(0)) {
            std::string text = st.columnText(0);
            if (!text.empty())
                return text;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

ProjectPaths PairProjectPaths(const fs::path& opened)
{
    if (HasDatabaseExtension(opened))
        return {ScriptPathForDatabase(opened, ReadStoredSourceFile(opened)), opened};
    return {opened, DatabasePathForScript(opened)};
}

// --- Recognising ---------------------------------------------------------------------

bool IsProjectDatabase(const fs::path& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    try {
        sql::Database db(path, sql::Database::Mode::ReadOnly);
        return FieldTypeOf(db, "Project", "FileVersion") == FieldType::Long;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<std::int64_t> ReadFileVersion(const fs::path& path)
{
    try {
        sql::Database db(path, sql::Database::Mode::ReadOnly);
        sql::Statement st = db.prepare("SELECT FileVersion FROM Project");
        if (st.step() && !st.isNull(0))
            return st.columnInt64(0);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// --- Creating and opening -------------------------------------------------------------

OpenResult OpenOrCreate(const OpenRequest& request)
{
    // The status bar text is cleared however the operation ends.
    struct StatusText {
        const std::function<void(std::string_view)>& show;
        void operator()(std::string_view text) const
        {
            if (show)
                show(text);
        }
        ~StatusText() { (*this)(""); }
    } status{request.status};

    OpenResult result;
    std::error_code ec;
    try {
        if (fs::exists(request.database, ec)) {
            result.database = std::make_unique<CProjectDatabase>(request.database);
            result.fileVersion = result.database->GetFileVersion().value_or(0);
            return result;
        }
        status(msg::Format(msg::StatusBuildDatabase, {request.database.string()}));
        result.fileVersion = CurrentFileVersion;
        const ProjectFileLock lock = ProjectFileLock::Take(request.database, LockMode::Exclusive);
        if (lock.status() == LockStatus::InUse) {
            result.message = DatabaseInUseMessage(request.database);
            return result;
        }
        if (!fs::is_regular_file(request.templatePath, ec)) {
            result.message = msg::Format(msg::TemplateMissing, {request.templatePath.string()});
            return result;
        }
        TempFileBeside temp(request.database);
        CopyFileContents(request.templatePath, temp.path(), ec);
        if (ec) {
            result.cause = CauseLine(request.database, ec.message());
            return result;
        }
        {
            // The stamp of the script as it is read: a change made while the
            // build runs is noticed by the next change test.
            const FileStamp stamp = ReadFileStamp(request.script).value_or(FileStamp{});
            CProjectDatabase building(temp.path());
            if (request.build && (result.buildError = request.build(building)) != 0)
                return result;
            building.SetProjectFile(request.script.string(), stamp, CurrentFileVersion);
            for (size_t i = 0; i < std::size(ProjectOptionNames); ++i)
                building.SetOption(ProjectOptionNames[i], request.options.values[i]);
        }
        temp.Commit(ec);
        if (ec) {
            result.cause = CauseLine(request.database, ec.message());
            return result;
        }
        result.database = std::make_unique<CProjectDatabase>(request.database);
        result.created = true;
    } catch (const sql::Error& e) {
        result.database.reset();
        result.errorCode = e.code();
        result.message = DatabaseErrorMessage(e);
    } catch (const fs::filesystem_error& e) {
        result.database.reset();
        result.cause = CauseLine(request.database, e.code().message());
    }
    return result;
}

VersionCheckResult CheckVersion(CProjectDatabase& database, const fs::path& script)
{
    VersionCheckResult result;
    std::optional<std::int32_t> version = database.GetFileVersion();
    std::string path = database.path().string();
    if (!version || *version < 6) {
        result.message = msg::Format(msg::VersionTooOld, {path});
        return result;
    }
    result.version = *version;
    if (*version > CurrentFileVersion) {
        result.check = VersionCheck::TooNew;
        result.message = msg::Format(msg::VersionTooNew, {path});
        return result;
    }
    result.check = VersionCheck::Accepted;
    try {
        if (database.GetStatus() != kStatusUpdateNeeded) {
            std::optional<FileStamp> stamp = ReadFileStamp(script);
            if (stamp && (database.SourceChanged(*stamp) || database.IncludesChanged(script))) {
                database.SetStatus(kStatusUpdateNeeded);
                result.sourceChanged = true;
            }
        }
    } catch (const sql::Error&) {
        // Only the change test is skipped; the database itself is usable.
    }
    return result;
}

void EnsureProjectOptions(CProjectDatabase& database, const ProjectOptions& options)
{
    for (size_t i = 0; i < std::size(ProjectOptionNames); ++i)
        if (!database.GetOption(ProjectOptionNames[i]))
            database.SetOption(ProjectOptionNames[i], options.values[i]);
}

// --- Compacting ----------------------------------------------------------------------

namespace {

int ProgressHandler(void* context)
{
    const KeepGoing& keepGoing = *static_cast<const KeepGoing*>(context);
    return keepGoing() ? 0 : 1;
}

}  // namespace

CompactResult CompactDatabase(const fs::path& source, const fs::path& target, const KeepGoing& keepGoing)
{
    CompactResult result;
    result.message = std::string(msg::CompactFailed);
    std::error_code ec;
    result.oldSize = fs::file_size(source, ec);
    if (ec) {
        result.cause = CauseLine(source, ec.message());
        return result;
    }
    const ProjectFileLock lock = ProjectFileLock::Take(target, LockMode::Exclusive);
    if (lock.status() == LockStatus::InUse) {
        result.cause = DatabaseInUseMessage(target);
        return result;
    }
    try {
        TempFileBeside temp(target);
        {
            sql::Database db(source, sql::Database::Mode::ReadOnly);
            // The copy is written with this connection's sync setting: it is
            // synced once, when committed under its name.
            db.exec("PRAGMA synchronous = OFF");
            if (keepGoing)
                sqlite3_progress_handler(db.handle(), 1000, &ProgressHandler, const_cast<KeepGoing*>(&keepGoing));
            sql::Statement st = db.prepare("VACUUM INTO ?1");
            st.bind(1, temp.path().string());
            st.run();
            sqlite3_progress_handler(db.handle(), 0, nullptr, nullptr);
        }
        if (!IsProjectDatabase(temp.path()))
            return result;
        std::uintmax_t newSize = fs::file_size(temp.path(), ec);
        if (ec)
            return result;
        temp.Commit(ec);
        if (ec) {
            result.cause = CauseLine(target, ec.message());
            return result;
        }
        result.newSize = newSize;
    } catch (const fs::filesystem_error& e) {
        result.cause = CauseLine(target, e.code().message());
        return result;
    } catch (const std::exception& e) {
        result.cause = CauseLine(target, e.what());
        return result;
    }
    result.ok = true;
    result.message = msg::Format(msg::CompactSucceeded, {target.string(), std::to_string(result.oldSize),
                                                         std::to_string(result.newSize)});
    return result;
}

CompactResult CompactDatabaseFile(const fs::path& path, const KeepGoing& keepGoing)
{
    if (!HasDatabaseExtension(path) || !IsProjectDatabase(path)) {
        CompactResult result;
        result.message = msg::Format(msg::NotProjectDatabase, {path.string()});
        return result;
    }
    return CompactDatabase(path, path, keepGoing);
}

// --- Converting ----------------------------------------------------------------------

ConvertCheckResult CheckConvertible(const fs::path& path)
{
    ConvertCheckResult result;
    std::optional<std::int64_t> version;
    if (HasDatabaseExtension(path) && IsProjectDatabase(path))
        version = ReadFileVersion(path);
    if (!version || *version < 1) {
        result.message = msg::Format(msg::NotProjectDatabase, {path.string()});
        return result;
    }
    result.version = *version;
    if (*version > 7) {
        result.check = ConvertCheck::AlreadyCurrent;
        result.message = msg::Format(msg::AlreadyActualVersion, {path.string()});
        return result;
    }
    result.check = ConvertCheck::Convertible;
    return result;
}

fs::path ConversionBackupPath(const fs::path& database)
{
    fs::path name = database.stem();
    name += "_old7.mdb";
    return database.parent_path() / name;
}

namespace {

struct Column {
    std::string name;
    std::string declType;
};

std::vector<Column> ColumnsOf(sql::Database& db, std::string_view table)
{
    std::vector<Column> columns;
    sql::Statement st = db.prepare("SELECT name, type FROM pragma_table_info(?1)");
    st.bind(1, table);
    while (st.step())
        columns.push_back({st.columnText(0), st.columnText(1)});
    return columns;
}

const Column* FindColumn(const std::vector<Column>& columns, std::string_view name)
{
    for (const Column& c : columns)
        if (EqualsNoCase(c.name, name))
            return &c;
    return nullptr;
}

// The declared type a field of this type gets here; a type we do not know
// becomes Memo, which holds any value.
std::string_view OwnDeclaredType(std::string_view foreignDecl)
{
    switch (FieldTypeOfDecl(foreignDecl)) {
    case FieldType::Long: return DeclLong;
    case FieldType::Integer: return DeclInteger;
    case FieldType::Byte: return DeclByte;
    case FieldType::Text: return DeclText;
    default: return DeclMemo;
    }
}

// Fields the old table has and the new one lacks are added to the new one
// (the translation columns of ResourceText, the option flags of Project).
void AddMissingColumns(sql::Database& from, sql::Database& to, std::string_view table)
{
    std::vector<Column> newColumns = ColumnsOf(to, table);
    for (const Column& c : ColumnsOf(from, table)) {
        if (FindColumn(newColumns, c.name))
            continue;
        to.exec("ALTER TABLE " + sql::QuoteIdentifier(table) + " ADD COLUMN " + sql::QuoteIdentifier(c.name) + " " +
                std::string(OwnDeclaredType(c.declType)));
    }
}

enum class LangRule {
    FromLanguageFields,  // Lang_Id formed from Language and SubLanguage
    SourceRows,          // Lang_Id left at 0: old formats had source layouts only
};

// Appends every row of the old table to the new one, field by field of the same
// name; the language of old rows becomes Lang_Id. Returns the rows copied.
int CopyTable(sql::Database& from, sql::Database& to, std::string_view table, LangRule rule)
{
    std::vector<Column> oldColumns = ColumnsOf(from, table);
    if (oldColumns.empty())
        return 0;  // the old file has no such table
    std::string select, insert, values;
    int count = 0;
    auto add = [&](const std::string& expr, std::string_view column) {
        if (count++) {
            select += ", ";
            insert += ", ";
            values += ", ";
        }
        select += expr;
        insert += sql::QuoteIdentifier(column);
        values += "?" + std::to_string(count);
    };
    bool oldHasLangId = FindColumn(oldColumns, "Lang_Id") != nullptr;
    for (const Column& c : ColumnsOf(to, table)) {
        if (EqualsNoCase(c.name, "Lang_Id") && !oldHasLangId) {
            if (rule == LangRule::FromLanguageFields && FindColumn(oldColumns, "Language")) {
                std::string sub = FindColumn(oldColumns, "SubLanguage") ? "coalesce(SubLanguage, 0)" : "0";
                add("coalesce(Language, 0) + 1024 * " + sub, c.name);
            }
            continue;
        }
        if (const Column* old = FindColumn(oldColumns, c.name))
            add(sql::QuoteIdentifier(old->name), c.name);
    }
    if (count == 0)
        return 0;
    sql::Statement read = from.prepare("SELECT " + select + " FROM " + sql::QuoteIdentifier(table));
    sql::Statement write =
        to.prepare("INSERT INTO " + sql::QuoteIdentifier(table) + " (" + insert + ") VALUES (" + values + ")");
    int rows = 0;
    while (read.step()) {
        write.reset();
        for (int i = 0; i < count; ++i)
            write.bind(i + 1, read.column(i));
        write.run();
        ++rows;
    }
    return rows;
}

// Creates the columns of every translation of the old file; fails (throws)
// when a translation's name belongs to no language.
bool CreateTranslationColumns(sql::Database& from, sql::Database& to)
{
    if (ColumnsOf(from, "Translations").empty())
        return true;
    sql::Statement st = from.prepare("SELECT LanguageStr FROM Translations");
    while (st.step()) {
        std::string name = st.columnText(0);
        if (!LanguageFromDisplayName(name))
            return false;
        CreateLanguageColumns(to, name);
    }
    return true;
}

// Thrown out of the copy when the user cancels; the work file is then dropped.
struct ConvertCancelled {};

bool FillConvertedDatabase(sql::Database& from, sql::Database& to, const ConvertProgress& progress,
                           const KeepGoing& keepGoing)
{
    auto report = [&](int step) {
        if (progress)
            progress(step);
        if (keepGoing && !keepGoing())
            throw ConvertCancelled{};
    };
    sql::Transaction transaction(to);
    if (!CreateTranslationColumns(from, to))
        return false;
    AddMissingColumns(from, to, "ResourceText");
    AddMissingColumns(from, to, "Project");

    static constexpr std::array<std::string_view, 13> kBeforeProject = {
        "ResFileLine", "Translations", "Source File Language", "Dialogs", "DialogControl",
        "DlgCaption", "Bitmap", "StringtableString", "Version", "Menu",
        "VersionBlockHeader", "MenuItem", "VersionBlockValues"};
    int step = 0;
    for (std::string_view table : kBeforeProject) {
        report(step++);
        bool layout = table == "Dialogs" || table == "DialogControl";
        CopyTable(from, to, table, layout ? LangRule::SourceRows : LangRule::FromLanguageFields);
    }
    report(step++);  // 13: the one Project row, now of version 8
    to.exec("DELETE FROM Project");
    if (CopyTable(from, to, "Project", LangRule::FromLanguageFields) == 0)
        to.exec("INSERT INTO Project (Status) VALUES (1)");
    to.exec("UPDATE Project SET FileVersion = 8");
    report(step++);  // 14: include stamps, settings and bookmarks are kept too
    for (std::string_view table : {"IncludeFile", "Settings", "Bookmark"})
        CopyTable(from, to, table, LangRule::FromLanguageFields);
    report(step++);  // 15
    CopyTable(from, to, "ResourceText", LangRule::FromLanguageFields);
    transaction.commit();
    report(step);  // 16
    return true;
}

}  // namespace

ConvertResult ConvertDatabase(const fs::path& database, const fs::path& templatePath, const ConvertProgress& progress,
                              const KeepGoing& keepGoing)
{
    ConvertResult result;
    std::error_code ec;
    if (!fs::is_regular_file(templatePath, ec)) {
        result.message = msg::Format(msg::TemplateMissing, {templatePath.string()});
        return result;
    }
    result.message = msg::Format(msg::ConvertFailed, {database.string()});
    // The backup is written through a work copy of its own: both are held.
    const ProjectFileLock lock = ProjectFileLock::Take(database, LockMode::Exclusive);
    const ProjectFileLock backupLock = ProjectFileLock::Take(ConversionBackupPath(database), LockMode::Exclusive);
    for (const ProjectFileLock* held : {&lock, &backupLock})
        if (held->status() == LockStatus::InUse) {
            result.message += "\n" + DatabaseInUseMessage(held->database());
            return result;
        }
    try {
        TempFileBeside temp(database);
        CopyFileContents(templatePath, temp.path(), ec);
        if (ec)
            return result;
        {
            sql::Database from(database, sql::Database::Mode::ReadOnly);
            sql::Database to(temp.path(), sql::Database::Mode::ReadWrite);
            if (!FillConvertedDatabase(from, to, progress, keepGoing))
                return result;
        }
        if (ReadFileVersion(temp.path()) != 8 || !IsProjectDatabase(temp.path()))
            return result;
        fs::path backup = ConversionBackupPath(database);
        CopyFileReplacing(database, backup, ec);
        if (ec)
            return result;
        temp.Commit(ec);
        if (ec)
            return result;
        result.backup = backup;
    } catch (const ConvertCancelled&) {
        result.cancelled = true;
        return result;
    } catch (const std::exception&) {
        return result;
    }
    result.ok = true;
    result.message = msg::Format(msg::ConvertSucceeded, {database.string(), result.backup.string()});
    return result;
}

}  // namespace qln
