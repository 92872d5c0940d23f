#include "projectdb/ProjectFileLock.h"

#include "projectdb/SafeFile.h"
#include "rcscript/Messages.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace qln {

namespace fs = std::filesystem;

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

// What this process holds of one database's lock.
struct Hold {
    int fd = -1;
    int shared = 0;
    int exclusive = 0;
    bool lockedExclusive = false;  // the flock() taken is exclusive
};

std::mutex& HoldsMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, Hold>& Holds()
{
    static std::map<std::string, Hold> holds;
    return holds;
}

bool SameInode(int fd, const fs::path& path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

// Locks the side file, retrying while another process holds it or while the
// file we opened was removed by its last holder before we locked it.
// Returns the descriptor, -1 with `status` set otherwise.
int LockSideFile(const fs::path& lockFile, int operation, std::chrono::milliseconds wait, LockStatus& status,
                 int& error)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        // Another user's side file may only be readable to us: that locks too.
        if (fd < 0 && errno == EACCES)
            fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            status = LockStatus::Unavailable;
            error = errno;
            return -1;
        }
        int rc;
        do
            rc = ::flock(fd, operation | LOCK_NB);
        while (rc != 0 && errno == EINTR);
        if (rc == 0 && SameInode(fd, lockFile)) {
            status = LockStatus::Locked;
            return fd;
        }
        const bool busy = rc != 0;
        ::close(fd);
        if (busy) {
            if (std::chrono::steady_clock::now() >= deadline) {
                status = LockStatus::InUse;
                return -1;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }
}

// Takes the exclusive lock on a descriptor that holds it shared. flock()
// drops the shared lock while it converts, so it is taken back when the
// conversion does not succeed in time.
bool Upgrade(int fd, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kPollInterval);
    }
    while (::flock(fd, LOCK_SH) != 0 && errno == EINTR) {
    }
    return false;
}

}  // namespace

fs::path LockFilePath(const fs::path& database)
{
    const fs::path resolved = ResolvedTarget(database);
    const fs::path folder = resolved.parent_path().empty() ? fs::path(".") : resolved.parent_path();
    return folder / HiddenNameBeside(resolved.filename().string(), ".qln-lock");
}

std::string DatabaseInUseMessage(const fs::path& database)
{
    return msg::Format(msg::DatabaseInUse, {database.string()});
}

ProjectFileLock ProjectFileLock::Take(const fs::path& database, LockMode mode, std::chrono::milliseconds wait)
{
    ProjectFileLock lock;
    lock.key_ = ResolvedTarget(database);
    lock.mode_ = mode;
    std::lock_guard guard(HoldsMutex());
    auto& holds = Holds();
    auto found = holds.find(lock.key_.string());
    if (found != holds.end()) {
        Hold& hold = found->second;
        if (mode == LockMode::Exclusive && !hold.lockedExclusive) {
            if (!Upgrade(hold.fd, wait)) {
                lock.status_ = LockStatus::InUse;
                return lock;
            }
            hold.lockedExclusive = true;
        }
        ++(mode == LockMode::Exclusive ? hold.exclusive : hold.shared);
        lock.status_ = LockStatus::Locked;
        return lock;
    }
    const int fd = LockSideFile(LockFilePath(lock.key_), mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH, wait,
                                lock.status_, lock.error_);
    if (fd < 0)
        return lock;
    Hold hold;
    hold.fd = fd;
    hold.lockedExclusive = mode == LockMode::Exclusive;
    ++(mode == LockMode::Exclusive ? hold.exclusive : hold.shared);
    holds.emplace(lock.key_.string(), hold);
    if (mode == LockMode::Exclusive)
        RemoveWorkCopies(lock.key_);
    return lock;
}

ProjectFileLock::ProjectFileLock(ProjectFileLock&& other) noexcept
    : key_(std::move(other.key_)), mode_(other.mode_), status_(std::exchange(other.status_, LockStatus::Unavailable)),
      error_(other.error_)
{
}

ProjectFileLock& ProjectFileLock::operator=(ProjectFileLock&& other) noexcept
{
    if (this != &other) {
        Release();
        key_ = std::move(other.key_);
        mode_ = other.mode_;
        status_ = std::exchange(other.status_, LockStatus::Unavailable);
        error_ = other.error_;
    }
    return *this;
}

void ProjectFileLock::Release() noexcept
{
    if (status_ != LockStatus::Locked)
        return;
    status_ = LockStatus::Unavailable;
    std::lock_guard guard(HoldsMutex());
    auto& holds = Holds();
    auto found = holds.find(key_.string());
    if (found == holds.end())
        return;
    Hold& hold = found->second;
    --(mode_ == LockMode::Exclusive ? hold.exclusive : hold.shared);
    if (hold.shared > 0 || hold.exclusive > 0)
        return;
    // The side file is removed only while held alone: a taker that opened it
    // meanwhile finds, once it gets the lock, that the name is gone.
    const fs::path lockFile = LockFilePath(key_);
    if ((hold.lockedExclusive || ::flock(hold.fd, LOCK_EX | LOCK_NB) == 0) && SameInode(hold.fd, lockFile))
        ::unlink(lockFile.c_str());
    ::close(hold.fd);
    holds.erase(found);
}

}  // namespace qln
