#include "setup/Installer.h"

#include "setup/Destination.h"
#include "setup/FileInstall.h"
#include "setup/ProcessUse.h"
#include "setup/ProgramGroup.h"
#include "setup/SetupMessages.h"
#include "setup/SetupSettings.h"

#include "rcscript/Messages.h"

#include <unistd.h>

#include <system_error>

namespace qln::setup {

namespace fs = std::filesystem;
using qln::msg::Format;

namespace {

// The nearest folder of `path` that exists already.
fs::path ExistingAncestor(const fs::path& path)
{
    std::error_code ec;
    fs::path folder = path;
    while (!folder.empty() && !fs::exists(folder, ec) && folder != folder.root_path())
        folder = folder.parent_path();
    return folder;
}

bool IsRegularFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

Installer::Installer(SetupEnvironment environment, SetupUi& ui) : environment_(std::move(environment)), ui_(ui) {}

std::string Installer::RecordedPath() const { return SetupRegistry(environment_.dirs.configHome).InstalledPath(); }

InstallOutcome Installer::Install(const std::string& destinationText, InstallChoice choice)
{
    InstallOutcome outcome;
    const fs::path destination = ResolveDestination(destinationText, environment_.dirs.home);
    if (IsSameDirectory(environment_.setupFolder, destination)) {
        ui_.Inform(Format(msg::SameDirectory, {destination.string()}));
        return outcome;
    }
    if (!PrepareDirectory(destination))
        return outcome;

    const std::vector<MediumFile> files = FilesToInstall(choice.programFiles, choice.demoFiles);
    outcome.planned = static_cast<int>(files.size());
    ui_.ShowProgress(0, outcome.planned);
    currentMedium_ = environment_.setupFolder;
    std::vector<fs::path> projects;
    const RunState state = CopyFiles(destination, files, outcome, projects);

    if (state == RunState::StoppedByUser) {
        outcome.closeDialog = ui_.Ask(std::string(msg::AskExitAfterCancel));
        return outcome;
    }
    if (state == RunState::Failed || outcome.copied < outcome.planned) {
        ui_.Inform(std::string(msg::CopyIncomplete));
        return outcome;
    }
    outcome.closeDialog = Finish(destination, choice, projects);
    return outcome;
}

// Creates the directory with every folder above it. The nearest existing
// folder must be one we can enter.
bool Installer::PrepareDirectory(const fs::path& directory)
{
    const fs::path existing = ExistingAncestor(directory);
    std::error_code ec;
    if (!fs::is_directory(existing, ec) || access(existing.c_str(), X_OK) != 0) {
        ui_.Inform(Format(msg::CannotChangeDrive, {existing.string()}));
        return false;
    }
    fs::create_directories(directory, ec);
    if (ec && !fs::is_directory(directory)) {
        ui_.Inform(Format(msg::CannotCreateDirectory, {directory.string()}));
        return false;
    }
    return true;
}

Installer::RunState Installer::CopyFiles(const fs::path& destination, const std::vector<MediumFile>& files,
                                         InstallOutcome& outcome, std::vector<fs::path>& projects)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        const MediumFile& file = files[i];
        const fs::path target = destination / InstalledPath(file);
        ui_.ShowStatus(Format(msg::StatusCopy, {MediumPath(file).string(), target.string()}));
        const auto source = LocateOnMedium(file, static_cast<int>(i) + 1, outcome.planned);
        if (!source)
            return RunState::StoppedByUser;
        ui_.KeepAlive();
        if (i == 0 && file.executable && !ConfirmExistingProgram(target))
            return RunState::StoppedByUser;
        if (!PrepareDirectory(target.parent_path()))
            return RunState::Failed;
        if (file.project)
            projects.push_back(target);

        bool copied = false;
        const RunState state = CopyOne(file, *source, target, copied);
        if (copied)
            ui_.ShowProgress(++outcome.copied, outcome.planned);
        if (state != RunState::Running)
            return state;
    }
    return RunState::Running;
}

// The file on the current medium; else asks for the medium until the file is
// there or the user cancels.
std::optional<fs::path> Installer::LocateOnMedium(const MediumFile& file, int index, int total)
{
    const fs::path relative = MediumPath(file);
    if (IsRegularFile(currentMedium_ / relative))
        return currentMedium_ / relative;
    ui_.Beep();
    for (;;) {
        const auto folder = ui_.AskForMedium(MediumNumber(file), relative.string(), index, total, currentMedium_);
        if (!folder)
            return std::nullopt;
        if (IsRegularFile(*folder / relative)) {
            currentMedium_ = *folder;
            return *folder / relative;
        }
        ui_.Inform(Format(msg::MediumFileStillMissing, {relative.string()}));
    }
}

// A running copy of the program is replaced only when the user agrees.
bool Installer::ConfirmExistingProgram(const fs::path& program)
{
    if (!IsExecutableRunning(program))
        return true;
    return ui_.Ask(Format(msg::ExistingCopyQuestion, {program.string(), msg::ExistingCopyInUse}));
}

Installer::RunState Installer::CopyOne(const MediumFile& file, const fs::path& source, const fs::path& target,
                                       bool& copied)
{
    const auto askReplace = [this](const fs::path& newer) {
        return ui_.Ask(Format(msg::AskReplaceNewer, {newer.string()}));
    };
    const InstallFileResult result = InstallFile(expander_, source, target, file.executable, askReplace);
    switch (result.status) {
    case InstallStatus::Copied:
    case InstallStatus::KeptNewer:
        copied = true;
        return RunState::Running;
    case InstallStatus::OutOfSpace:
        ui_.Inform(std::string(msg::OutOfDiskSpace));
        return RunState::Failed;
    case InstallStatus::SourceUnreadable:
        ui_.Inform(Format(msg::FileNotFound, {source.string()}));
        return RunState::Running;
    case InstallStatus::Failed:
        ui_.Inform(Format(msg::CannotCopyFile, {target.string(), result.cause}));
        return RunState::Running;
    }
    return RunState::Running;
}

// Records the installation, lists the demonstration projects and creates the
// program group. True when the dialog may close.
bool Installer::Finish(const fs::path& destination, InstallChoice choice, const std::vector<fs::path>& projects)
{
    const SetupRegistry registry(environment_.dirs.configHome);
    if (choice.programFiles && !registry.Record(std::string(InstalledVersion), destination.string())) {
        ui_.Inform(Format(msg::SettingsWriteFailed, {registry.File().string()}));
        return false;
    }
    const WorkbenchSettings workbench(environment_.dirs.configHome);
    if (!projects.empty() && !workbench.WriteProjectList(projects)) {
        ui_.Inform(Format(msg::SettingsWriteFailed, {workbench.File().string()}));
        return false;
    }
    if (!choice.programFiles)
        return false;
    ProgramGroupShell shell(environment_.dirs);
    if (const auto failure = shell.Execute(CreateGroupCommands(destination))) {
        ui_.Inform(Format(msg::GroupFailedBecause, {msg::GroupFailed, *failure}));
        return false;
    }
    ui_.Inform(std::string(msg::InstallComplete));
    return true;
}

std::string Installer::CreateGroupCommands(const fs::path& destination)
{
    struct Item {
        fs::path command;
        std::string_view title;
        fs::path icon;
    };
    const Item items[] = {
        {destination / ProgramEntry, msg::ProgramItemTitle, destination / IconEntry},
        {destination / HelpEntry, msg::HelpItemTitle, {}},
    };
    const std::string group = "[CreateGroup(" + GroupArgument(msg::GroupName) + ")]";
    std::string commands = group;
    for (const Item& item : items) {
        const std::string title = GroupArgument(item.title);
        commands += group + "[DeleteItem(" + title + ")][AddItem(" + GroupArgument(item.command.string()) + "," +
                    title;
        if (!item.icon.empty())
            commands += "," + GroupArgument(item.icon.string());
        commands += ")]";
    }
    return commands;
}

std::string Installer::DeleteGroupCommands()
{
    const std::string group = GroupArgument(msg::GroupName);
    std::string commands = "[CreateGroup(" + group + ")]";
    for (std::string_view title : {msg::ProgramItemTitle, msg::HelpItemTitle, msg::ReadMeItemTitle})
        commands += "[DeleteItem(" + GroupArgument(title) + ")]";
    return commands + "[DeleteGroup(" + group + ")]";
}

}  // namespace qln::setup
