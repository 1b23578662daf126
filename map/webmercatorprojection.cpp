// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/webmercatorprojection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace tovik {

namespace {

// The points' extent on the map at zoom 0, where the world is 256 pixels wide.
struct Extent {
    double left, top, right, bottom;
};

Extent ExtentOf(const std::vector<GeoPoint>& points)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    Extent e{inf, inf, -inf, -inf};
    for (const GeoPoint& p : points) {
        const WorldPoint w = WebMercatorProjection::ToWorld(p, 0);
        e.left = std::min(e.left, w.x);
        e.right = std::max(e.right, w.x);
        e.top = std::min(e.top, w.y);
        e.bottom = std::max(e.bottom, w.y);
    }
    return e;
}

}  // namespace

WebMercatorProjection::WebMercatorProjection(int minZoom, int maxZoom)
    : minZoom(minZoom), maxZoom(std::max(minZoom, maxZoom))
{
}

int WebMercatorProjection::ClampZoom(int zoom) const { return std::clamp(zoom, minZoom, maxZoom); }

double WebMercatorProjection::WorldSize(int zoom) { return std::ldexp(double(kTileSize), zoom); }

WorldPoint WebMercatorProjection::ToWorld(GeoPoint point, int zoom)
{
    constexpr double pi = std::numbers::pi;
    const double size = WorldSize(zoom);
    const double phi = std::clamp(point.latitude, -kMaxLatitude, kMaxLatitude) * pi / 180;
    const double x = (point.longitude + 180) / 360 * size;
    const double y = (0.5 - std::log(std::tan(pi / 4 + phi / 2)) / (2 * pi)) * size;
    return {x, y};
}

GeoPoint WebMercatorProjection::ToGeo(WorldPoint point, int zoom)
{
    constexpr double pi = std::numbers::pi;
    const double size = WorldSize(zoom);
    const double longitude = point.x / size * 360 - 180;
    const double latitude = std::atan(std::sinh(pi * (1 - 2 * point.y / size))) * 180 / pi;
    return {latitude, longitude};
}

TileRange WebMercatorProjection::Tiles(WorldPoint center, int zoom, double width, double height)
{
    const int last = (1 << zoom) - 1;
    const double left = center.x - width / 2;
    const double top = center.y - height / 2;
    // A view edge on a tile border does not touch the tile beyond it.
    const auto tile = [](double pixel) { return int(std::floor(pixel / kTileSize)); };
    const auto lastTile = [](double pixel) { return int(std::ceil(pixel / kTileSize)) - 1; };
    TileRange range;
    range.zoom = zoom;
    range.firstX = std::max(0, tile(left));
    range.firstY = std::max(0, tile(top));
    range.lastX = std::min(last, lastTile(left + width));
    range.lastY = std::min(last, lastTile(top + height));
    return range;
}

int WebMercatorProjection::FitZoom(const std::vector<GeoPoint>& points, double width, double height,
                                   double margin) const
{
    if (points.empty())
        return minZoom;
    const Extent e = ExtentOf(points);
    const double roomX = width - 2 * margin;
    const double roomY = height - 2 * margin;
    if (roomX < 0 || roomY < 0)
        return minZoom;
    for (int zoom = maxZoom; zoom > minZoom; --zoom) {
        const double scale = std::ldexp(1.0, zoom);
        if ((e.right - e.left) * scale <= roomX && (e.bottom - e.top) * scale <= roomY)
            return zoom;
    }
    return minZoom;
}

GeoPoint WebMercatorProjection::FitCenter(const std::vector<GeoPoint>& points)
{
    if (points.empty())
        return {};
    const Extent e = ExtentOf(points);
    return ToGeo({(e.left + e.right) / 2, (e.top + e.bottom) / 2}, 0);
}

}  // namespace tovik
