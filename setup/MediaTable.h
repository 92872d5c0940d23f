#pragma once
// The files on the installation medium, in the order they are installed: the
// program files on medium 1, then the database template, the read-me and the
// demonstration projects on medium 2.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qln::setup {

enum class FileGroup { Program, Template, ReadMe, Demo };

// Where the medium builder takes a file from: the build folder, the source
// tree, or the prepared copy of examples/demo (with the projects' databases).
enum class Origin { Build, Source, Demo };

struct MediumFile {
    // Name as installed, '/' between folders. Demonstration files are relative
    // to DemoFolder, all others to the destination.
    std::string_view entry;
    FileGroup group;
    Origin origin;
    std::string_view originPath;
    // Executables carry an embedded version; other files compare by date.
    bool executable = false;
    // A script the workbench opens as a demonstration project.
    bool project = false;
};

// The subdirectory of the destination that holds the demonstration files.
inline constexpr std::string_view DemoFolder = "demoproj";
// The version the setup program records for an installation.
inline constexpr std::string_view InstalledVersion = "4.0";

std::span<const MediumFile> AllMediumFiles();
// The files of one choice, in installation order.
std::vector<MediumFile> FilesToInstall(bool programFiles, bool demoFiles);

// Program files are on medium 1, all others on medium 2.
int MediumNumber(const MediumFile& file);

// The name a file has on the medium: the entry in lower case with one letter of
// its file name replaced by '_'. With exactly three characters after the first
// '.' the first of them is replaced (ReadMe.txt -> readme._xt), otherwise the
// second-to-last character (demo.rc -> demo._c).
std::string MediumName(std::string_view entry);
// The character that MediumName replaced (kept in the compressed file's header).
char ReplacedCharacter(std::string_view entry);

// Where a file lies on the medium, relative to the medium's folder.
std::filesystem::path MediumPath(const MediumFile& file);
// Where a file is installed, relative to the destination.
std::filesystem::path InstalledPath(const MediumFile& file);

// The main program, its icon and help, as the program group names them.
inline constexpr std::string_view ProgramEntry = "qln40";
inline constexpr std::string_view IconEntry = "qln40.svg";
inline constexpr std::string_view HelpEntry = "qln40-help.md";

}  // namespace qln::setup
