#pragma once
// File stamps: the last-write date and time of a file in MS-DOS format
// (local time, 2-second resolution) together with its size. They are stored
// for the source script, its include files and the translated scripts, and
// compared to notice that a file changed.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qln {

struct FileStamp {
    std::int64_t size = 0;
    std::uint16_t time = 0;  // MS-DOS time: hour << 11 | minute << 5 | second / 2
    std::uint16_t date = 0;  // MS-DOS date: (year - 1980) << 9 | month << 5 | day

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

// MS-DOS date and time of a point in time, in local time. Times before 1980
// give 1980-01-01 00:00:00, times after 2107 give 2107-12-31 23:59:58.
DosDateTime ToDosDateTime(std::time_t when);

// The stamp of a file, or nothing when it does not exist or cannot be read.
std::optional<FileStamp> ReadFileStamp(const std::filesystem::path& path);

// True when the stamp `stored` is older than `current`: an earlier date, or
// the same date and an earlier time.
bool StampIsOlder(const FileStamp& stored, const FileStamp& current);

// The file a script names (an include file, a bitmap): backslashes are
// separators, a name starting with '/' is absolute, others are relative to
// `baseDir`; when the exact path does not exist, each component is matched
// without regard to case. Nothing when no file matches.
std::optional<std::filesystem::path> ResolveScriptReference(const std::filesystem::path& baseDir,
                                                            std::string_view name);

}  // namespace qln
