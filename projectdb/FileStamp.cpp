#include "projectdb/FileStamp.h"

#include <sys/stat.h>

#include <strings.h>

#include <string>
#include <system_error>

namespace qln {

DosDateTime ToDosDateTime(std::time_t when)
{
    std::tm local{};
    if (!localtime_r(&when, &local))
        return {0, (1 << 5) | 1};
    int year = local.tm_year + 1900;
    if (year < 1980)
        return {0, (1 << 5) | 1};
    if (year > 2107)
        return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
    DosDateTime out;
    // A leap second (tm_sec 60) is folded into the last even second.
    int seconds = local.tm_sec > 59 ? 59 : local.tm_sec;
    out.time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (seconds / 2));
    out.date = static_cast<std::uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    return out;
}

std::optional<FileStamp> ReadFileStamp(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    DosDateTime dos = ToDosDateTime(info.st_mtime);
    return FileStamp{static_cast<std::int64_t>(info.st_size), dos.time, dos.date};
}

bool StampIsOlder(const FileStamp& stored, const FileStamp& current)
{
    return stored.date < current.date || (stored.date == current.date && stored.time < current.time);
}

std::optional<std::filesystem::path> ResolveScriptReference(const std::filesystem::path& baseDir,
                                                            std::string_view name)
{
    namespace fs = std::filesystem;
    std::string text(name);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    if (text.empty())
        return std::nullopt;
    const fs::path relative(text);
    fs::path exact = relative.is_absolute() ? relative : baseDir / relative;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;

    // Walk the components, taking the first directory entry that matches
    // each one without regard to case.
    fs::path current = relative.is_absolute() ? fs::path("/") : baseDir;
    for (const auto& part : relative.relative_path()) {
        const std::string wanted = part.string();
        if (wanted.empty() || wanted == ".")
            continue;
        if (wanted == "..") {
            current /= part;
            continue;
        }
        fs::path exactNext = current / part;
        if (fs::exists(exactNext, ec)) {
            current = exactNext;
            continue;
        }
        bool found = false;
        for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string candidate = it->path().filename().string();
            if (strcasecmp(candidate.c_str(), wanted.c_str()) == 0) {
                current = it->path();
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return current;
}

}  // namespace qln
