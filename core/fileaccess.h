// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace tovik {

// Why a file could not be read or written. Causes 0 to 14 are numbered as the device
// software's file exceptions number theirs; the later ones are this program's own.
enum class FileCause {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
    notRegularFile = 15,  // a FIFO, socket, device or folder, or a link to one
    linkLoop = 16,        // symbolic links that lead back to themselves
    nameTooLong = 17,     // the path, or the temporary beside it, is longer than the system allows
};

// What a file was when it was last read or written here: a save that finds another
// stamp knows that someone else has replaced or changed the file meanwhile.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// Whole-file reads and atomic whole-file writes of regular files only: nothing here
// ever blocks on a FIFO or a device, or turns a device into a regular file. A file that
// another process holds under an exclusive advisory lock (flock) counts as a sharing
// violation once the lock wait (none by default) has run out.
class FileAccess {
public:
    // Writes all of `data` to `fd`, or returns false with an errno value in `error`.
    using ChunkWriter =
        std::function<bool(int fd, std::span<const std::uint8_t> data, int& error)>;

    // The prefix of the temporaries; the rest of the name is six letters or digits.
    static constexpr const char* kTemporaryPrefix = ".tovik-";

    FileAccess();
    ~FileAccess();
    FileAccess(const FileAccess&) = delete;
    FileAccess& operator=(const FileAccess&) = delete;

    // Reads at most buffer.size() bytes from the start of the file.
    FileCause Read(const std::string& path, std::span<std::uint8_t> buffer, std::size_t& bytesRead,
                   FileStamp* stamp = nullptr) const;

    // Writes `data` to a temporary file beside `path`, flushes it to disk and renames it
    // over `path`. On any failure `path` keeps its old content and the temporary is gone.
    // A symbolic link is written through to the file it names, which is created when it
    // does not exist yet. An existing file keeps its permissions, and its owner and group
    // as far as this process may set them. `stamp` receives what the new file is.
    FileCause WriteAtomically(const std::string& path, std::span<const std::uint8_t> data,
                              FileStamp* stamp = nullptr) const;

    // Locks the existing file `path` exclusively until Release (or destruction), so that
    // a Read and a WriteAtomically of the same file in between are one step for every
    // other program that locks it: a second writer waits instead of losing this one's
    // update.
    FileCause HoldExclusive(const std::string& path);
    void Release();

    // How long a lock held by another process is waited for before it counts as a
    // sharing violation.
    void SetLockWait(std::chrono::milliseconds wait) { lockWait = wait; }

    // Replaces the writer used for the temporary file (a seam for failure tests).
    void SetChunkWriter(ChunkWriter writer);
    // With false, temporaries get their name at once instead of at the end of the write
    // (the way taken where the file system has no unnamed files; a seam for tests).
    void SetUnnamedTemporaries(bool allowed) { unnamedTemporaries = allowed; }

    static FileCause CauseFromErrno(int error);
    // True when anything has this name, a dangling symbolic link included.
    static bool Exists(const std::string& path);
    // What the file that `path` names (through links) is now; nothing when it is gone.
    static std::optional<FileStamp> StampOf(const std::string& path);

private:
    // The file of HoldExclusive, kept open for its lock.
    struct Held {
        int fd = -1;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };

    bool HoldsLockOn(std::uint64_t device, std::uint64_t inode) const;

    ChunkWriter chunkWriter;
    std::chrono::milliseconds lockWait{0};
    bool unnamedTemporaries = true;
    Held held;
};

}  // namespace tovik
