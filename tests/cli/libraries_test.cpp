// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>
#include <fstream>

#include "tests/core/testimages.h"

namespace tovik {
namespace {

// The libraries the dynamic linker loaded for a run of tovik-cli (LD_DEBUG=files), as one
// text, with no grid for PROJ anywhere unless `projData` names one.
QString LoadedLibraries(const test::TempDir& dir, const QStringList& arguments, const QString& projData)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(dir.File("data")));
    environment.insert(QStringLiteral("PROJ_DATA"), projData);
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.setWorkingDirectory(QString::fromStdString(dir.Path().string()));
    cli.start(QStringLiteral(TOVIK_CLI), arguments);
    EXPECT_TRUE(cli.waitForFinished(30000));
    QString loaded;
    for (const QString& line : QString::fromLocal8Bit(cli.readAllStandardError()).split(u'\n')) {
        if (line.contains(QStringLiteral("file=")))
            loaded += line.section(QStringLiteral("file="), 1).section(u' ', 0, 0) + u'\n';
    }
    return loaded;
}

TEST(CliLibrariesTest, LightCommandsLoadNeitherProjNorQuaZip)
{
    test::TempDir dir;
    ASSERT_TRUE(test::SavePoints(dir.File("a.mem"), {test::TokyoTower(), test::SimplePoint("B", 1)}));
    const QString noGrid = QString::fromStdString(dir.File("empty"));
    std::vector<QStringList> light{{"show", "a.mem"}, {"check", "a.mem"}, {"new", "--force", "n.mem"},
                                   {"add", "n.mem", "--name", "X"}, {"rewrite", "a.mem", "r.mem"}};
    for (const char* format : {"gpx", "kml", "csv", "geojson"}) {
        light.push_back({"export", "a.mem", QStringLiteral("p.%1").arg(format)});
        light.push_back({"import", "--force", "i.mem", QStringLiteral("p.%1").arg(format)});
    }
    for (const QStringList& command : light) {
        const QString loaded = LoadedLibraries(dir, command, noGrid);
        EXPECT_TRUE(loaded.contains(QStringLiteral("libQt6Core"))) << loaded.toStdString();
        for (const char* heavy : {"libproj", "quazip", "Core5Compat", "libtovik-kmz"})
            EXPECT_FALSE(loaded.contains(QLatin1String(heavy))) << command.join(u' ').toStdString() << ": " << heavy;
    }

    // Each is loaded where it is needed: QuaZip for a KMZ, PROJ where the TKY2JGD grid lies.
    const QString kmz = LoadedLibraries(dir, {"export", "a.mem", "p.kmz"}, noGrid);
    EXPECT_TRUE(kmz.contains(QStringLiteral("libtovik-kmz.so")) && kmz.contains(QStringLiteral("quazip")));
    EXPECT_FALSE(kmz.contains(QStringLiteral("libproj")));
    std::ofstream(dir.File("tky2jgd.gsb")) << "a grid";
    EXPECT_TRUE(LoadedLibraries(dir, {"export", "a.mem", "p.gpx"}, QString::fromStdString(dir.Path().string()))
                    .contains(QStringLiteral("libproj.so")));
}

}  // namespace
}  // namespace tovik
