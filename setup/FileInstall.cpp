#include "setup/FileInstall.h"

#include "setup/FileVersion.h"

#include <mspack.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace qln::setup {

namespace fs = std::filesystem;

namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove(path_, ec);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& path() const { return path_; }
    void Release() { path_.clear(); }

private:
    fs::path path_;
};

fs::path TemporaryPathFor(const fs::path& target)
{
    return target.parent_path() / ("." + target.filename().string() + ".qln-part");
}

InstallFileResult Failure(InstallStatus status, std::string cause = {}) { return {status, std::move(cause)}; }

InstallFileResult FromErrorCode(const std::error_code& ec)
{
    if (ec == std::errc::no_space_on_device)
        return Failure(InstallStatus::OutOfSpace);
    return Failure(InstallStatus::Failed, ec.message());
}

}  // namespace

bool IsExistingNewer(const fs::path& target, const fs::path& candidate, bool executable)
{
    std::error_code ec;
    if (!fs::exists(target, ec))
        return false;
    if (executable) {
        const auto existing = ReadEmbeddedVersion(target);
        const auto offered = ReadEmbeddedVersion(candidate);
        if (existing && offered)
            return *existing > *offered;
    }
    const auto existingTime = fs::last_write_time(target, ec);
    if (ec)
        return false;
    const auto offeredTime = fs::last_write_time(candidate, ec);
    return !ec && existingTime > offeredTime;
}

InstallFileResult InstallFile(const SzddExpander& expander, const fs::path& source, const fs::path& target,
                              bool executable, const ReplaceNewerQuestion& replaceNewer)
{
    const auto header = expander.ReadHeader(source);
    if (!header)
        return Failure(InstallStatus::SourceUnreadable);
    std::error_code ec;
    const fs::space_info space = fs::space(target.parent_path(), ec);
    if (!ec && space.available < header->length)
        return Failure(InstallStatus::OutOfSpace);
    const auto sourceTime = fs::last_write_time(source, ec);
    if (ec)
        return Failure(InstallStatus::SourceUnreadable);

    TemporaryFile temporary(TemporaryPathFor(target));
    errno = 0;
    if (const int error = expander.Expand(source, temporary.path()); error != MSPACK_ERR_OK) {
        if (error == MSPACK_ERR_WRITE && errno == ENOSPC)
            return Failure(InstallStatus::OutOfSpace);
        if (error == MSPACK_ERR_OPEN || error == MSPACK_ERR_READ || error == MSPACK_ERR_SIGNATURE ||
            error == MSPACK_ERR_DATAFORMAT)
            return Failure(InstallStatus::SourceUnreadable, SzddExpander::ErrorText(error));
        return Failure(InstallStatus::Failed, SzddExpander::ErrorText(error));
    }
    fs::last_write_time(temporary.path(), sourceTime, ec);
    if (!ec && executable)
        fs::permissions(temporary.path(),
                        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ec);
    if (ec)
        return FromErrorCode(ec);

    if (IsExistingNewer(target, temporary.path(), executable) && !replaceNewer(target))
        return Failure(InstallStatus::KeptNewer);
    fs::rename(temporary.path(), target, ec);
    if (ec)
        return FromErrorCode(ec);
    temporary.Release();
    return {InstallStatus::Copied, {}};
}

}  // namespace qln::setup
