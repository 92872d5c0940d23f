#pragma once
// The setup program's "registry" and the workbench's project list, both ini
// files in the user's configuration folder: qln40-setup.ini holds VERSION and
// PATH below the maker's key, qln40.ini the PROJECTFILES section.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace qln::setup {

class SetupRegistry {
public:
    explicit SetupRegistry(std::filesystem::path configHome);

    std::filesystem::path File() const;
    // The installed directory; empty when none is recorded.
    std::string InstalledPath() const;
    // Writes VERSION and PATH; false when the file cannot be written.
    bool Record(const std::string& version, const std::string& path) const;
    // Deletes VERSION and PATH, then the keys and the file when nothing else is left.
    bool Forget() const;

private:
    std::filesystem::path configHome_;
};

// The workbench's initialisation file.
class WorkbenchSettings {
public:
    static constexpr int kProjectSlots = 30;

    explicit WorkbenchSettings(std::filesystem::path configHome);

    std::filesystem::path File() const;
    // Clears File0 to File29 of PROJECTFILES and writes the projects from File0 on.
    bool WriteProjectList(const std::vector<std::filesystem::path>& projects) const;
    std::vector<std::string> ProjectList() const;
    // Removes the whole file; an error only when it exists and cannot be removed.
    std::error_code Remove() const;

private:
    std::filesystem::path configHome_;
};

}  // namespace qln::setup
