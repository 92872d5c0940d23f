#include "build_support.h"

#include "projectdb/Sql.h"

namespace qln::test {

std::vector<Row> Rows(const std::filesystem::path& database, const std::string& query)
{
    sql::Database db(database, sql::Database::Mode::ReadOnly);
    sql::Statement st = db.prepare(query);
    std::vector<Row> rows;
    while (st.step()) {
        Row row;
        for (int i = 0; i < st.columnCount(); ++i)
            row.push_back(st.isNull(i) ? "NULL" : st.columnText(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string Value(const std::filesystem::path& database, const std::string& query)
{
    const std::vector<Row> rows = Rows(database, query);
    return rows.empty() || rows.front().empty() ? std::string() : rows.front().front();
}

BuildResult BuildFile(const std::filesystem::path& script, const std::filesystem::path& database,
                      Progress& progress)
{
    return BuildProjectDatabase(script, database, progress, TemplatePath());
}

BuildResult BuildText(const TempDir& dir, const std::string& text, const std::string& name)
{
    const std::filesystem::path script = dir / name;
    WriteFile(script, text);
    return BuildFile(script, LongDatabasePath(script));
}

std::vector<int> Kinds(const std::filesystem::path& database)
{
    std::vector<int> kinds;
    for (const Row& row : Rows(database, "SELECT LineIdentSym FROM ResFileLine ORDER BY Line"))
        kinds.push_back(std::stoi(row[0]));
    return kinds;
}

}  // namespace qln::test
