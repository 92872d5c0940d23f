#pragma once
// The version embedded in our executables: the text "QLN-FILEVERSION "
// followed by dotted numbers, compiled into each of them (VersionStamp.cpp).

#include <compare>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln::setup {

struct FileVersion {
    std::vector<int> parts;
    auto operator<=>(const FileVersion&) const = default;
    std::string ToString() const;
};

// "4.0.1" -> {4, 0, 1}; nothing when the text does not start with a number.
std::optional<FileVersion> ParseFileVersion(std::string_view text);

// The first embedded version in the file's bytes; nothing when there is none
// or the file cannot be read.
std::optional<FileVersion> ReadEmbeddedVersion(const std::filesystem::path& file);

}  // namespace qln::setup
