// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <sys/stat.h>

#include "tests/interop/coordinateforms.h"
#include "tests/interop/devicebook.h"
#include "core/pointbook.h"
#include "interop/pointexchange.h"
#include "tests/support/qtprinters.h"
#include "tests/core/testimages.h"
#include "tests/support/clirun.h"
#include "cli/clitext.h"
#include "core/messagetexts.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ExchangeCliTest : public ::testing::Test {
protected:
    int Run(const QStringList& arguments) { return test::RunCli(arguments, out, err); }
    QString File(const char* name) const { return QString::fromStdString(dir.File(name)); }
    // A .mem file of the given points.
    QString MemFile(const char* name, const std::vector<PointEntry>& entries)
    {
        EXPECT_TRUE(test::SavePoints(dir.File(name), entries));
        return File(name);
    }
    // A GPX file of `count` waypoints around Osaka.
    QString GpxFile(const char* name, int count)
    {
        std::vector<PointEntry> entries;
        for (int i = 0; i < count; ++i)
            entries.push_back(test::SimplePoint("W" + std::to_string(i), i % 100));
        PointExchange::ExportOptions options;
        const QByteArray gpx = PointExchange::Export(entries, ExchangeConverter(DeviceDatum::tokyo), options).Value();
        QFile f(File(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(gpx);
        return File(name);
    }

    test::TempDir dir;
    QString out, err;
};

TEST_F(ExchangeCliTest, ExportAndImportGiveBackTheSameFileInEveryFormat)
{
    const QString mem = MemFile("all.mem", test::EveryFieldPoints());
    const Bytes original = test::ReadBytes(mem.toStdString());
    struct Case {
        const char* file;
        QStringList options;
    };
    for (const Case& c : {Case{"p.gpx", {}}, Case{"p.kml", {}}, Case{"p.kmz", {}}, Case{"p.csv", {}},
                          Case{"p.csv", {"--encoding", "cp932"}}, Case{"p.geojson", {}},
                          Case{"p.json", {"--device-datum", "wgs84"}}, Case{"p.xml", {"--format", "gpx"}}}) {
        SCOPED_TRACE(std::string(c.file) + " " + c.options.join(' ').toStdString());
        ASSERT_EQ(Run(QStringList{"export", mem, File(c.file)} + c.options), 0) << err.toStdString();
        QStringList importOptions{"--force"};
        for (const char* o : {"--device-datum", "--format"}) {
            if (const qsizetype at = c.options.indexOf(o); at >= 0)
                importOptions << o << c.options[at + 1];
        }
        ASSERT_EQ(Run(QStringList{"import", File("back.mem"), File(c.file)} + importOptions), 0) << err.toStdString();
        EXPECT_EQ(err, QString());
        EXPECT_EQ(test::ReadBytes(dir.File("back.mem")), original);
    }
}

TEST_F(ExchangeCliTest, CsvCellsASpreadsheetWouldRunAreTextAndComeBackByteForByte)
{
    std::vector<PointEntry> entries;
    for (const char* name : {"=HYPERLINK(\"x\")", "+1+2", "-1+2", "@SUM(1)", "'=1", "'x", "-5"})
        entries.push_back(test::SimplePoint(name, static_cast<int>(entries.size())));
    entries[0].reading = "=1+1";
    const QString mem = MemFile("formulas.mem", entries);
    ASSERT_EQ(Run({"export", mem, File("f.csv")}), 0) << err.toStdString();
    const Bytes bytes = test::ReadBytes(dir.File("f.csv"));
    const QByteArray csv(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    // A plain number is no formula: it stays a number, as the coordinates do.
    for (const char* row : {"\n\"'=HYPERLINK(\"\"x\"\")\",", "\n'+1+2,", "\n'-1+2,", "\n'@SUM(1),", "\n''=1,", "\n'x,",
                            "\n-5,", ",'=1+1,"})
        EXPECT_TRUE(csv.contains(row)) << row;
    ASSERT_EQ(Run({"import", File("back.mem"), File("f.csv")}), 0) << err.toStdString();
    EXPECT_EQ(err, QString());
    EXPECT_EQ(test::ReadBytes(dir.File("back.mem")), test::ReadBytes(mem.toStdString()));
}

TEST_F(ExchangeCliTest, CsvCoordinatesAreStoredAsTheirFormMeansOrLeftOutNamingTheRow)
{
    const std::vector<test::CoordinateForm>& forms = test::CoordinateForms();
    QByteArray csv = "name,latitude,longitude\n";
    for (std::size_t i = 0; i < forms.size(); ++i)
        csv += "r" + QByteArray::number(i) + ",\"" + QByteArray(forms[i].text).replace("\"", "\"\"") + "\",139.5\n";
    QFile f(File("forms.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(csv);
    f.close();
    ASSERT_EQ(Run({"import", File("forms.mem"), File("forms.csv"), "--device-datum", "wgs84"}), 0) << err.toStdString();
    PointBook book;
    ASSERT_EQ(book.Load(dir.File("forms.mem")), Loaded::decoded);
    int next = 0;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        SCOPED_TRACE(forms[i].text);
        const QString name = QStringLiteral("「r%1」").arg(i);
        if (forms[i].degrees && *forms[i].degrees > 0) {
            ASSERT_LT(next, book.GetCount());
            const PointEntry& e = book.Entry(next++);
            EXPECT_EQ(QString::fromStdString(e.name), name.mid(1, name.size() - 2));
            // Rounded to the device's 1/250 s.
            EXPECT_NEAR(DatumConverter::Degrees(e.latitude, e.latitudeFraction), *forms[i].degrees, 1 / 500.0 / 3600);
            EXPECT_FALSE(err.contains(name)) << err.toStdString();
        } else {
            EXPECT_TRUE(err.contains(name)) << err.toStdString();
        }
    }
    EXPECT_EQ(next, book.GetCount());
}

TEST_F(ExchangeCliTest, PointsOutsideTheTokyoDatumsAreaGoUnshiftedWithAWarningBothWays)
{
    auto at = [](const char* name, int latitudeSeconds, int longitudeSeconds) {
        PointEntry e = test::SimplePoint(name);
        e.latitude = latitudeSeconds * 4, e.longitude = longitudeSeconds * 4;
        e.latitudeFraction = e.longitudeFraction = 0;
        return e;
    };
    // The device's empty 0/0, Shanghai, and a point north of the area that the shift of
    // one just inside it would also reach.
    const QString mem = MemFile("outside.mem", {at("Zero", 0, 0), test::TokyoTower(),
                                                at("Shanghai", 31 * 3600 + 14 * 60, 121 * 3600 + 28 * 60),
                                                at("North", 45 * 3600 + 32 * 60 + 29, 141 * 3600)});
    const Bytes original = test::ReadBytes(mem.toStdString());
    const QString outside = QStringLiteral(" は日本測地系の変換範囲（北緯 20.37〜45.54 度、東経 122.83〜154.05 度）の外にあるため、");
    for (const char* file : {"o.gpx", "o.kml", "o.kmz", "o.csv", "o.geojson"}) {
        SCOPED_TRACE(file);
        ASSERT_EQ(Run({"export", mem, File(file)}), 0) << err.toStdString();
        for (const char* name : {"Zero", "Shanghai", "North"})
            EXPECT_TRUE(err.contains(QStringLiteral("「%1」").arg(name) + outside + "本体の座標のまま書き出しました。"))
                << err.toStdString();
        EXPECT_EQ(err.count(outside), 3);
        ASSERT_EQ(Run({"import", "--force", File("back.mem"), File(file)}), 0) << err.toStdString();
        EXPECT_EQ(err.count(outside + QStringLiteral("位置をずらさずに取りこみました。")), 3) << err.toStdString();
        EXPECT_EQ(test::ReadBytes(dir.File("back.mem")), original);
    }
    QFile gpx(File("o.gpx"));
    ASSERT_TRUE(gpx.open(QIODevice::ReadOnly));
    EXPECT_TRUE(gpx.readAll().contains(R"(<wpt lat="0.000000000" lon="0.000000000">)"));
}

TEST_F(ExchangeCliTest, ImportJoinsFilesAppendsAndKeepsExistingFiles)
{
    const QString a = GpxFile("a.gpx", 3);
    const QString b = GpxFile("b.gpx", 2);
    const QString target = File("t.mem");
    ASSERT_EQ(Run({"import", target, a, b}), 0) << err.toStdString();
    PointBook book;
    ASSERT_EQ(book.Load(target.toStdString()), Loaded::decoded);
    ASSERT_EQ(book.GetCount(), 5);
    EXPECT_EQ(book.GetName(3), "W0");

    // An existing file is kept unless --force or --append.
    const Bytes before = test::ReadBytes(target.toStdString());
    EXPECT_EQ(Run({"import", target, a}), 1);
    EXPECT_TRUE(err.contains("already exists")) << err.toStdString();
    EXPECT_EQ(test::ReadBytes(target.toStdString()), before);
    ASSERT_EQ(Run({"import", "--append", target, b}), 0);
    ASSERT_EQ(book.Load(target.toStdString()), Loaded::decoded);
    EXPECT_EQ(book.GetCount(), 7);
    ASSERT_EQ(Run({"import", "--force", target, b}), 0);
    ASSERT_EQ(book.Load(target.toStdString()), Loaded::decoded);
    EXPECT_EQ(book.GetCount(), 2);
}

TEST_F(ExchangeCliTest, MoreThanAHundredPointsAreRefusedAndTheFileStaysAsItWas)
{
    const QString big = GpxFile("big.gpx", 10000);
    EXPECT_EQ(Run({"import", File("new.mem"), big}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("10000 地点あります。１００地点以上は登録出来ません。"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(File("new.mem")));

    // 60 in the file and 41 more make 101.
    std::vector<PointEntry> sixty;
    for (int i = 0; i < 60; ++i)
        sixty.push_back(test::SimplePoint("S" + std::to_string(i), i));
    const QString target = MemFile("sixty.mem", sixty);
    const Bytes before = test::ReadBytes(target.toStdString());
    EXPECT_EQ(Run({"import", "--append", target, GpxFile("forty-one.gpx", 41)}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("101 地点あります。"))) << err.toStdString();
    EXPECT_EQ(test::ReadBytes(target.toStdString()), before);
    EXPECT_EQ(Run({"import", "--append", target, GpxFile("forty.gpx", 40)}), 0);
}

TEST_F(ExchangeCliTest, WarningsGoToStandardErrorAndMarkGivesTheDefaultMark)
{
    QFile csv(File("places.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("name,lat,lon,symbol\n"
              "\xE5\xA4\xA7\xE9\x98\xAA\xE5\x9F\x8E,34.6873,135.5259,\n"  // 大阪城
              "Lima,-12.0464,-77.0428,\n"
              "Nagoya,35.1815,136.9066,mark09\n");
    csv.close();
    ASSERT_EQ(Run({"import", File("p.mem"), File("places.csv"), "--mark", "4"}), 0);
    EXPECT_EQ(err, File("places.csv").prepend("tovik-cli: ") +
                       QStringLiteral(": 「Lima」 は東経・北緯の範囲にないため取りこみませんでした（緯度 -12.0464、経度 -77.0428）。\n"));
    PointBook book;
    ASSERT_EQ(book.Load(dir.File("p.mem")), Loaded::decoded);
    ASSERT_EQ(book.GetCount(), 2);
    EXPECT_EQ(book.GetMarkText(0), "4");
    EXPECT_EQ(book.GetDistanceText(0), "400");
    EXPECT_EQ(book.GetCategoryText(0), "4");
    EXPECT_EQ(book.GetMarkText(1), "9");
}

TEST_F(ExchangeCliTest, BadInputsAndCommandLinesWriteNothing)
{
    QFile broken(File("broken.kml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<kml><Document><Placemark><name>x</name>");
    broken.close();
    EXPECT_EQ(Run({"import", File("o.mem"), File("broken.kml")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("XML として読めません"))) << err.toStdString();
    EXPECT_EQ(Run({"import", File("o.mem"), File("missing.gpx")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("ファイルが見つかりませんでした。"))) << err.toStdString();
    const QString mem = MemFile("one.mem", {test::TokyoTower()});
    EXPECT_EQ(Run({"import", File("o.mem"), mem, File("points.txt")}), 2);
    EXPECT_EQ(Run({"import", File("o.mem"), mem, "--mark", "26"}), 2);
    EXPECT_EQ(Run({"export", mem, File("o.txt")}), 2);
    EXPECT_EQ(Run({"export", mem, "-"}), 2);
    EXPECT_EQ(Run({"export", mem, File("o.gpx"), "--device-datum", "jgd2011"}), 2);
    EXPECT_EQ(Run({"export", File("missing.mem"), File("o.gpx")}), 1);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"broken.kml", "one.mem"}));
}

TEST_F(ExchangeCliTest, FifosAreRefusedAtOnceAndNamesThatAreNotUtf8AreKept)
{
    const QString mem = MemFile("one.mem", {test::TokyoTower()});
    ASSERT_EQ(::mkfifo(dir.File("pipe.gpx").c_str(), 0600), 0);
    const QString notRegular = QString::fromUtf8(messages::kNotRegularFile);
    EXPECT_EQ(Run({"import", File("o.mem"), File("pipe.gpx")}), 1);
    EXPECT_TRUE(err.contains(notRegular)) << err.toStdString();
    EXPECT_EQ(Run({"export", mem, File("pipe.gpx")}), 1);
    EXPECT_TRUE(err.contains(notRegular)) << err.toStdString();

    // 東京.gpx and 東京.mem in Shift_JIS: exactly these files, never a name with U+FFFD.
    const QString gpx = CliText::FromArgument(dir.File("\x93\x8C\x8B\x9E.gpx"));
    const QString back = CliText::FromArgument(dir.File("\x93\x8C\x8B\x9E.mem"));
    ASSERT_EQ(Run({"export", mem, gpx}), 0) << err.toStdString();
    ASSERT_EQ(Run({"import", back, gpx}), 0) << err.toStdString();
    EXPECT_EQ(test::ReadBytes(dir.File("\x93\x8C\x8B\x9E.mem")), test::ReadBytes(mem.toStdString()));
}

TEST_F(ExchangeCliTest, ExportToStandardOutput)
{
    // The program itself: the bytes on standard output are the file.
    const QString mem = MemFile("one.mem", {test::TokyoTower()});
    QProcess cli;
    cli.start(QStringLiteral(TOVIK_CLI), {"export", mem, "-", "--format", "geojson", "--device-datum", "wgs84"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QByteArray json = cli.readAllStandardOutput();
    EXPECT_TRUE(json.startsWith("{\n  \"type\": \"FeatureCollection\"")) << json.toStdString();
    EXPECT_TRUE(json.contains("[139.745972222, 35.658611111]")) << json.toStdString();
}

}  // namespace
}  // namespace tovik
