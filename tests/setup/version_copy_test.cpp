// Version-aware copying: newer installed files are kept unless the user
// agrees, older ones are replaced, a running program is reported.
#include "setup/setup_support.h"

#include "rcscript/Messages.h"
#include "setup/FileVersion.h"
#include "setup/SetupMessages.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>

extern char** environ;

namespace qln::test {
namespace {

namespace fs = std::filesystem;
using qln::msg::Format;
namespace msg = setup::msg;

// A destination with a program file holding the given version.
fs::path ProgramWithVersion(const TempHome& home, const std::string& version)
{
    const fs::path dest = home.home() / "qln40";
    fs::create_directories(dest);
    std::ofstream(dest / "qln40", std::ios::binary) << std::string("\x7f" "ELF...\0", 8) << "QLN-FILEVERSION "
                                                    << version << '\0' << "rest";
    return dest;
}

setup::InstallOutcome InstallProgramFiles(const TempHome& home, ScriptedUi& ui)
{
    setup::Installer installer(home.Environment(), ui);
    return installer.Install("~/qln40", {true, false});
}

TEST(FileVersion, EmbeddedVersionsCompareByNumber)
{
    EXPECT_EQ(setup::ReadEmbeddedVersion(fs::path(QLN_BINARY_DIR) / "qln40")->ToString(), "4.0.0");
    EXPECT_EQ(setup::ReadEmbeddedVersion(fs::path(QLN_BINARY_DIR) / "qln40-install")->ToString(), "4.0.0");
    EXPECT_FALSE(setup::ReadEmbeddedVersion(fs::path(QLN_BINARY_DIR) / "qlndb8.mdb"));
    EXPECT_LT(*setup::ParseFileVersion("4.0.9"), *setup::ParseFileVersion("4.0.10"));
    EXPECT_LT(*setup::ParseFileVersion("4.0"), *setup::ParseFileVersion("4.0.0"));
    EXPECT_GT(*setup::ParseFileVersion("10.1"), *setup::ParseFileVersion("9.99.99"));
    EXPECT_FALSE(setup::ParseFileVersion("x4"));
}

TEST(VersionedCopy, ANewerProgramIsKeptWhenTheUserSaysNo)
{
    TempHome home;
    const fs::path dest = ProgramWithVersion(home, "9.1");
    const std::string newer = ReadBytes(dest / "qln40");
    ScriptedUi ui;
    ui.transcript.answers = {false};
    const auto outcome = InstallProgramFiles(home, ui);
    EXPECT_EQ(ui.transcript.asked, std::vector<std::string>{Format(msg::AskReplaceNewer, {(dest / "qln40").string()})});
    EXPECT_TRUE(ReadBytes(dest / "qln40") == newer);
    EXPECT_EQ(outcome.copied, 6);  // the newer copy counts as installed
    EXPECT_FALSE(fs::exists(dest / ".qln40.qln-part"));
}

TEST(VersionedCopy, ANewerProgramIsReplacedWhenTheUserSaysYes)
{
    TempHome home;
    const fs::path dest = ProgramWithVersion(home, "9.1");
    ScriptedUi ui;
    ui.transcript.answers = {true};
    InstallProgramFiles(home, ui);
    EXPECT_EQ(ui.transcript.asked.size(), 1u);
    EXPECT_TRUE(SameBytes(dest / "qln40", fs::path(QLN_BINARY_DIR) / "qln40"));
}

TEST(VersionedCopy, OlderFilesAreReplacedWithoutAsking)
{
    TempHome home;
    const fs::path dest = ProgramWithVersion(home, "3.9.9");
    std::ofstream(dest / "ReadMe.txt") << "old read-me";
    fs::last_write_time(dest / "ReadMe.txt", fs::last_write_time(BuiltMedium() / "readme._xt") - std::chrono::hours(1));
    ScriptedUi ui;
    InstallProgramFiles(home, ui);
    EXPECT_TRUE(ui.transcript.asked.empty());
    EXPECT_TRUE(SameBytes(dest / "qln40", fs::path(QLN_BINARY_DIR) / "qln40"));
    EXPECT_TRUE(SameBytes(dest / "ReadMe.txt", fs::path(QLN_SOURCE_DIR) / "setup/ReadMe.txt"));
}

TEST(VersionedCopy, ADataFileChangedAfterTheMediumWasMadeIsNewer)
{
    TempHome home;
    const fs::path dest = home.home() / "qln40";
    fs::create_directories(dest);
    std::ofstream(dest / "ReadMe.txt") << "my own notes";
    fs::last_write_time(dest / "ReadMe.txt", fs::last_write_time(BuiltMedium() / "readme._xt") + std::chrono::hours(1));
    ScriptedUi ui;
    ui.transcript.answers = {false};
    InstallProgramFiles(home, ui);
    EXPECT_EQ(ui.transcript.asked,
              std::vector<std::string>{Format(msg::AskReplaceNewer, {(dest / "ReadMe.txt").string()})});
    EXPECT_EQ(ReadBytes(dest / "ReadMe.txt"), "my own notes");
}

// A process started from the installed program file.
class RunningCopy {
public:
    explicit RunningCopy(const fs::path& program)
    {
        fs::copy_file("/bin/sleep", program, fs::copy_options::overwrite_existing);
        // older than the medium: carries no version of ours, so its date counts
        fs::last_write_time(program, fs::last_write_time(BuiltMedium() / "qln_0") - std::chrono::hours(24 * 365));
        const std::string path = program.string();
        char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("60"), nullptr};
        if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) != 0)
            pid_ = 0;
    }
    ~RunningCopy()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = 0;
};

TEST(VersionedCopy, AProgramInUseIsReportedAndNoStopsTheInstallation)
{
    TempHome home;
    const fs::path dest = home.home() / "qln40";
    fs::create_directories(dest);
    RunningCopy running(dest / "qln40");
    ASSERT_TRUE(running.running());
    ScriptedUi ui;
    ui.transcript.answers = {false, false};  // do not continue, do not exit
    const auto outcome = InstallProgramFiles(home, ui);
    ASSERT_EQ(ui.transcript.asked.size(), 2u);
    EXPECT_EQ(ui.transcript.asked[0],
              Format(msg::ExistingCopyQuestion, {(dest / "qln40").string(), msg::ExistingCopyInUse}));
    EXPECT_EQ(ui.transcript.asked[1], msg::AskExitAfterCancel);
    EXPECT_EQ(outcome.copied, 0);
    EXPECT_TRUE(SameBytes(dest / "qln40", "/bin/sleep"));
}

TEST(VersionedCopy, AProgramInUseIsReplacedWhenTheUserContinues)
{
    TempHome home;
    const fs::path dest = home.home() / "qln40";
    fs::create_directories(dest);
    RunningCopy running(dest / "qln40");
    ScriptedUi ui;
    ui.transcript.answers = {true};
    const auto outcome = InstallProgramFiles(home, ui);
    EXPECT_EQ(outcome.copied, 6);
    EXPECT_TRUE(SameBytes(dest / "qln40", fs::path(QLN_BINARY_DIR) / "qln40"));
}

}  // namespace
}  // namespace qln::test
