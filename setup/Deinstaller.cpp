// Deinstalling: the steps of Installer::Deinstall.
#include "setup/Installer.h"

#include "setup/ProgramGroup.h"
#include "setup/SetupMessages.h"
#include "setup/SetupSettings.h"

#include "rcscript/Messages.h"

#include <algorithm>
#include <set>
#include <system_error>

namespace qln::setup {

namespace fs = std::filesystem;
using qln::msg::Format;

bool Installer::Deinstall()
{
    const SetupRegistry registry(environment_.dirs.configHome);
    const std::string installed = registry.InstalledPath();
    if (!installed.empty())
        DeleteInstalledFiles(fs::path(installed));

    ui_.ShowStatus(std::string(msg::StatusRemoveGroup));
    ProgramGroupShell shell(environment_.dirs);
    if (const auto failure = shell.Execute(DeleteGroupCommands()))
        ui_.Inform(*failure);

    ui_.ShowStatus(std::string(msg::StatusRemoveRegistry));
    if (!registry.Forget())
        ui_.Inform(Format(msg::SettingsWriteFailed, {registry.File().string()}));
    const WorkbenchSettings workbench(environment_.dirs.configHome);
    if (const std::error_code ec = workbench.Remove())
        ui_.Inform(Format(msg::CannotDeleteFile, {workbench.File().string(), ec.message()}));

    const bool stillInstalled = !registry.InstalledPath().empty();
    if (!stillInstalled) {
        ui_.ShowStatus(std::string(msg::StatusDeinstalled));
        ui_.Inform(std::string(msg::DeinstalledBox));
    }
    return stillInstalled;
}

// Deletes the files the setup program installs below `installed`, then every
// folder of theirs that is left empty, the deepest first. Files of the user's
// own in those folders stay, and so do their folders.
void Installer::DeleteInstalledFiles(const fs::path& installed)
{
    if (!installed.is_absolute())
        return;
    std::set<fs::path> folders{installed};
    for (const MediumFile& file : AllMediumFiles()) {
        const fs::path relative = InstalledPath(file);
        for (fs::path parent = relative.parent_path(); !parent.empty(); parent = parent.parent_path())
            folders.insert(installed / parent);
        const fs::path path = installed / relative;
        std::error_code ec;
        if (!fs::is_regular_file(fs::symlink_status(path, ec)) && !fs::is_symlink(fs::symlink_status(path, ec)))
            continue;
        ui_.ShowStatus(Format(msg::StatusDeleteFile, {path.string()}));
        if (!fs::remove(path, ec) && ec)
            ui_.Inform(Format(msg::CannotDeleteFile, {path.string(), ec.message()}));
    }
    std::vector<fs::path> deepestFirst(folders.begin(), folders.end());
    std::sort(deepestFirst.begin(), deepestFirst.end(), [](const fs::path& a, const fs::path& b) {
        return std::distance(a.begin(), a.end()) > std::distance(b.begin(), b.end());
    });
    for (const fs::path& folder : deepestFirst) {
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(folder, ec)) || !fs::is_empty(folder, ec))
            continue;
        ui_.ShowStatus(Format(msg::StatusDeleteDirectory, {folder.string()}));
        fs::remove(folder, ec);
    }
}

}  // namespace qln::setup
