// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <thread>

#include "cli/tovikcli.h"
#include "core/pointbook.h"
#include "platform/cp932.h"
#include "tests/cli/cliprocess.h"
#include "tests/core/testimages.h"
#include "tests/support/qtprinters.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

PointEntry Point(const QString& name, const QString& reading, const char* longitude, const char* latitude,
                 const char* mark = "0")
{
    return PointEntry::FromTexts(Cp932::Checked(name), Cp932::Checked(reading), longitude, latitude, "", mark);
}

struct Result {
    int code = -1;
    QString out, err;
};

// tovik-cli as a program of its own, the way a script runs it.
Result RunProcess(const QStringList& arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(TOVIK_CLI), arguments);
    Result r;
    if (!cli.waitForFinished(30000) || cli.exitStatus() != QProcess::NormalExit)
        return r;
    r.code = cli.exitCode();
    r.out = QString::fromUtf8(cli.readAllStandardOutput());
    r.err = QString::fromUtf8(cli.readAllStandardError());
    return r;
}

class SortVerbTest : public ::testing::Test {
protected:
    QString File(const std::string& name) const { return QString::fromStdString(dir.File(name)); }
    std::vector<PointEntry> Permuted(const std::vector<int>& order) const
    {
        std::vector<PointEntry> sorted;
        for (const int row : order)
            sorted.push_back(points[static_cast<std::size_t>(row)]);
        return sorted;
    }

    const std::vector<PointEntry> points = {
        Point("東京タワー", "ﾄｳｷｮｳﾀﾜｰ", "139.44.45.500", "35.39.31", "3"),   // 0
        Point("札幌時計台", "ｻｯﾎﾟﾛﾄｹｲﾀﾞｲ", "141.21.12", "43.03.47", "12"),  // 1
        Point("金閣寺", "ｷﾝｶｸｼﾞ", "135.43.45", "35.02.22", "1"),            // 2
        Point("道の駅 富士吉田", "ﾐﾁﾉｴｷﾌｼﾞﾖｼﾀﾞ", "138.47.14.500", "35.28.07", "7"),  // 3
        Point("駐車場", "", "139.44.45.500", "35.39.32"),                    // 4: 31 m from 0
        Point("スーパー", "ｽｰﾊﾟｰ", "130.00.00", "31.00.00"),                 // 5
        Point("スイカ畑", "ｽｲｶﾊﾞﾀｹ", "140.00.00", "36.00.00"),               // 6
    };
    test::TempDir dir;
};

TEST_F(SortVerbTest, WritesTheSamePointsInTheNewOrderWithAFreshCheckValue)
{
    struct Case {
        QStringList options;
        std::vector<int> order;
    };
    const std::vector<Case> cases = {
        // ｽｲｶ before ｽｰﾊﾟｰ (ｰ is the vowel ウ); no reading last.
        {{"--by", "reading"}, {2, 1, 6, 5, 0, 3, 4}},
        {{"--by", "mark"}, {6, 5, 4, 2, 0, 3, 1}},
        // Kana before kanji, kanji in the order of their readings (キン, サツ, チュウ, トウ, ドウ).
        {{"--by", "name"}, {6, 5, 2, 1, 4, 0, 3}},
        {{"--by", "distance", "--from", "1"}, {0, 4, 6, 3, 2, 1, 5}},
        {{"--by=distance", "--from=4", "--device-datum", "wgs84"}, {3, 0, 4, 6, 2, 1, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        ASSERT_TRUE(test::SavePoints(dir.File("p.mem"), points));
        const Result r = RunProcess(QStringList{"sort", File("p.mem")} + c.options);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out + r.err, QString());
        ASSERT_TRUE(test::SavePoints(dir.File("want.mem"), Permuted(c.order)));
        EXPECT_EQ(test::ReadBytes(dir.File("p.mem")), test::ReadBytes(dir.File("want.mem")));
        PointBook book;
        EXPECT_EQ(book.Load(dir.File("p.mem")), Loaded::decoded);
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"p.mem", "want.mem"}));
}

TEST_F(SortVerbTest, WrongCommandLinesAndFilesChangeNothing)
{
    ASSERT_TRUE(test::SavePoints(dir.File("p.mem"), points));
    const Bytes before = test::ReadBytes(dir.File("p.mem"));
    struct Case {
        QStringList arguments;
        int code;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"sort", File("p.mem")}, 2, "sort needs --by"},
        {{"sort", File("p.mem"), "--by", "size"}, 2, "--by must be reading, name, mark or distance, not size"},
        {{"sort", File("p.mem"), "--by", "distance"}, 2, "--by distance needs --from N"},
        {{"sort", File("p.mem"), "--by", "name", "--from", "2"}, 2, "--from goes with --by distance only"},
        {{"sort", File("p.mem"), "--by", "distance", "--from", "0"}, 2, "--from must be a point number"},
        {{"sort", File("p.mem"), "--by", "distance", "--from", "2", "--device-datum", "jgd"}, 2, "--device-datum"},
        {{"sort", "--by", "name"}, 2, "sort needs one FILE"},
        {{"sort", File("p.mem"), "--by", "distance", "--from", "8"}, 1, "has 7 points; there is no point 8"},
        {{"sort", File("missing.mem"), "--by", "name"}, 1, "ファイルが見つかりませんでした。"},
        {{"duplicates", File("p.mem"), "--within", "-1"}, 2, "--within must be a number of metres"},
        {{"duplicates", File("p.mem"), "--within", "near"}, 2, "--within must be a number of metres"},
        {{"duplicates"}, 2, "duplicates needs one FILE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Result r = RunProcess(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        EXPECT_EQ(r.out, QString());
    }
    EXPECT_EQ(test::ReadBytes(dir.File("p.mem")), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.mem"});
}

TEST_F(SortVerbTest, AnAddDuringTheSortWaitsAndLosesNothing)
{
    const std::string path = dir.File("shared.mem");
    ASSERT_TRUE(test::SavePoints(path, points));
    pid_t rival = -1;
    QString out, err;
    QTextStream o(&out), e(&err);
    TovikCli cli(o, e);
    cli.SetPauseBeforeSave([&] {
        rival = test::StartCli({"add", path, "--name", "rival", "--reading", "ｱ"});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    EXPECT_EQ(cli.Run({"sort", File("shared.mem"), "--by", "reading"}), 0) << err.toStdString();
    EXPECT_EQ(test::ExitCodeOf(rival), 0);
    std::vector<PointEntry> want = Permuted({2, 1, 6, 5, 0, 3, 4});
    want.push_back(PointEntry::FromTexts("rival", Cp932::Checked("ｱ"), "", "", "", "0"));
    ASSERT_TRUE(test::SavePoints(dir.File("want.mem"), want));
    EXPECT_EQ(test::ReadBytes(path), test::ReadBytes(dir.File("want.mem")));
}

// Points seconds of latitude apart on a meridian and one name twice 10' apart. The reference
// lengths are meridian arcs on WGS 84 (the integral of the meridian's radius of curvature
// a(1 - e^2) / (1 - e^2 sin^2 lat)^(3/2)): 30.8168 m for 35°00'00" to 35°00'01", 18490.86 m
// for 35°10' to 35°20', 36981.21 m for 35°00' to 35°20'.
TEST_F(SortVerbTest, DuplicatesAtKnownDistancesAndByName)
{
    ASSERT_TRUE(test::SavePoints(dir.File("d.mem"), {
        Point("北口", "", "139.00.00", "35.00.00"),          // 1
        Point("南口", "", "139.00.00", "35.00.01"),          // 2: 30.82 m from 1
        Point("西口", "", "139.00.00", "35.00.02.500"),      // 3: 46.23 m from 2, 77.04 m from 1
        Point("東京タワー", "", "139.00.00", "35.10.00"),    // 4
        Point("空き地", "", "139.00.00", "35.05.00"),        // 5
        Point("東京ﾀﾜｰ", "", "139.00.00", "35.20.00"),       // 6: 4's name, 18490 m away
    }));
    const QString file = File("d.mem");
    Result r = RunProcess({"duplicates", file, "--device-datum", "wgs84"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n');
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_EQ(lines[0], QString("1, 2, 3 (77.0 m): 北口 / 南口 / 西口"));
    EXPECT_EQ(lines[1], QString("4, 6 (18490.9 m): 東京タワー / 東京ﾀﾜｰ"));
    EXPECT_EQ(lines[2], QString());

    struct Case {
        QStringList options;
        std::vector<std::pair<QList<int>, double>> groups;
        double tolerance = 0.06;  // the printed decimetre
    };
    const std::vector<Case> cases = {
        {{"--device-datum", "wgs84"}, {{{1, 2, 3}, 77.0421}, {{4, 6}, 18490.86}}},
        {{"--within", "40", "--device-datum", "wgs84"}, {{{1, 2}, 30.8168}, {{4, 6}, 18490.86}}},
        // The Tokyo datum's shift hardly changes over 10', so the groups stay.
        {{"--within=40"}, {{{1, 2}, 30.8168}, {{4, 6}, 18490.86}}, 3},
        {{"--within", "0.5e5", "--device-datum", "wgs84"}, {{{1, 2, 3, 4, 5, 6}, 36981.21}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        r = RunProcess(QStringList{"duplicates", "--json", file} + c.options);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const QJsonArray groups = QJsonDocument::fromJson(r.out.toUtf8()).array();
        ASSERT_EQ(groups.size(), static_cast<qsizetype>(c.groups.size())) << r.out.toStdString();
        for (qsizetype g = 0; g < groups.size(); ++g) {
            const QJsonObject group = groups[g].toObject();
            QList<int> rows;
            for (const QJsonValue v : group["points"].toArray())
                rows << v.toInt();
            EXPECT_EQ(rows, c.groups[static_cast<std::size_t>(g)].first);
            EXPECT_NEAR(group["metres"].toDouble(), c.groups[static_cast<std::size_t>(g)].second, c.tolerance);
        }
    }

    ASSERT_TRUE(test::SavePoints(dir.File("none.mem"), {points[0], points[1]}));
    r = RunProcess({"duplicates", File("none.mem")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QString());
    r = RunProcess({"duplicates", "--json", File("none.mem")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QString("[]\n"));
}

}  // namespace
}  // namespace tovik
