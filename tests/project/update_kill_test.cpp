// An update killed at a random moment (SIGKILL from outside, nothing runs on
// the way out) leaves a project database that opens and holds either the
// state before the update or the complete result of it.

#include "update_support.h"

#include "projectdb/Lifecycle.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

std::string GeneratedScript(int strings, const std::string& changed)
{
    std::string text = "IDD_MAIN DIALOGEX 0, 0, 200, 100\nCAPTION \"Main\"\nBEGIN\n"
                       "    PUSHBUTTON \"OK\", IDOK, 5, 5, 40, 14\nEND\nSTRINGTABLE\nBEGIN\n";
    for (int i = 0; i < strings; ++i)
        text += "    IDS_S" + std::to_string(i) + " \"" + (i % 50 == 0 ? changed : "String") + " number " +
                std::to_string(i) + "\"\n";
    return text + "END\n";
}

TEST(UpdateKill, KilledUpdatesLeaveTheOldOrTheNewDatabase)
{
    TempDir dir;
    const fs::path script = dir / "app.rc", db = dir / "app_rc.mdb";
    const fs::path pristine = dir / "pristine.bin", edited = dir / "edited.txt";
    ASSERT_TRUE(BuildText(dir, GeneratedScript(20000, "String")).ok());
    TranslateAll(db);
    fs::copy_file(db, pristine);
    const Dump before = DumpDatabase(db, true);
    const std::string editedText = GeneratedScript(20000, "Changed");

    auto reset = [&] {
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path() != pristine)
                fs::remove(entry.path());
        fs::copy_file(pristine, db);
        WriteFile(script, editedText);
        // The same stamp every round, so a finished update gives exactly `after`.
        fs::last_write_time(script, fs::last_write_time(pristine) + std::chrono::seconds(8));
    };
    reset();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Update(script, db).ok());
    const auto took = std::chrono::steady_clock::now() - start;
    const Dump after = DumpDatabase(db, true);
    ASSERT_NE(after, before);

    std::mt19937 random(20261207);
    std::uniform_int_distribution<long> delay(0, std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    int old = 0, updated = 0;
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        reset();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool ok = Update(script, db).ok();
            _exit(ok ? 0 : 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(IsProjectDatabase(db));
        const Dump now = DumpDatabase(db, true);
        if (now == before)
            ++old;
        else if (now == after)
            ++updated;
        else
            ADD_FAILURE() << "the database is neither the old nor the updated one";
    }
    std::cout << "[ kill ] update took " << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
              << " ms; killed before it ended " << old << " times, after " << updated << " times\n";
    EXPECT_GT(old, 0);
}

}  // namespace
}  // namespace qln::test
