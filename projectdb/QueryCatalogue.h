#pragma once
// Queries of the project database. Stored queries live in the database's
// QueryCatalogue table under their names; literal statements are held by the
// program (Statements.h). Both are a QueryText: SQL with named parameters
// (":LineIndex"), an optional variant for format versions 6 and 7, and, for
// queries whose rows are edited or deleted, the table those rows belong to.
//
// Edits and deletes through a query: SQLite cannot update a join's rows in
// place, so an updatable query yields its table's row id as the column
// RowKey; a Recordset opened on it runs "UPDATE <table> ... WHERE rowid = ?"
// or "DELETE FROM <table> WHERE rowid = ?" for the current row. The rows are
// read completely before the first one is handed out (like a keyset), so
// edits and deletes never disturb the iteration.

#include "projectdb/Sql.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qln {

struct QueryText {
    std::string name;
    std::string sql;        // format version 8
    std::string sqlOld;     // format versions 6 and 7; empty = same as sql
    std::string editTable;  // empty = read only

    const std::string& textFor(bool usesLangId) const { return usesLangId || sqlOld.empty() ? sql : sqlOld; }
};

// Splits a query script ("-- @query Name [edit Table]" ... "-- @old" ...)
// into its queries. Other comment lines and blank lines are dropped.
// Throws std::runtime_error on a malformed directive or a duplicate name.
std::vector<QueryText> ParseQueryScript(std::string_view script);

// Parameters by name, with or without the leading colon.
using QueryParams = std::initializer_list<std::pair<std::string_view, sql::Value>>;
void BindParams(sql::Statement& statement, QueryParams params);

class Recordset {
public:
    // Runs `statement` (parameters already bound) to its end and resets it.
    Recordset(sql::Database& db, std::string editTable, sql::Statement& statement);

    bool empty() const noexcept { return rows_.empty(); }
    std::size_t size() const noexcept { return rows_.size(); }
    bool eof() const noexcept { return pos_ >= rows_.size(); }
    void moveFirst() noexcept { pos_ = 0; }
    void moveNext() noexcept { ++pos_; }

    const std::vector<std::string>& fields() const noexcept { return fields_; }
    bool hasField(std::string_view name) const { return fieldIndex(name) >= 0; }

    // Field of the current row, by name (case-insensitive); throws when the
    // result has no such field or there is no current row.
    const sql::Value& value(std::string_view field) const;
    bool isNull(std::string_view field) const;
    // Integer value; null gives 0, text is converted as SQLite would.
    std::int64_t getInt64(std::string_view field) const;
    int getInt(std::string_view field) const { return static_cast<int>(getInt64(field)); }
    std::optional<std::string> getText(std::string_view field) const;

    // Writes fields of the current row to the edit table.
    void edit(QueryParams fields);
    void edit(const std::vector<std::pair<std::string, sql::Value>>& fields);
    // Deletes the current row from the edit table; the cursor stays on it
    // (reading it then throws) until moveNext().
    void remove();
    bool removed() const noexcept { return !eof() && deleted_[pos_]; }

private:
    int fieldIndex(std::string_view name) const;
    std::int64_t rowKey() const;
    void requireRow() const;

    sql::Database& db_;
    std::string editTable_;
    std::vector<std::string> fields_;
    std::vector<std::vector<sql::Value>> rows_;
    std::vector<bool> deleted_;
    std::size_t pos_ = 0;
};

}  // namespace qln
