// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <set>

#include "platform/cp932.h"
#include "interop/csvformat.h"
#include "tests/interop/devicebook.h"
#include "interop/pointexchange.h"
#include "tests/support/qtprinters.h"
#include "tests/core/testimages.h"

// GPSBabel, a program that reads and writes every format Tovik does, is the peer that
// shows our files are what other programs expect and that we read what they write.
namespace tovik {
namespace {

using Format = ExchangeFormat::Format;

struct Place {
    QString name;
    double latitude, longitude;
};

// Runs gpsbabel; the standard error when it fails.
QString Babel(const QStringList& arguments)
{
    QProcess babel;
    babel.start(QStringLiteral(TOVIK_GPSBABEL), arguments);
    if (!babel.waitForFinished(60000))
        return QStringLiteral("gpsbabel did not finish");
    if (babel.exitStatus() != QProcess::NormalExit || babel.exitCode() != 0)
        return QStringLiteral("gpsbabel failed: ") + QString::fromUtf8(babel.readAllStandardError());
    return {};
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The waypoints of a unicsv file gpsbabel wrote: name and position.
std::vector<Place> UnicsvPlaces(const QByteArray& csv)
{
    std::vector<Place> places;
    const QList<QStringList> rows = CsvFormat::SplitRows(QString::fromUtf8(csv));
    if (rows.isEmpty())
        return places;
    const qsizetype name = rows[0].indexOf(QStringLiteral("Name"));
    const qsizetype lat = rows[0].indexOf(QStringLiteral("Latitude"));
    const qsizetype lon = rows[0].indexOf(QStringLiteral("Longitude"));
    for (qsizetype r = 1; r < rows.size(); ++r)
        places.push_back({rows[r].value(name), rows[r].value(lat).toDouble(), rows[r].value(lon).toDouble()});
    return places;
}

class GpsbabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStringLiteral(TOVIK_GPSBABEL).isEmpty())
            FAIL() << "gpsbabel is not installed (scripts/install-deps.sh installs it)";
    }
    QString File(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(GpsbabelTest, ReadsOurGpxKmlGeoJsonAndCsvWithTheSameNamesAndPositions)
{
    const std::vector<PointEntry> points = test::EveryFieldPoints();
    const ExchangeConverter converter(DeviceDatum::tokyo);
    std::vector<Place> expected;
    for (const PointEntry& e : points) {
        const ExchangePoint p = *converter.ToExchange(e);
        expected.push_back({p.name, p.latitude, p.longitude});
    }
    struct Case {
        Format format;
        const char* babelName;
    };
    for (const Case c : {Case{Format::gpx, "gpx"}, Case{Format::kml, "kml"}, Case{Format::geojson, "geojson"},
                         Case{Format::csv, "unicsv"}}) {
        SCOPED_TRACE(c.babelName);
        PointExchange::ExportOptions options;
        options.format = c.format;
        const QString file = File(QStringLiteral("ours.") + ExchangeFormat::Extension(c.format));
        const Result<QByteArray, QString> ours = PointExchange::Export(points, converter, options);
        ASSERT_TRUE(ours) << ours.Error().toStdString();
        WriteFile(file, ours.Value());
        if (c.format == Format::csv) {
            // unicsv takes any column whose header holds "lat" or "lon" for a coordinate.
            static const QRegularExpression coordinate(QStringLiteral("lat|lon"), QRegularExpression::CaseInsensitiveOption);
            EXPECT_EQ(CsvFormat::SplitRows(QString::fromUtf8(ours.Value())).first().filter(coordinate),
                      (QStringList{"latitude", "longitude"}));
        }
        if (c.format == Format::kml) {
            // Every style a placemark names is defined.
            std::set<QString> named, defined;
            static const QRegularExpression url(QStringLiteral("<styleUrl>#([^<]*)</styleUrl>"));
            static const QRegularExpression style(QStringLiteral("<Style id=\"([^\"]*)\">"));
            for (const auto& m : url.globalMatch(QString::fromUtf8(ours.Value())))
                named.insert(m.captured(1));
            for (const auto& m : style.globalMatch(QString::fromUtf8(ours.Value())))
                defined.insert(m.captured(1));
            EXPECT_FALSE(named.empty());
            EXPECT_EQ(named, defined);
        }
        const QString csv = File(QStringLiteral("babel.csv"));
        ASSERT_EQ(Babel({"-i", c.babelName, "-f", file, "-o", "unicsv", "-F", csv}), QString());
        const std::vector<Place> read = UnicsvPlaces(ReadFile(csv));
        ASSERT_EQ(read.size(), expected.size());
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].name, expected[i].name) << i;
            // gpsbabel writes six decimals.
            EXPECT_NEAR(read[i].latitude, expected[i].latitude, 0.6e-6) << i;
            EXPECT_NEAR(read[i].longitude, expected[i].longitude, 0.6e-6) << i;
        }
    }
}

TEST_F(GpsbabelTest, WeReadTheGpxKmlAndUnicsvItWrites)
{
    // Places and names of our own making, given to gpsbabel as unicsv.
    const std::vector<Place> places{
        {QStringLiteral("東京駅"), 35.681236, 139.767125},
        {QStringLiteral("大阪城"), 34.687315, 135.526201},
        {QStringLiteral("Sapporo, Odori"), 43.060722, 141.354333},
        {QStringLiteral("那覇空港"), 26.195800, 127.645869},
    };
    QByteArray source = "Name,Latitude,Longitude\n";
    for (const Place& p : places)
        source += "\"" + p.name.toUtf8() + "\"," + QByteArray::number(p.latitude, 'f', 6) + "," +
                  QByteArray::number(p.longitude, 'f', 6) + "\n";
    WriteFile(File(QStringLiteral("source.csv")), source);

    struct Case {
        const char* babelName;
        const char* file;
        Format format;
    };
    for (const Case c : {Case{"gpx", "babel.gpx", Format::gpx}, Case{"kml", "babel.kml", Format::kml},
                         Case{"unicsv", "babel.csv", Format::csv}}) {
        SCOPED_TRACE(c.babelName);
        const QString file = File(QString::fromLatin1(c.file));
        ASSERT_EQ(Babel({"-i", "unicsv", "-f", File(QStringLiteral("source.csv")), "-o", c.babelName, "-F", file}),
                  QString());
        const PointExchange::Imported imported =
            PointExchange::ImportFile(file.toStdString(), c.format, ExchangeConverter(DeviceDatum::wgs84));
        ASSERT_EQ(imported.error, QString());
        EXPECT_EQ(imported.warnings.Lines(), QStringList());
        ASSERT_EQ(imported.entries.size(), places.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            const PointEntry& e = imported.entries[i];
            EXPECT_EQ(Cp932::Decode(e.name), places[i].name);
            // Rounded to the device's 1/250 s.
            EXPECT_NEAR(DatumConverter::Degrees(e.latitude, e.latitudeFraction), places[i].latitude, 1.2e-6);
            EXPECT_NEAR(DatumConverter::Degrees(e.longitude, e.longitudeFraction), places[i].longitude, 1.2e-6);
            EXPECT_EQ(e.mark, 0);
        }
    }
}

}  // namespace
}  // namespace tovik
