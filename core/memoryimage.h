// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/pointentry.h"

namespace tovik {

// The 9604 bytes of a .mem file: 100 slots of 96 bytes, then a 4-byte trailer holding
// 0xA5A5A5A5 minus the 16-bit sum of the big-endian words of the slots.
class MemoryImage {
public:
    static constexpr std::size_t kSlotCount = 100;
    static constexpr std::size_t kSlotSize = 96;
    static constexpr std::size_t kSlotsSize = kSlotCount * kSlotSize;  // 9600
    static constexpr std::size_t kSize = kSlotsSize + 4;                // 9604

    MemoryImage();

    // Copies the first kSize bytes of `data`; missing bytes of a shorter input are zero.
    void Assign(std::span<const std::uint8_t> data);
    const std::array<std::uint8_t, kSize>& Bytes() const { return bytes; }

    std::uint16_t Sum() const;
    std::uint32_t ComputeTrailer() const;
    // The acceptance test: the stored trailer equals the one computed from the slots.
    bool TrailerMatches() const;
    void StoreTrailer();

    // Writes the empty-slot template into every slot.
    void ResetSlots();
    bool IsSlotOccupied(std::size_t slot) const;
    PointEntry DecodeSlot(std::size_t slot) const;
    void EncodeSlot(std::size_t slot, const PointEntry& entry);

private:
    std::array<std::uint8_t, kSize> bytes{};
};

}  // namespace tovik
