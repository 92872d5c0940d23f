#pragma once
// Builds an installation medium: every file of the media table, compressed
// under its medium name, with the original's modification time.

#include <filesystem>
#include <optional>
#include <string>

namespace qln::setup {

struct MediumSources {
    std::filesystem::path build;   // the build folder: executables and the template
    std::filesystem::path source;  // the source tree
    std::filesystem::path demo;    // a copy of examples/demo with the projects' databases
};

struct MediumResult {
    int files = 0;
    std::optional<std::string> error;
};

MediumResult BuildMedium(const MediumSources& sources, const std::filesystem::path& output);

// Compresses one file into `target` (folders created as needed); an error text on failure.
std::optional<std::string> CompressFile(const std::filesystem::path& original, const std::filesystem::path& target,
                                        char missingChar);

}  // namespace qln::setup
