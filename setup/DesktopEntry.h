#pragma once
// The texts of the freedesktop files a program group is made of.

#include <string>
#include <string_view>

namespace qln::setup {

// "Dezuvive Zadozirodi" -> "dezuvive-zadozirodi": ASCII letters and digits in
// lower case, every other run of characters one '-'.
std::string MenuSlug(std::string_view name);
// The category that ties a group's entries to its submenu.
std::string GroupCategory(std::string_view group);

// The Exec value for a command line: an executable file runs itself, any
// other file is opened with the desktop's program for it (xdg-open).
std::string ExecValue(std::string_view command);
// A value of a desktop entry with its escapes (\\ \n \t \r).
std::string EscapedEntryValue(std::string_view value);

// An application entry of `group` that runs `command`; `icon` may be empty.
std::string DesktopEntryText(std::string_view group, std::string_view command, std::string_view title,
                             std::string_view icon);
std::string DirectoryEntryText(std::string_view group);
std::string MenuFileText(std::string_view group, std::string_view directoryFileName);

}  // namespace qln::setup
