#pragma once
// The folders of the freedesktop base directory layout that the setup
// program writes to, and the user's home folder.

#include <filesystem>

namespace qln::setup {

struct XdgDirs {
    std::filesystem::path home;
    std::filesystem::path configHome;  // $XDG_CONFIG_HOME, else ~/.config
    std::filesystem::path dataHome;    // $XDG_DATA_HOME, else ~/.local/share

    // From HOME, XDG_CONFIG_HOME and XDG_DATA_HOME; relative values are ignored.
    static XdgDirs FromEnvironment();
};

}  // namespace qln::setup
