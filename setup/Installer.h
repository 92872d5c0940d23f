#pragma once
// Installing and deinstalling, step by step, through a SetupUi.

#include "setup/MediaTable.h"
#include "setup/SetupUi.h"
#include "setup/Szdd.h"
#include "setup/XdgDirs.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qln::setup {

struct SetupEnvironment {
    // The setup program's own folder: the installation medium.
    std::filesystem::path setupFolder;
    XdgDirs dirs;
};

struct InstallChoice {
    bool programFiles = true;
    bool demoFiles = true;
};

struct InstallOutcome {
    bool closeDialog = false;
    int planned = 0;
    int copied = 0;
};

class Installer {
public:
    Installer(SetupEnvironment environment, SetupUi& ui);

    // Failures are reported through the UI and stop the run; files already
    // copied stay where they are.
    InstallOutcome Install(const std::string& destination, InstallChoice choice);

    // Removes the installed files, the program group, the recorded values and
    // the workbench's ini file. Returns whether an installation is still recorded.
    bool Deinstall();

    // The directory recorded by the last installation of the program files.
    std::string RecordedPath() const;

    // The command strings that create and remove the program group.
    static std::string CreateGroupCommands(const std::filesystem::path& destination);
    static std::string DeleteGroupCommands();

private:
    enum class RunState { Running, StoppedByUser, Failed };

    bool PrepareDirectory(const std::filesystem::path& directory);
    std::optional<std::filesystem::path> LocateOnMedium(const MediumFile& file, int index, int total);
    bool ConfirmExistingProgram(const std::filesystem::path& program);
    RunState CopyFiles(const std::filesystem::path& destination, const std::vector<MediumFile>& files,
                       InstallOutcome& outcome, std::vector<std::filesystem::path>& projects);
    RunState CopyOne(const MediumFile& file, const std::filesystem::path& source,
                     const std::filesystem::path& target, bool& copied);
    bool Finish(const std::filesystem::path& destination, InstallChoice choice,
                const std::vector<std::filesystem::path>& projects);
    void DeleteInstalledFiles(const std::filesystem::path& installed);

    SetupEnvironment environment_;
    SetupUi& ui_;
    std::filesystem::path currentMedium_;
    SzddExpander expander_;
};

}  // namespace qln::setup
