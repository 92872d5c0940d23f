#pragma once
// Replacing a file without ever leaving it damaged: the new content is written
// to a temporary file in the same directory, flushed to disk, and renamed over
// the target in one step. A crash at any moment leaves either the old file or
// the complete new one.

#include <filesystem>
#include <system_error>

namespace qln {

// A uniquely named, initially empty file beside `target` (same directory, so a
// rename onto the target is atomic). Removed on destruction unless Commit() or
// Release() ran.
class TempFileBeside {
public:
    explicit TempFileBeside(const std::filesystem::path& target);  // throws filesystem_error
    ~TempFileBeside();
    TempFileBeside(const TempFileBeside&) = delete;
    TempFileBeside& operator=(const TempFileBeside&) = delete;

    const std::filesystem::path& path() const noexcept { return path_; }

    // Flushes the temporary file, gives it the permissions of the target when
    // the target exists, renames it onto the target and flushes the directory.
    void Commit(std::error_code& ec);
    // Keeps the file where it is and stops owning it.
    void Release() noexcept { owned_ = false; }

private:
    std::filesystem::path target_;
    std::filesystem::path path_;
    bool owned_ = true;
};

// Writes the bytes of `from` into the existing file `to` (truncating it). The
// bytes are not synced: `to` is meant to be a TempFileBeside, whose Commit
// syncs it before it takes its name.
void CopyFileContents(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

// Copies `from` onto `to` through a temporary file beside `to`: `to` is replaced
// in one step or left as it was.
void CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

}  // namespace qln
