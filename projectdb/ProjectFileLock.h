#pragma once
// Keeps two processes from working on one project database at the same time.
// The lock is an advisory flock() on a hidden side file beside the database
// (".NAME.qln-lock"; its symbolic links resolved first): readers share it, a
// writer holds it alone for the whole operation, work copy and final rename
// included. A second taker waits a short while and then gives up.
//
// Locks nest within a process: taking a database that this process already
// holds only counts a new holder (an exclusive request on a shared hold
// upgrades it). The last holder removes the side file; a taker re-checks
// after locking that it locked the file still at that name, so the removal
// cannot race with it.
//
// Taking the exclusive lock first removes the stale work copies a killed
// operation left beside the database: while the lock is held alone no other
// process can be using one.

#include <chrono>
#include <filesystem>
#include <string>

namespace qln {

enum class LockMode { Shared, Exclusive };

inline constexpr std::chrono::milliseconds kProjectLockWait{5000};

// The side file that carries the lock of `database`.
std::filesystem::path LockFilePath(const std::filesystem::path& database);

enum class LockStatus {
    Locked,       // held
    InUse,        // another process held it past the wait
    Unavailable,  // no side file can be made (folder missing or read-only): not held
};

class ProjectFileLock {
public:
    ProjectFileLock() = default;
    ~ProjectFileLock() { Release(); }
    ProjectFileLock(ProjectFileLock&& other) noexcept;
    ProjectFileLock& operator=(ProjectFileLock&& other) noexcept;
    ProjectFileLock(const ProjectFileLock&) = delete;
    ProjectFileLock& operator=(const ProjectFileLock&) = delete;

    // Takes the lock of `database`, waiting up to `wait` for another process.
    static ProjectFileLock Take(const std::filesystem::path& database, LockMode mode,
                                std::chrono::milliseconds wait = kProjectLockWait);

    LockStatus status() const noexcept { return status_; }
    bool held() const noexcept { return status_ == LockStatus::Locked; }
    // Why the side file could not be made (errno), for Unavailable.
    int error() const noexcept { return error_; }
    // The database as locked: its links resolved.
    const std::filesystem::path& database() const noexcept { return key_; }

    // Gives this holder's share back; the side file goes with the last one.
    void Release() noexcept;

private:
    std::filesystem::path key_;
    LockMode mode_ = LockMode::Shared;
    LockStatus status_ = LockStatus::Unavailable;
    int error_ = 0;
};

// The message for a database held by another process.
std::string DatabaseInUseMessage(const std::filesystem::path& database);

}  // namespace qln
