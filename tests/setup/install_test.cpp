// Installing from the built medium into a temporary home folder.
#include "setup/setup_support.h"

#include "rcscript/Messages.h"
#include "setup/Installer.h"
#include "setup/SetupMessages.h"
#include "setup/SetupSettings.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qln::test {
namespace {

namespace fs = std::filesystem;
using qln::msg::Format;
namespace msg = setup::msg;

struct InstallRun {
    ScriptedUi ui;
    setup::InstallOutcome outcome;
};

void Install(InstallRun& run, const TempHome& home, const std::string& destination, setup::InstallChoice choice,
             const fs::path& medium = BuiltMedium())
{
    setup::Installer installer(home.Environment(medium), run.ui);
    run.outcome = installer.Install(destination, choice);
}

TEST(Install, ProgramAndDemoFilesInstallRecordAndCreateTheGroup)
{
    TempHome home;
    InstallRun run;
    Install(run, home, "~/qln40", {true, true});
    const fs::path dest = home.home() / "qln40";

    EXPECT_EQ(run.outcome.planned, 21);
    EXPECT_EQ(run.outcome.copied, 21);
    EXPECT_TRUE(run.outcome.closeDialog);
    EXPECT_EQ(run.ui.transcript.informed, std::vector<std::string>{std::string(msg::InstallComplete)});
    EXPECT_EQ(run.ui.transcript.done, 21);
    EXPECT_EQ(run.ui.transcript.total, 21);
    EXPECT_EQ(run.ui.transcript.statuses.front(),
              Format(msg::StatusCopy, {"qln_0", (dest / "qln40").string()}));

    EXPECT_TRUE(SameBytes(dest / "qln40", fs::path(QLN_BINARY_DIR) / "qln40"));
    EXPECT_NE(fs::status(dest / "qln40").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_TRUE(SameBytes(dest / "ReadMe.txt", fs::path(QLN_SOURCE_DIR) / "setup/ReadMe.txt"));
    EXPECT_EQ(fs::last_write_time(dest / "ReadMe.txt"), fs::last_write_time(BuiltMedium() / "readme._xt"));
    std::string lids;
    EXPECT_EQ(RunProgram({(dest / "qln40").string(), "/LIDS", (home.root() / "ids.txt").string()}, &lids), 0)
        << lids;

    const setup::SetupRegistry registry(home.dirs().configHome);
    EXPECT_EQ(registry.InstalledPath(), dest.string());
    EXPECT_EQ(setup::WorkbenchSettings(home.dirs().configHome).ProjectList(),
              (std::vector<std::string>{(dest / "demoproj/demo.rc").string(),
                                        (dest / "demoproj/asia/asiademo.rc").string()}));
    EXPECT_TRUE(fs::exists(home.dirs().dataHome / "applications/qln40-dezuvive-zadozirodi-qln-4-0.desktop"));
    EXPECT_TRUE(fs::exists(home.dirs().dataHome / "applications/qln40-dezuvive-zadozirodi-quillon-help.desktop"));
}

TEST(Install, DemonstrationFilesAloneWriteTheProjectsButNoRegistryNorGroup)
{
    TempHome home;
    // an earlier project list is replaced by the demonstration projects
    setup::WorkbenchSettings(home.dirs().configHome).WriteProjectList({"/old/a.rc", "/old/b.rc", "/old/c.rc"});
    InstallRun run;
    Install(run, home, (home.home() / "demos").string(), {false, true});

    EXPECT_EQ(run.outcome.planned, 15);
    EXPECT_EQ(run.outcome.copied, 15);
    EXPECT_FALSE(run.outcome.closeDialog);
    EXPECT_TRUE(run.ui.transcript.informed.empty()) << run.ui.transcript.informed.front();
    EXPECT_EQ(ListTree(home.home() / "demos").size(), 15u + 6u);  // files and their folders
    EXPECT_EQ(setup::WorkbenchSettings(home.dirs().configHome).ProjectList(),
              (std::vector<std::string>{(home.home() / "demos/demoproj/demo.rc").string(),
                                        (home.home() / "demos/demoproj/asia/asiademo.rc").string()}));
    EXPECT_FALSE(fs::exists(setup::SetupRegistry(home.dirs().configHome).File()));
    EXPECT_FALSE(fs::exists(home.dirs().dataHome / "applications"));
    EXPECT_FALSE(fs::exists(home.dirs().configHome / "menus"));
}

TEST(Install, TheSetupFolderAsDestinationStopsBeforeCopying)
{
    TempHome home;
    const fs::path medium = home.CopyMedium();
    const auto before = ListTree(medium);
    InstallRun run;
    Install(run, home, medium.string() + "/", {true, true}, medium);
    EXPECT_EQ(run.ui.transcript.informed,
              std::vector<std::string>{Format(msg::SameDirectory, {medium.string()})});
    EXPECT_EQ(run.outcome.copied, 0);
    EXPECT_EQ(ListTree(medium), before);
}

TEST(Install, ADestinationBelowAFileCannotBeCreated)
{
    TempHome home;
    std::ofstream(home.home() / "afile") << "x";
    InstallRun run;
    Install(run, home, (home.home() / "afile/qln40").string(), {true, true});
    EXPECT_EQ(run.ui.transcript.informed,
              std::vector<std::string>{Format(msg::CannotChangeDrive, {(home.home() / "afile").string()})});
    EXPECT_EQ(run.outcome.planned, 0);
}

TEST(Install, AMissingProgramFileAsksForMediumOneAndCancelLeavesWhatWasCopied)
{
    TempHome home;
    const fs::path medium = home.CopyMedium();
    fs::remove(medium / "qln40-help._d");
    InstallRun run;
    run.ui.transcript.answers = {true};  // yes, exit the setup program
    Install(run, home, "~/qln40", {true, true}, medium);

    EXPECT_EQ(run.ui.transcript.mediumRequests, std::vector<int>{1});
    EXPECT_EQ(run.ui.transcript.asked, std::vector<std::string>{std::string(msg::AskExitAfterCancel)});
    EXPECT_TRUE(run.outcome.closeDialog);
    EXPECT_EQ(run.outcome.copied, 2);
    EXPECT_EQ(ListTree(home.home() / "qln40"), (std::vector<std::string>{"qln40", "qln40.svg"}));
    EXPECT_FALSE(fs::exists(setup::SetupRegistry(home.dirs().configHome).File()));
    EXPECT_FALSE(fs::exists(setup::WorkbenchSettings(home.dirs().configHome).File()));
}

TEST(Install, AMissingDemoFileAsksForMediumTwoUntilTheFileIsThere)
{
    TempHome home;
    const fs::path partial = home.CopyMedium("partial");
    const fs::path second = home.CopyMedium("second");
    fs::remove(partial / "translations/demo_de._c");
    fs::remove(second / "translations/demo_fr._c");  // the next file: found on the second medium only
    InstallRun run;
    run.ui.transcript.mediumAnswers = {home.root() / "nowhere", second};
    Install(run, home, "~/qln40", {false, true}, partial);

    EXPECT_EQ(run.ui.transcript.mediumRequests, (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(run.ui.transcript.informed.at(0),
              Format(msg::MediumFileStillMissing, {"translations/demo_de._c"}));
    // the second medium lacks the next file, so the setup program asks again and is cancelled
    EXPECT_EQ(run.outcome.copied, 7);
    EXPECT_TRUE(fs::exists(home.home() / "qln40/demoproj/translations/demo_de.rc"));
    EXPECT_FALSE(run.outcome.closeDialog);  // no was the default answer
}

TEST(Install, AnUnreadableFileIsReportedAndTheInstallationIsIncomplete)
{
    TempHome home;
    const fs::path medium = home.CopyMedium();
    std::ofstream(medium / "readme._xt", std::ios::trunc) << "not compressed";
    InstallRun run;
    Install(run, home, "~/qln40", {true, false}, medium);
    EXPECT_EQ(run.ui.transcript.informed,
              (std::vector<std::string>{Format(msg::FileNotFound, {(medium / "readme._xt").string()}),
                                        std::string(msg::CopyIncomplete)}));
    EXPECT_EQ(run.outcome.copied, 5);
    EXPECT_FALSE(fs::exists(setup::SetupRegistry(home.dirs().configHome).File()));
    EXPECT_FALSE(fs::exists(home.home() / "qln40/ReadMe.txt"));
    EXPECT_FALSE(fs::exists(home.home() / "qln40/.ReadMe.txt.qln-part"));
}

}  // namespace
}  // namespace qln::test
