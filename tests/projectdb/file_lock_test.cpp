// The project file lock between real processes: a forked child takes the
// lock, the test process tries to take it too.

#include "db_fixture.h"
#include "temp_project.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/lock_holder.h"

#include <chrono>
#include <cstdlib>

namespace qln {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::LockHolder;
using test::TempDir;

TEST(ProjectFileLockTest, WriterExcludesEveryoneAndReadersShare)
{
    TempDir dir;
    const fs::path db = dir / "demo_rc.mdb";
    test::CopyTemplateTo(db);
    {
        LockHolder writer(db, LockMode::Exclusive);
        ASSERT_TRUE(writer.locked());
        EXPECT_EQ(ProjectFileLock::Take(db, LockMode::Exclusive, 200ms).status(), LockStatus::InUse);
        EXPECT_EQ(ProjectFileLock::Take(db, LockMode::Shared, 200ms).status(), LockStatus::InUse);
    }
    {
        LockHolder reader(db, LockMode::Shared);
        ASSERT_TRUE(reader.locked());
        EXPECT_TRUE(ProjectFileLock::Take(db, LockMode::Shared, 0ms).held());
        EXPECT_EQ(ProjectFileLock::Take(db, LockMode::Exclusive, 200ms).status(), LockStatus::InUse);
    }
    // Both gone: the side file went with the last holder.
    EXPECT_TRUE(ProjectFileLock::Take(db, LockMode::Exclusive, 0ms).held());
    EXPECT_FALSE(fs::exists(LockFilePath(db)));
    EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"demo_rc.mdb"});
}

TEST(ProjectFileLockTest, ATakerWaitsForAShortHolder)
{
    TempDir dir;
    const fs::path db = dir / "demo_rc.mdb";
    test::CopyTemplateTo(db);
    LockHolder writer(db, LockMode::Exclusive, 400ms);
    ASSERT_TRUE(writer.locked());
    const auto start = std::chrono::steady_clock::now();
    ProjectFileLock lock = ProjectFileLock::Take(db, LockMode::Exclusive);
    EXPECT_TRUE(lock.held());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
}

TEST(ProjectFileLockTest, NestsWithinAProcessAndUpgrades)
{
    TempDir dir;
    const fs::path db = dir / "demo_rc.mdb";
    test::CopyTemplateTo(db);
    {
        ProjectFileLock reading = ProjectFileLock::Take(db, LockMode::Shared, 0ms);
        ProjectFileLock writing = ProjectFileLock::Take(db, LockMode::Exclusive, 0ms);
        ASSERT_TRUE(reading.held());
        ASSERT_TRUE(writing.held());
        reading.Release();
        // Another program still finds it taken while one holder is left (a
        // forked child would inherit this process's hold, flock(1) does not).
        const std::string tryShared = "flock --nonblock --shared '" + LockFilePath(db).string() + "' true";
        EXPECT_NE(std::system(tryShared.c_str()), 0);
    }
    LockHolder other(db, LockMode::Exclusive);
    EXPECT_TRUE(other.locked());
}

TEST(ProjectFileLockTest, ALinkedDatabaseIsLockedAtItsTarget)
{
    TempDir dir;
    fs::create_directory(dir / "store");
    const fs::path target = dir / "store" / "demo_rc.mdb";
    test::CopyTemplateTo(target);
    fs::create_symlink(target, dir / "demo_rc.mdb");
    LockHolder throughLink(dir / "demo_rc.mdb", LockMode::Exclusive);
    ASSERT_TRUE(throughLink.locked());
    EXPECT_EQ(ProjectFileLock::Take(target, LockMode::Shared, 100ms).status(), LockStatus::InUse);
    EXPECT_TRUE(fs::exists(dir / "store" / ".demo_rc.mdb.qln-lock"));
}

TEST(ProjectFileLockTest, TheWriterRemovesStaleWorkCopiesButNoHeldOne)
{
    TempDir dir;
    const fs::path db = dir / "demo_rc.mdb";
    test::CopyTemplateTo(db);
    {
        // The copies another process makes while it holds the database stay.
        LockHolder writer(db, LockMode::Exclusive);
        ASSERT_TRUE(writer.locked());
        for (const char* name : {".demo_rc.mdb-a1B2c3", ".demo_rc.mdb-a1B2c3-journal", ".other_rc.mdb-a1B2c3",
                                 ".demo_rc.mdb-toolong1", "demo_rc.mdb-journal"})
            test::CopyTemplateTo(dir / name);
        EXPECT_FALSE(ProjectFileLock::Take(db, LockMode::Exclusive, 50ms).held());
        EXPECT_TRUE(fs::exists(dir / ".demo_rc.mdb-a1B2c3"));
    }
    {
        // That process is gone now; a reader proves nothing about writers.
        ProjectFileLock reading = ProjectFileLock::Take(db, LockMode::Shared, 0ms);
        EXPECT_TRUE(fs::exists(dir / ".demo_rc.mdb-a1B2c3"));
    }
    ProjectFileLock writing = ProjectFileLock::Take(db, LockMode::Exclusive, 0ms);
    ASSERT_TRUE(writing.held());
    // The database's own journal is never touched: it may be needed to roll back.
    EXPECT_EQ(test::FilesIn(dir.path()),
              (std::vector<std::string>{".demo_rc.mdb-toolong1", ".demo_rc.mdb.qln-lock", ".other_rc.mdb-a1B2c3",
                                        "demo_rc.mdb", "demo_rc.mdb-journal"}));
}

}  // namespace
}  // namespace qln
