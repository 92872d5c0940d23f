#include "setup/FileVersion.h"

#include <fstream>
#include <iterator>

namespace qln::setup {

namespace {

constexpr std::string_view kMarker = "QLN-FILEVERSION ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The version behind the first marker that is followed by a digit.
std::optional<FileVersion> FindVersion(std::string_view bytes)
{
    for (std::size_t at = bytes.find(kMarker); at != std::string_view::npos; at = bytes.find(kMarker, at + 1)) {
        const std::string_view rest = bytes.substr(at + kMarker.size());
        if (!rest.empty() && IsDigit(rest.front()))
            return ParseFileVersion(rest);
    }
    return std::nullopt;
}

}  // namespace

std::string FileVersion::ToString() const
{
    std::string text;
    for (int part : parts)
        text += (text.empty() ? "" : ".") + std::to_string(part);
    return text;
}

std::optional<FileVersion> ParseFileVersion(std::string_view text)
{
    FileVersion version;
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) {
        int part = 0;
        for (; i < text.size() && IsDigit(text[i]) && part < 100000; ++i)
            part = part * 10 + (text[i] - '0');
        version.parts.push_back(part);
        if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1]))
            ++i;
        else
            break;
    }
    if (version.parts.empty())
        return std::nullopt;
    return version;
}

std::optional<FileVersion> ReadEmbeddedVersion(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return FindVersion(bytes);
}

}  // namespace qln::setup
