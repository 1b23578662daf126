// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Conversions between the stored point fields and the texts the user sees and types.
// None of them fails: text that does not fit the expected form still yields a value.
// Texts are CP932 bytes. Every delimiter, sign and digit looked at lies below 0x40, and no
// byte of a double-byte character does, so working byte by byte is exact.
namespace tovik {

struct Coordinate {
    std::int32_t value = 0;     // quarter arc-seconds
    std::uint8_t fraction = 0;  // 1/250 s
    bool operator==(const Coordinate&) const = default;
};

using TelephoneBytes = std::array<std::uint8_t, 6>;

std::string FormatCoordinate(std::int32_t value, std::uint8_t fraction);
Coordinate ParseCoordinate(std::string_view text);

std::string FormatTelephone(const TelephoneBytes& bytes);
// Fills the first five bytes with 0xFF, then stores up to twelve digits.
void ParseTelephone(std::string_view text, TelephoneBytes& bytes);

std::string FormatMark(std::uint8_t mark);
// Returns the new mark, or `current` when the text reads as more than 25.
std::uint8_t ParseMark(std::string_view text, std::uint8_t current);

std::string FormatDistance(std::uint8_t code);
std::string FormatCategory(std::uint8_t category);
std::uint8_t ParseCategory(std::string_view text);

// A number read the way the C library's atoi reads it: leading white space, one optional
// sign, the leading digits; no digit gives 0. Saturates instead of overflowing.
std::int32_t ReadLeadingInteger(std::string_view text);

}  // namespace tovik
