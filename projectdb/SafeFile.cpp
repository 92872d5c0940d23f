#include "projectdb/SafeFile.h"

#include "projectdb/ShortJournalNames.h"

#include <cerrno>
#include <climits>
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

// The room the engine needs past a database name for its journal ("-journal").
constexpr std::size_t kJournalSuffixRoom = 8;
constexpr std::string_view kRandomPart = "XXXXXX";

bool IsRandomPart(std::string_view text)
{
    if (text.size() != kRandomPart.size())
        return false;
    for (char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

}  // namespace

std::string HiddenNameBeside(const std::string& name, const std::string& suffix, std::size_t reserve)
{
    if (1 + name.size() + suffix.size() + reserve <= NAME_MAX)
        return "." + name + suffix;
    return ".q" + NameHash(name) + suffix;
}

std::filesystem::path ResolvedTarget(const std::filesystem::path& target)
{
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(target, ec), ec);
    return ec || resolved.empty() ? target : resolved;
}

int RemoveWorkCopies(const std::filesystem::path& target)
{
    const std::filesystem::path resolved = ResolvedTarget(target);
    const std::string name = resolved.filename().string();
    const std::string prefixes[] = {"." + name + "-", ".q" + NameHash(name) + "-"};
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(DirectoryOf(resolved), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        for (const std::string& prefix : prefixes) {
            if (entry.size() < prefix.size() + kRandomPart.size() || entry.compare(0, prefix.size(), prefix) != 0)
                continue;
            std::string_view rest = std::string_view(entry).substr(prefix.size());
            const std::string_view random = rest.substr(0, kRandomPart.size());
            rest.remove_prefix(kRandomPart.size());
            if (!IsRandomPart(random) || !(rest.empty() || rest == "-journal" || rest == "-wal" || rest == "-shm"))
                continue;
            std::error_code removeError;
            if (it->is_regular_file(removeError) && std::filesystem::remove(it->path(), removeError))
                ++removed;
            break;
        }
    }
    return removed;
}

TempFileBeside::TempFileBeside(const std::filesystem::path& target) : target_(ResolvedTarget(target))
{
    const std::string name =
        HiddenNameBeside(target_.filename().string(), "-" + std::string(kRandomPart), kJournalSuffixRoom);
    std::string pattern = (DirectoryOf(target_) / name).string();
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
