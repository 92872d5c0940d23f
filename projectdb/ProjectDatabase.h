#pragma once
// CProjectDatabase: one open project database and the record operations the
// rest of the program uses on it.
//
// Errors: every operation lets a database failure through as qln::sql::Error
// (the engine's code and message; DatabaseErrorMessage() turns it into the
// text shown to the user). Readers return an empty optional (or false) when
// the row they look for does not exist; writers return false when there is
// no row to edit. GetFileVersion, UsesLangId and GetOption swallow errors.
//
// Statements are prepared once per connection and reused. The operations do
// not open transactions of their own (except where noted); a caller that
// stores many rows wraps them in a sql::Transaction.

#include "projectdb/FileStamp.h"
#include "projectdb/LineIndexSet.h"
#include "projectdb/QueryCatalogue.h"
#include "projectdb/Schema.h"
#include "projectdb/Sql.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qln {

// "Dao Error (%1):\n%2" with the engine's code and message.
std::string DatabaseErrorMessage(const sql::Error& error);

// The seven per-project display flags kept as fields of Project.
inline constexpr std::string_view ProjectOptionNames[] = {
    "BitmapEdit", "VersionEdit", "IncludeEdit", "ExcludeEdit", "DialogEdit", "MenuEdit", "StringtableEdit"};

// Tables that a line's identifier (Name_ID) is read from.
enum class IdentTable { MenuItem, StringtableString, DialogControl, Bitmap, Menu };

struct DialogRecord {
    std::int32_t lineIndex = 0;
    std::int32_t langId = 0;  // 0 = source layout
    std::string nameId{};
    std::int32_t cx = 0, cy = 0;
    std::optional<std::int32_t> cxPrev{}, cyPrev{};
    std::int32_t flags = 0;
    bool modified = false;
};

struct DialogControlRecord {
    std::int32_t lineIndex = 0;
    std::int32_t dlgLine = 0;
    std::int32_t langId = 0;  // 0 = source layout
    std::string nameId{};
    std::string className{};
    std::int32_t type = 0;
    std::int32_t flags = 0;
    std::int32_t x = 0, y = 0, cx = 0, cy = 0;
    std::optional<std::int32_t> xPrev{}, yPrev{}, cxPrev{}, cyPrev{};
    bool modified = false;
};

// A text with one language's translation (GetText).
struct TextRecord {
    std::optional<std::string> sourceText;
    std::optional<std::string> translation;  // null = not translated
    bool notActual = false;                  // flag column: source changed after translating
    bool exclude = false;
};

struct SettingValue {
    std::optional<std::string> text;
    std::optional<std::int64_t> number;
};

class CProjectDatabase {
public:
    // Largest Long: no enclosing statement or block.
    static constexpr std::int32_t NoLine = 2147483647;

    explicit CProjectDatabase(const std::filesystem::path& path,
                              sql::Database::Mode mode = sql::Database::Mode::ReadWrite);

    sql::Database& db() noexcept { return db_; }
    const std::filesystem::path& path() const noexcept { return db_.path(); }

    // While a script is stored: LineIndex of the enclosing resource statement
    // and of the enclosing version BLOCK (NoLine = none).
    std::int32_t currentStatementLine = NoLine;
    std::int32_t currentBlockLine = NoLine;

    // --- Queries -----------------------------------------------------------------
    // A stored query by name; throws sql::Error when the catalogue lacks it.
    const QueryText& StoredQuery(std::string_view name);
    // Opens a stored query with its parameters and reads its rows.
    Recordset OpenQuery(std::string_view name, QueryParams params = {});
    // Opens a literal statement (Statements.h) the same way.
    Recordset Open(const QueryText& query, QueryParams params = {});
    // The prepared statement of a stored query or literal statement, reset,
    // for reading large results row by row (bind, then step).
    sql::Statement& Query(std::string_view name);
    sql::Statement& Query(const QueryText& query);

    // --- Version ------------------------------------------------------------------
    std::optional<std::int32_t> GetFileVersion();
    // Version 8 or later: languages are Lang_Id (else Language/SubLanguage).
    bool UsesLangId();

    // --- Line indexes ---------------------------------------------------------------
    void LoadLineIndexes(LineIndexSet& set);
    static std::uint32_t AllocateLineIndex(const LineIndexSet& set, std::uint32_t start)
    {
        return set.allocate(start);
    }

    // --- Appends (an empty text leaves its field null where noted) -----------------
    // Empty before/behind texts stay null.
    void AppendLine(std::int32_t lineIndex, std::int32_t line, int added, std::int32_t lineKind,
                    std::string_view beforeStr, std::string_view behindStr);
    // Modified = 0; an empty source text stays null.
    void AppendText(std::int32_t lineIndex, std::string_view sourceText, bool exclude);
    void AppendDialog(const DialogRecord& row);
    void AppendDialogCaption(std::int32_t lineIndex, std::int32_t dlgLine);
    void AppendDialogControl(const DialogControlRecord& row);
    void AppendMenuResource(std::int32_t lineIndex, std::string_view nameId);
    // Stores level - 1.
    void AppendMenuItem(std::int32_t lineIndex, std::int32_t menuLine, int level, std::string_view nameId);
    void AppendStringtableString(std::int32_t lineIndex, std::string_view nameId);
    void AppendBitmap(std::int32_t lineIndex, std::string_view nameId);
    void AppendVersion(std::int32_t lineIndex, std::string_view nameId);
    void AppendBlockHeader(std::int32_t lineIndex, std::int32_t versResLine);
    void AppendBlockValue(std::int32_t lineIndex, std::int32_t versResLine, std::int32_t blockHeaderLine,
                          std::string_view value);
    void AppendIncludeFile(std::int32_t lineIndex, std::string_view name, const FileStamp& stamp);
    void AppendSourceLanguage(std::int32_t lineIndex, int primary, int sub, int codePage, int charSet,
                              std::string_view fontName);
    // Returns the new bookmark's ID. Empty name/window stay null.
    std::int64_t AppendBookmark(std::int32_t lineIndex, std::string_view name, std::string_view window, int primary,
                                int sub);

    // --- Texts -----------------------------------------------------------------------
    // Source text, the language's translation and flag, and Exclude of a line.
    // Nothing when the language has no display name (the database is not
    // touched) or the line has no text. A language without translation column
    // throws sql::Error.
    std::optional<TextRecord> GetText(std::int32_t lineIndex, int primary, int sub);
    // Stores a translation and its not-actual flag; false when the language
    // has no display name or the line has no text.
    bool SetTranslation(std::int32_t lineIndex, int primary, int sub, std::string_view text, bool notActual);
    // SourceText = new, SourceText_Old = old, Modified = 1.
    bool SetSourceText(std::int32_t lineIndex, std::string_view newText, std::string_view oldText);
    bool SetExclude(std::int32_t lineIndex, bool exclude);
    // Flagging pass after an update: for every text marked Modified, set the
    // flag column of each language that has a non-empty translation, and
    // clear Modified. Runs atomically.
    void FlagModifiedTexts();

    // --- Lines and identifiers -----------------------------------------------------------
    std::optional<std::int32_t> GetLineKind(std::int32_t lineIndex);
    std::optional<std::string> GetIdentifier(std::int32_t lineIndex, IdentTable table);

    // --- Project row -------------------------------------------------------------------
    // SourceFile is written only when not empty.
    void SetProjectFile(std::string_view sourcePath, const FileStamp& stamp, std::int32_t version);
    // Compares the stored stamp with the file's current one: true when the
    // size differs or the stored date/time is earlier. No Project row: false.
    bool SourceChanged(const FileStamp& current);
    // True when an include file that exists is newer than its stored stamp.
    // Each name is taken relative to the file that includes it, as the update
    // that recorded it read it. Sizes are not compared.
    bool IncludesChanged(const std::filesystem::path& scriptPath);
    std::optional<std::int32_t> GetStatus();
    void SetStatus(std::int32_t status);
    // The option flags; GetOption gives nothing when the field or the row is
    // missing. SetOption creates a missing field (Byte) and stores the value;
    // it refuses (false) names that are not option flags.
    std::optional<bool> GetOption(std::string_view name);
    bool SetOption(std::string_view name, bool value);

    // --- Settings -------------------------------------------------------------------------
    std::optional<SettingValue> GetSetting(std::string_view ident, int primary, int sub);
    // Edits the row, or appends it with all four fields when there is none.
    void SetSetting(std::string_view ident, int primary, int sub, const std::optional<std::string>& text,
                    std::optional<std::int64_t> number);

    // --- Deleting sets of rows -------------------------------------------------------------
    // Deletes every row the stored query yields; returns how many.
    std::size_t DeleteQueryRows(std::string_view queryName);
    // Deletes every row whose LineIndex is not kept; returns how many.
    std::size_t DeleteNotKept(std::string_view queryName, const std::function<bool(std::int64_t)>& isKept);
    std::size_t DeleteNotKept(const QueryText& query, const std::function<bool(std::int64_t)>& isKept);
    // End of an update: Added = 0 on every line (what the stored query
    // Added_Fields yields, in one statement).
    void ClearAddedMarkers();

    // Forgets what was read about the database's layout (after columns were
    // added or dropped by other code, or the version was rewritten).
    void InvalidateLayout();

private:
    // Deletes the rows of the query's edit table that it yields, or with
    // isKept those whose LineIndex is not kept (or null).
    std::size_t deleteRows(const QueryText& query, const std::function<bool(std::int64_t)>* isKept);

    sql::Database db_;
    std::map<std::string, QueryText, std::less<>> queries_;
    std::optional<bool> usesLangId_;
};

}  // namespace qln
