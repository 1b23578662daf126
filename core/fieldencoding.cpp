// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fieldencoding.h"

#include <algorithm>
#include <limits>

#include "core/markrule.h"

namespace tovik {

namespace {

constexpr std::int32_t kQuartersPerDegree = 14400;
constexpr std::int32_t kQuartersPerMinute = 240;
constexpr std::int32_t kQuartersPerSecond = 4;
constexpr std::size_t kExaminedChars = 32;
constexpr std::string_view kCoordinateDelimiters = "' ,.\t\n";
constexpr std::size_t kShownTelephoneDigits = 10;
constexpr std::size_t kStoredTelephoneDigits = 12;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign and leading digits from `pos` on; no digit gives 0.
std::int32_t ReadSignedDigits(std::string_view text, std::size_t pos)
{
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::int64_t n = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        n = std::min(n * 10 + (text[pos] - '0'), kLimit + 1);
    if (negative)
        return static_cast<std::int32_t>(-n);
    return static_cast<std::int32_t>(std::min(n, kLimit));
}

void AppendTwoDigits(std::string& out, std::int32_t n)
{
    out += static_cast<char>('0' + n / 10);
    out += static_cast<char>('0' + n % 10);
}

}  // namespace

std::int32_t ReadLeadingInteger(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    return ReadSignedDigits(text, pos);
}

std::string FormatCoordinate(std::int32_t value, std::uint8_t fraction)
{
    // A negative value cannot be stored; ParseCoordinate never produces one.
    value = std::max(value, 0);
    const std::int32_t degrees = value / kQuartersPerDegree;
    const std::int32_t rest = value % kQuartersPerDegree;
    const std::int32_t minutes = rest / kQuartersPerMinute;
    const std::int32_t seconds = (rest % kQuartersPerMinute) / kQuartersPerSecond;

    std::string text;
    // The hundreds of the degrees, or a blank below 100. Stored values reach 1165
    // degrees; from 1000 on the hundreds are written in full.
    if (degrees >= 100)
        text += std::to_string(degrees / 100);
    else
        text += ' ';
    AppendTwoDigits(text, degrees % 100);
    text += '.';
    AppendTwoDigits(text, minutes);
    text += '.';
    AppendTwoDigits(text, seconds);
    text += '.';
    text += std::to_string(fraction * 4);  // 1/250 s in milliseconds
    return text;
}

Coordinate ParseCoordinate(std::string_view text)
{
    text = text.substr(0, std::min(text.size(), kExaminedChars));
    std::array<std::int64_t, 4> groups{};  // degrees, minutes, seconds, milliseconds
    std::size_t found = 0;
    std::size_t pos = 0;
    while (found < groups.size()) {
        pos = text.find_first_not_of(kCoordinateDelimiters, pos);
        if (pos == std::string_view::npos)
            break;
        const std::size_t end = std::min(text.find_first_of(kCoordinateDelimiters, pos), text.size());
        groups[found++] = ReadSignedDigits(text.substr(pos, end - pos), 0);
        pos = end;
    }

    // Minutes and seconds of 60 or more simply add up. A total below zero (a minus
    // sign typed) has no stored form and gives 0.
    const std::int64_t total =
        (groups[0] * 3600 + groups[1] * 60 + groups[2]) * kQuartersPerSecond;
    Coordinate c;
    c.value = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(total, 0, std::numeric_limits<std::int32_t>::max()));

    // Milliseconds rounded half up to 1/250 s; only the low 8 bits are kept.
    const std::int64_t scaled = groups[3] * 250;
    std::int64_t steps = scaled / 1000;
    if (scaled % 1000 >= 500)
        ++steps;
    c.fraction = static_cast<std::uint8_t>(std::max<std::int64_t>(steps, 0) & 0xFF);
    return c;
}

std::string FormatTelephone(const TelephoneBytes& bytes)
{
    std::string text;
    for (std::size_t i = 0; i < kShownTelephoneDigits; ++i) {
        const std::uint8_t b = bytes[i / 2];
        const int nibble = (i % 2 == 0) ? (b >> 4) : (b & 0x0F);
        if (nibble == 0x0F)
            break;
        text += static_cast<char>('0' + nibble);
    }
    return text;
}

void ParseTelephone(std::string_view text, TelephoneBytes& bytes)
{
    std::fill_n(bytes.begin(), 5, std::uint8_t{0xFF});
    text = text.substr(0, std::min(text.size(), kExaminedChars));
    std::size_t digits = 0;
    for (char c : text) {
        if (!IsDigit(c))
            continue;
        if (digits == kStoredTelephoneDigits)
            break;
        const auto d = static_cast<std::uint8_t>(c - '0');
        std::uint8_t& b = bytes[digits / 2];
        if (digits % 2 == 0)
            b = static_cast<std::uint8_t>(d << 4 | 0x0F);
        else
            b = static_cast<std::uint8_t>((b & 0xF0) | d);
        ++digits;
    }
}

// Marks, distances and categories are written in plain decimal: 0 to 25, "0" or
// "100" to "900", 0 to 9. A value from a file written elsewhere that lies beyond
// those ranges is written the same way (mark 123, "1000" for code 10, category 12).
std::string FormatMark(std::uint8_t mark) { return std::to_string(mark); }

std::uint8_t ParseMark(std::string_view text, std::uint8_t current)
{
    int mark = 0;
    if (!text.empty() && IsDigit(text[0]))
        mark = text[0] - '0';
    if (text.size() > 1 && IsDigit(text[1]))
        mark = mark * 10 + (text[1] - '0');
    return mark <= kHighestMark ? static_cast<std::uint8_t>(mark) : current;
}

std::string FormatDistance(std::uint8_t code)
{
    return code == 0 ? std::string("0") : std::to_string(code * 100);
}

std::string FormatCategory(std::uint8_t category) { return std::to_string(category); }

std::uint8_t ParseCategory(std::string_view text)
{
    return static_cast<std::uint8_t>(ReadLeadingInteger(text) & 0xFF);
}

}  // namespace tovik
