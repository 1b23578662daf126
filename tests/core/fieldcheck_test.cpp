// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/fieldcheck.h"
#include "core/fieldencoding.h"

namespace tovik {
namespace {

TEST(FieldCheck, CoordinatesMustMeanWhatTheyShow)
{
    struct Case {
        const char* text;
        int degrees;
        bool ok;
    };
    const Case cases[] = {
        {"", 180, true},
        {"139.45.30.500", 180, true},
        {" 35.41.20.0", 90, true},
        {"35'41'20", 90, true},
        {"35 41 20,4", 90, true},
        {"139", 180, true},
        {"180.00.00.0", 180, true},
        {"90", 90, true},
        {"35.681236", 90, false},      // decimal degrees: 681236 minutes
        {"139.75.0", 180, false},      // minutes
        {"35.41.60", 90, false},       // seconds
        {"35.41.20.1000", 90, false},  // milliseconds
        {"35-41-20", 90, false},       // not a separator
        {"-35.41.20", 90, false},
        {"+35.41.20", 90, false},
        {"35.41.20.0.1", 90, false},   // five groups
        {"180.00.00.001", 180, false},
        {"90.00.01", 90, false},
        {"99999999999999999999", 180, false},
        {"35.4a.20", 90, false},
        {"\x82\x52\x82\x54", 90, false},  // full-width digits that nothing turned into ASCII
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldCheck::IsCoordinate(c.text, c.degrees), c.ok) << c.text;
    // What passes is stored as the parser has always read it.
    EXPECT_EQ(ParseCoordinate("35 41 20,4").value, ParseCoordinate(" 35.41.20.4").value);
}

TEST(FieldCheck, TelephonesAndMarks)
{
    EXPECT_TRUE(FieldCheck::FitsTelephone("(03) 1234-5678"));
    EXPECT_TRUE(FieldCheck::FitsTelephone(""));
    EXPECT_FALSE(FieldCheck::FitsTelephone("090-1234-56789"));
    for (const char* mark : {"", "  ", "0", "7", " 7", "7 ", "07", "25"})
        EXPECT_TRUE(FieldCheck::IsMark(mark)) << '"' << mark << '"';
    for (const char* mark : {"26", "99", "x5", "-5", "+5", "3a", "5 5", "\x82\x54"})
        EXPECT_FALSE(FieldCheck::IsMark(mark)) << '"' << mark << '"';
}

}  // namespace
}  // namespace tovik
