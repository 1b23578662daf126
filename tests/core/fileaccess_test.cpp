#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fileaccess.h"
#include "testimages.h"

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
    EXPECT_EQ(FileAccess::CauseFromErrno(EISDIR), FileCause::generic);
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
    EXPECT_EQ(files.Read(dir.Path().string(), buffer, n), FileCause::generic);
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

}  // namespace
}  // namespace tovik
