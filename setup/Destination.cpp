#include "setup/Destination.h"

#include <system_error>

namespace qln::setup {

namespace fs = std::filesystem;

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

bool IsDestinationAcceptable(std::string_view text)
{
    if (text.size() <= 3)
        return false;
    const bool goodStart = text.front() == '/' || text.starts_with("~/") || IsAsciiLetter(text.front());
    if (!goodStart)
        return false;
    for (char c : text)
        if (IsBlank(c))
            return false;
    return true;
}

bool CanInstall(std::string_view destination, bool programFiles, bool demoFiles)
{
    return (programFiles || demoFiles) && IsDestinationAcceptable(destination);
}

fs::path ResolveDestination(std::string_view text, const fs::path& home)
{
    fs::path path;
    if (text.starts_with("/"))
        path = fs::path(text);
    else if (text.starts_with("~/"))
        path = home / fs::path(text.substr(2));
    else
        path = home / fs::path(text);
    path = path.lexically_normal();
    if (!path.has_filename() && path != path.root_path())
        path = path.parent_path();
    return path;
}

fs::path DefaultDestination(const fs::path& home) { return home / "qln40"; }

bool IsSameDirectory(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    const fs::path ca = fs::weakly_canonical(a, ec);
    if (ec)
        return a.lexically_normal() == b.lexically_normal();
    const fs::path cb = fs::weakly_canonical(b, ec);
    if (ec)
        return a.lexically_normal() == b.lexically_normal();
    auto strip = [](fs::path p) { return p.has_filename() || p == p.root_path() ? p : p.parent_path(); };
    return strip(ca) == strip(cb);
}

}  // namespace qln::setup
