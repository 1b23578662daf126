// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "core/fileaccess.h"
#include "core/memoryimage.h"
#include "core/pointentry.h"
#include "core/result.h"

namespace tovik {

// What a Load that worked did with the file.
enum class Loaded {
    decoded,     // the file's points replaced the book's
    notDecoded,  // read, but its extension is not .mem: the book is unchanged
};

// The in-memory table of the points of one .mem file. Entries 0 to count-1 hold the
// points in list order; the rest are unoccupied. Indexes are entry indexes, 0 to 99;
// setters take the value first and the index second.
class PointBook {
public:
    static constexpr int kCapacity = static_cast<int>(MemoryImage::kSlotCount);

    PointBook() = default;
    PointBook(const PointBook&) = delete;
    PointBook& operator=(const PointBook&) = delete;

    FileAccess& Files() { return files; }

    // Fails with the message for the user when the file could not be read or its check
    // value does not match; the book is then unchanged.
    Result<Loaded> Load(const std::string& path);
    // Load that keeps the file locked against every other program's Load and Save until
    // EndUpdate, so that a Save of it in between replaces exactly what was read.
    Result<Loaded> LoadForUpdate(const std::string& path);
    void EndUpdate();
    // Encodes and writes the book, or fails with the message for the user. Leaves the
    // modified flag alone.
    Result<void> Save(const std::string& path);
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
    FileAccess files;
    std::string stampPath;
    FileStamp stamp;
    MemoryImage image;
    std::array<PointEntry, kCapacity> entries{};
    int count = 0;
    bool modified = false;
};

}  // namespace tovik
