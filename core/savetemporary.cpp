// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/savetemporary.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <vector>

#include "core/fileaccess.h"

namespace tovik {

namespace {

constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

std::string RandomLetters()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    thread_local std::mt19937_64 generator{std::random_device{}() ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^
                                           static_cast<std::uint64_t>(now)};
    std::uniform_int_distribution<std::size_t> pick(0, kNameLetters.size() - 1);
    std::string letters(SaveTemporary::kRandomLength, ' ');
    for (char& c : letters)
        c = kNameLetters[pick(generator)];
    return letters;
}

bool IsTemporaryName(std::string_view name)
{
    const std::string_view prefix = FileAccess::kTemporaryPrefix;
    return name.size() == prefix.size() + SaveTemporary::kRandomLength && name.starts_with(prefix) &&
           name.substr(prefix.size()).find_first_not_of(kNameLetters) == std::string_view::npos;
}

}  // namespace

void SaveTemporary::RemoveStale(const std::string& directory)
{
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTemporaryName(entry->d_name))
            names.emplace_back(entry->d_name);
    }
    const int dirFd = ::dirfd(dir);
    for (const std::string& name : names) {
        FileDescriptor f(::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened {}, named {};
        if (f.Get() < 0 || ::fstat(f.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
            ::flock(f.Get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named))
            ::unlinkat(dirFd, name.c_str(), 0);
    }
    ::closedir(dir);
}

int SaveTemporary::CreateUnnamed()
{
    Discard();
    fd.Reset(::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd.Get() < 0)
        return errno;
    return 0;
}

int SaveTemporary::CreateNamed()
{
    Discard();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = directory + "/" + FileAccess::kTemporaryPrefix + RandomLetters();
        fd.Reset(::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.Get() < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        // Another save's clean-up may have taken the new file for a leftover in the
        // moment before this lock; then the name is no longer ours.
        struct stat opened {}, named {};
        while (::flock(fd.Get(), LOCK_EX) != 0 && errno == EINTR) {
        }
        if (::fstat(fd.Get(), &opened) == 0 && ::lstat(candidate.c_str(), &named) == 0 &&
            SameFile(opened, named)) {
            name = std::move(candidate);
            return 0;
        }
        fd.Reset();
    }
    return EEXIST;
}

int SaveTemporary::Publish()
{
    if (!name.empty())
        return 0;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
        return errno;
    const std::string self = "/proc/self/fd/" + std::to_string(fd.Get());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = directory + "/" + FileAccess::kTemporaryPrefix + RandomLetters();
        // AT_EMPTY_PATH needs a capability that most users lack; the descriptor's
        // entry under /proc serves everyone else.
        int result = ::linkat(fd.Get(), "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
        if (result != 0 && errno != EEXIST)
            result = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
        if (result == 0) {
            name = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int SaveTemporary::RenameOver(const std::string& target)
{
    if (::rename(name.c_str(), target.c_str()) != 0)
        return errno;
    name.clear();
    return 0;
}

void SaveTemporary::Discard()
{
    if (!name.empty())
        ::unlink(name.c_str());
    name.clear();
    fd.Reset();
}

}  // namespace tovik
