// A process killed in the middle of a conversion, a compaction or a build must
// leave the files it works on intact and openable.

#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "temp_project.h"
#include "version7_project.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace qln {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Runs `work` in a child process; returns the signal that ended it (0 when it
// exited normally). `killAfterUs` > 0: the parent kills it after that many
// microseconds.
int RunChild(const std::function<void()>& work, useconds_t killAfterUs = 0)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        try {
            work();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    if (pid < 0)
        return -1;
    if (killAfterUs > 0) {
        ::usleep(killAfterUs);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

std::string IntegrityOf(const fs::path& path)
{
    sql::Database db(path, sql::Database::Mode::ReadOnly);
    sql::Statement st = db.prepare("PRAGMA integrity_check");
    return st.step() ? st.columnText(0) : std::string();
}

std::int64_t TextCount(const fs::path& path)
{
    sql::Database db(path, sql::Database::Mode::ReadOnly);
    sql::Statement st = db.prepare("SELECT count(*) FROM ResourceText");
    st.step();
    return st.columnInt64(0);
}

TEST(Crash, KilledConversionLeavesTheOriginal)
{
    TempDir dir;
    fs::path db = dir / "app.mdb";
    test::MakeVersion7Database(db, 200);
    const std::string original = test::FileBytes(db);
    for (int killAt = 0; killAt <= 16; ++killAt) {
        int signal = RunChild([&] {
            ConvertDatabase(db, test::TemplatePath(), [&](int step) {
                if (step == killAt)
                    ::raise(SIGKILL);
            });
        });
        ASSERT_EQ(signal, SIGKILL) << killAt;
        EXPECT_TRUE(test::FileBytes(db) == original) << "killed at step " << killAt;
    }
    EXPECT_TRUE(IsProjectDatabase(db));
    EXPECT_EQ(ReadFileVersion(db), 7);
    EXPECT_EQ(IntegrityOf(db), "ok");
    // The leftovers of the killed runs do not disturb a later conversion.
    ConvertResult r = ConvertDatabase(db, test::TemplatePath());
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(ReadFileVersion(db), 8);
    EXPECT_EQ(TextCount(db), TextCount(r.backup));
}

// Killed from outside at different moments: the file is the original or the
// complete compacted one, never something in between.
TEST(Crash, KilledCompactionLeavesAnIntactFile)
{
    TempDir dir;
    fs::path db = dir / "big.mdb";
    test::MakeFragmentedDatabase(db, 20000, 100);
    const std::string original = test::FileBytes(db);
    const std::int64_t texts = TextCount(db);

    // Killed by itself while the engine copies.
    for (int calls : {1, 20, 200}) {
        int n = 0;
        int signal = RunChild([&] {
            CompactDatabaseFile(db, [&] {
                if (++n == calls)
                    ::raise(SIGKILL);
                return true;
            });
        });
        ASSERT_EQ(signal, SIGKILL);
        EXPECT_TRUE(test::FileBytes(db) == original) << calls;
    }
    // Killed from outside at moments spread over the whole operation.
    for (useconds_t delay : {500u, 2000u, 8000u, 20000u, 50000u, 120000u}) {
        RunChild([&] { CompactDatabaseFile(db); }, delay);
        ASSERT_TRUE(IsProjectDatabase(db)) << delay;
        EXPECT_EQ(IntegrityOf(db), "ok") << delay;
        EXPECT_EQ(TextCount(db), texts) << delay;
    }
}

// The original file is never written: a second name of it (a hard link) keeps
// the old bytes while the path gets the new file. So no moment of either
// operation can leave the original damaged.
TEST(Crash, OriginalIsReplacedNeverRewritten)
{
    TempDir dir;
    fs::path db = dir / "app.mdb";
    test::MakeVersion7Database(db, 50);
    {
        sql::Database raw(db);
        raw.exec("DELETE FROM ResFileLine WHERE LineIndex >= 120");
    }
    const std::string original = test::FileBytes(db);
    fs::create_hard_link(db, dir / "link.mdb");
    ASSERT_TRUE(CompactDatabaseFile(db).ok);
    EXPECT_TRUE(test::FileBytes(dir / "link.mdb") == original);
    EXPECT_TRUE(test::FileBytes(db) != original);

    const std::string compacted = test::FileBytes(db);
    fs::remove(dir / "link.mdb");
    fs::create_hard_link(db, dir / "link.mdb");
    ASSERT_TRUE(ConvertDatabase(db, test::TemplatePath()).ok);
    EXPECT_TRUE(test::FileBytes(dir / "link.mdb") == compacted);
    EXPECT_EQ(ReadFileVersion(db), 8);
}

TEST(Crash, KilledBuildLeavesNoDatabase)
{
    TempDir dir;
    OpenRequest request = test::DemoRequest(dir);
    request.build = [](CProjectDatabase& db) {
        db.AppendLine(10, 1, 0, 70, "x", "");
        ::raise(SIGKILL);
        return 0;
    };
    ASSERT_EQ(RunChild([&] { OpenOrCreate(request); }), SIGKILL);
    EXPECT_FALSE(fs::exists(request.database));
    // Opening the script again builds the database afresh.
    request.build = [](CProjectDatabase&) { return 0; };
    OpenResult r = OpenOrCreate(request);
    EXPECT_TRUE(r.opened());
    EXPECT_TRUE(r.created);
}

}  // namespace
}  // namespace qln
