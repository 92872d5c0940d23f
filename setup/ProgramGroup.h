#pragma once
// A program group as a freedesktop menu. Executes the command strings of the
// classic program-group interface:
//   [CreateGroup(name)]            creates the group (a submenu) and makes it active
//   [AddItem(command,title)]       adds an entry to the active group
//   [AddItem(command,title,icon)]  ... with an icon file
//   [DeleteItem(title)]            removes an entry of the active group
//   [DeleteGroup(name)]            removes the group with all its entries
// Arguments may be written in double quotes (to hold commas or parentheses).
//
// A group is a directory entry in $XDG_DATA_HOME/desktop-directories and a menu
// file in $XDG_CONFIG_HOME/menus/applications-merged that gathers the group's
// entries by their category; each entry is a .desktop file in
// $XDG_DATA_HOME/applications. All file names start with "qln40-" and the
// group's name, so that removing the group finds exactly what was made.

#include "setup/XdgDirs.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln::setup {

struct GroupCommand {
    std::string name;
    std::vector<std::string> arguments;
};

// The commands of one string; nothing when it is malformed.
std::optional<std::vector<GroupCommand>> ParseGroupCommands(std::string_view commands);

// One argument for a command string, quoted when it needs to be.
std::string GroupArgument(std::string_view value);

class ProgramGroupShell {
public:
    explicit ProgramGroupShell(XdgDirs dirs);

    // Runs every command of the string in order; stops at the first failure
    // and returns its description.
    std::optional<std::string> Execute(std::string_view commands);

    // Where the group and its entries are written.
    std::filesystem::path DirectoryFile(std::string_view group) const;
    std::filesystem::path MenuFile(std::string_view group) const;
    std::filesystem::path EntryFile(std::string_view group, std::string_view title) const;

private:
    std::optional<std::string> Run(const GroupCommand& command, std::string_view text);
    std::optional<std::string> CreateGroup(const std::string& name);
    std::optional<std::string> AddItem(const std::vector<std::string>& arguments);
    std::optional<std::string> DeleteItem(const std::string& title);
    std::optional<std::string> DeleteGroup(const std::string& name);
    void RemoveEmptyFolders() const;

    XdgDirs dirs_;
    std::string activeGroup_;
};

}  // namespace qln::setup
