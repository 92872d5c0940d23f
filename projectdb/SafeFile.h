#pragma once
// Replacing a file without ever leaving it damaged: the new content is written
// to a temporary file in the same directory, flushed to disk, and renamed over
// the target in one step. A crash at any moment leaves either the old file or
// the complete new one.

#include <filesystem>
#include <system_error>

namespace qln {

// The file a replacement must land on: `target` with its symbolic links
// resolved (as far as it exists), so that a link keeps pointing at the file
// that receives the new content.
std::filesystem::path ResolvedTarget(const std::filesystem::path& target);

// A uniquely named, initially empty file beside `target` (same directory, so a
// rename onto the target is atomic). When `target` is a symbolic link the
// file lies beside the link's target, and Commit() replaces that target. The
// name is ".NAME-XXXXXX" while that fits the system's name limit with room for
// an engine journal suffix, else a short ".q<hash of NAME>-XXXXXX". Removed on
// destruction unless Commit() or Release() ran.
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

// Removes every work copy TempFileBeside made for `target` (and the engine's
// journal files of those copies) that is still lying beside it. Only safe
// while nothing can be working on `target`: the caller holds its exclusive
// lock. Returns the number of files removed.
int RemoveWorkCopies(const std::filesystem::path& target);

// The last component of a hidden file beside a file named `name`: "." + name
// + suffix while that fits the system's limit (`reserve` bytes kept free),
// else ".q" + a hash of `name` + suffix.
std::string HiddenNameBeside(const std::string& name, const std::string& suffix, std::size_t reserve = 0);

// Writes the bytes of `from` into the existing file `to` (truncating it). The
// bytes are not synced: `to` is meant to be a TempFileBeside, whose Commit
// syncs it before it takes its name.
void CopyFileContents(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

// Copies `from` onto `to` through a temporary file beside `to`: `to` is replaced
// in one step or left as it was.
void CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

}  // namespace qln
