#pragma once
// Our UTF-8 texts and paths as Qt strings.

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace qln::setup {

inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString ToQString(const std::string& text) { return ToQString(std::string_view(text)); }

inline QString ToQString(const std::filesystem::path& path) { return ToQString(std::string_view(path.native())); }

}  // namespace qln::setup
