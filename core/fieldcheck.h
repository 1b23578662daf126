// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tovik {

// Whether a typed text can be stored as it is meant. The conversions read any text
// (a coordinate's minutes of 75 simply add up, a telephone's thirteenth digit is dropped);
// the commands that take typed texts refuse what these checks refuse, so that what the user
// sees is what is saved. Texts are CP932 bytes, checked byte by byte as the parsers read them.
class FieldCheck {
public:
    static constexpr int kLongitudeDegrees = 180;
    static constexpr int kLatitudeDegrees = 90;
    static constexpr int kTelephoneDigits = 10;

    // Degrees, minutes, seconds and milliseconds, split where the parser splits them: at most
    // four groups of ASCII digits, minutes and seconds below 60, milliseconds below 1000, and
    // the whole no further than `maxDegrees`. A text without any group (an empty field)
    // passes and stores 0.
    static bool IsCoordinate(std::string_view text, int maxDegrees);
    // The digits a telephone text stores: every ASCII digit, whatever stands between them.
    static int TelephoneDigits(std::string_view text);
    static bool FitsTelephone(std::string_view text) { return TelephoneDigits(text) <= kTelephoneDigits; }
    // Blanks around nothing (mark 0) or around a whole number from 0 to 25.
    static bool IsMark(std::string_view text);
};

}  // namespace tovik
