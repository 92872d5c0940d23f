#pragma once
// A child process (fork) that holds the project file lock of a database, so
// that tests meet the lock the way a second program run meets it.

#include "projectdb/ProjectFileLock.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

namespace qln::test {

// A child process that holds the lock of a database until told to let go.
class LockHolder {
public:
    // Holds until Finish() (or destruction), or for `holdFor` when it is given.
    LockHolder(const std::filesystem::path& database, LockMode mode,
               std::chrono::milliseconds holdFor = std::chrono::milliseconds(-1))
    {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ProjectFileLock lock = ProjectFileLock::Take(database, mode, std::chrono::milliseconds(0));
            const char state = lock.held() ? 'L' : 'N';
            (void)!::write(ready[1], &state, 1);
            char c;
            if (holdFor.count() >= 0) {
                ::usleep(static_cast<useconds_t>(holdFor.count() * 1000));
                lock.Release();
            }
            (void)!::read(go[0], &c, 1);
            lock.Release();
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        go_ = go[1];
        char state = 0;
        locked_ = ::read(ready[0], &state, 1) == 1 && state == 'L';
        ::close(ready[0]);
    }
    ~LockHolder() { Finish(); }
    bool locked() const { return locked_; }
    void Finish()
    {
        if (pid_ <= 0)
            return;
        const char c = 'x';
        (void)!::write(go_, &c, 1);
        ::close(go_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int go_ = -1;
    bool locked_ = false;
};

}  // namespace qln::test
