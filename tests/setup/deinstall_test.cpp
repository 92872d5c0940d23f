// Deinstalling removes exactly what installing made.
#include "setup/setup_support.h"

#include "rcscript/Messages.h"
#include "setup/Installer.h"
#include "setup/SetupMessages.h"
#include "setup/SetupSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace qln::test {
namespace {

namespace fs = std::filesystem;
namespace msg = setup::msg;

TEST(Deinstall, AfterInstallingTheHomeFolderIsAsBefore)
{
    TempHome home;
    // what a desktop user already has
    fs::create_directories(home.dirs().dataHome / "applications");
    std::ofstream(home.dirs().dataHome / "applications/editor.desktop") << "[Desktop Entry]\n";
    std::ofstream(home.dirs().configHome / "other.ini") << "[x]\ny=1\n";
    fs::create_directories(home.home() / "Documents");
    const auto before = ListTree(home.root());

    ScriptedUi ui;
    setup::Installer installer(home.Environment(), ui);
    ASSERT_EQ(installer.Install("qln40", {true, true}).copied, 21);
    ASSERT_FALSE(installer.RecordedPath().empty());
    EXPECT_GT(ListTree(home.root()).size(), before.size() + 20);

    EXPECT_FALSE(installer.Deinstall());
    EXPECT_EQ(ListTree(home.root()), before);
    EXPECT_EQ(installer.RecordedPath(), "");
    EXPECT_EQ(ui.transcript.statuses.back(), msg::StatusDeinstalled);
    EXPECT_EQ(ui.transcript.informed.back(), msg::DeinstalledBox);
    const auto& statuses = ui.transcript.statuses;
    const std::string deleteProgram =
        qln::msg::Format(msg::StatusDeleteFile, {(home.home() / "qln40/qln40").string()});
    const std::string deleteFolder = qln::msg::Format(msg::StatusDeleteDirectory, {(home.home() / "qln40").string()});
    for (const std::string& expected : {deleteProgram, deleteFolder, std::string(msg::StatusRemoveGroup),
                                        std::string(msg::StatusRemoveRegistry)})
        EXPECT_NE(std::find(statuses.begin(), statuses.end(), expected), statuses.end()) << expected;
}

TEST(Deinstall, FilesOfTheUsersOwnStayWithTheirFolders)
{
    TempHome home;
    ScriptedUi ui;
    setup::Installer installer(home.Environment(), ui);
    ASSERT_EQ(installer.Install("~/qln40", {true, true}).copied, 21);
    const fs::path dest = home.home() / "qln40";
    std::ofstream(dest / "demoproj/demo_de.rc") << "written by the workbench";
    std::ofstream(home.dirs().configHome / "qln40-setup.ini", std::ios::app) << "[Vostrel_Soft]\nOther=1\n";

    installer.Deinstall();
    EXPECT_EQ(ListTree(dest), (std::vector<std::string>{"demoproj/", "demoproj/demo_de.rc"}));
    EXPECT_EQ(installer.RecordedPath(), "");
    // the maker's key keeps its other value
    EXPECT_NE(ReadBytes(home.dirs().configHome / "qln40-setup.ini").find("Other=1"), std::string::npos);
    EXPECT_FALSE(fs::exists(home.dirs().configHome / "qln40.ini"));
}

TEST(Deinstall, IsOnlyPossibleAfterInstallingTheProgramFiles)
{
    TempHome home;
    ScriptedUi ui;
    setup::Installer installer(home.Environment(), ui);
    installer.Install("~/demos", {false, true});
    EXPECT_EQ(installer.RecordedPath(), "");
    installer.Install("~/qln40", {true, false});
    EXPECT_EQ(installer.RecordedPath(), (home.home() / "qln40").string());
}

}  // namespace
}  // namespace qln::test
