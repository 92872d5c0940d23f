#pragma once
// Installing one file from the medium: expanded into a temporary file beside
// the target, compared with an existing copy, then renamed over it, so that a
// failure never leaves a half-written file behind.

#include "setup/Szdd.h"

#include <filesystem>
#include <functional>
#include <string>

namespace qln::setup {

enum class InstallStatus {
    Copied,
    KeptNewer,         // the existing copy is newer and the user kept it
    OutOfSpace,
    SourceUnreadable,  // missing, unreadable or no compressed installation file
    Failed,            // any other failure; `cause` says why
};

struct InstallFileResult {
    InstallStatus status = InstallStatus::Failed;
    std::string cause;
};

// Asked with the target's path when the existing copy is newer; true replaces it.
using ReplaceNewerQuestion = std::function<bool(const std::filesystem::path&)>;

// An existing executable is newer when its embedded version is higher; any
// other file when it was modified later than the medium's file. The installed
// file takes the medium file's modification time, and executables are made
// executable.
InstallFileResult InstallFile(const SzddExpander& expander, const std::filesystem::path& source,
                              const std::filesystem::path& target, bool executable,
                              const ReplaceNewerQuestion& replaceNewer);

// True when the existing `target` is newer than the already expanded `candidate`.
bool IsExistingNewer(const std::filesystem::path& target, const std::filesystem::path& candidate,
                     bool executable);

}  // namespace qln::setup
