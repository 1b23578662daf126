// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tovik {

// The device's marks are 0 to kHighestMark, each with its icon.
inline constexpr int kHighestMark = 25;
inline constexpr int kMarkCount = kHighestMark + 1;

struct MarkFollowers {
    std::uint8_t distance = 0;  // code, 100 m steps
    std::uint8_t category = 0;
    bool operator==(const MarkFollowers&) const = default;
};

// Distance and category follow the mark: a point with a mark from 1 to 5 is stored
// with 400 m and its mark as category. Other marks have no followers; the transfer
// then keeps what the point had.
std::optional<MarkFollowers> FollowMark(std::int32_t mark);

// What the change and add commands store for a typed mark text: the text read as the
// list reads it (ReadLeadingInteger), and 0 m with category 0 for marks outside 1 to 5.
MarkFollowers FollowMarkText(std::string_view markText);

}  // namespace tovik
