// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memoryimage.h"

#include <algorithm>
#include <cstring>

namespace tovik {

namespace {

// Offsets within a slot.
constexpr std::size_t kSlotIndex = 1;
constexpr std::size_t kOccupied1 = 4;
constexpr std::size_t kMark1 = 5;
constexpr std::size_t kSlotNumber = 7;
constexpr std::size_t kOccupied2 = 8;
constexpr std::size_t kMark2 = 9;
constexpr std::size_t kLongitude1 = 12;   // 3 bytes value, 1 byte fraction
constexpr std::size_t kLatitude1 = 16;
constexpr std::size_t kLongitude2 = 20;
constexpr std::size_t kLatitude2 = 24;
constexpr std::size_t kFractionAfterValue = 3;
constexpr std::size_t kName = 28;
constexpr std::size_t kReading = 56;
constexpr std::size_t kTextSize = 16;
constexpr std::size_t kTelephone = 74;
constexpr std::size_t kTelephoneSize = 5;
constexpr std::size_t kDistance = 84;
constexpr std::size_t kCategory = 93;
constexpr std::uint32_t kTrailerBase = 0xA5A5A5A5;

// An empty slot; byte 1 is the slot index, filled in per slot.
constexpr std::array<std::uint8_t, MemoryImage::kSlotSize> kEmptySlot = [] {
    std::array<std::uint8_t, MemoryImage::kSlotSize> s{};
    s[11] = 0x0C;
    for (std::size_t i = 74; i < 83; ++i)
        s[i] = 0xFF;
    s[83] = 0x1F;
    s[85] = 0x10;
    return s;
}();

std::int32_t ReadValue24(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(p[0] << 16 | p[1] << 8 | p[2]);
}

// Bits above bit 23 are dropped.
void WriteCoordinate(std::uint8_t* p, std::int32_t value, std::uint8_t fraction)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(v >> 16);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v);
    p[3] = fraction;
}

std::string ReadText(const std::uint8_t* p)
{
    const auto* end = std::find(p, p + kTextSize, std::uint8_t{0});
    return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p));
}

// Cut after the 16th byte, even inside a double-byte character; the rest zero-filled.
void WriteText(std::uint8_t* p, const std::string& text)
{
    std::memset(p, 0, kTextSize);
    std::memcpy(p, text.data(), std::min(text.size(), kTextSize));
}

}  // namespace

MemoryImage::MemoryImage() = default;

void MemoryImage::Assign(std::span<const std::uint8_t> data)
{
    bytes.fill(0);
    std::copy_n(data.begin(), std::min(data.size(), kSize), bytes.begin());
}

std::uint16_t MemoryImage::Sum() const
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kSlotsSize; i += 2)
        sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
    return static_cast<std::uint16_t>(sum);
}

std::uint32_t MemoryImage::ComputeTrailer() const { return kTrailerBase - Sum(); }

bool MemoryImage::TrailerMatches() const
{
    const std::uint32_t t = ComputeTrailer();
    const std::uint8_t* p = bytes.data() + kSlotsSize;
    return p[0] == (t >> 24) && p[1] == ((t >> 16) & 0xFF) && p[2] == ((t >> 8) & 0xFF) &&
           p[3] == (t & 0xFF);
}

void MemoryImage::StoreTrailer()
{
    const std::uint32_t t = ComputeTrailer();
    std::uint8_t* p = bytes.data() + kSlotsSize;
    p[0] = static_cast<std::uint8_t>(t >> 24);
    p[1] = static_cast<std::uint8_t>(t >> 16);
    p[2] = static_cast<std::uint8_t>(t >> 8);
    p[3] = static_cast<std::uint8_t>(t);
}

void MemoryImage::ResetSlots()
{
    for (std::size_t k = 0; k < kSlotCount; ++k) {
        std::uint8_t* slot = bytes.data() + k * kSlotSize;
        std::copy(kEmptySlot.begin(), kEmptySlot.end(), slot);
        slot[kSlotIndex] = static_cast<std::uint8_t>(k);
    }
}

bool MemoryImage::IsSlotOccupied(std::size_t slot) const
{
    return bytes[slot * kSlotSize + kOccupied1] == PointEntry::kOccupied;
}

// Each coordinate's value comes from the first copy and its fraction from the second;
// files written here hold identical copies, so this only matters for other writers.
PointEntry MemoryImage::DecodeSlot(std::size_t slot) const
{
    const std::uint8_t* s = bytes.data() + slot * kSlotSize;
    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    e.name = ReadText(s + kName);
    e.reading = ReadText(s + kReading);
    e.longitude = ReadValue24(s + kLongitude1);
    e.longitudeFraction = s[kLongitude2 + kFractionAfterValue];
    e.latitude = ReadValue24(s + kLatitude1);
    e.latitudeFraction = s[kLatitude2 + kFractionAfterValue];
    std::copy_n(s + kTelephone, kTelephoneSize, e.telephone.begin());
    e.mark = s[kMark1];
    e.distance = s[kDistance];
    e.category = s[kCategory];
    return e;
}

// Writes a point into a slot that ResetSlots has prepared.
void MemoryImage::EncodeSlot(std::size_t slot, const PointEntry& entry)
{
    std::uint8_t* s = bytes.data() + slot * kSlotSize;
    s[kSlotNumber] = static_cast<std::uint8_t>(slot + 1);
    s[kOccupied1] = s[kOccupied2] = PointEntry::kOccupied;
    WriteText(s + kName, entry.name);
    WriteText(s + kReading, entry.reading);
    WriteCoordinate(s + kLongitude1, entry.longitude, entry.longitudeFraction);
    WriteCoordinate(s + kLongitude2, entry.longitude, entry.longitudeFraction);
    WriteCoordinate(s + kLatitude1, entry.latitude, entry.latitudeFraction);
    WriteCoordinate(s + kLatitude2, entry.latitude, entry.latitudeFraction);
    std::copy_n(entry.telephone.begin(), kTelephoneSize, s + kTelephone);
    s[kMark1] = s[kMark2] = entry.mark;
    s[kDistance] = entry.distance;
    s[kCategory] = entry.category;
}

}  // namespace tovik
