// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tovik {

// One point in memory. Texts hold the device's CP932 bytes as they were typed or read.
struct PointEntry {
    static constexpr char kOccupied = 0x31;
    static constexpr std::size_t kTelephoneBytes = 6;

    char occupied = 0;
    std::string name;
    std::string reading;
    std::int32_t longitude = 0;
    std::uint8_t longitudeFraction = 0;
    std::int32_t latitude = 0;
    std::uint8_t latitudeFraction = 0;
    std::uint8_t mark = 0;
    std::array<std::uint8_t, kTelephoneBytes> telephone{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::uint8_t distance = 0;
    std::uint8_t category = 0;

    bool operator==(const PointEntry&) const = default;

    // A new point built from the six texts of the edit dialog, the way the add command
    // builds it: the coordinates, mark and telephone parsed, distance and category
    // following the mark.
    static PointEntry FromTexts(const std::string& name, const std::string& reading,
                                const std::string& longitude, const std::string& latitude,
                                const std::string& telephone, const std::string& mark);
};

}  // namespace tovik
