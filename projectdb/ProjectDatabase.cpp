#include "projectdb/ProjectDatabase.h"

#include "projectdb/Languages.h"
#include "projectdb/Statements.h"
#include "rcscript/Messages.h"

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace qln {

namespace {

// Binds a text, or null when it is empty.
void bindTextOrNull(sql::Statement& st, int index, std::string_view text)
{
    if (text.empty())
        st.bind(index, nullptr);
    else
        st.bind(index, text);
}

void bindOptInt(sql::Statement& st, int index, const std::optional<std::int32_t>& value)
{
    if (value)
        st.bind(index, *value);
    else
        st.bind(index, nullptr);
}

bool isOptionName(std::string_view name)
{
    return std::find(std::begin(ProjectOptionNames), std::end(ProjectOptionNames), name) !=
           std::end(ProjectOptionNames);
}

}  // namespace

std::string DatabaseErrorMessage(const sql::Error& error)
{
    return msg::Format(msg::DaoError, {std::to_string(error.code()), error.what()});
}

CProjectDatabase::CProjectDatabase(const std::filesystem::path& path, sql::Database::Mode mode) : db_(path, mode)
{
    // Builds and updates look lines up all over a large file: keep more of it cached.
    db_.exec("PRAGMA cache_size = -32768");
}

// --- Queries ------------------------------------------------------------------------

const QueryText& CProjectDatabase::StoredQuery(std::string_view name)
{
    auto it = queries_.find(name);
    if (it != queries_.end())
        return it->second;
    auto& st = db_.cached("SELECT Name, SqlText, SqlTextOld, EditTable FROM QueryCatalogue WHERE Name = ?1");
    st.bind(1, name);
    if (!st.step()) {
        st.reset();
        throw sql::Error(SQLITE_ERROR, SQLITE_ERROR, "no such stored query: " + std::string(name));
    }
    QueryText q{std::string(name), st.columnText(1), st.columnText(2), st.columnText(3)};
    st.reset();
    return queries_.emplace(std::string(name), std::move(q)).first->second;
}

sql::Statement& CProjectDatabase::Query(const QueryText& query)
{
    return db_.cached(query.textFor(UsesLangId()));
}

sql::Statement& CProjectDatabase::Query(std::string_view name)
{
    return Query(StoredQuery(name));
}

Recordset CProjectDatabase::Open(const QueryText& query, QueryParams params)
{
    auto& st = Query(query);
    BindParams(st, params);
    return Recordset(db_, query.editTable, st);
}

Recordset CProjectDatabase::OpenQuery(std::string_view name, QueryParams params)
{
    return Open(StoredQuery(name), params);
}

// --- Version ----------------------------------------------------------------------------

std::optional<std::int32_t> CProjectDatabase::GetFileVersion()
{
    try {
        // Same text in every version; reading it must not depend on the version.
        auto& st = db_.cached(StoredQuery("FileVersion").sql);
        std::optional<std::int32_t> version;
        if (st.step() && !st.isNull(0))
            version = st.columnInt(0);
        st.reset();
        return version;
    } catch (const sql::Error&) {
        return std::nullopt;
    }
}

bool CProjectDatabase::UsesLangId()
{
    if (!usesLangId_) {
        auto version = GetFileVersion();
        usesLangId_ = version && *version >= CurrentFileVersion;
    }
    return *usesLangId_;
}

void CProjectDatabase::InvalidateLayout()
{
    usesLangId_.reset();
    queries_.clear();
    db_.resetCached();
}

// --- Line indexes ---------------------------------------------------------------------------

void CProjectDatabase::LoadLineIndexes(LineIndexSet& set)
{
    auto& st = Query("AllLineIndex");
    while (st.step())
        set.insert(static_cast<std::uint32_t>(st.columnInt64(0)));
    st.reset();
}

// --- Appends ---------------------------------------------------------------------------------

void CProjectDatabase::AppendLine(std::int32_t lineIndex, std::int32_t line, int added, std::int32_t lineKind,
                                  std::string_view beforeStr, std::string_view behindStr)
{
    auto& st = db_.cached(
        "INSERT INTO ResFileLine (LineIndex, Line, Added, LineIdentSym, BeforeStr, BehindStr) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    st.bind(1, lineIndex).bind(2, line).bind(3, added).bind(4, lineKind);
    bindTextOrNull(st, 5, beforeStr);
    bindTextOrNull(st, 6, behindStr);
    st.run();
}

void CProjectDatabase::AppendText(std::int32_t lineIndex, std::string_view sourceText, bool exclude)
{
    auto& st =
        db_.cached("INSERT INTO ResourceText (LineIndex, SourceText, Exclude, Modified) VALUES (?1, ?2, ?3, 0)");
    st.bind(1, lineIndex);
    bindTextOrNull(st, 2, sourceText);
    st.bind(3, exclude ? 1 : 0);
    st.run();
}

void CProjectDatabase::AppendDialog(const DialogRecord& row)
{
    const bool langId = UsesLangId();
    if (row.langId != 0 && !langId)
        throw std::logic_error("per-language layouts need a database of format version 8");
    auto& st = db_.cached(langId ? "INSERT INTO Dialogs (LineIndex, Name_ID, cx, cy, cx_prev, cy_prev, Flags, "
                                   "Modified, Lang_Id) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"
                                 : "INSERT INTO Dialogs (LineIndex, Name_ID, cx, cy, cx_prev, cy_prev, Flags, "
                                   "Modified) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    st.bind(1, row.lineIndex).bind(2, row.nameId).bind(3, row.cx).bind(4, row.cy);
    bindOptInt(st, 5, row.cxPrev);
    bindOptInt(st, 6, row.cyPrev);
    st.bind(7, row.flags).bind(8, row.modified ? 1 : 0);
    if (langId)
        st.bind(9, row.langId);
    st.run();
}

void CProjectDatabase::AppendDialogCaption(std::int32_t lineIndex, std::int32_t dlgLine)
{
    auto& st = db_.cached("INSERT INTO DlgCaption (LineIndex, DlgLine) VALUES (?1, ?2)");
    st.bind(1, lineIndex).bind(2, dlgLine).run();
}

void CProjectDatabase::AppendDialogControl(const DialogControlRecord& row)
{
    const bool langId = UsesLangId();
    if (row.langId != 0 && !langId)
        throw std::logic_error("per-language layouts need a database of format version 8");
    auto& st = db_.cached(
        langId ? "INSERT INTO DialogControl (LineIndex, DlgLine, Name_ID, Class, Type, Flags, x, y, cx, cy, x_prev, "
                 "y_prev, cx_prev, cy_prev, Modified, Lang_Id) "
                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)"
               : "INSERT INTO DialogControl (LineIndex, DlgLine, Name_ID, Class, Type, Flags, x, y, cx, cy, x_prev, "
                 "y_prev, cx_prev, cy_prev, Modified) "
                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
    st.bind(1, row.lineIndex).bind(2, row.dlgLine).bind(3, row.nameId).bind(4, row.className);
    st.bind(5, row.type).bind(6, row.flags).bind(7, row.x).bind(8, row.y).bind(9, row.cx).bind(10, row.cy);
    bindOptInt(st, 11, row.xPrev);
    bindOptInt(st, 12, row.yPrev);
    bindOptInt(st, 13, row.cxPrev);
    bindOptInt(st, 14, row.cyPrev);
    st.bind(15, row.modified ? 1 : 0);
    if (langId)
        st.bind(16, row.langId);
    st.run();
}

void CProjectDatabase::AppendMenuResource(std::int32_t lineIndex, std::string_view nameId)
{
    db_.cached("INSERT INTO Menu (LineIndex, Name_ID) VALUES (?1, ?2)").bind(1, lineIndex).bind(2, nameId).run();
}

void CProjectDatabase::AppendMenuItem(std::int32_t lineIndex, std::int32_t menuLine, int level,
                                      std::string_view nameId)
{
    auto& st = db_.cached("INSERT INTO MenuItem (LineIndex, MenuLine, Level, Name_ID) VALUES (?1, ?2, ?3, ?4)");
    st.bind(1, lineIndex).bind(2, menuLine).bind(3, level - 1).bind(4, nameId).run();
}

void CProjectDatabase::AppendStringtableString(std::int32_t lineIndex, std::string_view nameId)
{
    db_.cached("INSERT INTO StringtableString (LineIndex, Name_ID) VALUES (?1, ?2)")
        .bind(1, lineIndex)
        .bind(2, nameId)
        .run();
}

void CProjectDatabase::AppendBitmap(std::int32_t lineIndex, std::string_view nameId)
{
    db_.cached("INSERT INTO Bitmap (LineIndex, Name_ID) VALUES (?1, ?2)").bind(1, lineIndex).bind(2, nameId).run();
}

void CProjectDatabase::AppendVersion(std::int32_t lineIndex, std::string_view nameId)
{
    db_.cached("INSERT INTO Version (LineIndex, Name_ID) VALUES (?1, ?2)").bind(1, lineIndex).bind(2, nameId).run();
}

void CProjectDatabase::AppendBlockHeader(std::int32_t lineIndex, std::int32_t versResLine)
{
    db_.cached("INSERT INTO VersionBlockHeader (LineIndex, VersResLine) VALUES (?1, ?2)")
        .bind(1, lineIndex)
        .bind(2, versResLine)
        .run();
}

void CProjectDatabase::AppendBlockValue(std::int32_t lineIndex, std::int32_t versResLine,
                                        std::int32_t blockHeaderLine, std::string_view value)
{
    db_.cached("INSERT INTO VersionBlockValues (LineIndex, VersResLine, BlockHeaderLine, Value) "
               "VALUES (?1, ?2, ?3, ?4)")
        .bind(1, lineIndex)
        .bind(2, versResLine)
        .bind(3, blockHeaderLine)
        .bind(4, value)
        .run();
}

void CProjectDatabase::AppendIncludeFile(std::int32_t lineIndex, std::string_view name, const FileStamp& stamp)
{
    db_.cached("INSERT INTO IncludeFile (LineIndex, Name_ID, FileTime, FileDate, FileSize) "
               "VALUES (?1, ?2, ?3, ?4, ?5)")
        .bind(1, lineIndex)
        .bind(2, name)
        .bind(3, stamp.time)
        .bind(4, stamp.date)
        .bind(5, stamp.size)
        .run();
}

void CProjectDatabase::AppendSourceLanguage(std::int32_t lineIndex, int primary, int sub, int codePage,
                                            int charSet, std::string_view fontName)
{
    const bool langId = UsesLangId();
    auto& st = db_.cached(langId ? "INSERT INTO \"Source File Language\" (LineIndex, CodePage, CharSet, FontName, "
                                   "Lang_Id) VALUES (?1, ?2, ?3, ?4, ?5)"
                                 : "INSERT INTO \"Source File Language\" (LineIndex, CodePage, CharSet, FontName, "
                                   "Language, SubLanguage) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    st.bind(1, lineIndex).bind(2, codePage).bind(3, charSet).bind(4, fontName);
    if (langId)
        st.bind(5, LangIdOf(primary, sub));
    else
        st.bind(5, primary).bind(6, sub);
    st.run();
}

std::int64_t CProjectDatabase::AppendBookmark(std::int32_t lineIndex, std::string_view name,
                                              std::string_view window, int primary, int sub)
{
    const bool langId = UsesLangId();
    auto& st = db_.cached(langId ? "INSERT INTO Bookmark (LineIndex, Name, Window, Lang_Id) VALUES (?1, ?2, ?3, ?4)"
                                 : "INSERT INTO Bookmark (LineIndex, Name, Window, Language, SubLanguage) "
                                   "VALUES (?1, ?2, ?3, ?4, ?5)");
    st.bind(1, lineIndex);
    bindTextOrNull(st, 2, name);
    bindTextOrNull(st, 3, window);
    if (langId)
        st.bind(4, LangIdOf(primary, sub));
    else
        st.bind(4, primary).bind(5, sub);
    st.run();
    return db_.lastInsertRowId();
}

// --- Texts -------------------------------------------------------------------------------

std::optional<TextRecord> CProjectDatabase::GetText(std::int32_t lineIndex, int primary, int sub)
{
    auto name = LanguageDisplayName(primary, sub);
    if (!name)
        return std::nullopt;
    Recordset rs = OpenQuery("GetResTextRecord_ByLine", {{"LineIndex", lineIndex}});
    if (rs.empty())
        return std::nullopt;
    TextRecord out;
    out.sourceText = rs.getText("SourceText");
    out.translation = rs.getText(*name);
    out.notActual = rs.getInt64(LanguageFlagColumn(*name)) != 0;
    out.exclude = rs.getInt64("Exclude") != 0;
    return out;
}

bool CProjectDatabase::SetTranslation(std::int32_t lineIndex, int primary, int sub, std::string_view text,
                                      bool notActual)
{
    auto name = LanguageDisplayName(primary, sub);
    if (!name)
        return false;
    // Column names are display names: always quoted, never spliced raw.
    auto& st = db_.cached("UPDATE ResourceText SET " + sql::QuoteIdentifier(*name) + " = ?1, " +
                          sql::QuoteIdentifier(LanguageFlagColumn(*name)) + " = ?2 WHERE LineIndex = ?3");
    st.bind(1, text).bind(2, notActual ? 1 : 0).bind(3, lineIndex).run();
    return db_.changes() > 0;
}

bool CProjectDatabase::SetSourceText(std::int32_t lineIndex, std::string_view newText, std::string_view oldText)
{
    auto& st = db_.cached(
        "UPDATE ResourceText SET SourceText = ?1, SourceText_Old = ?2, Modified = 1 WHERE LineIndex = ?3");
    bindTextOrNull(st, 1, newText);
    bindTextOrNull(st, 2, oldText);
    st.bind(3, lineIndex).run();
    return db_.changes() > 0;
}

bool CProjectDatabase::SetExclude(std::int32_t lineIndex, bool exclude)
{
    auto& st = db_.cached("UPDATE ResourceText SET Exclude = ?1 WHERE LineIndex = ?2");
    st.bind(1, exclude ? 1 : 0).bind(2, lineIndex).run();
    return db_.changes() > 0;
}

void CProjectDatabase::FlagModifiedTexts()
{
    std::vector<std::string> columns;
    {
        auto& st = db_.cached("SELECT LanguageStr FROM Translations WHERE LanguageStr IS NOT NULL ORDER BY rowid");
        while (st.step())
            columns.push_back(st.columnText(0));
        st.reset();
    }
    std::optional<sql::Transaction> transaction;
    if (!db_.inTransaction())
        transaction.emplace(db_);
    for (const auto& column : columns) {
        const std::string flag = LanguageFlagColumn(column);
        if (!HasField(db_, "ResourceText", column) || !HasField(db_, "ResourceText", flag))
            continue;
        const std::string quoted = sql::QuoteIdentifier(column);
        db_.cached("UPDATE ResourceText SET " + sql::QuoteIdentifier(flag) + " = 1 WHERE Modified <> 0 AND " +
                   quoted + " IS NOT NULL AND length(" + quoted + ") > 0")
            .run();
    }
    db_.cached("UPDATE ResourceText SET Modified = 0 WHERE Modified <> 0").run();
    if (transaction)
        transaction->commit();
}

// --- Lines and identifiers ------------------------------------------------------------------

std::optional<std::int32_t> CProjectDatabase::GetLineKind(std::int32_t lineIndex)
{
    auto& st = Query("LineIdentSym_By_LineIndex");
    st.bind(":LineIndex", lineIndex);
    std::optional<std::int32_t> kind;
    if (st.step() && !st.isNull(0))
        kind = st.columnInt(0);
    st.reset();
    return kind;
}

std::optional<std::string> CProjectDatabase::GetIdentifier(std::int32_t lineIndex, IdentTable table)
{
    std::string_view name;
    switch (table) {
    case IdentTable::MenuItem: name = "MenuItem_Ident_By_LineIndex"; break;
    case IdentTable::StringtableString: name = "Stringtable_String_Ident_By_LineIndex"; break;
    case IdentTable::DialogControl: name = "Dialog_ItemIdent_By_LineIndex"; break;
    case IdentTable::Bitmap: name = "Bitmap_Ident_By_LineIndex"; break;
    case IdentTable::Menu: name = "Menu_Ident_By_LineIndex"; break;
    }
    auto& st = Query(name);
    st.bind(":LineIndex", lineIndex);
    std::optional<std::string> ident;
    if (st.step())
        ident = st.columnOptText("Name_ID");
    st.reset();
    return ident;
}

// --- Project row -----------------------------------------------------------------------------

void CProjectDatabase::SetProjectFile(std::string_view sourcePath, const FileStamp& stamp, std::int32_t version)
{
    const bool withSource = !sourcePath.empty();
    auto& st = db_.cached(withSource ? "UPDATE Project SET FileSize = ?1, FileTime = ?2, FileDate = ?3, "
                                       "FileVersion = ?4, SourceFile = ?5 "
                                       "WHERE rowid = (SELECT min(rowid) FROM Project)"
                                     : "UPDATE Project SET FileSize = ?1, FileTime = ?2, FileDate = ?3, "
                                       "FileVersion = ?4 WHERE rowid = (SELECT min(rowid) FROM Project)");
    st.bind(1, stamp.size).bind(2, stamp.time).bind(3, stamp.date).bind(4, version);
    if (withSource)
        st.bind(5, sourcePath);
    st.run();
    if (db_.changes() == 0) {
        // A Project table without its row: give it the one row.
        auto& insert = db_.cached("INSERT INTO Project (FileSize, FileTime, FileDate, FileVersion, SourceFile, "
                                  "Status) VALUES (?1, ?2, ?3, ?4, ?5, 1)");
        insert.bind(1, stamp.size).bind(2, stamp.time).bind(3, stamp.date).bind(4, version);
        bindTextOrNull(insert, 5, sourcePath);
        insert.run();
    }
    usesLangId_.reset();
}

bool CProjectDatabase::SourceChanged(const FileStamp& current)
{
    auto& st = db_.cached("SELECT FileSize, FileTime, FileDate FROM Project ORDER BY rowid LIMIT 1");
    if (!st.step()) {
        st.reset();
        return false;
    }
    FileStamp stored{st.columnInt64(0), static_cast<std::uint16_t>(st.columnInt64(1)),
                     static_cast<std::uint16_t>(st.columnInt64(2))};
    st.reset();
    return stored.size != current.size || StampIsOlder(stored, current);
}

namespace {

// The row of the file that names each include file, or -1 for the script.
// Include files are recorded as their reading ends, so a nested file comes
// before the file that names it, and each is recorded under the first line
// read from it (numbered from the line of its #include on). The file that
// names an include is therefore the nearest later row whose first line is not
// behind the include's. `firstLines` holds -1 where the line is unknown.
std::vector<int> IncluderRows(const std::vector<std::int64_t>& firstLines)
{
    std::vector<int> includer(firstLines.size(), -1);
    std::vector<int> open;  // rows whose includer is not known yet
    for (int row = 0; row < static_cast<int>(firstLines.size()); ++row) {
        if (firstLines[row] < 0)
            continue;
        while (!open.empty() && firstLines[open.back()] >= firstLines[row]) {
            includer[open.back()] = row;
            open.pop_back();
        }
        open.push_back(row);
    }
    return includer;
}

}  // namespace

bool CProjectDatabase::IncludesChanged(const std::filesystem::path& scriptPath)
{
    struct Stored {
        std::string name;
        FileStamp stamp;
    };
    std::vector<Stored> files;
    std::vector<std::int64_t> firstLines;
    {
        auto& st = db_.cached("SELECT i.Name_ID, i.FileTime, i.FileDate, coalesce(l.Line, -1) FROM IncludeFile i "
                              "LEFT JOIN ResFileLine l ON l.LineIndex = i.LineIndex ORDER BY i.rowid");
        while (st.step()) {
            files.push_back({st.columnText(0),
                             {0, static_cast<std::uint16_t>(st.columnInt64(1)),
                              static_cast<std::uint16_t>(st.columnInt64(2))}});
            firstLines.push_back(st.columnInt64(3));
        }
        st.reset();
    }
    // Each name resolves against the folder of the file that names it, as the
    // update read it; the files that name others come later, so go backwards.
    const std::vector<int> includer = IncluderRows(firstLines);
    std::vector<std::optional<std::filesystem::path>> resolved(files.size());
    for (int row = static_cast<int>(files.size()) - 1; row >= 0; --row) {
        const int parent = includer[row];
        if (parent >= 0 && !resolved[parent])
            continue;  // the file that names it cannot be read: neither can it
        const std::filesystem::path dir = parent < 0 ? scriptPath.parent_path() : resolved[parent]->parent_path();
        resolved[row] = ResolveScriptReference(dir, files[row].name);
        if (!resolved[row])
            continue;
        auto current = ReadFileStamp(*resolved[row]);
        if (current && StampIsOlder(files[row].stamp, *current))
            return true;
    }
    return false;
}

std::optional<std::int32_t> CProjectDatabase::GetStatus()
{
    auto& st = db_.cached("SELECT Status FROM Project ORDER BY rowid LIMIT 1");
    std::optional<std::int32_t> status;
    if (st.step() && !st.isNull(0))
        status = st.columnInt(0);
    st.reset();
    return status;
}

void CProjectDatabase::SetStatus(std::int32_t status)
{
    db_.cached("UPDATE Project SET Status = ?1 WHERE rowid = (SELECT min(rowid) FROM Project)")
        .bind(1, status)
        .run();
}

std::optional<bool> CProjectDatabase::GetOption(std::string_view name)
{
    if (!isOptionName(name))
        return std::nullopt;
    try {
        if (!HasField(db_, "Project", name))
            return std::nullopt;
        auto& st = db_.cached("SELECT " + sql::QuoteIdentifier(name) + " FROM Project ORDER BY rowid LIMIT 1");
        std::optional<bool> value;
        if (st.step() && !st.isNull(0))
            value = st.columnInt64(0) != 0;
        st.reset();
        return value;
    } catch (const sql::Error&) {
        return std::nullopt;
    }
}

bool CProjectDatabase::SetOption(std::string_view name, bool value)
{
    if (!isOptionName(name))
        return false;
    try {
        if (!HasField(db_, "Project", name)) {
            db_.exec("ALTER TABLE Project ADD COLUMN " + sql::QuoteIdentifier(name) + " " + std::string(DeclByte));
        }
        auto& st = db_.cached("UPDATE Project SET " + sql::QuoteIdentifier(name) +
                              " = ?1 WHERE rowid = (SELECT min(rowid) FROM Project)");
        st.bind(1, value ? 1 : 0).run();
        return db_.changes() > 0;
    } catch (const sql::Error&) {
        return false;
    }
}

// --- Settings ----------------------------------------------------------------------------------

std::optional<SettingValue> CProjectDatabase::GetSetting(std::string_view ident, int primary, int sub)
{
    auto& st = Query(stmt::Setting);
    st.bind(":SettingIdent", ident).bind(":Lang_Id", LangIdOf(primary, sub));
    std::optional<SettingValue> out;
    if (st.step()) {
        out.emplace();
        out->text = st.columnOptText("StrValue");
        if (!st.isNull("NumValue"))
            out->number = st.columnInt64("NumValue");
    }
    st.reset();
    return out;
}

void CProjectDatabase::SetSetting(std::string_view ident, int primary, int sub,
                                  const std::optional<std::string>& text, std::optional<std::int64_t> number)
{
    const std::int32_t langId = LangIdOf(primary, sub);
    const sql::Value textValue = text ? sql::Value(*text) : sql::Value();
    const sql::Value numberValue = number ? sql::Value(*number) : sql::Value();
    Recordset rs = Open(stmt::Setting, {{"SettingIdent", std::string(ident)}, {"Lang_Id", langId}});
    if (!rs.empty()) {
        rs.edit({{"StrValue", textValue}, {"NumValue", numberValue}});
        return;
    }
    auto& st = db_.cached("INSERT INTO Settings (SettingIdent, Lang_Id, StrValue, NumValue) VALUES (?1, ?2, ?3, ?4)");
    st.bind(1, ident).bind(2, langId).bind(3, textValue).bind(4, numberValue).run();
}

// --- Deleting sets of rows -----------------------------------------------------------------------

std::size_t CProjectDatabase::deleteRows(const QueryText& query, const std::function<bool(std::int64_t)>* isKept)
{
    if (query.editTable.empty())
        throw sql::Error(SQLITE_READONLY, SQLITE_READONLY, "the query is not updatable: " + query.name);
    // Collect the keys first (rows are not deleted under a running query),
    // keeping only two numbers per row however large the table.
    std::vector<std::int64_t> doomed;
    {
        auto& st = Query(query);
        int key = -1, line = -1;
        while (st.step()) {
            if (key < 0) {
                key = st.columnIndex("RowKey");
                line = isKept ? st.columnIndex("LineIndex") : -1;
            }
            if (!isKept || st.isNull(line) || !(*isKept)(st.columnInt64(line)))
                doomed.push_back(st.columnInt64(key));
        }
        st.reset();
    }
    auto& del = db_.cached("DELETE FROM " + sql::QuoteIdentifier(query.editTable) + " WHERE rowid = ?1");
    for (std::int64_t key : doomed) {
        del.reset();
        del.bind(1, key).run();
    }
    return doomed.size();
}

std::size_t CProjectDatabase::DeleteQueryRows(std::string_view queryName)
{
    return deleteRows(StoredQuery(queryName), nullptr);
}

std::size_t CProjectDatabase::DeleteNotKept(std::string_view queryName,
                                            const std::function<bool(std::int64_t)>& isKept)
{
    return deleteRows(StoredQuery(queryName), &isKept);
}

std::size_t CProjectDatabase::DeleteNotKept(const QueryText& query, const std::function<bool(std::int64_t)>& isKept)
{
    return deleteRows(query, &isKept);
}

void CProjectDatabase::ClearAddedMarkers()
{
    db_.cached("UPDATE ResFileLine SET Added = 0 WHERE Added <> 0").run();
}

}  // namespace qln
