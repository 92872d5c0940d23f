// Generates the project database template: runs the schema script on a new
// database, loads the query catalogue, and checks that every query prepares
// against the tables it is meant for (the texts for old databases against the
// version 7 layout). Usage: qln_maketemplate schema.sql queries.sql out.mdb

#include "projectdb/QueryCatalogue.h"
#include "projectdb/Schema.h"
#include "projectdb/Sql.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void checkQueries(const std::string& schema, const std::vector<qln::QueryText>& queries, bool old)
{
    qln::sql::Database check(":memory:", qln::sql::Database::Mode::Create);
    check.exec(schema);
    if (old)
        qln::ApplyVersion7Layout(check);
    for (const auto& q : queries) {
        try {
            check.prepare(q.textFor(!old));
        } catch (const qln::sql::Error& e) {
            throw std::runtime_error("query " + q.name + (old ? " (versions 6, 7)" : "") + ": " + e.what());
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: qln_maketemplate schema.sql queries.sql out.mdb\n";
        return 2;
    }
    try {
        const std::string schema = readFile(argv[1]);
        const auto queries = qln::ParseQueryScript(readFile(argv[2]));
        checkQueries(schema, queries, false);
        checkQueries(schema, queries, true);

        const std::filesystem::path out = argv[3];
        const std::filesystem::path temp = out.string() + ".tmp";
        std::filesystem::remove(temp);
        {
            qln::sql::Database db(temp, qln::sql::Database::Mode::Create);
            qln::sql::Transaction transaction(db);
            db.exec(schema);
            auto& insert = db.cached(
                "INSERT INTO QueryCatalogue (Name, SqlText, SqlTextOld, EditTable) VALUES (?1, ?2, ?3, ?4)");
            for (const auto& q : queries) {
                insert.reset();
                insert.bind(1, q.name).bind(2, q.sql);
                if (q.sqlOld.empty())
                    insert.bind(3, nullptr);
                else
                    insert.bind(3, q.sqlOld);
                if (q.editTable.empty())
                    insert.bind(4, nullptr);
                else
                    insert.bind(4, q.editTable);
                insert.run();
            }
            transaction.commit();
            db.exec("VACUUM");
        }
        std::filesystem::rename(temp, out);
    } catch (const std::exception& e) {
        std::cerr << "qln_maketemplate: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
