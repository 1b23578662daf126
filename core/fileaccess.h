#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tovik {

// Why a file could not be read or written, numbered as the device software's file
// exceptions number their causes.
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
};

// Whole-file reads and atomic whole-file writes. A file that another process holds
// under an exclusive advisory lock (flock) counts as a sharing violation.
class FileAccess {
public:
    // Writes all of `data` to `fd`, or returns false with an errno value in `error`.
    using ChunkWriter =
        std::function<bool(int fd, std::span<const std::uint8_t> data, int& error)>;

    FileAccess();

    // Reads at most buffer.size() bytes from the start of the file.
    FileCause Read(const std::string& path, std::span<std::uint8_t> buffer,
                   std::size_t& bytesRead) const;

    // Writes `data` to a temporary file beside `path`, flushes it to disk and renames it
    // over `path`. On any failure `path` keeps its old content and the temporary is gone.
    FileCause WriteAtomically(const std::string& path, std::span<const std::uint8_t> data) const;

    // Replaces the writer used for the temporary file (a seam for failure tests).
    void SetChunkWriter(ChunkWriter writer);

    static FileCause CauseFromErrno(int error);

private:
    ChunkWriter chunkWriter;
};

}  // namespace tovik
