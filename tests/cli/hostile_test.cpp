// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QStringEncoder>
#include <string>
#include <utility>
#include <vector>

#include "core/pointbook.h"
#include "interop/kmzarchive.h"
#include "interop/warninglist.h"
#include "tests/cli/cliprocess.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

QByteArray Kmz(const QByteArray& document)
{
    return KmzArchive::Write(document, {}).Value();
}

// The sanitizers' shadow memory and quarantine make the peak of a run no measure of it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

QByteArray Utf16(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

// Files that fight back, imported as a user imports them: each is answered with its
// message, in memory that grows with the points kept (at most 101 here) and the file's
// bytes, never with what its entities expand to or how many rows and points it holds,
// and with messages that stay short whatever the file's texts.
TEST(HostileFilesTest, AreAnsweredInBoundedMemoryWithShortMessages)
{
    test::TempDir dir;
    const QByteArray entity = "<!DOCTYPE gpx [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]>";
    const QByteArray references = QByteArray("&e;").repeated(100000);
    const QByteArray padded = "<wpt lat=\"35.5\" lon=\"139.5\"><name>p</name><desc>" + QByteArray(400, 'x') + "</desc></wpt>\n";
    QByteArray many = "<gpx version=\"1.1\">\n";
    for (int i = 0; i < 200000; ++i)
        many += "<wpt lat=\"35.5\" lon=\"139.5\"><name>P" + QByteArray::number(i) + "</name></wpt>\n";
    const QByteArray brokenFeature = R"({"type":"Feature","geometry":{"type":"Point","coordinates":[]}},)";
    const QString kml = QStringLiteral("<kml><Placemark><name>東京</name><Point><coordinates>139.5,35.5</coordinates>"
                                       "</Point></Placemark></kml>");
    struct Case {
        const char* file;
        QByteArray bytes;
        int exitCode;
        const char* says;  // on standard error
        int points;        // in OUT
        const char* name;  // of the first point, CP932
    };
    std::vector<Case> cases{
        {"entities.gpx", entity + "<gpx><wpt lat=\"35\" lon=\"139\"><name>" + references + "</name></wpt></gpx>", 1,
         "DTD で実体などを宣言した XML は、安全のため読みません", 0, ""},
        {"skipped-entities.gpx", entity + "<gpx><wpt lat=\"35\" lon=\"139\"><desc>" + references + "</desc></wpt></gpx>",
         1, "DTD で実体", 0, ""},
        {"entities.kmz", Kmz(entity + kml.toUtf8().replace("東京", references)), 1, "DTD で実体", 0, ""},
        {"external-entity.gpx",
         "<!DOCTYPE gpx [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><gpx><wpt lat=\"35\" lon=\"139\"><name>&x;</name></wpt></gpx>",
         1, "DTD で実体", 0, ""},
        {"flood.csv", "name,lat,lon\n" + QByteArray("x\n").repeated(4000000), 1,
         "読めない地点が 1000 件を超えたため、ファイルを読むのをやめました。", 0, ""},
        {"flood.geojson", R"({"type":"FeatureCollection","features":[)" + brokenFeature.repeated(100000) + "{}]}", 1,
         "読めない地点が 1000 件を超えたため", 0, ""},
        {"long-name.gpx", "<gpx><wpt lat=\"35\" lon=\"139\"><name>" + QByteArray(5000000, 'n') + "</name></wpt></gpx>", 0,
         "「nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn…」→「nnnnnnnnnnnnnnnn」 の地点名称を", 1, "nnnnnnnnnnnnnnnn"},
        // Over the size read in two halves: the second root is refused as in a small file.
        {"after-root.gpx", "<gpx>" + padded.repeated(2500) + "</gpx><gpx>" + padded + "</gpx>", 1,
         "Extra content at end of document", 0, ""},
        {"many.gpx", many + "</gpx>\n", 1, "200000 地点あります。１００地点以上は登録出来ません。", 0, ""},
        {"utf-16le.kml", Utf16(kml, QStringConverter::Utf16LE), 0, "", 1, "\x93\x8C\x8B\x9E"},
        {"utf-16be.gpx",
         Utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx><wpt lat=\"35\" lon=\"139\"><name>東京</name></wpt></gpx>"),
               QStringConverter::Utf16BE),
         0, "", 1, "\x93\x8C\x8B\x9E"},
        {"cp932-after-mark.csv", "\xEF\xBB\xBFname,lat,lon\n\x93\x8C\x8B\x9E,35.6,139.7\n", 0,
         "先頭に UTF-8 の印（BOM）がありますが、UTF-8 として読めないバイトがあります。", 1, ""},
        {"huge-number.gpx", "<gpx><wpt lat=\"1e308\" lon=\"139\"><name>far</name></wpt><wpt lat=\"35\" lon=\"139\"/></gpx>", 0,
         "「far」 は東経・北緯の範囲にないため取りこみませんでした（緯度 1e308、経度 139）。", 1, ""},
    };

    // Written first and let go of, so that the children are not charged them.
    std::vector<qsizetype> sizes;
    for (Case& c : cases) {
        QFile f(QString::fromStdString(dir.File(c.file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(c.bytes) == c.bytes.size());
        sizes.push_back(std::exchange(c.bytes, {}).size());
    }
    many = {};
    // What the program takes to import one point, to measure the others by.
    QFile small(QString::fromStdString(dir.File("one.gpx")));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly) && small.write("<gpx><wpt lat=\"35\" lon=\"139\"/></gpx>") > 0);
    small.close();
    const test::CliRun one = test::RunCliMeasured({"import", dir.File("one.mem"), dir.File("one.gpx")}, dir.File("err"));
    ASSERT_EQ(one.exitCode, 0) << one.err;

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.file);
        const std::string out = dir.File("out.mem");
        const test::CliRun run = test::RunCliMeasured({"import", out, dir.File(c.file)}, dir.File("err"));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.substr(0, 2000);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err.substr(0, 2000);
        if (kMemoryMeasured) {
            EXPECT_LE(run.peakKb, one.peakKb + 4 * sizes[i] / 1024 + 16 * 1024);
        }
        // One line a warning, the first 1,000 of them, each short.
        std::size_t lines = 0, longest = 0;
        for (std::size_t at = 0, end = 0; at < run.err.size(); at = end + 1, ++lines) {
            end = std::min(run.err.find('\n', at), run.err.size());
            longest = std::max(longest, end - at);
        }
        EXPECT_LE(lines, WarningList::kLimit + 2);
        EXPECT_LE(longest, 400u);
        PointBook book;
        EXPECT_EQ(book.Load(out) == Loaded::decoded ? book.GetCount() : 0, c.points);
        if (*c.name) {
            EXPECT_EQ(book.GetName(0), c.name);
        }
        std::remove(out.c_str());
    }
}

}  // namespace
}  // namespace tovik
