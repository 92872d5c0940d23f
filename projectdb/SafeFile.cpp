#include "projectdb/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qln {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// Owns a POSIX file descriptor.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports a failure of close (a delayed write error).
    bool close()
    {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

void SyncPath(const std::filesystem::path& path, int flags, std::error_code& ec)
{
    Fd fd(::open(path.c_str(), flags | O_CLOEXEC));
    if (!fd.valid() || ::fsync(fd.get()) != 0)
        ec = LastError();
}

std::filesystem::path DirectoryOf(const std::filesystem::path& file)
{
    std::filesystem::path dir = file.parent_path();
    return dir.empty() ? std::filesystem::path(".") : dir;
}

}  // namespace

TempFileBeside::TempFileBeside(const std::filesystem::path& target) : target_(target)
{
    std::string pattern = (DirectoryOf(target) / ("." + target.filename().string() + "-XXXXXX")).string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    int fd = ::mkostemp(buf.data(), O_CLOEXEC);
    if (fd < 0)
        throw std::filesystem::filesystem_error("cannot create a temporary file", target, LastError());
    ::close(fd);
    path_ = buf.data();
}

TempFileBeside::~TempFileBeside()
{
    if (owned_) {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
}

void TempFileBeside::Commit(std::error_code& ec)
{
    ec.clear();
    // A replaced file keeps its permissions; a new one gets those of any new file.
    struct stat st {};
    mode_t mode;
    if (::stat(target_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::chmod(path_.c_str(), mode) != 0) {
        ec = LastError();
        return;
    }
    SyncPath(path_, O_RDONLY, ec);
    if (ec)
        return;
    if (::rename(path_.c_str(), target_.c_str()) != 0) {
        ec = LastError();
        return;
    }
    owned_ = false;
    SyncPath(DirectoryOf(target_), O_RDONLY | O_DIRECTORY, ec);
}

void CopyFileContents(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec)
{
    ec.clear();
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) {
        ec = LastError();
        return;
    }
    Fd out(::open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!out.valid()) {
        ec = LastError();
        return;
    }
    std::vector<char> buf(1 << 16);
    for (;;) {
        ssize_t n = ::read(in.get(), buf.data(), buf.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ec = LastError();
            return;
        }
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out.get(), buf.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                ec = LastError();
                return;
            }
            done += w;
        }
    }
    // Not synced here: the file is a temporary one, synced once when it is
    // committed under its name.
    if (!out.close())
        ec = LastError();
}

void CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec)
{
    ec.clear();
    try {
        TempFileBeside temp(to);
        CopyFileContents(from, temp.path(), ec);
        if (!ec)
            temp.Commit(ec);
    } catch (const std::filesystem::filesystem_error& e) {
        ec = e.code();
    }
}

}  // namespace qln
