// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the starting corpora of the exchange-format fuzzers: <dir>/gpx, kml, kmz, csv
// and geojson, each with a file of every device field, a few written by hand and small
// forms of the hostile files Tovik refuses or reads with care (entities, content after
// the root, UTF-16, floods of broken points, huge names and numbers); <dir>/gpx-halves
// holds GPX files past the size read in two halves.

#include <QDir>
#include <QFile>
#include <cstdio>

#include "tests/interop/devicebook.h"
#include "interop/gpxformat.h"
#include "interop/kmzarchive.h"
#include "interop/pointexchange.h"

namespace {

using namespace tovik;

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray Kmz(const QByteArray& document)
{
    return KmzArchive::Write(document, {}).Value();
}

QByteArray Utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8), low = static_cast<char>(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

// Files in the forms of those that took gigabytes, minutes or a point in silence.
QList<QPair<QString, QByteArray>> Hostile()
{
    const QByteArray entity = "<!DOCTYPE gpx [<!ENTITY e \"" + QByteArray(400, 'x') + "\">]>";
    const QByteArray references = QByteArray("&e;").repeated(100);
    const QByteArray wpt = "<wpt lat=\"35.5\" lon=\"139.5\"><name>p</name></wpt>";
    const QString kml = QStringLiteral("<kml><Placemark><name>東京</name><Point><coordinates>139.5,35.5</coordinates>"
                                       "</Point></Placemark></kml>");
    const QString gpx = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx version=\"1.1\">"
                                       "<wpt lat=\"35.5\" lon=\"139.5\"><name>東京</name></wpt></gpx>");
    QByteArray csvFlood = "name,lat,lon\n";
    QByteArray jsonFlood = "{\"type\":\"FeatureCollection\",\"features\":[";
    for (int i = 0; i < 1010; ++i) {
        csvFlood += "x\n";
        jsonFlood += QByteArray(i ? "," : "") + "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[]}}";
    }
    jsonFlood += "]}";
    const QByteArray longName(3000, 'n');
    return {
        {"gpx/entities", entity + "<gpx><wpt lat=\"35\" lon=\"139\"><name>" + references + "</name></wpt></gpx>"},
        {"gpx/entities-skipped", entity + "<gpx><wpt lat=\"35\" lon=\"139\"><desc>" + references + "</desc></wpt></gpx>"},
        {"gpx/external-entity", "<!DOCTYPE gpx [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><gpx>"
                                "<wpt lat=\"35\" lon=\"139\"><name>&x;</name></wpt></gpx>"},
        {"gpx/external-dtd", "<!DOCTYPE gpx SYSTEM \"gpx.dtd\"><gpx><wpt lat=\"35\" lon=\"139\"><name>&x;</name></wpt></gpx>"},
        {"gpx/after-root", "<gpx>" + wpt + "</gpx><gpx>" + wpt + "</gpx>"},
        {"gpx/utf16le", Utf16(gpx, false)},
        {"gpx/utf16be", Utf16(gpx, true)},
        {"gpx/huge-numbers", "<gpx><wpt lat=\"1e308\" lon=\"139\"><name>far</name></wpt>" + wpt + "</gpx>"},
        {"gpx/long-name", "<gpx><wpt lat=\"35\" lon=\"139\"><name>" + longName + "</name></wpt></gpx>"},
        {"gpx/cp932-after-mark", "\xEF\xBB\xBF<gpx><wpt lat=\"35\" lon=\"139\"><name>\x93\x8C\x8B\x9E</name></wpt></gpx>"},
        {"kml/entities", "<!DOCTYPE kml [<!ENTITY e \"" + QByteArray(400, 'x') + "\">]>" + kml.toUtf8().replace("東京", references)},
        {"kml/after-root", kml.toUtf8() + "<kml/>"},
        {"kml/utf16le", Utf16(kml, false)},
        {"kml/coordinates", kml.toUtf8().replace("139.5,35.5", QByteArray("139.5,35.5,0 ").repeated(200))},
        {"kmz/entities", Kmz("<!DOCTYPE kml [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]>" +
                                               kml.toUtf8().replace("東京", references))},
        {"kmz/utf16", Kmz(Utf16(kml, true))},
        {"csv/flood", csvFlood},
        {"csv/cp932-after-mark", "\xEF\xBB\xBFname,lat,lon\n\x93\x8C\x8B\x9E,35.6,139.7\n"},
        {"csv/utf16le", Utf16(QStringLiteral("名称,緯度,経度\r\n東京,35.6,139.7\r\n"), false)},
        {"csv/huge-numbers", "name,lat,lon\nfar,1e308,139\nnear,35,139\n"},
        {"csv/wide", "name,lat,lon" + QByteArray(",x").repeated(2000) + "\na,35,139" + QByteArray(",").repeated(2000) + "\n"},
        {"geojson/flood", jsonFlood},
        {"geojson/utf16le", Utf16(QStringLiteral("{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\","
                                                 "\"coordinates\":[139.5,35.5]},\"properties\":{\"name\":\"東京\"}}"),
                                  false)},
        {"geojson/huge-numbers", "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[139,1e308]},"
                                 "\"properties\":{\"name\":\"far\",\"name\":\"twice\",\"n\\u0061me\":\"escaped\"}}"},
        {"geojson/deep", QByteArray("[").repeated(1030) + QByteArray("]").repeated(1030)},
    };
}

// Past the size read in two halves: plain, with a comment and a nested waypoint where
// the split falls, and with a second root after the first.
QList<QPair<QString, QByteArray>> Large()
{
    QByteArray gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                     "xmlns:tovik=\"urn:x-tovik:point:1\">\n";
    for (int i = 0; gpx.size() < GpxFormat::kHalvedSize + 4096; ++i) {
        gpx += "<wpt lat=\"35." + QByteArray::number(i) + "\" lon=\"139.5\"><name>P" + QByteArray::number(i) +
               "</name><desc>" + QByteArray(400, 'x') + "</desc><extensions><tovik:point><tovik:mark>" +
               QByteArray::number(i % 26) + "</tovik:mark></tovik:point></extensions></wpt>\n";
    }
    const qsizetype middle = gpx.indexOf("<wpt", gpx.size() / 2);
    QByteArray comment = gpx, nested = gpx;
    comment.insert(middle, "<!-- <wpt lat=\"1\" lon=\"2\"></wpt> -->");
    nested.insert(middle - 1, "<metadata><wpt lat=\"1\" lon=\"2\"><name>inner</name></wpt></metadata>");
    return {
        {"gpx-halves/plain", gpx + "</gpx>\n"},
        {"gpx-halves/comment", comment + "</gpx>\n"},
        {"gpx-halves/nested", nested + "</gpx>\n"},
        {"gpx-halves/after-root", gpx + "</gpx>\n<gpx><wpt lat=\"36\" lon=\"139\"/></gpx>\n"},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const ExchangeConverter converter(DeviceDatum::tokyo);
    const std::vector<PointEntry> points = test::EveryFieldPoints();
    const std::vector<PointEntry> few(points.end() - 3, points.end());
    bool ok = true;
    for (const auto format : {ExchangeFormat::gpx, ExchangeFormat::kml, ExchangeFormat::kmz, ExchangeFormat::csv,
                              ExchangeFormat::geojson}) {
        const QString name = ExchangeFormat::Extension(format);
        ok = ok && root.mkpath(name);
        PointExchange::ExportOptions options;
        options.format = format;
        options.icons = [](int mark) { return QByteArray("icon ") + QByteArray::number(mark); };
        ok = ok && Write(root.filePath(name + QStringLiteral("/all")), PointExchange::Export(points, converter, options).Value());
        ok = ok && Write(root.filePath(name + QStringLiteral("/few")), PointExchange::Export(few, converter, options).Value());
    }
    ok = ok && Write(root.filePath(QStringLiteral("gpx/foreign")),
                     "<gpx version=\"1.1\"><wpt lat=\"35.1\" lon=\"139.2\"><name>a</name><sym>Flag</sym></wpt>"
                     "<trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>");
    ok = ok && Write(root.filePath(QStringLiteral("kml/folders")),
                     "<kml><Document><Folder><Placemark><name>x</name><styleUrl>#mark05</styleUrl>"
                     "<ExtendedData><SchemaData><SimpleData name=\"reading\">y</SimpleData></SchemaData>"
                     "</ExtendedData><Point><coordinates>139.1,35.2,0</coordinates></Point></Placemark>"
                     "<Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark>"
                     "</Folder></Document></kml>");
    ok = ok && Write(root.filePath(QStringLiteral("csv/japanese")),
                     "\xEF\xBB\xBF\xE5\x90\x8D\xE7\xA7\xB0,\xE7\xB7\xAF\xE5\xBA\xA6,\xE7\xB5\x8C\xE5\xBA\xA6\r\n"
                     "\"a,\"\"b\",35.39.31.500,139.44.45.0\r\n");
    ok = ok && Write(root.filePath(QStringLiteral("geojson/feature")),
                     "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[139.5,35.5]},"
                     "\"properties\":{\"name\":\"n\",\"mark\":3,\"telephone\":\"03-1234\"}}");
    ok = ok && root.mkpath(QStringLiteral("gpx-halves"));
    for (const auto& [name, bytes] : Hostile() + Large())
        ok = ok && Write(root.filePath(name), bytes);
    if (!ok) {
        std::fprintf(stderr, "make_exchange_seeds: cannot write the seeds\n");
        return 1;
    }
    return 0;
}
