// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <future>

#include "platform/cp932.h"

namespace tovik {
namespace {

TEST(Cp932, EncodesAsWindowsDoes)
{
    EXPECT_EQ(Cp932::Encode("東京タワー"), std::string("\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B"));
    EXPECT_EQ(Cp932::Encode("ﾄｳｷｮｳﾀﾜｰ"), std::string("\xC4\xB3\xB7\xAE\xB3\xC0\xDC\xB0"));
    EXPECT_EQ(Cp932::Encode("～"), std::string("\x81\x60"));  // U+FF5E, as on Windows
    EXPECT_EQ(Cp932::Decode("\x81\x60"), QString("～"));
    EXPECT_EQ(Cp932::ByteLength("東京ﾀﾜｰ"), 7);
    // What input methods type for characters the table holds under another code point.
    EXPECT_EQ(Cp932::Encode("〜−‖¢£¬—"), std::string("\x81\x60\x81\x7C\x81\x61\x81\x91\x81\x92\x81\xCA\x81\x5C"));
}

TEST(Cp932, NamesTheFirstCharacterItCannotHold)
{
    QString bad;
    EXPECT_FALSE(Cp932::Encode("aé😀", &bad));
    EXPECT_EQ(bad, QString("é"));
    EXPECT_FALSE(Cp932::Encode("東京😀", &bad));
    EXPECT_EQ(bad, QString("😀"));
    // and a form of it that it can hold, where there is one
    EXPECT_EQ(Cp932::Suggestion("é"), QString("e"));
    EXPECT_EQ(Cp932::Suggestion("ﬁ"), QString("fi"));
    EXPECT_EQ(Cp932::Suggestion("–"), QString("-"));
    EXPECT_EQ(Cp932::Suggestion("😀"), QString());
}

TEST(Cp932, ACharacterCutAfterItsFirstByteIsMarked)
{
    EXPECT_EQ(Cp932::Decode("AB\x93"), QString("AB") + QChar::ReplacementCharacter);
    EXPECT_EQ(Cp932::Decode("\x93\x8C"), QString("東"));
}

TEST(Cp932, EachThreadsConvertersWorkAgainAfterATextTheyCouldNotConvert)
{
    // Qt 6.4's converters keep an error once met, so a reused one would refuse every text
    // after the first it could not convert; two threads at once, as an import converts.
    auto convertAlternately = [] {
        bool right = true;
        std::string expected;
        for (int i = 0; i < 200; ++i) {
            expected += "\x93\x8C";
            right = right && !Cp932::Encode(i % 2 ? "é" : "a😀b") &&
                    Cp932::Encode(QString(i + 1, QChar(u'東'))) == expected &&
                    Cp932::Decode("\xFF\xA0\x81") != QString() && Cp932::Decode("\x93\x8C") == QString("東");
        }
        return right;
    };
    auto other = std::async(std::launch::async, convertAlternately);
    EXPECT_TRUE(convertAlternately());
    EXPECT_TRUE(other.get());
}

}  // namespace
}  // namespace tovik
