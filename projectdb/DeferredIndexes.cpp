#include "projectdb/DeferredIndexes.h"

namespace qln {

DeferredIndexes::DeferredIndexes(sql::Database& db, std::span<const std::string_view> tables) : db_(db)
{
    for (std::string_view table : tables) {
        sql::Statement rows = db_.prepare("SELECT 1 FROM " + sql::QuoteIdentifier(table) + " LIMIT 1");
        if (rows.step())
            return;
    }
    for (std::string_view table : tables) {
        // Indexes SQLite makes itself (for UNIQUE columns) have no text and stay.
        sql::Statement list = db_.prepare(
            "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 AND sql IS NOT NULL");
        list.bind(1, table);
        while (list.step())
            indexes_.push_back({list.columnText(0), list.columnText(1)});
    }
    if (indexes_.empty())
        return;
    hasStatistics_ = db_.prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'sqlite_stat1'").step();
    // Dropping an index deletes its statistics row: keep them to put back.
    if (hasStatistics_) {
        sql::Statement stats = db_.prepare("SELECT tbl, idx, stat FROM sqlite_stat1 WHERE idx = ?1");
        for (const Index& index : indexes_) {
            stats.reset();
            stats.bind(1, index.name);
            while (stats.step())
                statistics_.push_back({stats.columnText(0), stats.columnText(1), stats.columnText(2)});
        }
    }
    db_.resetCached();
    for (const Index& index : indexes_)
        db_.exec("DROP INDEX " + sql::QuoteIdentifier(index.name));
}

void DeferredIndexes::Restore()
{
    if (indexes_.empty())
        return;
    db_.resetCached();
    for (const Index& index : indexes_)
        db_.exec(index.sql);
    indexes_.clear();
    if (!hasStatistics_)
        return;
    sql::Statement insert = db_.prepare("INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES (?1, ?2, ?3)");
    for (const Statistic& row : statistics_) {
        insert.reset();
        insert.bind(1, row.table).bind(2, row.index).bind(3, row.stat);
        insert.run();
    }
    statistics_.clear();
    // The planner reads the statistics again (without analysing anything).
    db_.exec("ANALYZE sqlite_schema");
}

}  // namespace qln
