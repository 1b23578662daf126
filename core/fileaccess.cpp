// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fileaccess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core/filedescriptor.h"
#include "core/savetemporary.h"

namespace tovik {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The kernel follows at most 40 links in one lookup; a longer chain is a loop.
constexpr int kMaxLinks = 40;

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

FileStamp StampFrom(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

FileCause Failure(int error)
{
    const FileCause c = FileAccess::CauseFromErrno(error);
    return c == FileCause::none ? FileCause::generic : c;
}

// Opens only regular files, and never waits: O_NONBLOCK lets the open of a FIFO without
// a writer return at once, and O_NOCTTY keeps a terminal from becoming ours. The look
// before the open spares devices an open, which may have effects of its own; the look
// after it catches a file swapped in between.
FileCause OpenRegular(const std::string& path, int flags, FileDescriptor& fd, struct stat& st)
{
    if (::stat(path.c_str(), &st) != 0)
        return Failure(errno);
    if (!S_ISREG(st.st_mode))
        return FileCause::notRegularFile;
    fd.Reset(::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        return Failure(errno);
    if (::fstat(fd.Get(), &st) != 0)
        return Failure(errno);
    return S_ISREG(st.st_mode) ? FileCause::none : FileCause::notRegularFile;
}

// Opens the regular file `path` and locks it with `operation` (LOCK_SH or LOCK_EX),
// waiting until `deadline` for another holder. A holder that saves replaces the file
// by a rename, so a lock won after waiting may be on a file that no longer has the
// name: then the new file is opened and locked in its place.
FileCause OpenLocked(const std::string& path, int flags, int operation, Clock::time_point deadline,
                     const std::function<bool(const struct stat&)>& lockedHere, FileDescriptor& fd,
                     struct stat& st)
{
    for (int round = 0; round < 100; ++round) {
        if (const FileCause c = OpenRegular(path, flags, fd, st); c != FileCause::none)
            return c;
        if (lockedHere(st))
            return FileCause::none;
        milliseconds pause{1};
        while (::flock(fd.Get(), operation | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                return Failure(errno);
            const auto now = Clock::now();
            if (now >= deadline)
                return FileCause::sharingViolation;
            std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
            pause = std::min(pause * 2, milliseconds{50});
        }
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && SameFile(now, st))
            return FileCause::none;
    }
    return FileCause::sharingViolation;
}

// Follows symbolic links from `requested` to the name a save must replace: a regular
// file (`exists`) or a name that does not exist yet, which the save creates. Anything
// else, a loop of links included, is refused before a byte is written.
FileCause ResolveTarget(const std::string& requested, std::string& path, bool& exists)
{
    path = requested;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return Failure(errno);
            exists = false;
            return FileCause::none;
        }
        if (S_ISREG(st.st_mode)) {
            exists = true;
            return FileCause::none;
        }
        if (!S_ISLNK(st.st_mode))
            return FileCause::notRegularFile;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return Failure(errno);
        if (n >= PATH_MAX)
            return FileCause::nameTooLong;
        target.resize(static_cast<std::size_t>(n));
        path = target.starts_with('/') ? target : DirectoryOf(path) + "/" + target;
    }
    return FileCause::linkLoop;
}

}  // namespace

FileAccess::FileAccess() : chunkWriter(WriteAll) {}

FileAccess::~FileAccess() { Release(); }

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
        return FileCause::nameTooLong;
    case ELOOP:
        return FileCause::linkLoop;
    case EISDIR:
    case ENXIO:
    case ENODEV:
        return FileCause::notRegularFile;
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

bool FileAccess::Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::optional<FileStamp> FileAccess::StampOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return StampFrom(st);
}

bool FileAccess::HoldsLockOn(std::uint64_t device, std::uint64_t inode) const
{
    return held.fd >= 0 && held.device == device && held.inode == inode;
}

FileCause FileAccess::HoldExclusive(const std::string& path)
{
    Release();
    FileDescriptor fd;
    struct stat st {};
    if (const FileCause c = OpenLocked(path, O_RDONLY, LOCK_EX, Clock::now() + lockWait,
                                       [](const struct stat&) { return false; }, fd, st);
        c != FileCause::none)
        return c;
    held = {fd.Release(), static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return FileCause::none;
}

void FileAccess::Release()
{
    if (held.fd >= 0)
        ::close(held.fd);
    held = {};
}

FileCause FileAccess::Read(const std::string& path, std::span<std::uint8_t> buffer,
                           std::size_t& bytesRead, FileStamp* stamp) const
{
    bytesRead = 0;
    FileDescriptor fd;
    struct stat st {};
    const auto lockedHere = [this](const struct stat& s) {
        return HoldsLockOn(static_cast<std::uint64_t>(s.st_dev), static_cast<std::uint64_t>(s.st_ino));
    };
    if (const FileCause c = OpenLocked(path, O_RDONLY, LOCK_SH, Clock::now() + lockWait, lockedHere, fd, st);
        c != FileCause::none)
        return c;
    while (bytesRead < buffer.size()) {
        const ssize_t n = ::read(fd.Get(), buffer.data() + bytesRead, buffer.size() - bytesRead);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failure(errno);
        }
        if (n == 0)
            break;
        bytesRead += static_cast<std::size_t>(n);
    }
    if (stamp)
        *stamp = StampFrom(st);
    return FileCause::none;
}

FileCause FileAccess::WriteAtomically(const std::string& requestedPath, std::span<const std::uint8_t> data,
                                      FileStamp* stamp) const
{
    std::string path;
    bool exists = false;
    if (const FileCause c = ResolveTarget(requestedPath, path, exists); c != FileCause::none)
        return c;
    const std::string directory = DirectoryOf(path);
    if (path.size() >= PATH_MAX ||
        directory.size() + 1 + std::strlen(kTemporaryPrefix) + SaveTemporary::kRandomLength >= PATH_MAX)
        return FileCause::nameTooLong;

    // An existing file must be writable and not held by another program; it keeps its
    // permissions, owner and group. The lock is held until the new content has replaced it.
    FileDescriptor target;
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat st {};
    if (exists) {
        const auto lockedHere = [this](const struct stat& s) {
            return HoldsLockOn(static_cast<std::uint64_t>(s.st_dev), static_cast<std::uint64_t>(s.st_ino));
        };
        if (const FileCause c = OpenLocked(path, O_WRONLY | O_NOFOLLOW, LOCK_EX, Clock::now() + lockWait,
                                           lockedHere, target, st);
            c != FileCause::none)
            return c;
        mode = st.st_mode & 07777;
    }

    SaveTemporary::RemoveStale(directory);

    const auto fill = [&](int fd) {
        int error = 0;
        // Root may give the file back to its owner; anyone else keeps at least the group
        // where they belong to it. Ownership goes first: a change of owner clears the
        // set-user-ID and set-group-ID bits that the mode then restores.
        if (exists && ::fchown(fd, st.st_uid, st.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
        bool ok = ::fchmod(fd, mode) == 0 || (error = errno, false);
        ok = ok && chunkWriter(fd, data, error);
        ok = ok && (::fsync(fd) == 0 || (error = errno, false));
        struct stat written {};
        ok = ok && (::fstat(fd, &written) == 0 || (error = errno, false));
        if (ok && stamp)
            *stamp = StampFrom(written);
        return ok ? 0 : (error != 0 ? error : EIO);
    };

    SaveTemporary temporary(directory);
    int error = EOPNOTSUPP;
    bool named = false;
    if (unnamedTemporaries) {
        error = temporary.CreateUnnamed();
        if (error == 0)
            error = fill(temporary.Fd());
        if (error == 0)
            named = temporary.Publish() == 0;
    }
    // No unnamed files here, or no way to name one: the same again under a name at once.
    if (!named && (error == 0 || error == EOPNOTSUPP || error == EISDIR || error == EINVAL)) {
        error = temporary.CreateNamed();
        if (error == 0)
            error = fill(temporary.Fd());
    }
    if (error == 0)
        error = temporary.RenameOver(path);
    if (error != 0)
        return Failure(error);
    temporary.Discard();

    // Make the rename itself durable; the data is already safe if this fails.
    if (FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.Get() >= 0)
        ::fsync(dir.Get());
    return FileCause::none;
}

}  // namespace tovik
