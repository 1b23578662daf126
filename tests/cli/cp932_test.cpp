#include <gtest/gtest.h>

#include "cp932.h"

namespace tovik {
namespace {

TEST(Cp932, EncodesAsWindowsDoes)
{
    EXPECT_EQ(Cp932::Encode("東京タワー"), std::string("\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B"));
    EXPECT_EQ(Cp932::Encode("ﾄｳｷｮｳﾀﾜｰ"), std::string("\xC4\xB3\xB7\xAE\xB3\xC0\xDC\xB0"));
    EXPECT_EQ(Cp932::Encode("～"), std::string("\x81\x60"));  // U+FF5E, as on Windows
    EXPECT_EQ(Cp932::Decode("\x81\x60"), QString("～"));
    EXPECT_EQ(Cp932::ByteLength("東京ﾀﾜｰ"), 7);
}

TEST(Cp932, NamesTheFirstCharacterItCannotHold)
{
    QString bad;
    EXPECT_FALSE(Cp932::Encode("aé😀", &bad));
    EXPECT_EQ(bad, QString("é"));
    EXPECT_FALSE(Cp932::Encode("東京😀", &bad));
    EXPECT_EQ(bad, QString("😀"));
}

TEST(Cp932, ACharacterCutAfterItsFirstByteIsMarked)
{
    EXPECT_EQ(Cp932::Decode("AB\x93"), QString("AB") + QChar::ReplacementCharacter);
    EXPECT_EQ(Cp932::Decode("\x93\x8C"), QString("東"));
}

}  // namespace
}  // namespace tovik
