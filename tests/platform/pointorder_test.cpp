// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>

#include "platform/cp932.h"
#include "platform/kanafold.h"
#include "platform/pointorder.h"
#include "tests/support/qtprinters.h"

namespace tovik {
namespace {

PointEntry Point(const QString& name, const QString& reading, int mark = 0)
{
    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    e.name = Cp932::Checked(name);
    e.reading = Cp932::Checked(reading);
    e.mark = static_cast<std::uint8_t>(mark);
    return e;
}

QStringList Names(const std::vector<PointEntry>& entries, const std::vector<int>& order)
{
    QStringList names;
    for (const int row : order)
        names << Cp932::Decode(entries[static_cast<std::size_t>(row)].name);
    return names;
}

// Readings as the device holds them (mostly half-width katakana), in the order a Japanese
// user puts them by hand: digits by their value, Latin letters (any width or case), then
// kana by sound alone whatever their width or script, ー as the vowel it lengthens; among
// the same sounds plain before voiced before semi-voiced, and small before large (JIS X 4061
// as ICU's Japanese collation has it); points without a reading last, by name.
const QStringList kByHand = {
    "2ﾊﾞﾝｶﾝ",          "10ﾊﾞﾝｶﾝ",  "JRｵｵｻｶ", "ｊｒｷｮｳﾄ", "ｶｰﾄﾞ",  "ｶｷ",    "かぎ",   "ｶﾞｷ",
    "カク",            "ｶﾄﾞ",      "ｼｮｳ",    "ｼﾖｳ",      "ｼﾞｮｳ", "ｽｲｶ",   "ｽｰﾊﾟｰ", "とうきょうえき",
    "ﾄｳｷｮｳﾀﾜｰ", "トウキョウドーム", "ﾊﾊ", "ﾊﾞﾊﾞ", "ﾊﾟﾊﾟ",
};

TEST(PointOrderTest, ReadingsInJapaneseDictionaryOrder)
{
    // Named after their place in the expected order; the book holds them shuffled.
    std::vector<PointEntry> expected;
    for (qsizetype i = 0; i < kByHand.size(); ++i)
        expected.push_back(Point(QString("P%1").arg(i + 1), kByHand[i]));
    expected.push_back(Point("あおば台", ""));
    expected.push_back(Point("ｻｸﾗ公園", "\u3000 "));
    QStringList want;
    for (const PointEntry& e : expected)
        want << Cp932::Decode(e.name);

    for (const unsigned seed : {1u, 7u, 22u}) {
        std::vector<PointEntry> book = expected;
        for (std::size_t i = book.size() - 1; i > 0; --i)
            std::swap(book[i], book[(i * seed + seed) % (i + 1)]);
        std::reverse(book.begin(), book.end());
        const std::vector<int> order = PointOrder::Order(book, PointOrder::Key::reading);
        EXPECT_EQ(Names(book, order), want) << "seed " << seed;
    }
}

TEST(PointOrderTest, EveryKeyWithItsTiesAndItsPointsWithoutAValue)
{
    const std::vector<PointEntry> book = {
        Point("ｷﾝｶｸｼﾞ", "ｷﾝｶｸｼﾞ", 3),   // 0
        Point("", "ｱｻｸｻ", 1),           // 1: no name
        Point("あさくさ寺", "", 3),     // 2: no reading
        Point("ｴｷ", "ｴｷ", 1),           // 3
        Point("えき", "ｴｷ", 3),         // 4: the same reading as 3
    };
    struct Case {
        PointOrder::Key key;
        std::vector<std::optional<double>> metres;
        std::vector<int> ticked;
        std::vector<int> order;
    };
    const std::vector<Case> cases = {
        {PointOrder::Key::reading, {}, {}, {1, 3, 4, 0, 2}},
        {PointOrder::Key::name, {}, {}, {2, 3, 4, 0, 1}},
        {PointOrder::Key::markThenReading, {}, {}, {1, 3, 4, 0, 2}},
        {PointOrder::Key::distance, {120.0, std::nullopt, 0.0, 120.0, 3.5}, {}, {2, 4, 0, 3, 1}},
        // Ticked rows 0, 2 and 4 take the places 0, 2 and 4 among themselves.
        {PointOrder::Key::reading, {}, {4, 0, 2, 99}, {4, 1, 0, 3, 2}},
        {PointOrder::Key::name, {}, {3}, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        const std::vector<int> order = PointOrder::Order(book, c.key, c.ticked, c.metres);
        EXPECT_EQ(order, c.order);
        const std::vector<int> back = PointOrder::Inverse(order);
        for (std::size_t i = 0; i < order.size(); ++i)
            EXPECT_EQ(back[static_cast<std::size_t>(order[i])], static_cast<int>(i));
    }
    EXPECT_TRUE(PointOrder::Order({}, PointOrder::Key::reading).empty());
}

TEST(KanaFoldTest, WhatAJapaneseUserCallsTheSameWord)
{
    const std::vector<std::pair<QString, QString>> same = {
        {"とうきょう", "ﾄｳｷｮｳ"},          {"トウキョウ", "とうきょう"},   {"ＡＢＣ１２３", "abc123"},
        {"ｶﾞｿﾘﾝｽﾀﾝﾄﾞ", "がそりんすたんど"}, {"ﾊﾟﾝ", "ぱん"},             {"か゛っこう", "がっこう"},
        {"霞ヶ関", "霞ケ関"},               {"道の駅 富士吉田", "道の駅　富士吉田"}, {"道の駅富士吉田", "道の駅 富士吉田"},
        {"東京・タワー", "東京ﾀﾜｰ"},        {"ゝ", "ヽ"},                   {"〜", "～"},
    };
    for (const auto& [a, b] : same)
        EXPECT_EQ(KanaFold::Fold(a), KanaFold::Fold(b)) << a.toStdString() << " / " << b.toStdString();
    const std::vector<std::pair<QString, QString>> apart = {
        {"が", "か"}, {"ぱん", "はん"}, {"ぱん", "ばん"}, {"ｷｬｸ", "ｷﾔｸ"}, {"ｯ", "ﾂ"}, {"ﾀﾜｰ", "ﾀﾜ-"},
    };
    for (const auto& [a, b] : apart)
        EXPECT_NE(KanaFold::Fold(a), KanaFold::Fold(b)) << a.toStdString() << " / " << b.toStdString();
    // Find matches a folded text inside a folded name or reading.
    EXPECT_TRUE(KanaFold::Fold("ﾄｳｷｮｳﾀﾜｰ").contains(KanaFold::Fold("とうきょう")));
    EXPECT_FALSE(KanaFold::Fold("ｶﾞｽﾄ").contains(KanaFold::Fold("かす")));
    EXPECT_EQ(KanaFold::Fold(" \u3000"), QString());
}

}  // namespace
}  // namespace tovik
