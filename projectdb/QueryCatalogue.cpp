#include "projectdb/QueryCatalogue.h"

#include <sqlite3.h>
#include <strings.h>

#include <set>
#include <sstream>
#include <stdexcept>

namespace qln {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

void appendLine(std::string& sqlText, std::string_view line)
{
    if (!sqlText.empty())
        sqlText += '\n';
    sqlText += line;
}

void finish(std::vector<QueryText>& out)
{
    if (out.empty())
        return;
    QueryText& q = out.back();
    if (q.sql.empty())
        throw std::runtime_error("query " + q.name + " has no text");
}

}  // namespace

std::vector<QueryText> ParseQueryScript(std::string_view script)
{
    std::vector<QueryText> out;
    std::set<std::string> names;
    bool inOld = false;
    std::istringstream in{std::string(script)};
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        std::string_view line = trim(raw);
        if (line.starts_with("-- @")) {
            std::istringstream words{std::string(line.substr(4))};
            std::string directive, name, editWord, table, extra;
            words >> directive;
            if (directive == "query") {
                finish(out);
                words >> name >> editWord >> table >> extra;
                if (name.empty() || (!editWord.empty() && (editWord != "edit" || table.empty())) || !extra.empty())
                    throw std::runtime_error("bad query directive in line " + std::to_string(lineNo));
                if (!names.insert(name).second)
                    throw std::runtime_error("query " + name + " defined twice");
                out.push_back(QueryText{name, {}, {}, table});
                inOld = false;
            } else if (directive == "old" && !out.empty() && !inOld) {
                inOld = true;
            } else {
                throw std::runtime_error("bad directive in line " + std::to_string(lineNo));
            }
            continue;
        }
        if (line.empty() || line.starts_with("--"))
            continue;
        if (out.empty())
            throw std::runtime_error("text outside a query in line " + std::to_string(lineNo));
        appendLine(inOld ? out.back().sqlOld : out.back().sql, line);
    }
    finish(out);
    return out;
}

void BindParams(sql::Statement& statement, QueryParams params)
{
    for (const auto& [name, value] : params) {
        if (name.starts_with(':'))
            statement.bind(name, value);
        else
            statement.bind(":" + std::string(name), value);
    }
}

// --- Recordset ------------------------------------------------------------------

Recordset::Recordset(sql::Database& db, std::string editTable, sql::Statement& statement)
    : db_(db), editTable_(std::move(editTable))
{
    // The first step re-prepares the statement when a table changed since it
    // was prepared (a translation column added, say), so the names of a
    // "table.*" result are read only after it.
    bool more = false;
    try {
        more = statement.step();
    } catch (...) {
        statement.reset();
        throw;
    }
    const int n = statement.columnCount();
    fields_.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        fields_.push_back(statement.columnName(i));
    try {
        for (; more; more = statement.step()) {
            std::vector<sql::Value> row;
            row.reserve(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i)
                row.push_back(statement.column(i));
            rows_.push_back(std::move(row));
        }
    } catch (...) {
        statement.reset();
        throw;
    }
    statement.reset();
    deleted_.assign(rows_.size(), false);
    if (!editTable_.empty() && fieldIndex("RowKey") < 0)
        throw sql::Error(SQLITE_ERROR, SQLITE_ERROR, "updatable query yields no RowKey");
}

int Recordset::fieldIndex(std::string_view name) const
{
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].size() == name.size() && strncasecmp(fields_[i].data(), name.data(), name.size()) == 0)
            return static_cast<int>(i);
    return -1;
}

void Recordset::requireRow() const
{
    if (eof())
        throw sql::Error(SQLITE_MISUSE, SQLITE_MISUSE, "no current record");
    if (deleted_[pos_])
        throw sql::Error(SQLITE_MISUSE, SQLITE_MISUSE, "record is deleted");
}

const sql::Value& Recordset::value(std::string_view field) const
{
    requireRow();
    int i = fieldIndex(field);
    if (i < 0)
        throw sql::Error(SQLITE_ERROR, SQLITE_ERROR, "no such field in result: " + std::string(field));
    return rows_[pos_][static_cast<size_t>(i)];
}

bool Recordset::isNull(std::string_view field) const
{
    return std::holds_alternative<std::monostate>(value(field));
}

std::int64_t Recordset::getInt64(std::string_view field) const
{
    const sql::Value& v = value(field);
    if (auto i = std::get_if<std::int64_t>(&v))
        return *i;
    if (auto d = std::get_if<double>(&v))
        return static_cast<std::int64_t>(*d);
    if (auto s = std::get_if<std::string>(&v))
        return std::strtoll(s->c_str(), nullptr, 10);
    return 0;
}

std::optional<std::string> Recordset::getText(std::string_view field) const
{
    const sql::Value& v = value(field);
    if (auto s = std::get_if<std::string>(&v))
        return *s;
    if (auto i = std::get_if<std::int64_t>(&v))
        return std::to_string(*i);
    if (auto d = std::get_if<double>(&v)) {
        std::ostringstream out;
        out << *d;
        return out.str();
    }
    return std::nullopt;
}

std::int64_t Recordset::rowKey() const
{
    if (editTable_.empty())
        throw sql::Error(SQLITE_READONLY, SQLITE_READONLY, "the query is not updatable");
    requireRow();
    return std::get<std::int64_t>(rows_[pos_][static_cast<size_t>(fieldIndex("RowKey"))]);
}

void Recordset::edit(QueryParams fields)
{
    std::vector<std::pair<std::string, sql::Value>> list;
    for (const auto& [name, value] : fields)
        list.emplace_back(std::string(name), value);
    edit(list);
}

void Recordset::edit(const std::vector<std::pair<std::string, sql::Value>>& fields)
{
    const std::int64_t key = rowKey();
    if (fields.empty())
        return;
    std::string text = "UPDATE " + sql::QuoteIdentifier(editTable_) + " SET ";
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            text += ", ";
        text += sql::QuoteIdentifier(fields[i].first) + " = ?" + std::to_string(i + 1);
    }
    text += " WHERE rowid = ?" + std::to_string(fields.size() + 1);
    auto& st = db_.cached(text);
    for (size_t i = 0; i < fields.size(); ++i)
        st.bind(static_cast<int>(i + 1), fields[i].second);
    st.bind(static_cast<int>(fields.size() + 1), key);
    st.run();
    // Keep the copy of the row in step with what was written.
    for (const auto& [name, value] : fields) {
        int i = fieldIndex(name);
        if (i >= 0)
            rows_[pos_][static_cast<size_t>(i)] = value;
    }
}

void Recordset::remove()
{
    const std::int64_t key = rowKey();
    auto& st = db_.cached("DELETE FROM " + sql::QuoteIdentifier(editTable_) + " WHERE rowid = ?1");
    st.bind(1, key);
    st.run();
    deleted_[pos_] = true;
}

}  // namespace qln
