#include "fileaccess.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovik {

namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> data, int& error)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data = data.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Reset(); }
    int Get() const { return fd; }
    int Release() { const int f = fd; fd = -1; return f; }
    void Reset(int newFd = -1)
    {
        if (fd >= 0)
            ::close(fd);
        fd = newFd;
    }
private:
    int fd;
};

FileCause LockCause(int fd, int operation)
{
    if (::flock(fd, operation | LOCK_NB) == 0)
        return FileCause::none;
    return errno == EWOULDBLOCK ? FileCause::sharingViolation : FileAccess::CauseFromErrno(errno);
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

FileAccess::FileAccess() : chunkWriter(WriteAll) {}

void FileAccess::SetChunkWriter(ChunkWriter writer) { chunkWriter = std::move(writer); }

FileCause FileAccess::CauseFromErrno(int error)
{
    switch (error) {
    case 0:
        return FileCause::none;
    case ENOENT:
    case ENOTDIR:
        return FileCause::fileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileCause::accessDenied;
    case EWOULDBLOCK:
        return FileCause::sharingViolation;
    case ENAMETOOLONG:
        return FileCause::badPath;
    case EMFILE:
    case ENFILE:
        return FileCause::tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
        return FileCause::diskFull;
    case EIO:
        return FileCause::hardIO;
    default:
        return FileCause::generic;
    }
}

FileCause FileAccess::Read(const std::string& path, std::span<std::uint8_t> buffer,
                           std::size_t& bytesRead) const
{
    bytesRead = 0;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return CauseFromErrno(errno);
    if (const FileCause c = LockCause(fd.Get(), LOCK_SH); c != FileCause::none)
        return c;
    while (bytesRead < buffer.size()) {
        const ssize_t n = ::read(fd.Get(), buffer.data() + bytesRead, buffer.size() - bytesRead);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return CauseFromErrno(errno);
        }
        if (n == 0)
            break;
        bytesRead += static_cast<std::size_t>(n);
    }
    return FileCause::none;
}

FileCause FileAccess::WriteAtomically(const std::string& requestedPath,
                                      std::span<const std::uint8_t> data) const
{
    // Write through a symbolic link to the file it names, rather than replacing the link.
    std::string path = requestedPath;
    if (char resolved[PATH_MAX]; ::realpath(requestedPath.c_str(), resolved) != nullptr)
        path = resolved;

    // An existing file must be writable and not held by another program; it keeps its
    // permissions. The lock is held until the new content has replaced it.
    Descriptor target;
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        target.Reset(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
        if (target.Get() < 0)
            return CauseFromErrno(errno);
        if (const FileCause c = LockCause(target.Get(), LOCK_EX); c != FileCause::none)
            return c;
        mode = st.st_mode & 07777;
    }

    const std::string directory = DirectoryOf(path);
    std::string temporary = directory + "/.tovik-XXXXXX";
    Descriptor out(::mkstemp(temporary.data()));
    if (out.Get() < 0)
        return CauseFromErrno(errno);

    int error = 0;
    bool ok = ::fchmod(out.Get(), mode) == 0 || (error = errno, false);
    ok = ok && chunkWriter(out.Get(), data, error);
    ok = ok && (::fsync(out.Get()) == 0 || (error = errno, false));
    ok = ok && (::close(out.Release()) == 0 || (error = errno, false));
    ok = ok && (::rename(temporary.c_str(), path.c_str()) == 0 || (error = errno, false));
    if (!ok) {
        out.Reset();
        ::unlink(temporary.c_str());
        const FileCause c = CauseFromErrno(error);
        return c == FileCause::none ? FileCause::generic : c;
    }

    // Make the rename itself durable; the data is already safe if this fails.
    if (Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.Get() >= 0)
        ::fsync(dir.Get());
    return FileCause::none;
}

}  // namespace tovik
