// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// The colour of each mark as 0xRRGGBB: the mark icons are painted in it, and exported KML
// gives it to the mark's labels, so that a map shows the marks apart without the icons.
namespace tovik::markcolours {

// Seven colours against the icons' five shapes: marks 1 to 25 never repeat a pairing
// and neighbouring marks always differ in both.
inline constexpr std::array<std::uint32_t, 7> kCycle{0xd32f2f, 0xe46a00, 0x2e8b3a, 0x7b3fc4,
                                                     0x0a8580, 0xd0308f, 0x2f5fd0};
// Mark 0 is "no mark": grey.
inline constexpr std::uint32_t kNoMark = 0x8a8a8a;

constexpr std::uint32_t Of(int mark)
{
    return mark <= 0 ? kNoMark : kCycle[static_cast<std::size_t>(mark - 1) % kCycle.size()];
}

}  // namespace tovik::markcolours
