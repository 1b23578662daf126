// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/interop/devicebook.h"

#include <string>

#include "core/fieldencoding.h"
#include "tests/core/testimages.h"

namespace tovik::test {

std::vector<PointEntry> EveryFieldPoints()
{
    std::vector<PointEntry> points;
    for (int mark = 0; mark <= 25; ++mark) {
        PointEntry e;
        e.occupied = PointEntry::kOccupied;
        // "地点" and the mark number in full-width digits.
        e.name = "\x92\x6E\x93\x5F";
        e.name += "\x82";
        e.name += static_cast<char>(0x4F + mark / 10);
        e.name += "\x82";
        e.name += static_cast<char>(0x4F + mark % 10);
        e.reading = "\xC1\xC3\xDD" + std::to_string(mark);  // ﾁﾃﾝ
        // Whole seconds across Japan, fractions 0 to 249, all inside the Tokyo datum's area
        // of use (the points outside it have a test of their own).
        e.latitude = (24 + mark % 21) * 14400 + mark * 977 * 4 % 14400;
        e.latitudeFraction = static_cast<std::uint8_t>(mark * 9);
        e.longitude = (123 + mark) * 14400 + mark * 1231 * 4 % 14400;
        e.longitudeFraction = static_cast<std::uint8_t>(249 - mark * 7);
        e.mark = static_cast<std::uint8_t>(mark);
        ParseTelephone(std::string("0312345678").substr(0, static_cast<std::size_t>(mark % 11)), e.telephone);
        e.distance = static_cast<std::uint8_t>(mark >= 1 && mark <= 5 ? 4 : mark % 10);
        e.category = static_cast<std::uint8_t>(mark >= 1 && mark <= 5 ? mark : mark % 7);
        points.push_back(e);
    }
    points.push_back(TokyoTower());

    // ① Ⅰ(NEC) Ⅰ(IBM) 纊(NEC-selected IBM) 纊(IBM) ㈱ ー ｱ: 16 bytes, three with a second code.
    PointEntry extensions = TokyoTower();
    extensions.name = "\x87\x40\x87\x54\xFA\x4A\xED\x40\xFA\x5C\x87\x8A\x81\x5B\xB1\xB1";
    extensions.reading = "\x87\x9A\xFA\x40\xEE\xF9\x81\xCA";  // ∵(NEC) ⅰ(IBM) ￢(NEC-selected) ￢
    extensions.latitude = 38 * 14400 + 32 * 240 + 48 * 4;
    extensions.longitude = 140 * 14400 + 1 * 240 + 34 * 4;
    points.push_back(extensions);

    // Sixteen ASCII bytes, and a name whose last byte starts a character it never ends.
    PointEntry full = SimplePoint("ABCDEFGHIJKLMNOP", 7);
    full.reading = "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4A\x83\x4C\x83\x4E";  // アイウエオカキク
    points.push_back(full);
    PointEntry cut = SimplePoint("ABCDEFGHIJKLMNO\x82", 8);
    points.push_back(cut);

    // Stored forms no typed text gives: a quarter second in the value, fractions of 250
    // and 255, telephone nibbles that are no digits, a mark, distance and category out
    // of their ranges, a control character in the reading.
    PointEntry odd = SimplePoint("odd", 3);
    odd.latitude = 34 * 14400 + 41 * 240 + 5 * 4 + 1;
    odd.latitudeFraction = 250;
    odd.longitude = 135 * 14400 + 30 * 240 + 9 * 4 + 3;
    odd.longitudeFraction = 255;
    odd.telephone = {0x12, 0xF3, 0x4A, 0xFF, 0x00, 0xFF};
    odd.mark = 123;
    odd.distance = 10;
    odd.category = 12;
    odd.reading = "a\tb";
    points.push_back(odd);
    return points;
}

}  // namespace tovik::test
