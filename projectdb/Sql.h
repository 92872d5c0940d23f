#pragma once
// A small RAII layer over the SQLite C API: database connection, prepared
// statement with named parameters, transaction guard. Every failure throws
// qln::sql::Error carrying the engine's result code and message.

#include <concepts>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

namespace qln::sql {

// A field value as it comes out of (or goes into) a row.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

class Error : public std::runtime_error {
public:
    Error(int code, int extendedCode, const std::string& text);
    // Primary result code (SQLITE_ERROR, SQLITE_CONSTRAINT, ...).
    int code() const noexcept { return code_; }
    // Extended result code (for example SQLITE_CONSTRAINT_UNIQUE).
    int extendedCode() const noexcept { return extendedCode_; }
    // The engine's message, as what() returns it.
    const char* text() const noexcept { return what(); }

private:
    int code_;
    int extendedCode_;
};

// "name" with inner quotes doubled: safe to splice as a table or column name.
std::string QuoteIdentifier(std::string_view name);

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, std::string_view sqlText);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters by 1-based index or by name (":LineIndex"); a name that the
    // statement does not use throws.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view value);
    Statement& bind(int index, const std::string& value) { return bind(index, std::string_view(value)); }
    Statement& bind(int index, const char* value) { return bind(index, std::string_view(value)); }
    Statement& bind(int index, std::nullptr_t);
    Statement& bind(int index, const std::optional<std::string>& value);
    Statement& bind(int index, const Value& value);
    template <std::integral T>
    Statement& bind(int index, T value) { return bind(index, static_cast<std::int64_t>(value)); }

    template <typename T>
    Statement& bind(std::string_view name, T&& value) { return bind(parameterIndex(name), std::forward<T>(value)); }
    // True when the statement has a parameter of that name.
    bool hasParameter(std::string_view name) const;
    int parameterIndex(std::string_view name) const;

    // Runs one step: true when a row is available.
    bool step();
    // Runs a statement that yields no row (or ignores its rows).
    void run();
    // Rewinds the statement and clears every binding.
    void reset();

    int columnCount() const;
    std::string columnName(int index) const;
    // Index of the result column of that name (case-insensitive); -1 if none.
    int findColumn(std::string_view name) const;
    // Like findColumn, but throws when there is no such column.
    int columnIndex(std::string_view name) const;

    bool isNull(int index) const;
    std::int64_t columnInt64(int index) const;
    int columnInt(int index) const { return static_cast<int>(columnInt64(index)); }
    double columnDouble(int index) const;
    // The text of the column; an empty string for null.
    std::string columnText(int index) const;
    // The same without a copy: valid until the next step, reset or column call.
    std::string_view columnView(int index) const;
    std::optional<std::string> columnOptText(int index) const;
    Value column(int index) const;

    bool isNull(std::string_view name) const { return isNull(columnIndex(name)); }
    std::int64_t columnInt64(std::string_view name) const { return columnInt64(columnIndex(name)); }
    int columnInt(std::string_view name) const { return columnInt(columnIndex(name)); }
    std::string columnText(std::string_view name) const { return columnText(columnIndex(name)); }
    std::optional<std::string> columnOptText(std::string_view name) const { return columnOptText(columnIndex(name)); }
    Value column(std::string_view name) const { return column(columnIndex(name)); }

    sqlite3_stmt* handle() const noexcept { return stmt_; }
    explicit operator bool() const noexcept { return stmt_ != nullptr; }

private:
    [[noreturn]] void fail(int rc) const;
    void check(int rc) const;

    sqlite3_stmt* stmt_ = nullptr;
};

class Database {
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    explicit Database(const std::filesystem::path& path, Mode mode = Mode::ReadWrite);
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one or more statements without parameters.
    void exec(std::string_view sqlText);
    Statement prepare(std::string_view sqlText);
    // The statement for this text, prepared once per connection and reused;
    // it comes back reset with every binding cleared. Don't fetch the same
    // text again while still stepping through its rows.
    Statement& cached(std::string_view sqlText);
    // Resets every cached statement (needed before changing a table's
    // definition while statements may still hold rows).
    void resetCached();
    void clearCache();

    int changes() const;
    std::int64_t lastInsertRowId() const;
    bool inTransaction() const;
    sqlite3* handle() const noexcept { return db_; }
    const std::filesystem::path& path() const noexcept { return path_; }

    // Throws the connection's current error.
    [[noreturn]] void fail(int rc) const;

private:
    void close() noexcept;

    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    std::map<std::string, std::unique_ptr<Statement>, std::less<>> cache_;
};

// BEGIN in the constructor, ROLLBACK in the destructor unless commit() ran;
// inside an open transaction a SAVEPOINT, released or rolled back the same way.
class Transaction {
public:
    enum class Kind { Deferred, Immediate };

    explicit Transaction(Database& db, Kind kind = Kind::Immediate);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool active() const noexcept { return active_; }

private:
    Database& db_;
    bool active_ = false;
    bool nested_ = false;  // a savepoint inside an open transaction
};

}  // namespace qln::sql
