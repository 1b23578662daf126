// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/datumconverter.h"

namespace tovik {

// A position in the pixels of the whole world's map at one zoom level: x eastwards from
// 180° W, y southwards from 85.05° N, (256 << zoom) pixels each way.
struct WorldPoint {
    double x = 0;
    double y = 0;
};

// The tiles firstX..lastX × firstY..lastY (inclusive) at a zoom; empty when last < first.
struct TileRange {
    int zoom = 0;
    int firstX = 0;
    int firstY = 0;
    int lastX = -1;
    int lastY = -1;

    bool Empty() const { return lastX < firstX || lastY < firstY; }
};

// Spherical ("web") Mercator as XYZ tile servers cut it (EPSG:3857, 256-pixel tiles,
// tile 0/0/0 the whole world), limited to the zoom levels one tile server offers.
class WebMercatorProjection {
public:
    static constexpr int kTileSize = 256;
    // The latitude at which the square world ends (y = 0 at the top).
    static constexpr double kMaxLatitude = 85.05112877980659;

    WebMercatorProjection(int minZoom, int maxZoom);

    int MinZoom() const { return minZoom; }
    int MaxZoom() const { return maxZoom; }
    int ClampZoom(int zoom) const;

    // 256 << zoom: the width and height of the world in pixels.
    static double WorldSize(int zoom);
    // Latitudes beyond ±85.05° are taken as the edge of the map.
    static WorldPoint ToWorld(GeoPoint point, int zoom);
    static GeoPoint ToGeo(WorldPoint point, int zoom);

    // The tiles that a view of width × height pixels centred on `center` touches, cut to
    // those that exist.
    static TileRange Tiles(WorldPoint center, int zoom, double width, double height);

    // The largest zoom at which all `points` lie inside a view of width × height pixels
    // with `margin` pixels free on every side, centred on FitCenter(points); the smallest
    // zoom when they fit at none, the largest for a single place.
    int FitZoom(const std::vector<GeoPoint>& points, double width, double height, double margin) const;
    // The middle of the points' extent on the map (not of their degrees: north of the
    // equator the map stretches latitude).
    static GeoPoint FitCenter(const std::vector<GeoPoint>& points);

private:
    int minZoom;
    int maxZoom;
};

}  // namespace tovik
