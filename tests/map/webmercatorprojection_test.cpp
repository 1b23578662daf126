// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/webmercatorprojection.h"

#include <gtest/gtest.h>

namespace tovik {
namespace {

// World pixels of EPSG:3857 coordinates from PROJ 9.1 (EPSG:4326 → EPSG:3857), scaled to
// the world of (256 << zoom) pixels.
struct Known {
    double latitude, longitude;
    int zoom;
    double x, y;
};
constexpr Known kKnown[] = {
    {35.681236, 139.767125, 18, 59608912.5092, 26425994.7542},  // Tokyo Station
    {35.681236, 139.767125, 16, 14902228.1273, 6606498.6885},
    {35.683000, 139.770400, 16, 14902380.7534, 6606397.4798},   // about 350 m north-east
    {35.679400, 139.772000, 16, 14902455.3188, 6606604.0259},   // about 480 m east
    {35.658600, 139.745400, 14, 3725303.9172, 1651949.3051},    // Tokyo Tower
    {-33.868800, 151.209300, 10, 241179.2521, 157310.5832},     // Sydney
    {51.477900, -0.001500, 12, 524283.6309, 348816.2890},       // Greenwich, west of 0°
    {0, 0, 0, 128, 128},
};

TEST(WebMercatorProjection, PixelsAgreeWithProj)
{
    for (const Known& k : kKnown) {
        SCOPED_TRACE(testing::Message() << k.latitude << ", " << k.longitude << " at " << k.zoom);
        const WorldPoint w = WebMercatorProjection::ToWorld({k.latitude, k.longitude}, k.zoom);
        EXPECT_NEAR(w.x, k.x, 0.001);
        EXPECT_NEAR(w.y, k.y, 0.001);
        const GeoPoint back = WebMercatorProjection::ToGeo({k.x, k.y}, k.zoom);
        EXPECT_NEAR(back.latitude, k.latitude, 1e-6);
        EXPECT_NEAR(back.longitude, k.longitude, 1e-6);
    }
    // Beyond the square world the map ends at its edge.
    EXPECT_NEAR(WebMercatorProjection::ToWorld({89.9, -180}, 2).y, 0, 1e-6);
    EXPECT_NEAR(WebMercatorProjection::ToWorld({-89.9, 180}, 2).y, 1024, 1e-6);
}

TEST(WebMercatorProjection, TilesOfAView)
{
    struct Case {
        WorldPoint center;
        int zoom;
        double width, height;
        int firstX, firstY, lastX, lastY;
    } const cases[] = {
        // 800 × 600 at Tokyo Station: 58211/25806 is the tile the station is on.
        {{14902228.1273, 6606498.6885}, 16, 800, 600, 58210, 25805, 58213, 25807},
        // Edges on tile borders touch no tile beyond them.
        {{384, 384}, 2, 256, 256, 1, 1, 1, 1},
        // Cut at the world's edges.
        {{0, 0}, 2, 600, 600, 0, 0, 1, 1},
        {{1024, 1024}, 2, 600, 600, 2, 2, 3, 3},
    };
    for (const Case& c : cases) {
        const TileRange r = WebMercatorProjection::Tiles(c.center, c.zoom, c.width, c.height);
        EXPECT_EQ(r.zoom, c.zoom);
        EXPECT_EQ(r.firstX, c.firstX);
        EXPECT_EQ(r.firstY, c.firstY);
        EXPECT_EQ(r.lastX, c.lastX);
        EXPECT_EQ(r.lastY, c.lastY);
    }
    EXPECT_TRUE(WebMercatorProjection::Tiles({-500, 100}, 2, 200, 200).Empty());
}

TEST(WebMercatorProjection, LargestZoomAtWhichPointsFit)
{
    const WebMercatorProjection gsi(2, 18);
    // 227 × 207 pixels apart at zoom 16.
    const std::vector<GeoPoint> near{{35.681236, 139.767125}, {35.683, 139.7704}, {35.6794, 139.772}};
    EXPECT_EQ(gsi.FitZoom(near, 400, 300, 48), 15);  // 207 > 300 - 2 × 48 at zoom 16
    EXPECT_EQ(gsi.FitZoom(near, 400, 304, 48), 16);
    EXPECT_EQ(gsi.FitZoom(near, 800, 600, 48), 17);
    EXPECT_EQ(gsi.FitZoom(near, 800, 600, 64), 17);
    // A single place, or the same place twice, at the closest zoom the server has.
    EXPECT_EQ(gsi.FitZoom({near[0]}, 400, 300, 48), 18);
    EXPECT_EQ(gsi.FitZoom({near[0], near[0]}, 400, 300, 48), 18);
    // Wakkanai to Naha: all of Japan.
    EXPECT_EQ(gsi.FitZoom({{45.415, 141.673}, {26.212, 127.681}}, 400, 300, 48), 3);
    EXPECT_EQ(gsi.FitZoom({{45.415, 141.673}, {26.212, 127.681}}, 1200, 900, 48), 5);
    // Points that fit at no zoom the server has are shown at the widest.
    EXPECT_EQ(gsi.FitZoom({{60, -170}, {-60, 170}}, 400, 300, 48), 2);
    EXPECT_EQ(gsi.FitZoom({}, 400, 300, 48), 2);

    // The centre is the middle of the points on the map, north of the middle latitude.
    const GeoPoint middle = WebMercatorProjection::FitCenter({{0, 130}, {60, 140}});
    EXPECT_NEAR(middle.longitude, 135, 1e-9);
    EXPECT_NEAR(middle.latitude, 35.264, 0.001);
    EXPECT_EQ(gsi.ClampZoom(1), 2);
    EXPECT_EQ(gsi.ClampZoom(19), 18);
}

}  // namespace
}  // namespace tovik
