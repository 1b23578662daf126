// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <QRegularExpression>
#include <QStringEncoder>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include "platform/cp932.h"
#include "tests/interop/coordinateforms.h"
#include "tests/interop/devicebook.h"
#include "interop/gpxformat.h"
#include "core/pointbook.h"
#include "interop/kmzarchive.h"
#include "interop/pointexchange.h"
#include "tests/support/qtprinters.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Format = ExchangeFormat::Format;

// The bytes a book of these entries saves as.
std::vector<std::uint8_t> MemBytes(const std::vector<PointEntry>& entries, const test::TempDir& dir)
{
    EXPECT_TRUE(test::SavePoints(dir.File("book.mem"), entries));
    return test::ReadBytes(dir.File("book.mem"));
}

// The entries as a saved and loaded book gives them back.
std::vector<PointEntry> Loaded(const std::vector<PointEntry>& entries, const test::TempDir& dir)
{
    MemBytes(entries, dir);
    PointBook book;
    EXPECT_EQ(book.Load(dir.File("book.mem")), Loaded::decoded);
    std::vector<PointEntry> loaded;
    for (int i = 0; i < book.GetCount(); ++i)
        loaded.push_back(book.Entry(i));
    return loaded;
}

QByteArray Exported(const std::vector<PointEntry>& entries, Format format, DeviceDatum datum,
                    CsvFormat::Encoding encoding = CsvFormat::Encoding::utf8)
{
    PointExchange::ExportOptions options;
    options.format = format;
    options.encoding = encoding;
    options.title = QStringLiteral("points");
    options.icons = [](int mark) { return QByteArray("PNG of mark ") + QByteArray::number(mark); };
    const Result<QByteArray, QString> bytes = PointExchange::Export(entries, ExchangeConverter(datum), options);
    EXPECT_TRUE(bytes) << bytes.Error().toStdString();
    return bytes ? bytes.Value() : QByteArray();
}

PointExchange::Imported Imported(const QByteArray& bytes, Format format, DeviceDatum datum = DeviceDatum::tokyo,
                                 int defaultMark = 0)
{
    return PointExchange::ImportBytes(bytes, format, ExchangeConverter(datum, defaultMark));
}

// A ZIP archive of one entry holding `chunk` `times` over.
QByteArray Zip(const QString& entry, const QByteArray& chunk, int times)
{
    QByteArray archive;
    QBuffer buffer(&archive);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    QuaZipFile f(&zip);
    f.open(QIODevice::WriteOnly, QuaZipNewInfo(entry));
    for (int i = 0; i < times; ++i)
        f.write(chunk);
    f.close();
    zip.close();
    return archive;
}

// A KMZ whose doc.kml is stored unpacked and then altered in the archive: its point's name
// changed after the CRC-32 was taken, or the entry marked encrypted (bit 0 of the flags in
// the local and the central header).
QByteArray AlteredKmz(bool markEncrypted)
{
    QByteArray archive;
    QBuffer buffer(&archive);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    QuaZipFile f(&zip);
    f.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("doc.kml")), nullptr, 0, 0);
    f.write("<kml><Placemark><name>Tokyo</name><Point><coordinates>139.7,35.6</coordinates></Point></Placemark></kml>");
    f.close();
    zip.close();
    if (!markEncrypted)
        return archive.replace("Tokyo", "Tokyp");
    archive[6] = static_cast<char>(archive[6] | 1);
    const qsizetype central = archive.indexOf("PK\x01\x02");
    archive[central + 8] = static_cast<char>(archive[central + 8] | 1);
    return archive;
}

TEST(PointExchangeTest, MemThroughEveryFormatAndBackIsByteIdentical)
{
    test::TempDir dir;
    const std::vector<PointEntry> points = Loaded(test::EveryFieldPoints(), dir);
    const std::vector<std::uint8_t> original = MemBytes(points, dir);
    struct Case {
        Format format;
        CsvFormat::Encoding encoding;
    };
    for (const DeviceDatum datum : {DeviceDatum::tokyo, DeviceDatum::wgs84}) {
        for (const Case c : {Case{Format::gpx, {}}, Case{Format::kml, {}}, Case{Format::kmz, {}},
                             Case{Format::csv, CsvFormat::Encoding::utf8}, Case{Format::csv, CsvFormat::Encoding::cp932},
                             Case{Format::geojson, {}}}) {
            SCOPED_TRACE(ExchangeFormat::Name(c.format).toStdString() + " " + DatumConverter::Name(datum) +
                         (c.encoding == CsvFormat::Encoding::cp932 ? " cp932" : ""));
            const PointExchange::Imported back = Imported(Exported(points, c.format, datum, c.encoding), c.format, datum);
            EXPECT_EQ(back.error, QString());
            EXPECT_EQ(back.warnings.Lines(), QStringList());
            EXPECT_EQ(MemBytes(back.entries, dir), original);
        }
    }
}

TEST(PointExchangeTest, ExchangeFilesAreWgs84AndReadableWithoutTovik)
{
    const PointEntry tower = test::TokyoTower();
    const QString gpx = QString::fromUtf8(Exported({tower}, Format::gpx, DeviceDatum::tokyo));
    // 139°44'45.5" E 35°39'31" N in the Tokyo datum lies about 450 m north-west in WGS 84.
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("lat=\"(35\\.\\d{9})\" lon=\"(139\\.\\d{9})\"")).match(gpx);
    ASSERT_TRUE(m.hasMatch()) << gpx.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 35.661852, 0.000002);
    EXPECT_NEAR(m.captured(2).toDouble(), 139.742741, 0.000002);
    EXPECT_TRUE(gpx.contains(QStringLiteral("<name>東京タワー</name>")));
    EXPECT_TRUE(gpx.contains(QStringLiteral("<cmt>ﾄｳｷｮｳﾀﾜｰ</cmt>")));
    EXPECT_TRUE(gpx.contains(QStringLiteral("<sym>mark03</sym>")));
    EXPECT_TRUE(gpx.contains(QStringLiteral("<tovik:telephone>0312345678</tovik:telephone>")));

    // A device in WGS 84: the stored position is written as it is, 139°44'45.5" and 35°39'31".
    const QString plain = QString::fromUtf8(Exported({tower}, Format::gpx, DeviceDatum::wgs84));
    EXPECT_TRUE(plain.contains(QStringLiteral("lat=\"35.658611111\" lon=\"139.745972222\""))) << plain.toStdString();
    const QString kml = QString::fromUtf8(Exported({tower}, Format::kml, DeviceDatum::wgs84));
    EXPECT_TRUE(kml.contains(QStringLiteral("<coordinates>139.745972222,35.658611111</coordinates>")));
    const QString json = QString::fromUtf8(Exported({tower}, Format::geojson, DeviceDatum::wgs84));
    EXPECT_TRUE(json.contains(QStringLiteral("[139.745972222, 35.658611111]")));
    const QByteArray csv = Exported({tower}, Format::csv, DeviceDatum::wgs84);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFname,latitude,longitude,reading,phone,mark,distance,category,datum,"
                               "storedNorth,storedNorthFraction,storedEast,storedEastFraction\r\n"));
    EXPECT_TRUE(QString::fromUtf8(csv).contains(QStringLiteral("\r\n東京タワー,35.658611111,139.745972222,ﾄｳｷｮｳﾀﾜｰ,0312345678,3,")));
    const QByteArray cp932 = Exported({tower}, Format::csv, DeviceDatum::wgs84, CsvFormat::Encoding::cp932);
    EXPECT_TRUE(cp932.contains("\r\n\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B,35.658611111"));
}

TEST(PointExchangeTest, KmzCarriesTheDocumentAndTheIconsOfTheMarksUsed)
{
    PointEntry other = test::TokyoTower();
    other.mark = 17;
    QByteArray kmz = Exported({test::TokyoTower(), other, test::TokyoTower()}, Format::kmz, DeviceDatum::tokyo);
    QBuffer buffer(&kmz);
    QuaZip zip(&buffer);
    ASSERT_TRUE(zip.open(QuaZip::mdUnzip));
    EXPECT_EQ(zip.getFileNameList(),
              (QStringList{"doc.kml", "files/mark03.png", "files/mark17.png"}));
    ASSERT_TRUE(zip.setCurrentFile(QStringLiteral("doc.kml")));
    QuaZipFile doc(&zip);
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString kml = QString::fromUtf8(doc.readAll());
    EXPECT_TRUE(kml.contains(QStringLiteral("<Style id=\"mark17\">")));
    EXPECT_TRUE(kml.contains(QStringLiteral("<href>files/mark17.png</href>")));
    EXPECT_EQ(kml.count(QStringLiteral("<styleUrl>#mark03</styleUrl>")), 2);

    // A document larger than one read of the archive comes out whole.
    QByteArray large = Exported({test::TokyoTower(), other}, Format::kml, DeviceDatum::tokyo);
    large.insert(large.indexOf("<kml"), "<!--" + QByteArray(300 * 1024, 'x') + "-->\n");
    const PointExchange::Imported fromKmz = Imported(KmzArchive::Write(large, {}).Value(), Format::kmz);
    EXPECT_EQ(fromKmz.error, QString());
    EXPECT_EQ(fromKmz.entries, Imported(large, Format::kml).entries);
    EXPECT_EQ(fromKmz.entries.size(), 2u);
}

TEST(PointExchangeTest, ForeignPointsAreFittedToTheDeviceAndNamedInWarnings)
{
    const QByteArray gpx = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="elsewhere" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lat="35.681236" lon="139.767125"><name>東京駅丸の内駅舎と赤レンガ</name><sym>Mark 5</sym></wpt>
  <wpt lat="35.0" lon="135.0"><name>Café ☕ 🍰</name><sym>Flag, Blue</sym></wpt>
  <wpt lat="-33.8568" lon="151.2153"><name>Sydney Opera House</name></wpt>
  <wpt lat="51.4779" lon="-0.0015"><name>Greenwich</name></wpt>
  <wpt lat="43.0" lon="141.0"><name>
      Sapporo
  </name></wpt>
  <wpt lat="34.0" lon="133.0"><name></name></wpt>
  <wpt lat="34.5" lon="133.5"><name>1〜2丁目−5</name></wpt>
</gpx>)";
    const PointExchange::Imported imported = Imported(gpx, Format::gpx, DeviceDatum::tokyo, 7);
    ASSERT_EQ(imported.error, QString());
    ASSERT_EQ(imported.entries.size(), 5u);
    // Cut at a character boundary to 16 bytes; a symbol naming a mark gives it, with the
    // distance and category that go with it.
    EXPECT_EQ(Cp932::Decode(imported.entries[0].name), QStringLiteral("東京駅丸の内駅舎"));
    EXPECT_EQ(imported.entries[0].mark, 5);
    EXPECT_EQ(imported.entries[0].distance, 4);
    EXPECT_EQ(imported.entries[0].category, 5);
    // Characters CP932 cannot hold become "？"; other symbols give the default mark.
    EXPECT_EQ(Cp932::Decode(imported.entries[1].name), QStringLiteral("Caf？ ？ ？"));
    EXPECT_EQ(imported.entries[1].mark, 7);
    EXPECT_EQ(imported.entries[1].distance, 0);
    EXPECT_EQ(Cp932::Decode(imported.entries[2].name), QStringLiteral("Sapporo"));
    EXPECT_EQ(imported.entries[3].name, "");
    // What input methods type for 〜 and − are stored as the device's own characters,
    // without a warning.
    EXPECT_EQ(imported.entries[4].name, "1\x81\x60" "2\x92\x9A\x96\xDA\x81\x7C" "5");
    // Tokyo datum: WGS 84 35.681236 N comes back as 35°40'41.3" or so, a few seconds south-east.
    EXPECT_NEAR(DatumConverter::Degrees(imported.entries[0].latitude, imported.entries[0].latitudeFraction),
                35.681236 - 0.0032, 0.0003);
    // A changed name with the name stored; the file's coordinates as it writes them.
    EXPECT_EQ(imported.warnings.Lines(),
              (QStringList{
                  QStringLiteral("「東京駅丸の内駅舎と赤レンガ」→「東京駅丸の内駅舎」 の地点名称を本体に保存できる形に変えました。"),
                  QStringLiteral("「Café ☕ 🍰」→「Caf？ ？ ？」 の地点名称を本体に保存できる形に変えました。"),
                  QStringLiteral("「Sydney Opera House」 は東経・北緯の範囲にないため取りこみませんでした（緯度 -33.8568、経度 151.2153）。"),
                  QStringLiteral("「Greenwich」 は東経・北緯の範囲にないため取りこみませんでした（緯度 51.4779、経度 -0.0015）。"),
                  QStringLiteral("「↵Sapporo↵」→「Sapporo」 の地点名称を本体に保存できる形に変えました。"),
              }));
}

TEST(PointExchangeTest, StoredFieldsCountOnlyWhileTheyStillDescribeThePoint)
{
    // 0xFA4A is the IBM code of Ⅰ, which CP932 writes as the NEC code 0x8754.
    const QByteArray json = R"({"type":"FeatureCollection","features":[
      {"type":"Feature","geometry":{"type":"Point","coordinates":[139.500277778,35.5]},
       "properties":{"name":"Ⅰ","nameBytes":"FA4A","deviceLatitude":511200,"deviceLatitudeFraction":0,
                     "deviceLongitude":2008800,"deviceLongitudeFraction":250,"datum":"wgs84"}},
      {"type":"Feature","geometry":{"type":"Point","coordinates":[139.501,35.5]},
       "properties":{"name":"Ⅱ","nameBytes":"FA4A","deviceLatitude":511200,"deviceLatitudeFraction":0,
                     "deviceLongitude":2008800,"deviceLongitudeFraction":1}},
      {"type":"Feature","geometry":{"type":"Point","coordinates":[139.5,35.5]},
       "properties":{"name":"z","reading":"a�b","readingBytes":"610062"}}]})";
    const PointExchange::Imported imported = Imported(json, Format::geojson, DeviceDatum::wgs84);
    ASSERT_EQ(imported.entries.size(), 3u);
    // Unchanged: the stored bytes, and 139°30' with a fraction of 250/250 s where the
    // position alone gives 139°30'01".
    EXPECT_EQ(imported.entries[0].name, "\xFA\x4A");
    EXPECT_EQ(imported.entries[0].longitude, 2008800);
    EXPECT_EQ(imported.entries[0].longitudeFraction, 250);
    // Renamed and moved in another program: the new text and position.
    EXPECT_EQ(imported.entries[1].name, "\x87\x55");
    EXPECT_EQ(FormatCoordinate(imported.entries[1].longitude, imported.entries[1].longitudeFraction),
              "139.30.03.600");
    // The device ends a text at a zero byte; such stored bytes are no text of its own.
    EXPECT_EQ(Cp932::Decode(imported.entries[2].reading), QStringLiteral("a？b"));
    EXPECT_EQ(imported.warnings.Lines(), QStringList{QStringLiteral("「z」 のフリガナを本体に保存できる形に変えました。")});
}

TEST(PointExchangeTest, CsvColumnsAreFoundByEnglishOrJapaneseHeaders)
{
    // CP932 without a byte-order mark, Japanese headers in another order, degrees,
    // minutes, seconds and milliseconds, a quoted field with a comma and a line break.
    const std::string cp932 = *Cp932::Encode(QStringLiteral(
        "電話,経度,メモ,名称,緯度,フリガナ,マーク\r\n"
        "03-3433-5111,139.44.57.123,x,東京タワー,35.39.42.500,ﾄｳｷｮｳﾀﾜｰ,3\r\n"
        "090-1234-5678-9,135.0,y,\"京都,\r\n駅\",35.0,,\r\n"));
    const PointExchange::Imported a =
        Imported(QByteArray::fromStdString(cp932), Format::csv, DeviceDatum::wgs84);
    ASSERT_EQ(a.error, QString());
    ASSERT_EQ(a.entries.size(), 2u);
    EXPECT_EQ(Cp932::Decode(a.entries[0].name), QStringLiteral("東京タワー"));
    EXPECT_EQ(Cp932::Decode(a.entries[0].reading), QStringLiteral("ﾄｳｷｮｳﾀﾜｰ"));
    EXPECT_EQ(FormatCoordinate(a.entries[0].longitude, a.entries[0].longitudeFraction), "139.44.57.124");
    EXPECT_EQ(FormatCoordinate(a.entries[0].latitude, a.entries[0].latitudeFraction), " 35.39.42.500");
    EXPECT_EQ(FormatTelephone(a.entries[0].telephone), "0334335111");
    EXPECT_EQ(a.entries[0].mark, 3);
    EXPECT_EQ(Cp932::Decode(a.entries[1].name), QStringLiteral("京都, 駅"));
    EXPECT_EQ(FormatTelephone(a.entries[1].telephone), "0901234567");
    EXPECT_EQ(a.warnings.Lines(), (QStringList{QStringLiteral("「京都,↵駅」→「京都, 駅」 の地点名称・電話番号を本体に保存できる形に変えました。")}));

    // UTF-8 with and without the byte-order mark, English headers in any case.
    for (const QByteArray& bom : {QByteArray("\xEF\xBB\xBF"), QByteArray()}) {
        const PointExchange::Imported b = Imported(
            bom + "Name,Lat,Lon,Phone,Symbol\n\xE5\xAF\x8C\xE5\xA3\xAB,35.3606,138.7274,,mark12\n", Format::csv);
        ASSERT_EQ(b.entries.size(), 1u);
        EXPECT_EQ(Cp932::Decode(b.entries[0].name), QStringLiteral("富士"));
        EXPECT_EQ(b.entries[0].mark, 12);
    }
}

TEST(PointExchangeTest, CsvCoordinatesAreReadAsTheirFormMeansOrRefusedNamingTheRow)
{
    const std::vector<test::CoordinateForm>& forms = test::CoordinateForms();
    QByteArray csv = "name,latitude,longitude\r\n";
    for (std::size_t i = 0; i < forms.size(); ++i)
        csv += "r" + QByteArray::number(i) + ",\"" + QByteArray(forms[i].text).replace("\"", "\"\"") + "\",139.5\r\n";
    const ReadResult read = CsvFormat::Read(csv);
    std::size_t next = 0;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        SCOPED_TRACE(forms[i].text);
        const QString name = QStringLiteral("r%1").arg(i);
        const QStringList warnings = read.warnings.Lines().filter(QStringLiteral("%1 行目「%2」は").arg(i + 2).arg(name));
        if (forms[i].degrees) {
            ASSERT_LT(next, read.points.size());
            EXPECT_EQ(read.points[next].name, name);
            EXPECT_NEAR(read.points[next++].latitude, *forms[i].degrees, 1e-12);
            EXPECT_EQ(warnings, QStringList());
        } else {
            ASSERT_EQ(warnings.size(), 1);
            EXPECT_EQ(warnings[0].contains(QStringLiteral("読み方が一つに決まらない")), forms[i].ambiguous);
        }
    }
    EXPECT_EQ(next, read.points.size());
}

TEST(PointExchangeTest, BadFilesGiveAClearMessageAndNoPoints)
{
    struct Bad {
        const char* what;
        QByteArray bytes;
        Format format;
        const char* message;
    };
    const QByteArray noKml = Zip(QStringLiteral("readme.txt"), "no document here", 1);
    // 65 MiB of blanks packs into a few dozen kilobytes.
    const QByteArray huge = Zip(QStringLiteral("doc.kml"), QByteArray(1024 * 1024, ' '), 65);
    const QList<Bad> bad{
        {"malformed GPX", "<gpx><wpt lat=\"35\" lon=\"139\"><name>a</wpt></gpx>", Format::gpx, "XML として読めません"},
        {"malformed KML", "<kml><Placemark><Point><coordinates>1,2</coordinates></Point>", Format::kml,
         "XML として読めません"},
        {"KMZ without KML", noKml, Format::kmz, "KMZ の中に KML ファイルがありません。"},
        {"KMZ with a huge entry", huge, Format::kmz, "KMZ の中の doc.kml が大きすぎます（64 MiB まで）。"},
        {"KMZ with a wrong CRC-32", AlteredKmz(false), Format::kmz,
         "KMZ ファイルが壊れています（doc.kml の CRC-32 が合わないか、展開できません）。"},
        {"KMZ with an encrypted document", AlteredKmz(true), Format::kmz,
         "KMZ の中の doc.kml は暗号化されているため読めません。"},
        {"CSV without coordinates", "name,phone\na,123\n", Format::csv,
         "CSV の見出し行に緯度（latitude）と経度（longitude）の列がありません。"},
        {"GeoJSON of lines only",
         R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},
             "geometry":{"type":"LineString","coordinates":[[139,35],[140,36]]}}]})",
         Format::geojson, "GeoJSON ファイルに地点（Point の feature）がありません。"},
        {"GeoJSON named .gpx", R"({"type":"FeatureCollection","features":[]})", Format::gpx,
         "GPX ファイルではありません（中身は JSON のようです）。"},
        {"GPX named .kml", "<?xml version=\"1.0\"?><gpx version=\"1.1\"></gpx>", Format::kml,
         "KML ファイルではありません（中身は GPX のようです）。"},
        {"GPX named .kmz", "<?xml version=\"1.0\"?><gpx version=\"1.1\"></gpx>", Format::kmz,
         "KMZ ファイルではありません（中身は GPX のようです）。"},
        {"KMZ named .csv", noKml, Format::csv, "CSV ファイルではありません（中身は ZIP のようです）。"},
        {"CSV named .geojson", "name,lat,lon\na,35,139\n", Format::geojson,
         "GeoJSON ファイルではありません（中身は テキスト のようです）。"},
        {"GPX without waypoints", "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"35\" lon=\"139\"/></trkseg></trk></gpx>",
         Format::gpx, "GPX ファイルに地点（wpt）がありません。"},
    };
    for (const Bad& b : bad) {
        const PointExchange::Imported imported = Imported(b.bytes, b.format);
        EXPECT_TRUE(imported.error.startsWith(QString::fromUtf8(b.message))) << b.what << ": " << imported.error.toStdString();
        EXPECT_TRUE(imported.entries.empty()) << b.what;
    }
}

TEST(PointExchangeTest, WarningsAreCappedAndTextsFromTheFileQuotedShort)
{
    // 1,500 names too long for the device: the first 1,000 warnings, then a count, which
    // the editor's box shortens further.
    QByteArray gpx = "<gpx>";
    for (int i = 0; i < 1500; ++i)
        gpx += "<wpt lat=\"35\" lon=\"139\"><name>" + QByteArray::number(i).rightJustified(20, 'n') + "</name></wpt>";
    const PointExchange::Imported many = Imported(gpx + "</gpx>", Format::gpx);
    ASSERT_EQ(many.entries.size(), 1500u);
    EXPECT_EQ(many.warnings.Count(), 1500);
    const QStringList lines = many.warnings.Lines();
    ASSERT_EQ(lines.size(), 1001);
    EXPECT_EQ(lines[999], QStringLiteral("「nnnnnnnnnnnnnnnnn999」→「nnnnnnnnnnnnnnnn」 の地点名称を本体に保存できる形に変えました。"));
    EXPECT_EQ(lines[1000], QStringLiteral("ほか 500 件"));
    EXPECT_EQ(many.warnings.Lines(20).last(), QStringLiteral("ほか 1480 件"));

    // Line breaks, tabs and terminal escapes never reach a message; 40 characters do.
    const PointExchange::Imported odd = Imported(
        "name,lat,lon\n\"a\r\n\tb\tc\x1B[2Jd" + QByteArray(50, 'x') + "\",-35,139\n", Format::csv);
    EXPECT_EQ(odd.warnings.Lines(), QStringList{QStringLiteral("「a↵b c\uFFFD[2Jd") + QString(30, u'x') +
                                                QStringLiteral("…」 は東経・北緯の範囲にないため取りこみませんでした（緯度 -35、経度 139）。")});
}

TEST(PointExchangeTest, DocumentsAreReadOrRefusedWhateverTheirEncodingAndDeclarations)
{
    const QByteArray wpt = "<wpt lat=\"35\" lon=\"139\"><name>p</name></wpt>";
    const auto utf16 = [](const char* text, QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder.encode(QString::fromUtf8(text)));
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        Format format;
        const char* error;  // the start of it; empty when the point is read
    };
    const QList<Case> cases{
        {"a DTD that declares nothing", "<!DOCTYPE gpx><gpx>" + wpt + "</gpx>", Format::gpx, ""},
        {"a comment after the root", "<gpx>" + wpt + "</gpx>\n<!-- end -->\n", Format::gpx, ""},
        {"an external DTD", "<!DOCTYPE gpx SYSTEM \"gpx.dtd\"><gpx>" + wpt + "</gpx>", Format::gpx, "DTD で実体"},
        {"text after the root", "<gpx>" + wpt + "</gpx>x", Format::gpx, "XML として読めません（1 行 56 桁: Extra content"},
        {"CP932 bytes declared UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><gpx><wpt lat=\"35\" lon=\"139\"><name>\x93\x8C",
         Format::gpx, "XML として読めません（1 行 38 桁: UTF-8 として読めない文字があります）。"},
        {"UTF-16 CSV", utf16("名称,緯度,経度\r\n東京,35.6,139.7\r\n", QStringConverter::Utf16LE), Format::csv, ""},
        {"UTF-16 GeoJSON",
         utf16(R"({"type":"Feature","geometry":{"type":"Point","coordinates":[139.7,35.6]},"properties":{"name":"東京"}})",
               QStringConverter::Utf16BE),
         Format::geojson, ""},
        {"JSON cut short", R"({"type":"Feature","geometry":)", Format::geojson, "JSON として読めません（29 バイト目: 値がありません）。"},
    };
    for (const Case& c : cases) {
        const PointExchange::Imported imported = Imported(c.bytes, c.format);
        const QString error = QString::fromUtf8(c.error);
        EXPECT_EQ(imported.error.left(error.size()), error) << c.what;
        EXPECT_EQ(imported.entries.size(), *c.error ? 0u : 1u) << c.what;
    }
}

TEST(PointExchangeTest, TenThousandWaypointsAreAllRead)
{
    std::vector<PointEntry> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back(test::SimplePoint("P" + std::to_string(i), i % 200));
    const PointExchange::Imported imported = Imported(Exported(many, Format::gpx, DeviceDatum::tokyo), Format::gpx);
    ASSERT_EQ(imported.entries.size(), 10000u);
    EXPECT_EQ(imported.entries[9999].name, "P9999");
    EXPECT_EQ(imported.entries[9999], many[9999]);
}

TEST(PointExchangeTest, LargeGpxFilesReadInHalvesGiveWhatTheWholeGives)
{
    // Over a megabyte: waypoints with a long description, and a comment and an
    // extension holding "<wpt" where a split past the middle might fall.
    QByteArray gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                     "xmlns:tovik=\"urn:x-tovik:point:1\">\n";
    const QByteArray padding(400, 'x');
    for (int i = 0; i < 3000; ++i) {
        gpx += "<wpt lat=\"35." + QByteArray::number(i) + "\" lon=\"139.5\"><name>P" + QByteArray::number(i) +
               "</name><desc>" + padding + "</desc><extensions><tovik:point><tovik:mark>" +
               QByteArray::number(i % 26) + "</tovik:mark></tovik:point></extensions></wpt>\n";
    }
    const qsizetype middle = gpx.size() / 2;
    QByteArray inComment = gpx;
    inComment.insert(middle - 10, "<!-- <wpt lat=\"1\" lon=\"2\"></wpt> -->");
    QByteArray nested = gpx;
    nested.insert(gpx.indexOf("<wpt", middle) - 1,
                  "<metadata><wpt lat=\"1\" lon=\"2\"><name>inner</name></wpt></metadata>");
    QByteArray brokenLate = gpx;
    brokenLate.insert(gpx.size() - 100, "<wpt lat=\"1\">");
    // Declared Shift_JIS, holding bytes that would read as UTF-8 too (東 in UTF-8): the
    // whole file is read as Shift_JIS, and so must be the second half.
    QByteArray shiftJis = gpx;
    shiftJis.replace("<?xml version=\"1.0\"?>", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>");
    shiftJis.replace("<name>P", "<name>\xe6\x9d\xb1");
    for (const QByteArray& file :
         {gpx + "</gpx>\n", inComment + "</gpx>\n", nested + "</gpx>\n", brokenLate + "</gpx>\n",
          gpx + "</gpx>\n<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>\n", shiftJis + "</gpx>\n"}) {
        ASSERT_GT(file.size(), GpxFormat::kHalvedSize);
        const ReadResult whole = GpxFormat::ReadWhole(file);
        const ReadResult halves = GpxFormat::Read(file);
        EXPECT_EQ(halves.error, whole.error);
        EXPECT_EQ(halves.warnings.Lines(), whole.warnings.Lines());
        ASSERT_EQ(halves.points.size(), whole.points.size());
        for (std::size_t i = 0; i < whole.points.size(); ++i) {
            EXPECT_EQ(halves.points[i].name, whole.points[i].name);
            EXPECT_EQ(halves.points[i].latitude, whole.points[i].latitude);
            EXPECT_EQ(halves.points[i].device, whole.points[i].device);
        }
    }
    EXPECT_TRUE(GpxFormat::ReadInHalves(gpx + "</gpx>\n"));
    EXPECT_EQ(GpxFormat::Read(gpx + "</gpx>\n").points.size(), 3000u);
    EXPECT_FALSE(GpxFormat::ReadInHalves(nested + "</gpx>\n"));
    EXPECT_FALSE(GpxFormat::ReadInHalves(inComment + "</gpx>\n"));
    EXPECT_FALSE(GpxFormat::ReadInHalves(shiftJis + "</gpx>\n"));
    EXPECT_TRUE(GpxFormat::Read(brokenLate + "</gpx>\n").error.startsWith(QStringLiteral("XML として読めません")));
}

TEST(PointExchangeTest, FormatsByNameAndExtension)
{
    EXPECT_EQ(ExchangeFormat::FromPath(QStringLiteral("/a/b.GPX")), Format::gpx);
    EXPECT_EQ(ExchangeFormat::FromPath(QStringLiteral("b.geojson")), Format::geojson);
    EXPECT_EQ(ExchangeFormat::FromPath(QStringLiteral("b.json")), Format::geojson);
    EXPECT_EQ(ExchangeFormat::FromPath(QStringLiteral("b.Kmz")), Format::kmz);
    EXPECT_FALSE(ExchangeFormat::FromPath(QStringLiteral("b.txt")));
    EXPECT_FALSE(ExchangeFormat::FromPath(QStringLiteral("gpx")));
    EXPECT_EQ(ExchangeConverter::MarkOfSymbol(QStringLiteral("#mark07")), 7);
    EXPECT_EQ(ExchangeConverter::MarkOfSymbol(QStringLiteral("files/mark25.png")), 25);
    EXPECT_FALSE(ExchangeConverter::MarkOfSymbol(QStringLiteral("mark26")));
    EXPECT_FALSE(ExchangeConverter::MarkOfSymbol(QStringLiteral("landmark3")));
}

}  // namespace
}  // namespace tovik
