// The SQLite layer: errors with the engine's code, binding, column access,
// statement reuse, identifier quoting and every path of the transaction guard.

#include "db_fixture.h"

#include <sqlite3.h>

#include <fstream>

namespace qln::test {
namespace {

struct SqlTest : ::testing::Test {
    TempDir dir;
    sql::Database db{dir / "t.db", sql::Database::Mode::Create};
    SqlTest() { db.exec("CREATE TABLE t (id INTEGER PRIMARY KEY, n LONG INTEGER, s TEXT UNIQUE)"); }
    int64_t count()
    {
        auto& st = db.cached("SELECT count(*) FROM t");
        st.step();
        return st.columnInt64(0);
    }
};

TEST_F(SqlTest, ErrorsCarryTheEngineCodeAndText)
{
    try {
        db.exec("SELECT * FROM missing_table");
        FAIL() << "no error";
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.code(), SQLITE_ERROR);
        EXPECT_STREQ(e.what(), "no such table: missing_table");
    }
    db.exec("INSERT INTO t (s) VALUES ('x')");
    try {
        db.cached("INSERT INTO t (s) VALUES (?1)").bind(1, "x").run();
        FAIL() << "no error";
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.code(), SQLITE_CONSTRAINT);
        EXPECT_EQ(e.extendedCode(), SQLITE_CONSTRAINT_UNIQUE);
        EXPECT_NE(std::string(e.what()).find("UNIQUE"), std::string::npos);
    }
    // The failed statement is usable again afterwards.
    db.cached("INSERT INTO t (s) VALUES (?1)").bind(1, "y").run();
    EXPECT_EQ(count(), 2);
}

TEST_F(SqlTest, OpeningFailuresThrow)
{
    EXPECT_THROW(sql::Database(dir / "absent.db", sql::Database::Mode::ReadWrite), sql::Error);
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.db"));
    std::filesystem::path notDb = dir / "text.mdb";
    { std::ofstream(notDb) << "this is not a database file, just some text that is long enough........"; }
    try {
        sql::Database bad(notDb);
        FAIL() << "opened a text file";
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.code(), SQLITE_NOTADB);
    }
}

TEST_F(SqlTest, BindsByNameAndIndexAndReadsColumnsByName)
{
    auto& ins = db.cached("INSERT INTO t (n, s) VALUES (:n, :s)");
    ins.bind(":n", 42).bind(":s", std::string_view("forty-two")).run();
    ins.reset();
    ins.bind(":n", nullptr).bind(":s", std::optional<std::string>()).run();
    ins.reset();
    ins.bind(1, std::int64_t{1} << 40).bind(2, std::string("")).run();
    EXPECT_THROW(ins.bind(":nope", 1), sql::Error);

    auto& sel = db.cached("SELECT n, s AS Name FROM t ORDER BY id");
    ASSERT_TRUE(sel.step());
    EXPECT_EQ(sel.columnInt64("N"), 42);  // names compare without regard to case
    EXPECT_EQ(sel.columnText("name"), "forty-two");
    ASSERT_TRUE(sel.step());
    EXPECT_TRUE(sel.isNull("n"));
    EXPECT_FALSE(sel.columnOptText("Name").has_value());
    ASSERT_TRUE(sel.step());
    EXPECT_EQ(sel.columnInt64(0), std::int64_t{1} << 40);
    // An empty text is stored as an empty text, not as null.
    ASSERT_TRUE(sel.columnOptText(1).has_value());
    EXPECT_EQ(*sel.columnOptText(1), "");
    EXPECT_FALSE(sel.step());
    EXPECT_EQ(sel.findColumn("missing"), -1);
    EXPECT_THROW(sel.columnIndex("missing"), sql::Error);
}

TEST_F(SqlTest, CachedStatementsArePreparedOnceAndComeBackReset)
{
    db.exec("INSERT INTO t (n) VALUES (1), (2), (3)");
    auto& first = db.cached("SELECT n FROM t WHERE n >= ?1 ORDER BY n");
    first.bind(1, 2);
    ASSERT_TRUE(first.step());
    EXPECT_EQ(first.columnInt(0), 2);
    auto& again = db.cached("SELECT n FROM t WHERE n >= ?1 ORDER BY n");
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(again.handle(), first.handle());
    // Bindings were cleared: NULL compares false, no rows.
    EXPECT_FALSE(again.step());
}

TEST(QuoteIdentifier, QuotesAndDoublesInnerQuotes)
{
    const std::pair<std::string, std::string> cases[] = {
        {"German", "\"German\""},
        {"English US", "\"English US\""},
        {"Norwegian - Bokmal", "\"Norwegian - Bokmal\""},
        {"a\"b", "\"a\"\"b\""},
        {"\"", "\"\"\"\""},
        {"", "\"\""},
    };
    for (const auto& [name, quoted] : cases)
        EXPECT_EQ(sql::QuoteIdentifier(name), quoted) << name;
}

TEST_F(SqlTest, QuotedNamesSurviveTheEngine)
{
    const std::string names[] = {"Rhaeto-Romanic", "x\" TEXT); DROP TABLE t; --", "[German]", "select", "a'b"};
    for (const auto& name : names) {
        db.exec("ALTER TABLE t ADD COLUMN " + sql::QuoteIdentifier(name) + " TEXT");
        db.cached("INSERT INTO t (" + sql::QuoteIdentifier(name) + ") VALUES (?1)").bind(1, name).run();
        auto& st = db.cached("SELECT " + sql::QuoteIdentifier(name) + " FROM t WHERE " +
                             sql::QuoteIdentifier(name) + " IS NOT NULL");
        ASSERT_TRUE(st.step()) << name;
        EXPECT_EQ(st.columnName(0), name);
        EXPECT_EQ(st.columnText(0), name);
    }
    EXPECT_EQ(count(), 5);  // the table is still there
}

// --- Transaction guard ----------------------------------------------------------

TEST_F(SqlTest, TransactionCommitKeepsTheRows)
{
    {
        sql::Transaction t(db);
        EXPECT_TRUE(db.inTransaction());
        db.exec("INSERT INTO t (n) VALUES (1)");
        t.commit();
        EXPECT_FALSE(t.active());
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(), 1);
}

TEST_F(SqlTest, TransactionWithoutCommitRollsBack)
{
    {
        sql::Transaction t(db);
        db.exec("INSERT INTO t (n) VALUES (1)");
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(), 0);
}

TEST_F(SqlTest, TransactionRollsBackWhenAnExceptionLeavesTheScope)
{
    try {
        sql::Transaction t(db, sql::Transaction::Kind::Deferred);
        db.exec("INSERT INTO t (s) VALUES ('a')");
        // A reader left in the middle of its rows must not stop the rollback.
        auto& reader = db.cached("SELECT s FROM t");
        ASSERT_TRUE(reader.step());
        db.exec("INSERT INTO t (s) VALUES ('a')");  // unique violation
        t.commit();
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.code(), SQLITE_CONSTRAINT);
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(), 0);
}

TEST_F(SqlTest, ExplicitRollbackAndMisuse)
{
    sql::Transaction t(db);
    db.exec("INSERT INTO t (n) VALUES (1)");
    t.rollback();
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(), 0);
    EXPECT_THROW(t.commit(), sql::Error);
}

TEST_F(SqlTest, NestedTransactionIsASavepoint)
{
    sql::Transaction outer(db);
    db.exec("INSERT INTO t (n) VALUES (1)");
    {
        sql::Transaction inner(db);  // rolled back by its destructor
        db.exec("INSERT INTO t (n) VALUES (2)");
    }
    EXPECT_EQ(count(), 1);
    {
        sql::Transaction inner(db);
        db.exec("INSERT INTO t (n) VALUES (3)");
        inner.commit();
    }
    EXPECT_TRUE(outer.active());
    EXPECT_TRUE(db.inTransaction());
    EXPECT_EQ(count(), 2);
    outer.rollback();  // takes the committed inner work back too
    EXPECT_EQ(count(), 0);
}

TEST_F(SqlTest, ImmediateTransactionLocksOutOtherWriters)
{
    sql::Transaction t(db, sql::Transaction::Kind::Immediate);
    sql::Database other(dir / "t.db");
    sqlite3_busy_timeout(other.handle(), 0);
    try {
        sql::Transaction second(other, sql::Transaction::Kind::Immediate);
        FAIL() << "second writer got in";
    } catch (const sql::Error& e) {
        EXPECT_EQ(e.code(), SQLITE_BUSY);
    }
}

}  // namespace
}  // namespace qln::test
