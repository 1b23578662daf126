// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pointbook.h"

#include <algorithm>
#include <cctype>

#include "core/fieldencoding.h"
#include "core/messagetexts.h"

namespace tovik {

bool PointBook::HasMemExtension(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = fileName.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".MEM";
}

Result<Loaded> PointBook::Load(const std::string& path)
{
    // Only the first 9604 bytes of a file matter; a shorter file reads as if padded
    // with zero bytes, and anything after them is ignored.
    std::array<std::uint8_t, MemoryImage::kSize> buffer{};
    std::size_t bytesRead = 0;
    FileStamp read;
    if (const FileCause cause = files.Read(path, buffer, bytesRead, &read); cause != FileCause::none)
        return Failed{FileErrorText(cause, false)};
    if (HasMemExtension(path)) {
        image.Assign(buffer);
        if (!Decode())
            return Failed{messages::kUnrecognisedFormat};
    }
    stampPath = path;
    stamp = read;
    return HasMemExtension(path) ? Loaded::decoded : Loaded::notDecoded;
}

Result<Loaded> PointBook::LoadForUpdate(const std::string& path)
{
    if (const FileCause cause = files.HoldExclusive(path); cause != FileCause::none)
        return Failed{FileErrorText(cause, false)};
    return Load(path);
}

void PointBook::EndUpdate() { files.Release(); }

bool PointBook::ChangedOnDisk(const std::string& path) const
{
    if (path != stampPath)
        return false;
    const std::optional<FileStamp> now = FileAccess::StampOf(path);
    return now && *now != stamp;
}

Result<void> PointBook::Save(const std::string& path)
{
    Encode();
    image.StoreTrailer();
    FileStamp written;
    if (const FileCause cause = files.WriteAtomically(path, image.Bytes(), &written); cause != FileCause::none)
        return Failed{FileErrorText(cause, true)};
    stampPath = path;
    stamp = written;
    return {};
}

bool PointBook::Decode()
{
    if (!image.TrailerMatches())
        return false;
    ClearEntries();
    for (std::size_t k = 0; k < MemoryImage::kSlotCount; ++k) {
        if (image.IsSlotOccupied(k))
            entries[static_cast<std::size_t>(count++)] = image.DecodeSlot(k);
    }
    modified = false;
    return true;
}

void PointBook::Encode()
{
    image.ResetSlots();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (entries[k].occupied == PointEntry::kOccupied)
            image.EncodeSlot(k, entries[k]);
    }
}

void PointBook::ClearEntries()
{
    count = 0;
    entries.fill(PointEntry{});
}

const char* PointBook::FileErrorText(FileCause cause, bool writing)
{
    switch (cause) {
    case FileCause::none:
        return nullptr;
    case FileCause::fileNotFound:
        return messages::kFileNotFound;
    case FileCause::accessDenied:
        return messages::kAccessDenied;
    case FileCause::sharingViolation:
        return messages::kSharingViolation;
    case FileCause::notRegularFile:
        return messages::kNotRegularFile;
    case FileCause::linkLoop:
        return messages::kLinkLoop;
    case FileCause::nameTooLong:
        return messages::kNameTooLong;
    default:
        return writing ? messages::kWriteFailed : messages::kReadFailed;
    }
}

bool PointBook::IsOccupied(int index) const { return Entry(index).occupied == PointEntry::kOccupied; }

const PointEntry& PointBook::Entry(int index) const { return entries.at(static_cast<std::size_t>(index)); }

void PointBook::GetEntry(PointEntry& out, int index) const { out = Entry(index); }

bool PointBook::InsertEntry(int index, PointEntry entry)
{
    if (count >= kCapacity || index < 0 || index > count)
        return false;
    const auto first = entries.begin() + index;
    std::move_backward(first, entries.begin() + count, entries.begin() + count + 1);
    *first = std::move(entry);
    ++count;
    modified = true;
    return true;
}

bool PointBook::RemoveEntry(int index)
{
    if (index < 0 || index >= count)
        return false;
    --count;
    std::move(entries.begin() + index + 1, entries.begin() + count + 1, entries.begin() + index);
    // The former last entry keeps its stale fields; only its occupied flag goes.
    entries[static_cast<std::size_t>(count)].occupied = 0;
    modified = true;
    return true;
}

bool PointBook::MoveEntry(int from, int to)
{
    if (from < 0 || from >= count || to < 0 || to > count)
        return false;
    if (to == from || to == from + 1)
        return true;
    PointEntry moved = entries[static_cast<std::size_t>(from)];
    RemoveEntry(from);
    return InsertEntry(to < from ? to : to - 1, std::move(moved));
}

std::string PointBook::GetName(int index) const { return Entry(index).name; }
std::string PointBook::GetReading(int index) const { return Entry(index).reading; }

std::string PointBook::GetLongitudeText(int index) const
{
    const PointEntry& e = Entry(index);
    return FormatCoordinate(e.longitude, e.longitudeFraction);
}

std::string PointBook::GetLatitudeText(int index) const
{
    const PointEntry& e = Entry(index);
    return FormatCoordinate(e.latitude, e.latitudeFraction);
}

std::string PointBook::GetTelephoneText(int index) const { return FormatTelephone(Entry(index).telephone); }
std::string PointBook::GetMarkText(int index) const { return FormatMark(Entry(index).mark); }
std::string PointBook::GetDistanceText(int index) const { return FormatDistance(Entry(index).distance); }
std::string PointBook::GetCategoryText(int index) const { return FormatCategory(Entry(index).category); }

void PointBook::SetName(const std::string& text, int index)
{
    entries.at(static_cast<std::size_t>(index)).name = text;
    modified = true;
}

void PointBook::SetReading(const std::string& text, int index)
{
    entries.at(static_cast<std::size_t>(index)).reading = text;
    modified = true;
}

void PointBook::SetLongitude(const std::string& text, int index)
{
    PointEntry& e = entries.at(static_cast<std::size_t>(index));
    const Coordinate c = ParseCoordinate(text);
    e.longitude = c.value;
    e.longitudeFraction = c.fraction;
    modified = true;
}

void PointBook::SetLatitude(const std::string& text, int index)
{
    PointEntry& e = entries.at(static_cast<std::size_t>(index));
    const Coordinate c = ParseCoordinate(text);
    e.latitude = c.value;
    e.latitudeFraction = c.fraction;
    modified = true;
}

void PointBook::SetTelephone(const std::string& text, int index)
{
    ParseTelephone(text, entries.at(static_cast<std::size_t>(index)).telephone);
    modified = true;
}

void PointBook::SetMark(const std::string& text, int index)
{
    PointEntry& e = entries.at(static_cast<std::size_t>(index));
    e.mark = ParseMark(text, e.mark);
    modified = true;
}

void PointBook::SetCategory(const std::string& text, int index)
{
    entries.at(static_cast<std::size_t>(index)).category = ParseCategory(text);
    modified = true;
}

void PointBook::SetDistance(int code, int index)
{
    entries.at(static_cast<std::size_t>(index)).distance = static_cast<std::uint8_t>(code & 0xFF);
    modified = true;
}

}  // namespace tovik
