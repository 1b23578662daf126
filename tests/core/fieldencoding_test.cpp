// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "core/fieldencoding.h"
#include "core/markrule.h"

namespace tovik {
namespace {

Coordinate C(std::int32_t value, std::uint8_t fraction) { return {value, fraction}; }

TEST(CoordinateText, FormatsTheDocumentedExamples)
{
    EXPECT_EQ(FormatCoordinate(2012520, 125), "139.45.30.500");
    EXPECT_EQ(FormatCoordinate(513920, 0), " 35.41.20.0");
    EXPECT_EQ(FormatCoordinate(0, 0), " 00.00.00.0");
    EXPECT_EQ(FormatCoordinate(72751, 249), " 05.03.07.996");
    EXPECT_EQ(FormatCoordinate(2012340, 125), "139.44.45.500");
    EXPECT_EQ(FormatCoordinate(513484, 0), " 35.39.31.0");
    EXPECT_EQ(FormatCoordinate(0, 255), " 00.00.00.1020");
}

TEST(CoordinateText, ValuesBeyondTheUsualRangeStayReadable)
{
    EXPECT_EQ(FormatCoordinate(14399999, 0), "999.59.59.0");
    EXPECT_EQ(FormatCoordinate(1000 * 14400, 0), "1000.00.00.0");
    EXPECT_EQ(FormatCoordinate(0xFFFFFF, 0), "1165.05.03.0");  // largest stored value
    EXPECT_EQ(FormatCoordinate(-4, 0), " 00.00.00.0");
}

TEST(CoordinateText, ParsesTheDocumentedExamples)
{
    EXPECT_EQ(ParseCoordinate("139.45.30.500"), C(2012520, 125));
    EXPECT_EQ(ParseCoordinate("35'41'20"), C(513920, 0));
    EXPECT_EQ(ParseCoordinate(" 35.41.20.0"), C(513920, 0));
    EXPECT_EQ(ParseCoordinate("35 41 20.2"), C(513920, 1));
    EXPECT_EQ(FormatCoordinate(513920, 1), " 35.41.20.4");
    EXPECT_EQ(ParseCoordinate("35.41.20.998"), C(513920, 250));
    EXPECT_EQ(FormatCoordinate(513920, 250), " 35.41.20.1000");
    EXPECT_EQ(ParseCoordinate("139 45 30 1022"), C(2012520, 0));
    EXPECT_EQ(ParseCoordinate(""), C(0, 0));
    EXPECT_EQ(ParseCoordinate("139.75.0"), ParseCoordinate("140.15.0"));
    EXPECT_EQ(ParseCoordinate("139"), C(139 * 14400, 0));
}

TEST(CoordinateText, DelimitersSignsAndJunk)
{
    const Coordinate expected = C(513920, 1);
    for (const char* text : {"35,41,20,4", "35'41'20'4", "35 41 20.4", "..35\t41\n20,,4..", "35.41.20.4.99"})
        EXPECT_EQ(ParseCoordinate(text), expected) << text;
    EXPECT_EQ(ParseCoordinate("35x.41y.20z.4w"), expected);
    EXPECT_EQ(ParseCoordinate("x35.41.20"), C((41 * 60 + 20) * 4, 0));
    EXPECT_EQ(ParseCoordinate("+35.41.20"), C(513920, 0));
    // Full-width digits are no digits and a full-width space separates nothing.
    EXPECT_EQ(ParseCoordinate("\x82\x52\x82\x54.41.20"), C((41 * 60 + 20) * 4, 0));
    EXPECT_EQ(ParseCoordinate("35\x81\x40" "41\x81\x40" "20"), C(35 * 14400, 0));
    // Only the first 32 characters count.
    EXPECT_EQ(ParseCoordinate(std::string(29, ' ') + "35.41.20"), C(35 * 14400, 0));
}

TEST(CoordinateText, NegativeAndHugeInputsStayInTheStorableRange)
{
    EXPECT_EQ(ParseCoordinate("-35.41.20"), C(0, 0));
    EXPECT_EQ(ParseCoordinate("35.41.20.-500"), C(513920, 0));
    EXPECT_EQ(ParseCoordinate("-1.75.0"), C(900 * 4, 0));  // the groups still add up
    const Coordinate huge = ParseCoordinate("99999999999999999999.0.0.99999999999");
    EXPECT_GE(huge.value, 0);
}

TEST(CoordinateText, RoundTripsEveryFractionAndWholeSecondValue)
{
    auto check = [](std::int32_t value, int fraction) {
        const auto f = static_cast<std::uint8_t>(fraction);
        const std::string text = FormatCoordinate(value, f);
        ASSERT_EQ(ParseCoordinate(text), C(value, f)) << text;
    };
    for (int f = 0; f < 256; ++f) {
        check(0, f);
        check(14399996, f);
        check(2012520, f);
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<std::int32_t> seconds(0, 14399999 / 4);
    std::uniform_int_distribution<int> fraction(0, 255);
    for (int i = 0; i < 200000; ++i)
        check(seconds(random) * 4, fraction(random));
    for (std::int32_t s = 0; s < 4000; ++s)
        check(s * 4, s % 256);
    // Quarter seconds are lost in the text.
    EXPECT_EQ(ParseCoordinate(FormatCoordinate(72751, 0)).value, 72748);
}

TEST(TelephoneText, FormatsAndParsesTheDocumentedExamples)
{
    EXPECT_EQ(FormatTelephone({0x03, 0x12, 0x34, 0x56, 0x78, 0xFF}), "0312345678");
    EXPECT_EQ(FormatTelephone({0x11, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}), "117");
    EXPECT_EQ(FormatTelephone({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "");
    EXPECT_EQ(FormatTelephone({0xF1, 0x23, 0xFF, 0xFF, 0xFF, 0xFF}), "");
    EXPECT_EQ(FormatTelephone({0x03, 0x00, 0x12, 0x34, 0x5F, 0xFF}), "030012345");
    EXPECT_EQ(FormatTelephone({0x09, 0x01, 0x23, 0x45, 0x67, 0x89}), "0901234567");

    TelephoneBytes b{};
    ParseTelephone("03-1234-5678", b);
    EXPECT_EQ(FormatTelephone(b), "0312345678");
    ParseTelephone("090-1234-5678", b);
    EXPECT_EQ(b, (TelephoneBytes{0x09, 0x01, 0x23, 0x45, 0x67, 0x8F}));
    EXPECT_EQ(FormatTelephone(b), "0901234567");
    ParseTelephone("117", b);
    EXPECT_EQ(b, (TelephoneBytes{0x11, 0x7F, 0xFF, 0xFF, 0xFF, 0x8F}));  // sixth byte untouched
    ParseTelephone("(ab) \x82\x4F\x82\x50", b);  // letters and full-width digits
    EXPECT_EQ(FormatTelephone(b), "");
}

TEST(TelephoneText, StoresAtMostTwelveDigitsOfTheFirst32Characters)
{
    TelephoneBytes b{};
    b.fill(0);
    ParseTelephone("12345678901234", b);
    EXPECT_EQ(b, (TelephoneBytes{0x12, 0x34, 0x56, 0x78, 0x90, 0x12}));
    ParseTelephone(std::string(31, '-') + "12", b);
    EXPECT_EQ(FormatTelephone(b), "1");
}

TEST(MarkText, FormatsAndParsesFirstTwoCharacters)
{
    EXPECT_EQ(FormatMark(0), "0");
    EXPECT_EQ(FormatMark(7), "7");
    EXPECT_EQ(FormatMark(25), "25");
    EXPECT_EQ(FormatMark(99), "99");
    EXPECT_EQ(FormatMark(123), "123");
    for (const char* t : {"7", "07", " 7", "7x"})
        EXPECT_EQ(ParseMark(t, 20), 7) << t;
    EXPECT_EQ(ParseMark("25", 1), 25);
    EXPECT_EQ(ParseMark("123", 1), 12);
    EXPECT_EQ(ParseMark("5x", 1), 5);
    EXPECT_EQ(ParseMark("x5", 1), 5);
    EXPECT_EQ(ParseMark("x", 9), 0);
    EXPECT_EQ(ParseMark("", 9), 0);
    EXPECT_EQ(ParseMark("\x82\x54", 9), 0);  // a full-width digit
    EXPECT_EQ(ParseMark("26", 9), 9);
    EXPECT_EQ(ParseMark("99", 9), 9);
}

TEST(DistanceAndCategoryText, FormatsCodes)
{
    EXPECT_EQ(FormatDistance(0), "0");
    EXPECT_EQ(FormatDistance(1), "100");
    EXPECT_EQ(FormatDistance(9), "900");
    EXPECT_EQ(FormatDistance(10), "1000");
    EXPECT_EQ(FormatCategory(3), "3");
    EXPECT_EQ(FormatCategory(12), "12");
    EXPECT_EQ(ParseCategory(" 3"), 3);
    EXPECT_EQ(ParseCategory("3x"), 3);
    EXPECT_EQ(ParseCategory("x3"), 0);
    EXPECT_EQ(ParseCategory("257"), 1);
    EXPECT_EQ(ParseCategory("-1"), 255);
}

TEST(LeadingInteger, ReadsLikeAtoiWithoutOverflow)
{
    EXPECT_EQ(ReadLeadingInteger("  12ab"), 12);
    EXPECT_EQ(ReadLeadingInteger("\t-7"), -7);
    EXPECT_EQ(ReadLeadingInteger("+3"), 3);
    EXPECT_EQ(ReadLeadingInteger("- 3"), 0);
    EXPECT_EQ(ReadLeadingInteger(""), 0);
    EXPECT_EQ(ReadLeadingInteger("99999999999999"), 2147483647);
    EXPECT_EQ(ReadLeadingInteger("-99999999999999"), -2147483647 - 1);
}

TEST(MarkRule, MarksOneToFiveBring400mAndTheirCategory)
{
    for (int m = 1; m <= 5; ++m)
        EXPECT_EQ(FollowMark(m), (MarkFollowers{4, static_cast<std::uint8_t>(m)}));
    for (int m : {0, 6, 25, -3, 105})
        EXPECT_FALSE(FollowMark(m).has_value()) << m;
    EXPECT_EQ(FollowMarkText("3"), (MarkFollowers{4, 3}));
    EXPECT_EQ(FollowMarkText(" 03"), (MarkFollowers{4, 3}));
    EXPECT_EQ(FollowMarkText("8"), (MarkFollowers{0, 0}));
    EXPECT_EQ(FollowMarkText("x3"), (MarkFollowers{0, 0}));
    EXPECT_EQ(FollowMarkText(""), (MarkFollowers{0, 0}));
}

}  // namespace
}  // namespace tovik
