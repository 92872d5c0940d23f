// Two programs on one project database: a writer waits for the other and
// then either runs after it or gives up naming the database, never both
// writing at once.

#include "app/batch_support.h"
#include "projectdb/lock_holder.h"
#include "rcscript/Messages.h"

#include <gtest/gtest.h>

#include <chrono>

namespace qln::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class LockedProject : public DemoCopy {
public:
    LockedProject()
    {
        Run({"/C", "demo.rc"}, 0);
        Run({"/A", "demo_rc.mdb", "German", "demo_de.rc"}, 0);
    }
    fs::path db() const { return path() / "demo_rc.mdb"; }
};

const std::string kInUse = msg::Format(msg::BatchDatabaseInUse, {"demo_rc.mdb"});

TEST(BatchLock, ADatabaseHeldElsewhereIsLeftAloneWithTheReason)
{
    LockedProject dir;
    struct Case {
        LockMode held;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {LockMode::Exclusive, {"/A", "demo_rc.mdb", "French", "demo_fr.rc"}},
        {LockMode::Exclusive, {"/T", "demo_rc.mdb", "German"}},
        {LockMode::Shared, {"/COMP", "demo_rc.mdb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        LockHolder holder(dir.db(), c.held);
        ASSERT_TRUE(holder.locked());
        const auto before = Snapshot(dir.path());
        const auto start = std::chrono::steady_clock::now();
        const RunResult r = dir.Run(c.args, 2);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 4s) << "gave up without waiting";
        EXPECT_NE(r.err.find(kInUse), std::string::npos) << r.err;
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
}

TEST(BatchLock, ReadersShareAndAWriterWaitsForAShortHolder)
{
    LockedProject dir;
    {
        LockHolder reader(dir.db(), LockMode::Shared);
        ASSERT_TRUE(reader.locked());
        dir.Run({"/L", "demo_rc.mdb", "German"}, 0);
    }
    LockHolder writer(dir.db(), LockMode::Exclusive, 1500ms);
    ASSERT_TRUE(writer.locked());
    dir.Run({"/A", "demo_rc.mdb", "French", "demo_fr.rc"}, 0);
    dir.Run({"/L", "demo_rc.mdb", "French"}, 0);
}

// The update replaces the file by its compacted work copy: a language added
// meanwhile used to vanish with the old file.
TEST(BatchLock, UpdateAndAddLanguageAtOnceKeepBoth)
{
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        LockedProject dir;
        WriteText(dir / "demo.rc", ReadText(dir / "demo.rc") + "\n// edited\n");
        const std::vector<std::string> update{"/U", "demo_rc.mdb"};
        const std::vector<std::string> add{"/A", "demo_rc.mdb", "French", "demo_fr.rc"};
        QlnProcess first(dir.path(), round % 2 ? update : add);
        QlnProcess second(dir.path(), round % 2 ? add : update);
        const RunResult a = first.Wait();
        const RunResult b = second.Wait();
        EXPECT_EQ(a.exitCode, 0) << a.out << a.err;
        EXPECT_EQ(b.exitCode, 0) << b.out << b.err;
        dir.Run({"/L", "demo_rc.mdb", "French"}, 0);
        dir.Run({"/D", "demo_rc.mdb"}, 0);
        EXPECT_FALSE(fs::exists(dir / ".demo_rc.mdb.qln-lock"));
    }
}

}  // namespace
}  // namespace qln::test
