// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <iostream>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/fileaccess.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Another process that holds an exclusive advisory lock on a file until destroyed.
class LockHolder {
public:
    explicit LockHolder(const std::string& path)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            throw std::runtime_error("pipe");
        child = ::fork();
        if (child == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            char c = ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            (void)!::read(release[0], &c, 1);
            ::_exit(0);
        }
        char c = 0;
        (void)!::read(ready[0], &c, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        locked = c == 'y';
    }
    ~LockHolder()
    {
        (void)!::write(release[1], "x", 1);
        ::waitpid(child, nullptr, 0);
        ::close(release[0]);
        ::close(release[1]);
    }
    bool locked = false;

private:
    int release[2]{};
    pid_t child = -1;
};

// Ends the test process if a file operation blocks, so that a hang is a failure.
class HangGuard {
public:
    HangGuard() { ::alarm(20); }
    ~HangGuard() { ::alarm(0); }
};

mode_t TypeOf(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

TEST(FileAccessCauses, MapsOperatingSystemErrors)
{
    EXPECT_EQ(FileAccess::CauseFromErrno(ENOENT), FileCause::fileNotFound);
    EXPECT_EQ(FileAccess::CauseFromErrno(ENOTDIR), FileCause::fileNotFound);
    EXPECT_EQ(FileAccess::CauseFromErrno(EACCES), FileCause::accessDenied);
    EXPECT_EQ(FileAccess::CauseFromErrno(EPERM), FileCause::accessDenied);
    EXPECT_EQ(FileAccess::CauseFromErrno(EROFS), FileCause::accessDenied);
    EXPECT_EQ(FileAccess::CauseFromErrno(EWOULDBLOCK), FileCause::sharingViolation);
    EXPECT_EQ(FileAccess::CauseFromErrno(ENOSPC), FileCause::diskFull);
    EXPECT_EQ(FileAccess::CauseFromErrno(EIO), FileCause::hardIO);
    EXPECT_EQ(FileAccess::CauseFromErrno(EISDIR), FileCause::notRegularFile);
    EXPECT_EQ(FileAccess::CauseFromErrno(ELOOP), FileCause::linkLoop);
    EXPECT_EQ(FileAccess::CauseFromErrno(ENAMETOOLONG), FileCause::nameTooLong);
    EXPECT_EQ(FileAccess::CauseFromErrno(EBADMSG), FileCause::generic);
}

TEST(FileAccessRead, ReadsAtMostTheBufferAndReportsMissingFiles)
{
    test::TempDir dir;
    test::WriteBytes(dir.File("a"), Bytes(10, 7));
    FileAccess files;
    Bytes buffer(4);
    std::size_t n = 99;
    EXPECT_EQ(files.Read(dir.File("a"), buffer, n), FileCause::none);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(files.Read(dir.File("missing"), buffer, n), FileCause::fileNotFound);
    EXPECT_EQ(files.Read(dir.File("a/b"), buffer, n), FileCause::fileNotFound);
    EXPECT_EQ(files.Read(dir.Path().string(), buffer, n), FileCause::notRegularFile);
}

TEST(FileAccessRead, FileLockedByAnotherProgramIsASharingViolation)
{
    test::TempDir dir;
    test::WriteBytes(dir.File("a.mem"), Bytes(10, 7));
    FileAccess files;
    Bytes buffer(4);
    std::size_t n = 0;
    {
        LockHolder holder(dir.File("a.mem"));
        ASSERT_TRUE(holder.locked);
        EXPECT_EQ(files.Read(dir.File("a.mem"), buffer, n), FileCause::sharingViolation);
        EXPECT_EQ(files.WriteAtomically(dir.File("a.mem"), Bytes(3, 1)), FileCause::sharingViolation);
        EXPECT_EQ(test::ReadBytes(dir.File("a.mem")), Bytes(10, 7));
    }
    EXPECT_EQ(files.Read(dir.File("a.mem"), buffer, n), FileCause::none);
}

TEST(FileAccessWrite, ReplacesTheFileAndLeavesNoTemporary)
{
    test::TempDir dir;
    FileAccess files;
    EXPECT_EQ(files.WriteAtomically(dir.File("new.mem"), Bytes(5, 1)), FileCause::none);
    test::WriteBytes(dir.File("old.mem"), Bytes(20, 9));
    EXPECT_EQ(files.WriteAtomically(dir.File("old.mem"), Bytes(5, 2)), FileCause::none);
    EXPECT_EQ(test::ReadBytes(dir.File("new.mem")), Bytes(5, 1));
    EXPECT_EQ(test::ReadBytes(dir.File("old.mem")), Bytes(5, 2));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"new.mem", "old.mem"}));
}

TEST(FileAccessWrite, FailureMidwayKeepsTheOldFileByteIdentical)
{
    test::TempDir dir;
    const Bytes old = test::ImageWithOccupiedSlots({1, 2, 3});
    test::WriteBytes(dir.File("points.mem"), old);

    FileAccess files;
    std::size_t written = 0;
    files.SetChunkWriter([&](int fd, std::span<const std::uint8_t> data, int& error) {
        written = static_cast<std::size_t>(::write(fd, data.data(), data.size() / 2));
        error = ENOSPC;
        return false;
    });
    EXPECT_EQ(files.WriteAtomically(dir.File("points.mem"), Bytes(9604, 0x55)), FileCause::diskFull);
    EXPECT_EQ(written, 4802u);
    EXPECT_EQ(test::ReadBytes(dir.File("points.mem")), old);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"points.mem"});
}

TEST(FileAccessWrite, MissingFolderIsNotFound)
{
    test::TempDir dir;
    FileAccess files;
    EXPECT_EQ(files.WriteAtomically(dir.File("no/such.mem"), Bytes(1, 1)), FileCause::fileNotFound);
}

TEST(FileAccessWrite, KeepsPermissionsAndWritesThroughSymbolicLinks)
{
    test::TempDir dir;
    test::WriteBytes(dir.File("real.mem"), Bytes(3, 3));
    ASSERT_EQ(::chmod(dir.File("real.mem").c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.mem", dir.File("link.mem").c_str()), 0);
    FileAccess files;
    EXPECT_EQ(files.WriteAtomically(dir.File("link.mem"), Bytes(4, 4)), FileCause::none);
    struct stat st {};
    ASSERT_EQ(::lstat(dir.File("link.mem").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(dir.File("real.mem").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::ReadBytes(dir.File("real.mem")), Bytes(4, 4));
}


TEST(FileAccessSpecialFiles, FifoSocketAndDeviceAreRefusedAtOnceAndStayWhatTheyAre)
{
    HangGuard guard;
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo.mem").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.File("sock.mem");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::vector<std::pair<std::string, mode_t>> nodes = {{"fifo.mem", S_IFIFO}, {"sock.mem", S_IFSOCK}};
    // A twin of /dev/null in the test's own folder; making one needs root.
    if (::mknod(dir.File("null.mem").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        nodes.push_back({"null.mem", S_IFCHR});
    else
        std::cout << "[ SKIPPED  ] device node case: mknod needs root (" << std::strerror(errno) << ")\n";
    ASSERT_EQ(::mkdir(dir.File("folder.mem").c_str(), 0755), 0);
    nodes.push_back({"folder.mem", S_IFDIR});

    FileAccess files;
    Bytes buffer(16);
    std::size_t n = 0;
    for (const auto& [name, type] : nodes) {
        const std::string link = "link-to-" + name;
        ASSERT_EQ(::symlink(name.c_str(), dir.File(link).c_str()), 0);
        for (const std::string& path : {dir.File(name), dir.File(link)}) {
            EXPECT_EQ(files.Read(path, buffer, n), FileCause::notRegularFile) << path;
            EXPECT_EQ(files.WriteAtomically(path, Bytes(4, 4)), FileCause::notRegularFile) << path;
        }
        EXPECT_EQ(TypeOf(dir.File(name)), type) << name;
        EXPECT_EQ(TypeOf(dir.File(link)), S_IFLNK) << link;
    }
    ::close(sock);
    for (const std::string& name : dir.Names())
        EXPECT_FALSE(name.starts_with(".tovik-")) << name;
}

TEST(FileAccessSymbolicLinks, DanglingLinksAreWrittenThroughAndLoopsRefused)
{
    test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("sub").c_str(), 0755), 0);
    // link.mem -> sub/hop -> new.mem (relative to sub/), which does not exist yet
    ASSERT_EQ(::symlink("sub/hop", dir.File("link.mem").c_str()), 0);
    ASSERT_EQ(::symlink("new.mem", dir.File("sub/hop").c_str()), 0);
    ASSERT_EQ(::symlink("b.mem", dir.File("a.mem").c_str()), 0);
    ASSERT_EQ(::symlink("a.mem", dir.File("b.mem").c_str()), 0);
    EXPECT_TRUE(FileAccess::Exists(dir.File("link.mem")));
    EXPECT_FALSE(FileAccess::Exists(dir.File("sub/new.mem")));

    FileAccess files;
    EXPECT_EQ(files.WriteAtomically(dir.File("link.mem"), Bytes(3, 9)), FileCause::none);
    EXPECT_EQ(TypeOf(dir.File("link.mem")), S_IFLNK);
    EXPECT_EQ(TypeOf(dir.File("sub/hop")), S_IFLNK);
    EXPECT_EQ(test::ReadBytes(dir.File("sub/new.mem")), Bytes(3, 9));

    Bytes buffer(4);
    std::size_t n = 0;
    EXPECT_EQ(files.WriteAtomically(dir.File("a.mem"), Bytes(3, 9)), FileCause::linkLoop);
    EXPECT_EQ(files.Read(dir.File("a.mem"), buffer, n), FileCause::linkLoop);
    EXPECT_EQ(TypeOf(dir.File("a.mem")), S_IFLNK);
    EXPECT_EQ(TypeOf(dir.File("b.mem")), S_IFLNK);
}

TEST(FileAccessNames, FileNamesAreBytesNotText)
{
    // 東京.mem in Shift_JIS, and the name a decoder that replaces bad bytes would make of it.
    test::TempDir dir;
    const std::string sjis = dir.File("\x93\x8C\x8B\x9E.mem");
    const std::string replaced = dir.File("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.mem");
    test::WriteBytes(sjis, Bytes(5, 1));
    test::WriteBytes(replaced, Bytes(5, 2));
    FileAccess files;
    Bytes buffer(5);
    std::size_t n = 0;
    ASSERT_EQ(files.Read(sjis, buffer, n), FileCause::none);
    EXPECT_EQ(buffer, Bytes(5, 1));
    ASSERT_EQ(files.WriteAtomically(sjis, Bytes(5, 3)), FileCause::none);
    EXPECT_EQ(test::ReadBytes(sjis), Bytes(5, 3));
    EXPECT_EQ(test::ReadBytes(replaced), Bytes(5, 2));
}

TEST(FileAccessNames, NamesTooLongForTheTemporaryFailBeforeWriting)
{
    test::TempDir dir;
    FileAccess files;
    EXPECT_EQ(files.WriteAtomically(dir.File(std::string(300, 'n') + ".mem"), Bytes(1, 1)), FileCause::nameTooLong);

    // A folder whose path leaves room for "a.mem" but not for ".tovik-XXXXXX".
    std::string deep = dir.Path().string();
    while (deep.size() < PATH_MAX - 10) {
        deep += "/" + std::string(std::min<std::size_t>(200, PATH_MAX - 10 - deep.size()), 'd');
        ASSERT_EQ(::mkdir(deep.c_str(), 0755), 0) << deep.size();
    }
    const std::string target = deep + "/a.mem";
    ASSERT_LT(target.size(), static_cast<std::size_t>(PATH_MAX));
    EXPECT_EQ(files.WriteAtomically(target, Bytes(1, 1)), FileCause::nameTooLong);
    EXPECT_FALSE(FileAccess::Exists(target));
}

// Writes with both kinds of temporary and looks at the folder in the middle of the write.
class FileAccessTemporaries : public ::testing::TestWithParam<bool> {};

TEST_P(FileAccessTemporaries, OnlyLeftoversNobodyHoldsAreRemoved)
{
    const bool unnamed = GetParam();
    test::TempDir dir;
    test::WriteBytes(dir.File("p.mem"), Bytes(8, 1));
    for (const char* name : {".tovik-Stale1", ".tovik-Live22", ".tovik-short", "x.tovik-Stale1", ".tovik-Stale1.bak"})
        test::WriteBytes(dir.File(name), Bytes(1, 0));
    LockHolder live(dir.File(".tovik-Live22"));  // a save still at work in another process
    ASSERT_TRUE(live.locked);

    FileAccess files;
    files.SetUnnamedTemporaries(unnamed);
    std::vector<std::string> during;
    files.SetChunkWriter([&](int fd, std::span<const std::uint8_t> data, int&) {
        during = dir.Names();
        return ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    });
    ASSERT_EQ(files.WriteAtomically(dir.File("p.mem"), Bytes(8, 2)), FileCause::none);
    EXPECT_EQ(test::ReadBytes(dir.File("p.mem")), Bytes(8, 2));
    const std::vector<std::string> kept = {".tovik-Live22", ".tovik-Stale1.bak", ".tovik-short", "p.mem",
                                           "x.tovik-Stale1"};
    EXPECT_EQ(dir.Names(), kept);
    // An unnamed temporary is invisible while it is written; a named one is there.
    EXPECT_EQ(during.size(), kept.size() + (unnamed ? 0 : 1));
}

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, FileAccessTemporaries, ::testing::Bool());

TEST(FileAccessOwner, SaveKeepsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    test::TempDir dir;
    test::WriteBytes(dir.File("theirs.mem"), Bytes(3, 3));
    ASSERT_EQ(::chown(dir.File("theirs.mem").c_str(), 4321, 5432), 0);
    ASSERT_EQ(::chmod(dir.File("theirs.mem").c_str(), 02640), 0);
    FileAccess files;
    ASSERT_EQ(files.WriteAtomically(dir.File("theirs.mem"), Bytes(4, 4)), FileCause::none);
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("theirs.mem").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 5432u);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
    EXPECT_EQ(test::ReadBytes(dir.File("theirs.mem")), Bytes(4, 4));
}

TEST(FileAccessLock, ASecondUpdateWaitsForTheFirstAndSeesItsFile)
{
    test::TempDir dir;
    const std::string path = dir.File("p.mem");
    test::WriteBytes(path, Bytes{0});
    // Under the held lock: read the file, append a byte, take a while, save.
    auto append = [&](FileAccess& files, std::uint8_t value, std::chrono::milliseconds stall) {
        Bytes buffer(16);
        std::size_t n = 0;
        if (files.Read(path, buffer, n) != FileCause::none)
            return false;
        buffer.resize(n);
        buffer.push_back(value);
        std::this_thread::sleep_for(stall);
        return files.WriteAtomically(path, buffer) == FileCause::none;
    };

    int locked[2];
    ASSERT_EQ(::pipe(locked), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        FileAccess first;
        if (first.HoldExclusive(path) != FileCause::none)
            ::_exit(3);
        (void)!::write(locked[1], "x", 1);
        ::_exit(append(first, 1, std::chrono::milliseconds(200)) ? 0 : 4);
    }
    char c = 0;
    ASSERT_EQ(::read(locked[0], &c, 1), 1);
    FileAccess impatient;
    EXPECT_EQ(impatient.HoldExclusive(path), FileCause::sharingViolation);
    FileAccess second;
    second.SetLockWait(std::chrono::seconds(10));
    EXPECT_EQ(second.HoldExclusive(path), FileCause::none);
    EXPECT_TRUE(append(second, 2, {}));
    second.Release();
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(locked[0]);
    ::close(locked[1]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(test::ReadBytes(path), (Bytes{0, 1, 2}));
}

TEST(FileAccessLock, TheHolderReadsAndWritesThroughItsOwnLock)
{
    test::TempDir dir;
    test::WriteBytes(dir.File("p.mem"), Bytes(4, 1));
    ASSERT_EQ(::symlink("p.mem", dir.File("alias.mem").c_str()), 0);
    FileAccess files;
    ASSERT_EQ(files.HoldExclusive(dir.File("p.mem")), FileCause::none);
    FileAccess outsider;
    Bytes buffer(4);
    std::size_t n = 0;
    EXPECT_EQ(outsider.Read(dir.File("p.mem"), buffer, n), FileCause::sharingViolation);
    FileStamp read;
    EXPECT_EQ(files.Read(dir.File("p.mem"), buffer, n, &read), FileCause::none);
    EXPECT_EQ(read, FileAccess::StampOf(dir.File("p.mem")));
    FileStamp written;
    EXPECT_EQ(files.WriteAtomically(dir.File("alias.mem"), Bytes(4, 2), &written), FileCause::none);
    EXPECT_EQ(written, FileAccess::StampOf(dir.File("p.mem")));
    EXPECT_NE(written, read);
    files.Release();
    EXPECT_EQ(outsider.Read(dir.File("p.mem"), buffer, n), FileCause::none);
    EXPECT_EQ(buffer, Bytes(4, 2));
}

}  // namespace
}  // namespace tovik
