// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/memoryimage.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes SlotBytes(const MemoryImage& image, std::size_t slot)
{
    const auto* p = image.Bytes().data() + slot * MemoryImage::kSlotSize;
    return Bytes(p, p + MemoryImage::kSlotSize);
}

Bytes Trailer(const MemoryImage& image)
{
    return Bytes(image.Bytes().begin() + MemoryImage::kSlotsSize, image.Bytes().end());
}

MemoryImage EncodedImage(const std::vector<PointEntry>& points)
{
    MemoryImage image;
    image.ResetSlots();
    for (std::size_t k = 0; k < points.size(); ++k)
        image.EncodeSlot(k, points[k]);
    image.StoreTrailer();
    return image;
}

TEST(MemoryImageGolden, TokyoTowerSlotsAndTrailer)
{
    const MemoryImage image = EncodedImage({test::TokyoTower()});
    const Bytes slot0 = {
        0x00, 0x00, 0x00, 0x00, 0x31, 0x03, 0x00, 0x01, 0x31, 0x03, 0x00, 0x0C, 0x1E, 0xB4, 0xB4, 0x7D,
        0x07, 0xD5, 0xCC, 0x00, 0x1E, 0xB4, 0xB4, 0x7D, 0x07, 0xD5, 0xCC, 0x00, 0x93, 0x8C, 0x8B, 0x9E,
        0x83, 0x5E, 0x83, 0x8F, 0x81, 0x5B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC4, 0xB3, 0xB7, 0xAE, 0xB3, 0xC0, 0xDC, 0xB0,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x12, 0x34, 0x56, 0x78, 0xFF,
        0xFF, 0xFF, 0xFF, 0x1F, 0x04, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00,
    };
    EXPECT_EQ(SlotBytes(image, 0), slot0);

    Bytes slot1(96, 0x00);
    slot1[1] = 0x01;
    slot1[11] = 0x0C;
    for (int i = 74; i < 83; ++i)
        slot1[static_cast<std::size_t>(i)] = 0xFF;
    slot1[83] = 0x1F;
    slot1[85] = 0x10;
    EXPECT_EQ(SlotBytes(image, 1), slot1);
    EXPECT_EQ(SlotBytes(image, 99)[1], 99);

    EXPECT_EQ(image.Sum(), 0xDD95);
    EXPECT_EQ(Trailer(image), (Bytes{0xA5, 0xA4, 0xC8, 0x10}));
    EXPECT_TRUE(image.TrailerMatches());
}

TEST(MemoryImageGolden, ImageWithoutPoints)
{
    const MemoryImage image = EncodedImage({});
    EXPECT_EQ(image.Sum(), 0xC4D2);
    EXPECT_EQ(Trailer(image), (Bytes{0xA5, 0xA4, 0xE0, 0xD3}));
}

TEST(MemoryImageCheckValue, RejectsZerosAndEveryDamagedTrailerByte)
{
    MemoryImage zeros;
    EXPECT_FALSE(zeros.TrailerMatches());

    const MemoryImage good = EncodedImage({test::TokyoTower()});
    for (std::size_t i = MemoryImage::kSlotsSize; i < MemoryImage::kSize; ++i) {
        Bytes bytes(good.Bytes().begin(), good.Bytes().end());
        bytes[i] ^= 0x01;
        MemoryImage damaged;
        damaged.Assign(bytes);
        EXPECT_FALSE(damaged.TrailerMatches()) << "trailer byte " << i;
    }
}

TEST(MemoryImageCheckValue, SecondTrailerByteDependsOnTheSum)
{
    // A sum above 0xA5A5 borrows from the second byte; at or below, it stays 0xA5.
    Bytes bytes(MemoryImage::kSize, 0);
    bytes[0] = 0xA5;
    bytes[1] = 0xA5;
    MemoryImage image;
    image.Assign(bytes);
    image.StoreTrailer();
    EXPECT_EQ(Trailer(image), (Bytes{0xA5, 0xA5, 0x00, 0x00}));
    bytes[1] = 0xA6;
    image.Assign(bytes);
    image.StoreTrailer();
    EXPECT_EQ(Trailer(image), (Bytes{0xA5, 0xA4, 0xFF, 0xFF}));
}

TEST(MemoryImageDecode, ReadsValueFromFirstCopyAndFractionFromSecond)
{
    MemoryImage image = EncodedImage({test::TokyoTower()});
    Bytes bytes(image.Bytes().begin(), image.Bytes().end());
    bytes[12] = 0x01; bytes[13] = 0x02; bytes[14] = 0x03; bytes[15] = 0x11;  // first longitude
    bytes[20] = 0x0A; bytes[21] = 0x0B; bytes[22] = 0x0C; bytes[23] = 0x22;  // second longitude
    bytes[19] = 0x33;                                                        // first latitude fraction
    image.Assign(bytes);
    const PointEntry e = image.DecodeSlot(0);
    EXPECT_EQ(e.longitude, 0x010203);
    EXPECT_EQ(e.longitudeFraction, 0x22);
    EXPECT_EQ(e.latitude, 513484);
    EXPECT_EQ(e.latitudeFraction, 0);
}

TEST(MemoryImageDecode, OccupiedFlagIsReadFromTheFirstCopyOnly)
{
    Bytes bytes = test::ImageWithOccupiedSlots({});
    bytes[5 * 96 + 8] = 0x31;
    MemoryImage image;
    image.Assign(bytes);
    EXPECT_FALSE(image.IsSlotOccupied(5));
    bytes[5 * 96 + 4] = 0x31;
    image.Assign(bytes);
    EXPECT_TRUE(image.IsSlotOccupied(5));
}

TEST(MemoryImageTexts, SixteenByteTextsHaveNoTerminatorAndLongerOnesAreCut)
{
    PointEntry e = test::TokyoTower();
    e.name = "ABCDEFGHIJKLMNOP";                     // exactly 16 bytes
    e.reading = "\x83\x41\x83\x42\x83\x43\x83\x44\x83\x45\x83\x46\x83\x47\x83\x48\x83\x49";  // 9 double-byte
    MemoryImage image = EncodedImage({e});
    const Bytes slot = SlotBytes(image, 0);
    EXPECT_EQ(std::string(slot.begin() + 28, slot.begin() + 44), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(slot[44], 0x00);
    const PointEntry back = image.DecodeSlot(0);
    EXPECT_EQ(back.name, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(back.reading, e.reading.substr(0, 16));

    // A cut may fall inside a double-byte character: the 16th byte is a lead byte.
    e.reading = "A" + e.reading;
    image = EncodedImage({e});
    EXPECT_EQ(image.DecodeSlot(0).reading, e.reading.substr(0, 16));
    EXPECT_EQ(static_cast<unsigned char>(image.DecodeSlot(0).reading.back()), 0x83);
}

TEST(MemoryImageTelephone, ZeroBytesAreDigitsAndTheSixthByteIsNotStored)
{
    PointEntry e = test::TokyoTower();
    e.telephone = {0x03, 0x00, 0x12, 0x34, 0x5F, 0x77};
    MemoryImage image = EncodedImage({e});
    EXPECT_EQ(SlotBytes(image, 0)[79], 0xFF);
    const PointEntry back = image.DecodeSlot(0);
    EXPECT_EQ(back.telephone, (std::array<std::uint8_t, 6>{0x03, 0x00, 0x12, 0x34, 0x5F, 0xFF}));
}

TEST(MemoryImageEncode, CoordinateBitsAbove23AreDropped)
{
    PointEntry e = test::TokyoTower();
    e.longitude = 0x01234567;
    const MemoryImage image = EncodedImage({e});
    EXPECT_EQ(image.DecodeSlot(0).longitude, 0x234567);
}

TEST(MemoryImageEncode, ResetSlotsOverwritesEveryByteOfTheSlots)
{
    MemoryImage image;
    image.Assign(Bytes(MemoryImage::kSize, 0xEE));
    image.ResetSlots();
    MemoryImage clean;
    clean.ResetSlots();
    EXPECT_TRUE(std::equal(image.Bytes().begin(), image.Bytes().begin() + MemoryImage::kSlotsSize,
                           clean.Bytes().begin()));
}

}  // namespace
}  // namespace tovik
