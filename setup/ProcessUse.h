#pragma once
// Whether a program file is in use: some running process was started from it.

#include <filesystem>

namespace qln::setup {

// True when a process of this machine runs the executable `file` (as far as
// /proc lets us see other users' processes).
bool IsExecutableRunning(const std::filesystem::path& file);

}  // namespace qln::setup
