#include "setup/XdgDirs.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace qln::setup {

namespace {

std::filesystem::path AbsoluteFromEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return {};
    return std::filesystem::path(value);
}

std::filesystem::path HomeFolder()
{
    std::filesystem::path home = AbsoluteFromEnv("HOME");
    if (home.empty())
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
            home = entry->pw_dir;
    return home;
}

}  // namespace

XdgDirs XdgDirs::FromEnvironment()
{
    XdgDirs dirs;
    dirs.home = HomeFolder();
    dirs.configHome = AbsoluteFromEnv("XDG_CONFIG_HOME");
    if (dirs.configHome.empty())
        dirs.configHome = dirs.home / ".config";
    dirs.dataHome = AbsoluteFromEnv("XDG_DATA_HOME");
    if (dirs.dataHome.empty())
        dirs.dataHome = dirs.home / ".local" / "share";
    return dirs;
}

}  // namespace qln::setup
