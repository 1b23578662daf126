// Writes the starting corpora of the exchange-format fuzzers: <dir>/gpx, kml, kmz, csv
// and geojson, each with a file of every device field and a few written by hand.

#include <QDir>
#include <QFile>
#include <cstdio>

#include "tests/interop/devicebook.h"
#include "interop/pointexchange.h"

namespace {

using namespace tovik;

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
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
        QString error;
        ok = ok && Write(root.filePath(name + QStringLiteral("/all")), PointExchange::Export(points, converter, options, error));
        ok = ok && Write(root.filePath(name + QStringLiteral("/few")), PointExchange::Export(few, converter, options, error));
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
    if (!ok) {
        std::fprintf(stderr, "make_exchange_seeds: cannot write the seeds\n");
        return 1;
    }
    return 0;
}
