// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/mapwindow.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>
#include <cmath>

#include "tests/map/maptest.h"
#include "tests/map/tileserver.h"

namespace tovik::test {
namespace {

const QColor kMarkColor(255, 0, 0);
const QColor kBackground(229, 227, 223);

QList<MapMarker> Marks(const QList<GeoPoint>& places)
{
    QPixmap red(11, 11);
    red.fill(kMarkColor);
    QList<MapMarker> markers;
    for (const GeoPoint& p : places)
        markers.append({int(markers.size()), p.latitude, p.longitude, QStringLiteral("地点"), QIcon(red)});
    return markers;
}
const QList<GeoPoint> kTokyo{{35.681236, 139.767125}, {35.683, 139.7704}, {35.6794, 139.772}};

std::unique_ptr<MapWindow> Open(const QList<GeoPoint>& places)
{
    auto window = std::make_unique<MapWindow>();
    window->View().SetMarkers(Marks(places));
    window->SetFileName(QStringLiteral("sample.mem"));
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

QToolButton* ButtonNamed(QWidget& window, const QString& text)
{
    for (QToolButton* b : window.findChildren<QToolButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// Every tile in view has arrived.
bool AllTilesShown(MapWindow& window)
{
    MapView& view = window.View();
    const WorldPoint center = WebMercatorProjection::ToWorld(view.Center(), view.Zoom());
    const TileRange range = WebMercatorProjection::Tiles(center, view.Zoom(), view.width(), view.height());
    view.grab();
    for (int y = range.firstY; y <= range.lastY; ++y) {
        for (int x = range.firstX; x <= range.lastX; ++x) {
            if (window.Tiles().Tile({view.Zoom(), x, y}).isNull())
                return false;
        }
    }
    return true;
}

using MapWindowTest = MapTest;

TEST_F(MapWindowTest, OpensFittedAndKeepsItsPlaceLayerAndView)
{
    GeoPoint center;
    int zoom = 0;
    {
        auto window = Open(kTokyo);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("地図 — sample.mem"));
        EXPECT_GE(window->width(), 400);
        EXPECT_GE(window->height(), 300);
        EXPECT_TRUE(window->screen()->availableGeometry().contains(window->geometry()));
        MapView& view = window->View();
        const std::vector<GeoPoint> points(kTokyo.cbegin(), kTokyo.cend());
        EXPECT_EQ(view.Zoom(), WebMercatorProjection(2, 18).FitZoom(points, view.width(), view.height(), 48));
        EXPECT_GE(view.Zoom(), 15);

        QToolButton* photo = ButtonNamed(*window, QStringLiteral("写真"));
        ASSERT_NE(photo, nullptr);
        Press(*photo, photo->rect().center());
        Release(*photo, photo->rect().center());
        EXPECT_EQ(window->Tiles().CurrentLayer(), TileSource::Layer::photo);
        Press(view, {20, 20});
        Move(view, {60, 40});
        Release(view, {60, 40});
        window->resize(520, 410);
        window->move(30, 20);
        center = view.Center();
        zoom = view.Zoom();

        // Closed by the window manager.
        QSignalSpy closed(window.get(), &MapWindow::Closed);
        QCloseEvent close;
        QCoreApplication::sendEvent(window->windowHandle(), &close);
        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(window->isVisible());
    }
    auto again = Open(kTokyo);
    EXPECT_EQ(again->size(), QSize(520, 410));
    EXPECT_EQ(again->Tiles().CurrentLayer(), TileSource::Layer::photo);
    EXPECT_TRUE(ButtonNamed(*again, QStringLiteral("写真"))->isChecked());
    EXPECT_EQ(again->View().Zoom(), zoom);
    EXPECT_NEAR(again->View().Center().latitude, center.latitude, 1e-9);
    EXPECT_NEAR(again->View().Center().longitude, center.longitude, 1e-9);
    again->close();

    // The last view shows none of another file's points: they are fitted instead.
    auto osaka = Open({{34.7025, 135.4959}, {34.6937, 135.5023}});
    EXPECT_GE(osaka->View().Zoom(), 15);
    EXPECT_NEAR(osaka->View().Center().latitude, 34.698, 0.001);
}

TEST_F(MapWindowTest, TilesComeFromTheCacheAfterARestartWithoutTheServer)
{
    TileServer server;
    ASSERT_TRUE(server.Start());
    qputenv("TOVIK_TILE_URL", server.UrlTemplate().toUtf8());
    {
        auto window = Open(kTokyo);
        EXPECT_TRUE(QTest::qWaitFor([&] { return AllTilesShown(*window); }, 10000));
    }
    ASSERT_FALSE(server.Requests().isEmpty());
    for (const TileServer::Request& r : server.Requests())
        EXPECT_EQ(r.userAgent, QByteArray("Tovik/" TOVIK_VERSION));
    server.Stop();

    auto window = Open(kTokyo);
    EXPECT_TRUE(QTest::qWaitFor([&] { return AllTilesShown(*window); }, 10000));
    const QImage shown = window->View().grab().toImage();
    const QColor corner = shown.pixelColor(2, 2);
    EXPECT_TRUE(corner == TileServer::KnownColor(0, 0) || corner == TileServer::KnownColor(0, 1));
}

TEST_F(MapWindowTest, WithoutTheServerMarkersShowAtOnceAndTilesAreRetriedLater)
{
    // Nothing listens at the port: the markers on the plain background.
    {
        auto window = Open(kTokyo);
        const QImage shown = window->View().grab().toImage();
        EXPECT_EQ(shown.pixelColor(2, 2), kBackground);
        EXPECT_TRUE(CentreOf(shown, kMarkColor).has_value());
    }

    TileServer server;
    server.SetFailing(true);
    ASSERT_TRUE(server.Start());
    qputenv("TOVIK_TILE_URL", server.UrlTemplate().toUtf8());
    QElapsedTimer clock;
    clock.start();
    auto window = Open(kTokyo);
    const auto retried = [&] {
        for (const TileServer::Request& r : server.Requests()) {
            if (server.RequestsFor(r.zoom, r.x, r.y) >= 2)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(retried, 10000));
    QTest::qWait(1500);
    // Waits of 1, 2, 4, ... seconds: by T seconds a tile can have been asked for at most
    // 1 + log2(T + 1) times.
    const int most = 1 + int(std::log2(clock.elapsed() / 1000.0 + 1));
    int worst = 0;
    for (const TileServer::Request& r : server.Requests())
        worst = std::max(worst, server.RequestsFor(r.zoom, r.x, r.y));
    EXPECT_LE(worst, most);
    EXPECT_EQ(window->View().grab().toImage().pixelColor(2, 2), kBackground);

    // A closed window asks for nothing more.
    window->close();
    const qsizetype asked = server.Requests().size();
    QTest::qWait(2500);
    EXPECT_EQ(server.Requests().size(), asked);
}

}  // namespace
}  // namespace tovik::test
