#include "project/ScriptFileOutput.h"

#include "project/TranslationWriter.h"
#include "projectdb/SafeFile.h"
#include "rcscript/Messages.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace qln {
namespace {

bool IsBadPathErrno(int e) { return e == ENOTDIR || e == ENAMETOOLONG || e == ELOOP || e == EINVAL; }

FileWriteOutcome Fail(int e)
{
    FileWriteOutcome outcome;
    outcome.errnoValue = e;
    outcome.badPath = IsBadPathErrno(e);
    outcome.cause = outcome.badPath ? filecause::BadPath : FileErrorCause(e);
    return outcome;
}

// Writes all bytes to an open descriptor; 0 or the errno of the failing write.
int WriteAll(int fd, std::string_view bytes)
{
    // Chunks of the writer's buffer size; a file-size limit or a full disk
    // stops the write at the chunk where it happens.
    constexpr std::size_t kChunk = 4096;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t n = std::min(kChunk, bytes.size() - done);
        const ssize_t w = ::write(fd, bytes.data() + done, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(w);
    }
    return 0;
}

}  // namespace

FileWriteOutcome WriteFileReplacing(const std::filesystem::path& target, std::string_view bytes)
{
    if (target.empty() || !target.has_filename())
        return Fail(EINVAL);
    // A missing folder is a wrong path, not a missing file.
    std::error_code ec;
    const std::filesystem::path dir = target.parent_path().empty() ? "." : target.parent_path();
    const auto dirStatus = std::filesystem::status(dir, ec);
    if (!std::filesystem::exists(dirStatus))
        return Fail(ENOTDIR);
    if (!std::filesystem::is_directory(dirStatus))
        return Fail(ENOTDIR);
    try {
        TempFileBeside temp(target);
        const int fd = ::open(temp.path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0)
            return Fail(errno);
        int e = WriteAll(fd, bytes);
        if (e == 0 && ::fsync(fd) != 0)
            e = errno;
        if (::close(fd) != 0 && e == 0)
            e = errno;
        if (e != 0)
            return Fail(e);
        temp.Commit(ec);
        if (ec)
            return Fail(ec.value());
    } catch (const std::filesystem::filesystem_error& error) {
        return Fail(error.code().value());
    }
    return {};
}

int FileErrorCause(int e)
{
    switch (e) {
    case 0: return filecause::None;
    case ENOENT: return filecause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return filecause::BadPath;
    case EMFILE:
    case ENFILE: return filecause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EEXIST: return filecause::AccessDenied;
    case EBADF: return filecause::InvalidFile;
    case EMLINK: return filecause::DirectoryFull;
    case ESPIPE: return filecause::BadSeek;
    case EIO: return filecause::HardIo;
    case EBUSY: return filecause::SharingViolation;
    case ENOLCK:
    case EDEADLK: return filecause::LockViolation;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return filecause::DiskFull;
    default: return filecause::Generic;
    }
}

std::string_view FileErrorText(int cause)
{
    switch (cause) {
    case filecause::None: return msg::FileErrorNone;
    case filecause::FileNotFound: return msg::FileErrorNotFound;
    case filecause::TooManyOpenFiles: return msg::FileErrorTooManyOpen;
    case filecause::AccessDenied: return msg::FileErrorAccessDenied;
    case filecause::InvalidFile: return msg::FileErrorInvalidFile;
    case filecause::RemoveCurrentDir: return msg::FileErrorRemoveCurrentDir;
    case filecause::DirectoryFull: return msg::FileErrorDirectoryFull;
    case filecause::BadSeek: return msg::FileErrorBadSeek;
    case filecause::HardIo: return msg::FileErrorHardware;
    case filecause::SharingViolation: return msg::FileErrorSharing;
    case filecause::LockViolation: return msg::FileErrorLock;
    case filecause::DiskFull: return msg::FileErrorDiskFull;
    case filecause::EndOfFile: return msg::FileErrorEndOfFile;
    default: return msg::FileErrorGeneric;
    }
}

}  // namespace qln
