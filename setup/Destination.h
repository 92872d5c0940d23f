#pragma once
// The destination directory as the user types it.
//
// Install is enabled only when the text is longer than three characters,
// starts with '/' (an absolute path), "~/" (the home folder) or a letter (a
// folder below the home folder, as "qln40" for ~/qln40), contains no blank or
// other white space, and at least one of the two kinds of files is chosen.

#include <filesystem>
#include <string_view>

namespace qln::setup {

bool IsDestinationAcceptable(std::string_view text);
bool CanInstall(std::string_view destination, bool programFiles, bool demoFiles);

// The absolute, lexically normal directory a destination text names.
std::filesystem::path ResolveDestination(std::string_view text, const std::filesystem::path& home);

// The destination shown when the dialog opens: ~/qln40, written out.
std::filesystem::path DefaultDestination(const std::filesystem::path& home);

// True when both name the same directory (symbolic links followed where they exist).
bool IsSameDirectory(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace qln::setup
