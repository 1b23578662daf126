// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/pointbook.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

class PointBookTest : public ::testing::Test {
protected:
    void Fill(const std::vector<std::string>& names)
    {
        for (const auto& n : names)
            book.InsertEntry(book.GetCount(), test::SimplePoint(n));
    }
    std::string Names() const
    {
        std::string s;
        for (int i = 0; i < book.GetCount(); ++i)
            s += book.GetName(i);
        return s;
    }

    test::TempDir dir;
    PointBook book;
};

TEST_F(PointBookTest, StartsEmpty)
{
    EXPECT_EQ(book.GetCount(), 0);
    EXPECT_FALSE(book.IsModified());
    EXPECT_FALSE(book.IsOccupied(0));
    EXPECT_EQ(book.Entry(99), PointEntry{});
}

TEST_F(PointBookTest, LoadSqueezesOutEmptySlotsAndSaveRenumbers)
{
    test::WriteBytes(dir.File("in.mem"), test::ImageWithOccupiedSlots({3, 10, 57}));
    ASSERT_EQ(test::FailureOf(book.Load(dir.File("in.mem"))), "(no failure)");
    EXPECT_EQ(Names(), "S3S10S57");
    EXPECT_FALSE(book.IsModified());

    ASSERT_TRUE(book.Save(dir.File("out.mem")));
    const Bytes out = test::ReadBytes(dir.File("out.mem"));
    ASSERT_EQ(out.size(), 9604u);
    for (int k = 0; k < 100; ++k) {
        const std::size_t s = static_cast<std::size_t>(k) * 96;
        EXPECT_EQ(out[s + 1], k);
        EXPECT_EQ(out[s + 4], k < 3 ? 0x31 : 0x00) << k;
        EXPECT_EQ(out[s + 7], k < 3 ? k + 1 : 0) << k;
    }
}

TEST_F(PointBookTest, ExtensionDecidesWhetherAFileIsDecoded)
{
    const Bytes image = test::ImageWithOccupiedSlots({0, 1});
    for (const char* name : {"POINTS.MeM", "points.mem.bak", "points", "dir.mem/points"}) {
        if (std::string(name) == "dir.mem/points")
            std::filesystem::create_directory(dir.Path() / "dir.mem");
        test::WriteBytes(dir.File(name), image);
    }
    EXPECT_EQ(book.Load(dir.File("points.mem.bak")), Loaded::notDecoded);
    EXPECT_EQ(book.Load(dir.File("points")), Loaded::notDecoded);
    EXPECT_EQ(book.Load(dir.File("dir.mem/points")), Loaded::notDecoded);
    EXPECT_EQ(book.GetCount(), 0);
    EXPECT_EQ(book.Load(dir.File("POINTS.MeM")), Loaded::decoded);
    EXPECT_EQ(book.GetCount(), 2);
}

TEST_F(PointBookTest, RejectedFileLeavesTheBookAsItWas)
{
    test::WriteBytes(dir.File("good.mem"), test::ImageWithOccupiedSlots({0, 1, 2}));
    Bytes bad = test::ImageWithOccupiedSlots({5});
    bad[9603] ^= 0xFF;
    test::WriteBytes(dir.File("bad.mem"), bad);
    test::WriteBytes(dir.File("empty.mem"), {});
    test::WriteBytes(dir.File("zeros.mem"), Bytes(9604, 0));

    ASSERT_EQ(book.Load(dir.File("good.mem")), Loaded::decoded);
    book.SetName("changed", 0);
    for (const char* name : {"bad.mem", "empty.mem", "zeros.mem"}) {
        EXPECT_EQ(test::FailureOf(book.Load(dir.File(name))), "認識できないフォーマットです。") << name;
        EXPECT_EQ(Names(), "changedS1S2");
        EXPECT_TRUE(book.IsModified());
    }
}

TEST_F(PointBookTest, LongerFileIsAcceptedShorterIsZeroPadded)
{
    Bytes longer = test::ImageWithOccupiedSlots({7});
    longer.resize(300000, 0xAB);
    test::WriteBytes(dir.File("long.mem"), longer);
    EXPECT_EQ(book.Load(dir.File("long.mem")), Loaded::decoded);
    EXPECT_EQ(Names(), "S7");

    // A file cut short reads as if padded with zeros: with a zero trailer it cannot match.
    Bytes shorter = test::ImageWithOccupiedSlots({7});
    shorter.resize(9600);
    test::WriteBytes(dir.File("short.mem"), shorter);
    EXPECT_EQ(test::FailureOf(book.Load(dir.File("short.mem"))), "認識できないフォーマットです。");
}

TEST_F(PointBookTest, FileErrorsShowTheirMessages)
{
    EXPECT_EQ(test::FailureOf(book.Load(dir.File("missing.mem"))), "ファイルが見つかりませんでした。");
    EXPECT_EQ(test::FailureOf(book.Load(dir.Path().string() + "/x.mem/")), "ファイルが見つかりませんでした。");
    EXPECT_EQ(test::FailureOf(book.Save(dir.File("no/such/dir.mem"))), "ファイルが見つかりませんでした。");
    // A folder cannot be overwritten.
    EXPECT_EQ(test::FailureOf(book.Save(dir.Path().string())),
              "通常のファイルではありません（パイプ、デバイス、フォルダーなど）。");
}

TEST_F(PointBookTest, KnowsWhenItsFileWasChangedByAnotherProgram)
{
    Fill({"A"});
    const std::string path = dir.File("a.mem");
    ASSERT_TRUE(book.Save(path));
    EXPECT_FALSE(book.ChangedOnDisk(path));
    EXPECT_FALSE(book.ChangedOnDisk(dir.File("other.mem")));  // not a file this book knows

    // Rewritten in place with the same bytes: only the time tells.
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    test::WriteBytes(path, bytes);
    const timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_TRUE(book.ChangedOnDisk(path));
    ASSERT_EQ(book.Load(path), Loaded::decoded);
    EXPECT_FALSE(book.ChangedOnDisk(path));

    // Replaced by another program's save; a failed load of another file changes nothing.
    PointBook other;
    ASSERT_EQ(other.Load(path), Loaded::decoded);
    other.InsertEntry(1, test::SimplePoint("B"));
    ASSERT_TRUE(other.Save(path));
    EXPECT_FALSE(book.Load(dir.File("missing.mem")));
    EXPECT_TRUE(book.ChangedOnDisk(path));

    ASSERT_EQ(::unlink(path.c_str()), 0);  // nothing left to lose
    EXPECT_FALSE(book.ChangedOnDisk(path));
}

TEST_F(PointBookTest, FailedWriteReportsWritingAndKeepsTheOldFile)
{
    test::WriteBytes(dir.File("keep.mem"), test::ImageWithOccupiedSlots({4, 5}));
    Fill({"A", "B"});
    book.Files().SetChunkWriter([](int fd, std::span<const std::uint8_t> data, int& error) {
        (void)!::write(fd, data.data(), 100);
        error = EIO + 1000;  // an error without a cause of its own
        return false;
    });
    EXPECT_EQ(test::FailureOf(book.Save(dir.File("keep.mem"))), "書き込みに失敗しました。");
    EXPECT_EQ(test::ReadBytes(dir.File("keep.mem")), test::ImageWithOccupiedSlots({4, 5}));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.mem"});
    EXPECT_TRUE(book.IsModified());
}

TEST_F(PointBookTest, SaveAndLoadRoundTripWithCuts)
{
    PointEntry long_ = test::TokyoTower();
    long_.name = "ABCDEFGHIJKLMNOPQRS";
    long_.telephone = {0x09, 0x01, 0x23, 0x45, 0x67, 0x8F};
    book.InsertEntry(0, test::TokyoTower());
    book.InsertEntry(1, long_);
    book.InsertEntry(2, test::SimplePoint("Z", 9));
    ASSERT_TRUE(book.Save(dir.File("r.mem")));
    EXPECT_TRUE(book.IsModified());  // saving leaves the flag to the caller

    PointBook other;
    ASSERT_EQ(other.Load(dir.File("r.mem")), Loaded::decoded);
    ASSERT_EQ(other.GetCount(), 3);
    EXPECT_EQ(other.Entry(0), test::TokyoTower());
    EXPECT_EQ(other.GetName(1), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(other.GetTelephoneText(1), "0901234567");
    EXPECT_EQ(other.Entry(1).telephone[5], 0xFF);
    EXPECT_EQ(other.Entry(2), test::SimplePoint("Z", 9));
    EXPECT_FALSE(other.IsModified());
}

TEST_F(PointBookTest, UnmodelledBytesComeBackFromTheTemplate)
{
    Bytes in = test::ImageWithOccupiedSlots({0});
    in[0] = 0x77;       // fixed byte 0 of a used slot
    in[83] = 0x2F;      // fixed byte 83
    in[96 * 50 + 1] = 0x99;  // slot index of an empty slot
    test::FixTrailer(in);
    test::WriteBytes(dir.File("odd.mem"), in);
    ASSERT_EQ(book.Load(dir.File("odd.mem")), Loaded::decoded);
    ASSERT_TRUE(book.Save(dir.File("odd.mem")));
    EXPECT_EQ(test::ReadBytes(dir.File("odd.mem")), test::ImageWithOccupiedSlots({0}));
}

TEST_F(PointBookTest, FullBookUsesEverySlot)
{
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(book.InsertEntry(i, test::SimplePoint("P" + std::to_string(i), i)));
    EXPECT_FALSE(book.InsertEntry(100, test::SimplePoint("extra")));
    EXPECT_EQ(book.GetCount(), 100);
    ASSERT_TRUE(book.Save(dir.File("full.mem")));
    const Bytes out = test::ReadBytes(dir.File("full.mem"));
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ(out[static_cast<std::size_t>(k) * 96 + 7], k + 1);
}

TEST_F(PointBookTest, InsertAndRemoveKeepTheOrder)
{
    book.InsertEntry(0, test::SimplePoint("B"));
    book.InsertEntry(0, test::SimplePoint("A"));
    book.InsertEntry(2, test::SimplePoint("C"));
    EXPECT_EQ(Names(), "ABC");
    book.SetModified(false);

    ASSERT_TRUE(book.RemoveEntry(0));
    EXPECT_EQ(Names(), "BC");
    EXPECT_TRUE(book.IsModified());
    ASSERT_TRUE(book.RemoveEntry(1));
    EXPECT_EQ(Names(), "B");
    // The removed last entry only loses its occupied flag.
    EXPECT_FALSE(book.IsOccupied(1));
    EXPECT_EQ(book.Entry(1).name, "C");
    EXPECT_FALSE(book.RemoveEntry(1));
    EXPECT_FALSE(book.InsertEntry(3, test::SimplePoint("X")));
    EXPECT_EQ(Names(), "B");
}

TEST_F(PointBookTest, MoveEntryPutsTheEntryBeforeTheTarget)
{
    struct Case { int from, to; const char* result; };
    for (const Case& c : {Case{1, 4, "PRSQT"}, Case{3, 0, "SPQRT"}, Case{0, 5, "QRSTP"},
                          Case{3, 1, "PSQRT"}, Case{4, 0, "TPQRS"}}) {
        PointBook b;
        for (const char* n : {"P", "Q", "R", "S", "T"})
            b.InsertEntry(b.GetCount(), test::SimplePoint(n));
        b.SetModified(false);
        ASSERT_TRUE(b.MoveEntry(c.from, c.to));
        std::string names;
        for (int i = 0; i < b.GetCount(); ++i)
            names += b.GetName(i);
        EXPECT_EQ(names, c.result) << c.from << "->" << c.to;
        EXPECT_TRUE(b.IsModified());
        EXPECT_EQ(b.GetCount(), 5);
    }
}

TEST_F(PointBookTest, MoveOntoItsOwnPlaceChangesNothing)
{
    Fill({"P", "Q", "R", "S", "T"});
    book.SetModified(false);
    EXPECT_TRUE(book.MoveEntry(2, 3));
    EXPECT_TRUE(book.MoveEntry(2, 2));
    EXPECT_EQ(Names(), "PQRST");
    EXPECT_FALSE(book.IsModified());
    EXPECT_FALSE(book.MoveEntry(5, 0));
    EXPECT_FALSE(book.MoveEntry(0, 6));
}

TEST_F(PointBookTest, GettersShowTheStoredFields)
{
    book.InsertEntry(0, test::TokyoTower());
    EXPECT_EQ(book.GetLongitudeText(0), "139.44.45.500");
    EXPECT_EQ(book.GetLatitudeText(0), " 35.39.31.0");
    EXPECT_EQ(book.GetTelephoneText(0), "0312345678");
    EXPECT_EQ(book.GetMarkText(0), "3");
    EXPECT_EQ(book.GetDistanceText(0), "400");
    EXPECT_EQ(book.GetCategoryText(0), "3");
}

TEST_F(PointBookTest, EverySetterMarksTheBookModifiedEvenWithTheSameValue)
{
    Fill({"A"});
    const std::vector<std::function<void()>> setters = {
        [&] { book.SetName("A", 0); },          [&] { book.SetReading("rA", 0); },
        [&] { book.SetLongitude("1", 0); },     [&] { book.SetLatitude("1", 0); },
        [&] { book.SetTelephone("", 0); },      [&] { book.SetMark("26", 0); },
        [&] { book.SetCategory("0", 0); },      [&] { book.SetDistance(0, 0); },
    };
    for (const auto& set : setters) {
        book.SetModified(false);
        set();
        EXPECT_TRUE(book.IsModified());
    }
    EXPECT_EQ(book.GetCount(), 1);
}

TEST_F(PointBookTest, SettersConvertTexts)
{
    Fill({"A"});
    book.SetMark("12", 0);
    book.SetMark("26", 0);  // above 25: the mark stays
    EXPECT_EQ(book.Entry(0).mark, 12);
    book.SetDistance(0x104, 0);
    EXPECT_EQ(book.Entry(0).distance, 4);
    book.SetLongitude("139.45.30.500", 0);
    EXPECT_EQ(book.Entry(0).longitude, 2012520);
    EXPECT_EQ(book.Entry(0).longitudeFraction, 125);
    book.SetTelephone("12345678901234", 0);
    EXPECT_EQ(book.GetTelephoneText(0), "1234567890");
    EXPECT_EQ(book.Entry(0).distance, 4);
    EXPECT_EQ(book.Entry(0).category, 0);
}

TEST(PointEntryFromTexts, BuildsANewPointAsTheAddCommandDoes)
{
    const PointEntry e = PointEntry::FromTexts("\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B",
                                               "\xC4\xB3\xB7\xAE\xB3\xC0\xDC\xB0", "139.44.45.500",
                                               " 35.39.31.0", "03-1234-5678", "3");
    EXPECT_EQ(e, test::TokyoTower());

    const PointEntry plain = PointEntry::FromTexts("", "", "", "", "", "0");
    EXPECT_EQ(plain.occupied, PointEntry::kOccupied);
    EXPECT_EQ(plain.distance, 0);
    EXPECT_EQ(plain.category, 0);
    EXPECT_EQ(plain.telephone, (std::array<std::uint8_t, 6>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

    const PointEntry big = PointEntry::FromTexts("", "", "", "", "", "99");
    EXPECT_EQ(big.mark, 0);
    EXPECT_EQ(PointEntry::FromTexts("", "", "", "", "", "8").distance, 0);
    EXPECT_EQ(PointEntry::FromTexts("", "", "", "", "", "05").category, 5);
}

}  // namespace
}  // namespace tovik
