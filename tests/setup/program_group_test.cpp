// The program group's command strings, executed as freedesktop menu files.
#include "setup/setup_support.h"

#include "setup/DesktopEntry.h"
#include "setup/Installer.h"
#include "setup/ProgramGroup.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qln::test {
namespace {

namespace fs = std::filesystem;
using setup::ProgramGroupShell;

void ExpectValid(const fs::path& file)
{
    if (!HaveDesktopFileValidate())
        return;
    std::string report;
    EXPECT_EQ(RunProgram({"desktop-file-validate", file.string()}, &report), 0) << file << "\n" << report;
    // hints (such as "no registered main category" for a group's own category) are fine
    EXPECT_EQ(report.find("error:"), std::string::npos) << report;
    EXPECT_EQ(report.find("warning:"), std::string::npos) << report;
}

TEST(ProgramGroupCommands, ParseQuotedAndPlainArguments)
{
    const auto commands = setup::ParseGroupCommands(
        R"cmd([CreateGroup(My Group)] [AddItem("/opt/a,b/run", "Title (x)" ,"/i/""q"".svg")][DeleteGroup( My Group )])cmd");
    ASSERT_TRUE(commands);
    ASSERT_EQ(commands->size(), 3u);
    EXPECT_EQ((*commands)[0].name, "CreateGroup");
    EXPECT_EQ((*commands)[0].arguments, std::vector<std::string>{"My Group"});
    EXPECT_EQ((*commands)[1].arguments, (std::vector<std::string>{"/opt/a,b/run", "Title (x)", "/i/\"q\".svg"}));
    EXPECT_EQ((*commands)[2].arguments, std::vector<std::string>{"My Group"});
    for (const char* bad : {"CreateGroup(x)", "[CreateGroup(x)", "[CreateGroup(\"x)]", "[(x)]", "[A(x)]junk"})
        EXPECT_FALSE(setup::ParseGroupCommands(bad)) << bad;
    const auto quoted = setup::ParseGroupCommands("[AddItem(" + setup::GroupArgument("/p/a,b(\"c\")") + ",t)]");
    ASSERT_TRUE(quoted);
    EXPECT_EQ((*quoted)[0].arguments[0], "/p/a,b(\"c\")");
}

TEST(ProgramGroupCommands, TheInstallersGroupIsAValidMenuAndIsRemovedCompletely)
{
    TempHome home;
    const fs::path dest = home.home() / "qln40";
    fs::create_directories(dest);
    fs::copy_file(fs::path(QLN_BINARY_DIR) / "qln40", dest / "qln40");
    fs::copy_file(fs::path(QLN_SOURCE_DIR) / "setup/qln40.svg", dest / "qln40.svg");
    std::ofstream(dest / "qln40-help.md") << "# Help\n";
    fs::create_directories(home.dirs().dataHome / "applications");
    std::ofstream(home.dirs().dataHome / "applications/someone-else.desktop") << "[Desktop Entry]\n";

    ProgramGroupShell shell(home.dirs());
    ASSERT_EQ(shell.Execute(setup::Installer::CreateGroupCommands(dest)), std::nullopt);
    const fs::path program = shell.EntryFile("Dezuvive Zadozirodi", "QLN 4.0");
    const fs::path help = shell.EntryFile("Dezuvive Zadozirodi", "Quillon Help");
    const std::string programText = ReadBytes(program);
    EXPECT_NE(programText.find("\nExec=" + (dest / "qln40").string() + "\n"), std::string::npos) << programText;
    EXPECT_NE(programText.find("\nIcon=" + (dest / "qln40.svg").string() + "\n"), std::string::npos);
    EXPECT_NE(ReadBytes(help).find("\nExec=xdg-open " + (dest / "qln40-help.md").string() + "\n"),
              std::string::npos);
    for (const fs::path& file : {program, help, shell.DirectoryFile("Dezuvive Zadozirodi")})
        ExpectValid(file);
    EXPECT_NE(ReadBytes(shell.MenuFile("Dezuvive Zadozirodi")).find("<Category>X-Qln40-dezuvive-zadozirodi</Category>"),
              std::string::npos);

    ProgramGroupShell remover(home.dirs());
    ASSERT_EQ(remover.Execute(setup::Installer::DeleteGroupCommands()), std::nullopt);
    EXPECT_EQ(ListTree(home.dirs().dataHome), (std::vector<std::string>{"applications/",
                                                                        "applications/someone-else.desktop"}));
    EXPECT_FALSE(fs::exists(home.dirs().configHome / "menus"));
}

TEST(ProgramGroupCommands, ExecLinesQuoteWhatTheShellWouldSplit)
{
    TempHome home;
    const fs::path odd = home.root() / "with blank" / "100% \"sure\"";
    fs::create_directories(odd.parent_path());
    std::ofstream(odd) << "#!/bin/sh\n";
    fs::permissions(odd, fs::perms::owner_all);
    EXPECT_EQ(setup::ExecValue(odd.string()),
              "\"" + (home.root() / "with blank").string() + "/100%% \\\"sure\\\"\"");

    ProgramGroupShell shell(home.dirs());
    ASSERT_EQ(shell.Execute("[CreateGroup(Odd, Group)][AddItem(" + setup::GroupArgument(odd.string()) +
                            ",Odd \\ Title)]"),
              std::nullopt);
    const fs::path entry = shell.EntryFile("Odd", "Odd \\ Title");
    EXPECT_NE(ReadBytes(entry).find("\nName=Odd \\\\ Title\n"), std::string::npos) << ReadBytes(entry);
    ExpectValid(entry);
}

TEST(ProgramGroupCommands, ItemsNeedAnActiveGroupAndKnownCommands)
{
    TempHome home;
    ProgramGroupShell shell(home.dirs());
    EXPECT_TRUE(shell.Execute("[AddItem(/bin/true,True)]"));
    EXPECT_TRUE(shell.Execute("[DeleteItem(True)]"));
    EXPECT_TRUE(shell.Execute("[ShowGroup(x,1)]"));
    EXPECT_TRUE(shell.Execute("[CreateGroup(G)"));
    EXPECT_EQ(shell.Execute("[CreateGroup(G)][DeleteItem(Not There)]"), std::nullopt);
    EXPECT_FALSE(fs::exists(home.dirs().dataHome / "applications"));
}

}  // namespace
}  // namespace qln::test
