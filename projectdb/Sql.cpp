#include "projectdb/Sql.h"

#include "projectdb/ShortJournalNames.h"

#include <sqlite3.h>

#include <strings.h>

#include <utility>

namespace qln::sql {

Error::Error(int code, int extendedCode, const std::string& text)
    : std::runtime_error(text), code_(code), extendedCode_(extendedCode)
{
}

std::string QuoteIdentifier(std::string_view name)
{
    std::string out;
    out.reserve(name.size() + 2);
    out += '"';
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

namespace {

[[noreturn]] void throwFrom(sqlite3* db, int rc)
{
    if (db && sqlite3_errcode(db) != SQLITE_OK)
        throw Error(sqlite3_errcode(db) & 0xff, sqlite3_extended_errcode(db), sqlite3_errmsg(db));
    throw Error(rc & 0xff, rc, sqlite3_errstr(rc));
}

bool sameName(std::string_view a, const char* b)
{
    return b && a.size() == std::char_traits<char>::length(b) && strncasecmp(a.data(), b, a.size()) == 0;
}

}  // namespace

// --- Statement ----------------------------------------------------------------

Statement::Statement(sqlite3* db, std::string_view sqlText)
{
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sqlText.data(), static_cast<int>(sqlText.size()), &stmt_, &tail);
    if (rc != SQLITE_OK)
        throwFrom(db, rc);
    if (!stmt_)
        throw Error(SQLITE_MISUSE, SQLITE_MISUSE, "empty statement");
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void Statement::fail(int rc) const
{
    throwFrom(sqlite3_db_handle(stmt_), rc);
}

void Statement::check(int rc) const
{
    if (rc != SQLITE_OK)
        fail(rc);
}

Statement& Statement::bind(int index, std::int64_t value)
{
    check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
}

Statement& Statement::bind(int index, double value)
{
    check(sqlite3_bind_double(stmt_, index, value));
    return *this;
}

Statement& Statement::bind(int index, std::string_view value)
{
    // An empty view may have a null data pointer, which SQLite would store as NULL.
    static const char empty[] = "";
    const char* data = value.data() ? value.data() : empty;
    check(sqlite3_bind_text64(stmt_, index, data, value.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

Statement& Statement::bind(int index, std::nullptr_t)
{
    check(sqlite3_bind_null(stmt_, index));
    return *this;
}

Statement& Statement::bind(int index, const std::optional<std::string>& value)
{
    return value ? bind(index, std::string_view(*value)) : bind(index, nullptr);
}

Statement& Statement::bind(int index, const Value& value)
{
    return std::visit(
        [&](const auto& v) -> Statement& {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return bind(index, nullptr);
            else if constexpr (std::is_same_v<T, std::string>)
                return bind(index, std::string_view(v));
            else
                return bind(index, v);
        },
        value);
}

bool Statement::hasParameter(std::string_view name) const
{
    return sqlite3_bind_parameter_index(stmt_, std::string(name).c_str()) > 0;
}

int Statement::parameterIndex(std::string_view name) const
{
    int index = sqlite3_bind_parameter_index(stmt_, std::string(name).c_str());
    if (index <= 0)
        throw Error(SQLITE_RANGE, SQLITE_RANGE, "no such parameter: " + std::string(name));
    return index;
}

bool Statement::step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement must be reset before the connection reports the error cleanly.
    sqlite3_reset(stmt_);
    fail(rc);
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

std::string Statement::columnName(int index) const
{
    const char* name = sqlite3_column_name(stmt_, index);
    return name ? name : "";
}

int Statement::findColumn(std::string_view name) const
{
    int n = sqlite3_column_count(stmt_);
    for (int i = 0; i < n; ++i)
        if (sameName(name, sqlite3_column_name(stmt_, i)))
            return i;
    return -1;
}

int Statement::columnIndex(std::string_view name) const
{
    int index = findColumn(name);
    if (index < 0)
        throw Error(SQLITE_RANGE, SQLITE_RANGE, "no such column in result: " + std::string(name));
    return index;
}

bool Statement::isNull(int index) const
{
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

std::int64_t Statement::columnInt64(int index) const
{
    return sqlite3_column_int64(stmt_, index);
}

double Statement::columnDouble(int index) const
{
    return sqlite3_column_double(stmt_, index);
}

std::string Statement::columnText(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    if (!text)
        return {};
    return std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, index)));
}

std::string_view Statement::columnView(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    if (!text)
        return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(stmt_, index))};
}

std::optional<std::string> Statement::columnOptText(int index) const
{
    if (isNull(index))
        return std::nullopt;
    return columnText(index);
}

Value Statement::column(int index) const
{
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return std::monostate{};
    case SQLITE_INTEGER:
        return columnInt64(index);
    case SQLITE_FLOAT:
        return columnDouble(index);
    default:
        return columnText(index);
    }
}

// --- Database -----------------------------------------------------------------

Database::Database(const std::filesystem::path& path, Mode mode) : path_(path)
{
    int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
              : mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE
                                        : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    InstallShortJournalNames();
    int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        Error error(db_ ? sqlite3_errcode(db_) & 0xff : rc & 0xff, db_ ? sqlite3_extended_errcode(db_) : rc,
                    db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        close();
        throw error;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    // A file that exists but is no SQLite database only fails on first read;
    // find out now so that opening reports it.
    try {
        exec("SELECT count(*) FROM sqlite_schema");
    } catch (...) {
        close();
        throw;
    }
}

Database::~Database()
{
    close();
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), path_(std::move(other.path_)), cache_(std::move(other.cache_))
{
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
        cache_ = std::move(other.cache_);
    }
    return *this;
}

void Database::close() noexcept
{
    cache_.clear();  // statements must be finalized before the connection closes
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Database::fail(int rc) const
{
    throwFrom(db_, rc);
}

void Database::exec(std::string_view sqlText)
{
    std::string text(sqlText);
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

Statement Database::prepare(std::string_view sqlText)
{
    return Statement(db_, sqlText);
}

Statement& Database::cached(std::string_view sqlText)
{
    auto it = cache_.find(sqlText);
    if (it == cache_.end()) {
        auto statement = std::make_unique<Statement>(db_, sqlText);
        it = cache_.emplace(std::string(sqlText), std::move(statement)).first;
    } else {
        it->second->reset();
    }
    return *it->second;
}

void Database::resetCached()
{
    for (auto& [text, statement] : cache_)
        statement->reset();
}

void Database::clearCache()
{
    cache_.clear();
}

int Database::changes() const
{
    return sqlite3_changes(db_);
}

std::int64_t Database::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(db_);
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}

// --- Transaction --------------------------------------------------------------

Transaction::Transaction(Database& db, Kind kind) : db_(db)
{
    // Inside a transaction that is already open the guard becomes a savepoint,
    // so an operation that guards itself can also run as part of a larger one.
    nested_ = sqlite3_get_autocommit(db_.handle()) == 0;
    if (nested_)
        db_.exec("SAVEPOINT qln_nested");
    else
        db_.exec(kind == Kind::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
    active_ = true;
}

Transaction::~Transaction()
{
    if (!active_)
        return;
    // Never throws: a failed rollback leaves SQLite to roll back on close.
    db_.resetCached();
    if (nested_)
        sqlite3_exec(db_.handle(), "ROLLBACK TO qln_nested; RELEASE qln_nested", nullptr, nullptr, nullptr);
    else
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    if (!active_)
        throw Error(SQLITE_MISUSE, SQLITE_MISUSE, "transaction is not active");
    db_.exec(nested_ ? "RELEASE qln_nested" : "COMMIT");
    active_ = false;
}

void Transaction::rollback()
{
    if (!active_)
        return;
    active_ = false;
    db_.resetCached();
    db_.exec(nested_ ? "ROLLBACK TO qln_nested; RELEASE qln_nested" : "ROLLBACK");
}

}  // namespace qln::sql
