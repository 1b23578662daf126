// SPDX-License-Identifier: GPL-3.0-or-later
// The map window with marks near Tokyo over tiles drawn like a town (streets, blocks,
// parks, a river and a railway) by a local tile server, for a screenshot:
//   map_screenshot OUT.png [SECONDS [ZOOM]]
// saves the window's picture once the tiles are in, then stays open SECONDS more; with
// ZOOM, at that zoom about Tokyo Station instead of all points fitted.
//   map_screenshot --serve
// only serves the tiles, printing the URL template for TOVIK_TILE_URL, until it is ended.
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "map/mapwindow.h"
#include "resources/markpngs.h"
#include "tests/map/tileserver.h"

using namespace tovik;

namespace {

QPointF At(int zoom, double latitude, double longitude)
{
    const WorldPoint w = WebMercatorProjection::ToWorld({latitude, longitude}, zoom);
    return {w.x, w.y};
}

QImage DrawTown(int zoom, int tx, int ty)
{
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(QColor(242, 239, 233));
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-tx * 256.0, -ty * 256.0);
    const GeoPoint nw = WebMercatorProjection::ToGeo({tx * 256.0, ty * 256.0}, zoom);
    const GeoPoint se = WebMercatorProjection::ToGeo({tx * 256.0 + 256, ty * 256.0 + 256}, zoom);
    const double metre = 256.0 * std::ldexp(1.0, zoom) / 40075016.0 / std::cos(35.68 * M_PI / 180);
    // Blocks between the streets, with a little variety.
    const double step = 0.0015;
    if (zoom >= 13) {
        for (double lat = std::floor(se.latitude / step) * step; lat < nw.latitude + step; lat += step) {
            for (double lon = std::floor(nw.longitude / step) * step; lon < se.longitude + step; lon += step) {
                const QRectF block = QRectF(At(zoom, lat + step, lon), At(zoom, lat, lon + step));
                const int shade = 218 + int(std::fmod(std::abs(lat * 7e4 + lon * 3e4), 14.0));
                p.fillRect(block.adjusted(6 * metre, 6 * metre, -6 * metre, -6 * metre), QColor(shade, shade - 4, shade - 10));
            }
        }
    }
    const QPolygonF palace{At(zoom, 35.6895, 139.7480), At(zoom, 35.6890, 139.7575), At(zoom, 35.6800, 139.7585),
                           At(zoom, 35.6790, 139.7490)};
    const QPolygonF hibiya{At(zoom, 35.6755, 139.7545), At(zoom, 35.6755, 139.7580), At(zoom, 35.6720, 139.7580),
                           At(zoom, 35.6720, 139.7545)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 228, 190));
    p.drawPolygon(palace);
    p.drawPolygon(hibiya);
    QPainterPath river(At(zoom, 35.700, 139.7930));
    river.cubicTo(At(zoom, 35.690, 139.7850), At(zoom, 35.675, 139.7800), At(zoom, 35.660, 139.7750));
    p.strokePath(river, QPen(QColor(170, 205, 240), std::max(3.0, 120 * metre)));
    // Streets: wide avenues every fourth line, lanes between them.
    for (int k = -40; k <= 40; ++k) {
        const bool avenue = k % 4 == 0;
        if (!avenue && zoom < 15)
            continue;
        const double width = std::max(avenue ? 2.0 : 1.0, (avenue ? 22 : 9) * metre);
        const QPen casing(QColor(200, 196, 188), width + 2), road(avenue ? QColor(255, 235, 170) : Qt::white, width);
        const double lat = 35.681 + k * step, lon = 139.767 + k * step;
        for (const QPen& pen : {casing, road}) {
            p.setPen(pen);
            p.drawLine(At(zoom, lat, 139.70), At(zoom, lat, 139.83));
            p.drawLine(At(zoom, 35.62, lon), At(zoom, 35.74, lon));
        }
    }
    QPainterPath rail(At(zoom, 35.700, 139.7712));
    rail.cubicTo(At(zoom, 35.690, 139.7700), At(zoom, 35.670, 139.7640), At(zoom, 35.655, 139.7560));
    p.strokePath(rail, QPen(QColor(110, 110, 110), std::max(2.0, 8 * metre)));
    p.strokePath(rail, QPen(Qt::white, std::max(1.0, 4 * metre), Qt::DashLine));
    return tile;
}

QIcon Mark(int mark)
{
    QPixmap pixmap;
    pixmap.loadFromData(MarkPngs::Png(mark), "PNG");
    return QIcon(pixmap);
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovik"));
    QApplication::addLibraryPath(QStringLiteral(TOVIK_MODULE_DIR));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    test::TileServer server(DrawTown);
    if (!server.Start())
        return 1;
    if (args[1] == QStringLiteral("--serve")) {
        std::fprintf(stdout, "%s\n", qPrintable(server.UrlTemplate()));
        std::fflush(stdout);
        return app.exec();
    }
    qputenv("TOVIK_TILE_URL", server.UrlTemplate().toUtf8());

    MapWindow window;
    QList<MapMarker> markers{
        {0, 35.681236, 139.767125, QStringLiteral("東京駅"), Mark(1)},
        {1, 35.685175, 139.752800, QStringLiteral("皇居"), Mark(3)},
        {2, 35.673800, 139.756300, QStringLiteral("日比谷公園"), Mark(12)},
        {3, 35.671700, 139.765000, QStringLiteral("銀座四丁目"), Mark(7)},
        {4, 35.676600, 139.770600, QStringLiteral("京橋"), Mark(20)},
        {5, 35.690900, 139.770400, QStringLiteral("神田"), Mark(2)},
    };
    for (int i = 0; i < 5; ++i)
        markers.append({100 + i, 35.6780 + i * 0.0021, 139.7790 - i * 0.0017, QStringLiteral("取りこみ%1").arg(i + 1),
                        QIcon(), MapMarker::Style::dot});
    window.View().SetMarkers(markers);
    window.View().SelectMarker(3);
    window.SetFileName(QStringLiteral("sample.mem"));
    window.show();
    if (args.size() > 3)
        window.View().SetView({35.681236, 139.767125}, args[3].toInt());

    const int linger = args.size() > 2 ? args[2].toInt() : 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (server.Requests().size() < 12)
            return;
        poll.stop();
        window.grab().save(args[1]);
        QTimer::singleShot(linger * 1000, &app, &QApplication::quit);
    });
    poll.start(500);
    return app.exec();
}
