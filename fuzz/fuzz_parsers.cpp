// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary texts through every field parser and formatter.
//
// Input: one byte used as the current mark and as a slot number, then up to six texts
// separated by 0xFF bytes (never part of CP932): name, reading, longitude, latitude,
// telephone and mark for the add command. Every text also goes through every parser.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "core/fieldcheck.h"
#include "core/fieldencoding.h"
#include "fuzz/fuzzcheck.h"
#include "core/markrule.h"
#include "core/memoryimage.h"
#include "core/pointentry.h"

namespace {

using namespace tovik;
using fuzz::AsStored;
using fuzz::Check;

// The C library's reading of a leading number, saturated to 32 bits.
std::int32_t ReferenceLeadingInteger(const std::string& text)
{
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(n, INT32_MIN, INT32_MAX));
}

void CheckText(const std::string& text, std::uint8_t current)
{
    const Coordinate c = ParseCoordinate(text);
    Check(c.value >= 0);
    const Coordinate again = ParseCoordinate(FormatCoordinate(c.value, c.fraction));
    Check(again.value == c.value - c.value % 4 && again.fraction == c.fraction);
    if (c.value <= 14'399'999)
        Check(again == c);

    // A coordinate text that passes the check is stored as the degrees, minutes and seconds
    // it shows; and what the lists show of a point in range passes the check when retyped.
    for (const int degrees : {FieldCheck::kLongitudeDegrees, FieldCheck::kLatitudeDegrees}) {
        const std::int32_t limit = degrees * 14400;
        if (FieldCheck::IsCoordinate(text, degrees))
            Check(c.value <= limit && c.value % 4 == 0);
        if (c.value < limit && c.fraction < 250)
            Check(FieldCheck::IsCoordinate(FormatCoordinate(c.value, c.fraction), degrees));
    }

    // What is shown of a telephone number is its first ten digits; only the sixth byte
    // is left alone when there are ten or fewer.
    TelephoneBytes telephone{1, 2, 3, 4, 5, 6};
    ParseTelephone(text, telephone);
    const std::string shown = FormatTelephone(telephone);
    std::string digits;
    for (char ch : text.substr(0, 32))
        if (ch >= '0' && ch <= '9')
            digits += ch;
    Check(shown.size() <= 10 && std::all_of(shown.begin(), shown.end(), [](char ch) { return ch >= '0' && ch <= '9'; }));
    Check(digits.compare(0, shown.size(), shown) == 0 && shown.size() == std::min<std::size_t>(digits.size(), 10));
    if (digits.size() <= 10)
        Check(telephone[5] == 6);

    if (FieldCheck::FitsTelephone(text) && text.size() <= 32)
        Check(digits.size() <= 10 && telephone[5] == 6);

    const std::uint8_t mark = ParseMark(text, current);
    // A mark text the edit field can hold (two bytes) that passes the check is the mark it
    // shows.
    if (text.size() <= 2 && FieldCheck::IsMark(text)) {
        std::string number;
        for (char ch : text)
            if (ch != ' ' && ch != '\t')
                number += ch;
        Check(mark == (number.empty() ? 0 : std::stoi(number)));
        Check(FollowMarkText(text) == FollowMark(mark).value_or(MarkFollowers{}));
    }
    Check(mark <= 25 || mark == current);
    Check(ParseMark(FormatMark(mark), current) == mark || mark > 25);

    const std::int32_t n = ReadLeadingInteger(text);
    // strtoll stops at a zero byte just as the reader stops at any non-digit.
    Check(n == ReferenceLeadingInteger(text));
    Check(ParseCategory(text) == static_cast<std::uint8_t>(n & 0xFF));
    Check(ParseCategory(FormatCategory(current)) == current);

    const MarkFollowers f = FollowMarkText(text);
    if (n >= 1 && n <= 5)
        Check(f.distance == 4 && f.category == n);
    else
        Check(f == MarkFollowers{});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t current = data[0];
    std::vector<std::string> texts(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF)
            texts.emplace_back();
        else
            texts.back() += static_cast<char>(data[i]);
    }
    for (const std::string& text : texts)
        CheckText(text, current);

    texts.resize(6);
    const PointEntry e = PointEntry::FromTexts(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]);
    Check(e.occupied == PointEntry::kOccupied && e.name == texts[0] && e.reading == texts[1]);
    Check(e.mark <= 25 && e.longitude >= 0 && e.latitude >= 0);
    Check(e == PointEntry::FromTexts(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]));

    // The new point in a slot of a fresh image: it comes back with the format's cuts,
    // and no other slot changes.
    const std::size_t slot = current % MemoryImage::kSlotCount;
    MemoryImage blank;
    blank.ResetSlots();
    MemoryImage image = blank;
    image.EncodeSlot(slot, e);
    Check(image.IsSlotOccupied(slot));
    Check(image.DecodeSlot(slot) == AsStored(e));
    const auto& a = image.Bytes();
    const auto& b = blank.Bytes();
    const std::size_t from = slot * MemoryImage::kSlotSize;
    Check(std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(from), b.begin()));
    Check(std::equal(a.begin() + static_cast<std::ptrdiff_t>(from + MemoryImage::kSlotSize), a.end(),
                     b.begin() + static_cast<std::ptrdiff_t>(from + MemoryImage::kSlotSize)));
    return 0;
}
