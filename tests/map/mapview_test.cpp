// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/mapview.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QWheelEvent>

#include "map/tilesource.h"
#include "tests/map/maptest.h"
#include "tests/map/tileserver.h"

namespace tovik::test {
namespace {

// Tokyo Station and two places 350 m and 480 m from it, with their world pixels at zoom
// 16 from PROJ (EPSG:3857).
struct Place {
    int id;
    GeoPoint position;
    WorldPoint world;
    QColor color;
};
const Place kPlaces[] = {
    {7, {35.681236, 139.767125}, {14902228.1273, 6606498.6885}, QColor(255, 0, 0)},
    {8, {35.683000, 139.770400}, {14902380.7534, 6606397.4798}, QColor(0, 0, 255)},
    {9, {35.679400, 139.772000}, {14902455.3188, 6606604.0259}, QColor(255, 0, 255)},
};

QIcon Swatch(QColor color)
{
    QPixmap pixmap(11, 11);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QList<MapMarker> Markers()
{
    QList<MapMarker> markers;
    for (const Place& p : kPlaces)
        markers.append({p.id, p.position.latitude, p.position.longitude, QStringLiteral("地点%1").arg(p.id), Swatch(p.color)});
    return markers;
}

class MapViewTest : public MapTest {
protected:
    MapViewTest()
    {
        server.Start();
        qputenv("TOVIK_TILE_URL", server.UrlTemplate().toUtf8());
        tiles = std::make_unique<TileSource>();
        view = std::make_unique<MapView>(*tiles);
        view->resize(800, 600);
        view->SetMarkers(Markers());
        view->SetView(kPlaces[0].position, 16);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    // Where a place must be drawn at zoom 16 with Tokyo Station in the middle.
    static QPointF Expected(const Place& p)
    {
        return QPointF(p.world.x - kPlaces[0].world.x + 400, p.world.y - kPlaces[0].world.y + 300);
    }
    std::optional<QPointF> Drawn(const Place& p) const { return CentreOf(view->grab().toImage(), p.color); }
    static void ExpectNear(std::optional<QPointF> drawn, QPointF expected, double tolerance = 1.01)
    {
        ASSERT_TRUE(drawn.has_value());
        EXPECT_NEAR(drawn->x(), expected.x(), tolerance);
        EXPECT_NEAR(drawn->y(), expected.y(), tolerance);
    }
    void Wheel(QPointF at, int delta)
    {
        const QPointF pos = InWindow(*view, at);
        QWheelEvent wheel(pos, view->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->windowHandle(), &wheel);
    }

    TileServer server;
    std::unique_ptr<TileSource> tiles;
    std::unique_ptr<MapView> view;
};

TEST_F(MapViewTest, MarkersAndTilesAtTheirPixels)
{
    for (const Place& p : kPlaces)
        ExpectNear(Drawn(p), Expected(p));
    // Tile 58211/25806 begins at x 187.9, y 137.3 and is 256 pixels wide: each pixel of the
    // tile on a pixel of the screen.
    const auto at = [this](int x, int y) { return view->grab().toImage().pixelColor(x, y); };
    const auto shown = [&] {
        return at(190, 140) == TileServer::KnownColor(58211, 25806) && at(185, 140) == TileServer::KnownColor(58210, 25806) &&
               at(190, 134) == TileServer::KnownColor(58211, 25805) && at(441, 140) == TileServer::KnownColor(58211, 25806) &&
               at(446, 140) == TileServer::KnownColor(58212, 25806);
    };
    EXPECT_TRUE(QTest::qWaitFor(shown, 5000));
}

TEST_F(MapViewTest, ClickReportsAMarkerAndDragMovesItByThePointersMovement)
{
    QSignalSpy clicked(view.get(), &MapView::MarkerClicked);
    QSignalSpy moved(view.get(), &MapView::MarkerMoved);
    const QPointF b = Expected(kPlaces[1]);
    Press(*view, b + QPointF(3, 2));
    Release(*view, b + QPointF(3, 2));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 8);
    Press(*view, {100, 500});
    Release(*view, {100, 500});
    EXPECT_EQ(clicked.count(), 1);

    // Taken off its centre, the marker keeps that offset from the pointer.
    Press(*view, b + QPointF(4, -3));
    for (const QPointF step : {QPointF(14, 7), QPointF(54, 27), QPointF(104, 57)})
        Move(*view, b + step);
    ExpectNear(Drawn(kPlaces[1]), b + QPointF(100, 60));
    Release(*view, b + QPointF(104, 57));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 8);
    const WorldPoint to = WebMercatorProjection::ToWorld({moved[0][1].toDouble(), moved[0][2].toDouble()}, 16);
    EXPECT_NEAR(to.x, kPlaces[1].world.x + 100, 0.01);
    EXPECT_NEAR(to.y, kPlaces[1].world.y + 60, 0.01);
    EXPECT_EQ(clicked.count(), 1);
    ExpectNear(Drawn(kPlaces[1]), b + QPointF(100, 60));

    // Escape during a drag puts the marker back and reports nothing.
    const QPointF c = Expected(kPlaces[2]);
    Press(*view, c);
    Move(*view, c + QPointF(40, 20));
    Move(*view, c + QPointF(80, 40));
    QTest::keyClick(view->windowHandle(), Qt::Key_Escape);
    ExpectNear(Drawn(kPlaces[2]), c);
    Move(*view, c + QPointF(120, 60));
    Release(*view, c + QPointF(120, 60));
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
    ExpectNear(Drawn(kPlaces[2]), c);
}

TEST_F(MapViewTest, WheelZoomsAboutThePointerKeysAboutTheMiddle)
{
    // Drawn to the nearest pixel before and after: within two pixels of the exact place.
    const QPointF a = *Drawn(kPlaces[0]);
    const QPointF b = *Drawn(kPlaces[1]);
    const QPointF pointer = b.toPoint();
    Wheel(pointer, 120);
    EXPECT_EQ(view->Zoom(), 17);
    ExpectNear(Drawn(kPlaces[1]), pointer + 2 * (b - pointer), 2.01);
    ExpectNear(Drawn(kPlaces[0]), pointer + 2 * (a - pointer), 2.01);
    Wheel(pointer, -240);
    EXPECT_EQ(view->Zoom(), 15);
    ExpectNear(Drawn(kPlaces[1]), pointer + (b - pointer) / 2, 2.01);

    view->SetView(kPlaces[0].position, 16);
    view->setFocus();
    QTest::keyClick(view->windowHandle(), Qt::Key_Plus);
    EXPECT_EQ(view->Zoom(), 17);
    ExpectNear(Drawn(kPlaces[0]), a);
    QTest::keyClick(view->windowHandle(), Qt::Key_Right);
    ExpectNear(Drawn(kPlaces[0]), a - QPointF(200, 0));
    QTest::keyClick(view->windowHandle(), Qt::Key_Minus);
    EXPECT_EQ(view->Zoom(), 16);

    // A drag on the background pans; a double click zooms in about the pointer.
    Press(*view, {100, 100});
    Move(*view, {130, 110});
    Move(*view, {160, 120});
    Release(*view, {160, 120});
    const QPointF panned = a - QPointF(100, 0) + QPointF(60, 20);
    ExpectNear(Drawn(kPlaces[0]), panned);
    QTest::mouseDClick(view->windowHandle(), Qt::LeftButton, {}, InWindow(*view, {100, 100}));
    EXPECT_EQ(view->Zoom(), 17);
    ExpectNear(Drawn(kPlaces[0]), QPointF(100, 100) + 2 * (panned - QPointF(100, 100)), 1.6);
}

TEST_F(MapViewTest, ContextMenuAddsAPointWhereItWasOpened)
{
    QSignalSpy added(view.get(), &MapView::AddRequested);
    QTimer::singleShot(100, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        QAction* add = menu->actions().first();
        EXPECT_EQ(add->text(), QStringLiteral("ここに地点を追加"));
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(add).center());
    });
    const QPointF c = Expected(kPlaces[2]);
    Press(*view, c, Qt::RightButton);
    Release(*view, c, Qt::RightButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return added.count() == 1; }, 2000));
    ASSERT_EQ(added.count(), 1);
    const WorldPoint at = WebMercatorProjection::ToWorld({added[0][0].toDouble(), added[0][1].toDouble()}, 16);
    EXPECT_NEAR(at.x, kPlaces[2].world.x, 1.0);
    EXPECT_NEAR(at.y, kPlaces[2].world.y, 1.0);
}

}  // namespace
}  // namespace tovik::test
