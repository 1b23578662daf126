// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/fileaccess.h"
#include "core/memoryimage.h"
#include "core/pointentry.h"

namespace tovik {

enum class LoadResult {
    decoded,     // the file's points replaced the book's
    notDecoded,  // read, but its extension is not .mem: the book is unchanged
    rejected,    // the check value did not match: the book is unchanged, message shown
    failed,      // could not be opened or read: the book is unchanged, message shown
};

// The in-memory table of the points of one .mem file. Entries 0 to count-1 hold the
// points in list order; the rest are unoccupied. Indexes are entry indexes, 0 to 99;
// setters take the value first and the index second.
class PointBook {
public:
    static constexpr int kCapacity = static_cast<int>(MemoryImage::kSlotCount);

    // Receives every message the book has for the user (UTF-8).
    using MessageSink = std::function<void(const std::string& message)>;

    explicit PointBook(MessageSink sink = {});
    PointBook(const PointBook&) = delete;
    PointBook& operator=(const PointBook&) = delete;

    void SetMessageSink(MessageSink sink);
    FileAccess& Files() { return files; }

    LoadResult Load(const std::string& path);
    // Load that keeps the file locked against every other program's Load and Save until
    // EndUpdate, so that a Save of it in between replaces exactly what was read.
    LoadResult LoadForUpdate(const std::string& path);
    void EndUpdate();
    // Encodes and writes the book; true when the file was written. Leaves the modified
    // flag alone.
    bool Save(const std::string& path);
    // True when the file name's extension is .mem in any case, the files Load decodes.
    static bool HasMemExtension(const std::string& path);
    // The message for a file that could not be read or written; none for FileCause::none.
    static const char* FileErrorText(FileCause cause, bool writing);
    // True when `path` is the file this book last loaded or saved and another program
    // has changed or replaced it since. A file that is gone counts as unchanged.
    bool ChangedOnDisk(const std::string& path) const;

    int GetCount() const { return count; }
    bool IsModified() const { return modified; }
    void SetModified(bool value) { modified = value; }
    bool IsOccupied(int index) const;
    void GetEntry(PointEntry& out, int index) const;
    const PointEntry& Entry(int index) const;

    // The commands test the limits before they call: 0 <= index <= count < 100 for
    // InsertEntry, 0 <= index < count for RemoveEntry, 0 <= from < count and
    // 0 <= to <= count for MoveEntry. A call outside them changes nothing and gives false.
    bool InsertEntry(int index, PointEntry entry);
    bool RemoveEntry(int index);
    // Moves entry `from` in front of the entry that was at `to`, or last when to = count.
    // Moving an entry onto its own place changes nothing and leaves the modified flag.
    bool MoveEntry(int from, int to);

    std::string GetName(int index) const;
    std::string GetReading(int index) const;
    std::string GetLongitudeText(int index) const;
    std::string GetLatitudeText(int index) const;
    std::string GetTelephoneText(int index) const;
    std::string GetMarkText(int index) const;
    std::string GetDistanceText(int index) const;
    std::string GetCategoryText(int index) const;

    void SetName(const std::string& text, int index);
    void SetReading(const std::string& text, int index);
    void SetLongitude(const std::string& text, int index);
    void SetLatitude(const std::string& text, int index);
    void SetTelephone(const std::string& text, int index);
    void SetMark(const std::string& text, int index);
    void SetCategory(const std::string& text, int index);
    void SetDistance(int code, int index);

    const MemoryImage& Image() const { return image; }

private:
    bool Decode();
    void Encode();
    void ClearEntries();
    void ReportFileError(FileCause cause, bool writing) const;
    void Report(const std::string& message) const;

    MessageSink sink;
    FileAccess files;
    std::string stampPath;
    FileStamp stamp;
    MemoryImage image;
    std::array<PointEntry, kCapacity> entries{};
    int count = 0;
    bool modified = false;
};

}  // namespace tovik
