#pragma once
// Filling empty tables in bulk: SQLite keeps every index of a table up to
// date row by row, which for rows arriving in no particular key order costs
// more than the rows themselves. DeferredIndexes drops the indexes of the
// given tables (remembering their definitions and planner statistics, as the
// template holds them) and creates them again, sorted in one pass each, when
// Restore() is called. Dropping and creating both happen inside the caller's
// transaction: a rolled-back fill leaves the indexes as they were.

#include "projectdb/Sql.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class DeferredIndexes {
public:
    // Drops every named index of `tables` when all of them are empty; tables
    // that already hold rows keep their indexes (nothing is deferred).
    DeferredIndexes(sql::Database& db, std::span<const std::string_view> tables);
    DeferredIndexes(const DeferredIndexes&) = delete;
    DeferredIndexes& operator=(const DeferredIndexes&) = delete;

    // Creates the dropped indexes again (a unique index over duplicate keys
    // fails here with sql::Error, as the insert would have) and puts their
    // statistics back. Runs once; later calls do nothing.
    void Restore();
    // Indexes dropped and not yet restored.
    std::size_t pending() const noexcept { return indexes_.size(); }

private:
    struct Index {
        std::string name;
        std::string sql;
    };
    struct Statistic {
        std::string table;
        std::string index;
        std::string stat;
    };

    sql::Database& db_;
    std::vector<Index> indexes_;
    std::vector<Statistic> statistics_;
    bool hasStatistics_ = false;
};

// The tables a build fills with the rows of a script.
inline constexpr std::string_view kScriptTables[] = {
    "ResFileLine", "ResourceText",      "Dialogs", "DialogControl", "DlgCaption",         "Menu",
    "MenuItem",    "StringtableString", "Bitmap",  "Version",       "VersionBlockHeader", "VersionBlockValues",
    "Source File Language"};

}  // namespace qln
