// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fieldcheck.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/markrule.h"

namespace tovik {

namespace {

// The coordinate parser's delimiters.
constexpr std::string_view kDelimiters = "' ,.\t\n";
// Larger than any group that can pass, small enough that sums cannot overflow.
constexpr std::int64_t kCap = 1'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a run of digits, capped; -1 when it holds anything else.
std::int64_t DigitsValue(std::string_view group)
{
    std::int64_t n = 0;
    for (char c : group) {
        if (!IsDigit(c))
            return -1;
        n = std::min(n * 10 + (c - '0'), kCap);
    }
    return n;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool FieldCheck::IsCoordinate(std::string_view text, int maxDegrees)
{
    std::array<std::int64_t, 4> groups{};  // degrees, minutes, seconds, milliseconds
    std::size_t found = 0;
    for (std::size_t pos = text.find_first_not_of(kDelimiters); pos != std::string_view::npos;
         pos = text.find_first_not_of(kDelimiters, pos)) {
        const std::size_t end = std::min(text.find_first_of(kDelimiters, pos), text.size());
        if (found == groups.size())
            return false;
        const std::int64_t value = DigitsValue(text.substr(pos, end - pos));
        if (value < 0)
            return false;
        groups[found++] = value;
        pos = end;
    }
    const auto [degrees, minutes, seconds, milliseconds] = groups;
    if (minutes >= 60 || seconds >= 60 || milliseconds >= 1000)
        return false;
    const std::int64_t total = ((degrees * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
    return total <= std::int64_t{maxDegrees} * 3'600'000;
}

int FieldCheck::TelephoneDigits(std::string_view text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(), IsDigit));
}

bool FieldCheck::IsMark(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return true;
    const std::int64_t value = DigitsValue(text);
    return value >= 0 && value <= kHighestMark;
}

}  // namespace tovik
