// Indexes dropped for a bulk fill and made again: what a rolled-back fill
// and tables that already hold rows leave behind.

#include "db_fixture.h"

#include "projectdb/DeferredIndexes.h"

#include <string>
#include <vector>

namespace qln::test {
namespace {

std::vector<std::string> Texts(sql::Database& db, const std::string& query)
{
    std::vector<std::string> out;
    sql::Statement st = db.prepare(query);
    while (st.step())
        for (int i = 0; i < st.columnCount(); ++i)
            out.push_back(st.columnText(i));
    return out;
}

const std::string kIndexes = "SELECT name, sql FROM sqlite_master WHERE type = 'index' ORDER BY name";
const std::string kStatistics = "SELECT tbl, idx, stat FROM sqlite_stat1 ORDER BY tbl, idx";

TEST(DeferredIndexes, RestoreOrRollbackLeavesTheTemplatesIndexes)
{
    TempDir dir;
    sql::Database db(CopyTemplate(dir));
    const std::vector<std::string> indexes = Texts(db, kIndexes), statistics = Texts(db, kStatistics);
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "restored" : "rolled back");
        {
            sql::Transaction transaction(db);
            DeferredIndexes deferred(db, kScriptTables);
            EXPECT_GT(deferred.pending(), 20u);
            EXPECT_EQ(Texts(db, "SELECT name FROM sqlite_master WHERE tbl_name = 'ResFileLine' AND type = 'index'"),
                      std::vector<std::string>{});
            db.exec("INSERT INTO ResFileLine (LineIndex, Line) VALUES (10, 1), (11, 2)");
            if (restore) {
                deferred.Restore();
                EXPECT_EQ(deferred.pending(), 0u);
                transaction.commit();
            }
        }
        EXPECT_EQ(Texts(db, kIndexes), indexes);
        EXPECT_EQ(Texts(db, kStatistics), statistics);
    }
    // The table holds rows now: its indexes stay, and a duplicate line index
    // is refused at once.
    DeferredIndexes kept(db, kScriptTables);
    EXPECT_EQ(kept.pending(), 0u);
    EXPECT_THROW(db.exec("INSERT INTO ResFileLine (LineIndex, Line) VALUES (10, 3)"), sql::Error);
}

TEST(DeferredIndexes, DuplicateKeysFailWhenTheUniqueIndexIsMade)
{
    TempDir dir;
    sql::Database db(CopyTemplate(dir));
    sql::Transaction transaction(db);
    DeferredIndexes deferred(db, kScriptTables);
    db.exec("INSERT INTO ResourceText (LineIndex, SourceText) VALUES (10, 'a'), (10, 'b')");
    EXPECT_THROW(deferred.Restore(), sql::Error);
}

}  // namespace
}  // namespace qln::test
