#include "setup/ProcessUse.h"

#include <system_error>

namespace qln::setup {

bool IsExecutableRunning(const std::filesystem::path& file)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path wanted = fs::canonical(file, ec);
    if (ec)
        return false;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code linkError;
        const fs::path exe = fs::read_symlink(it->path() / "exe", linkError);
        if (!linkError && exe == wanted)
            return true;
    }
    return false;
}

}  // namespace qln::setup
