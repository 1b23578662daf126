// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tokyoshift.h"

#include <cmath>

namespace tovik {

namespace {

// EPSG:15484 "Tokyo to WGS 84 (108)", method EPSG:9603 (geocentric translations, geog2D
// domain), from the EPSG dataset as PROJ 9.1 carries it in proj.db: the translation of
// EPSG:15483 (Tokyo to JGD2000, from the Geospatial Information Authority of Japan), JGD2000
// taken as WGS 84, for Japan including outlying islands (EPSG area 3957). Tokyo (EPSG:4301)
// is on Bessel 1841 (EPSG:7004), WGS 84 (EPSG:4326) on its own ellipsoid (EPSG:7030).
// PROJ runs it as the pipeline: degrees to radians, push the height, geodetic to geocentric
// on Bessel (cart), +x/+y/+z, geocentric to geodetic on WGS 84 (inverse cart), pop the
// height, radians to degrees. The positions here have no height: it is 0 in and out.
constexpr double kTranslationX = -146.414;  // metres
constexpr double kTranslationY = 507.337;
constexpr double kTranslationZ = 680.507;

struct Ellipsoid {
    double a;   // semi-major axis, metres
    double rf;  // inverse flattening
    double b() const { return a * (1 - 1 / rf); }
    double es() const { return (2 - 1 / rf) / rf; }  // first eccentricity squared
};
constexpr Ellipsoid kBessel1841{6377397.155, 299.1528128};
constexpr Ellipsoid kWgs84{6378137.0, 298.257223563};

constexpr double kRadians = 3.14159265358979323846 / 180.0;

struct Geocentric {
    double x, y, z;
};

// PROJ's cart: geodetic at height 0 to geocentric.
Geocentric ToGeocentric(GeoPoint p, const Ellipsoid& e)
{
    const double phi = p.latitude * kRadians, lambda = p.longitude * kRadians;
    const double n = e.a / std::sqrt(1 - e.es() * std::sin(phi) * std::sin(phi));
    return {n * std::cos(phi) * std::cos(lambda), n * std::cos(phi) * std::sin(lambda),
            n * (1 - e.es()) * std::sin(phi)};
}

// PROJ's inverse cart: Bowring's closed form, exact to well under a millimetre near the
// ellipsoid's surface; the height it gives is dropped.
GeoPoint ToGeodetic(Geocentric g, const Ellipsoid& e)
{
    const double p = std::hypot(g.x, g.y);
    const double theta = std::atan2(g.z * e.a, p * e.b());
    const double s = std::sin(theta), c = std::cos(theta);
    const double secondEs = e.es() / (1 - e.es());
    const double phi = std::atan((g.z + secondEs * e.b() * s * s * s) / (p - e.es() * e.a * c * c * c));
    return {phi / kRadians, std::atan2(g.y, g.x) / kRadians};
}

GeoPoint Translate(GeoPoint p, const Ellipsoid& from, const Ellipsoid& to, double sign)
{
    const Geocentric g = ToGeocentric(p, from);
    return ToGeodetic({g.x + sign * kTranslationX, g.y + sign * kTranslationY, g.z + sign * kTranslationZ}, to);
}

}  // namespace

GeoPoint TokyoShift::ToWgs84(GeoPoint tokyo) { return Translate(tokyo, kBessel1841, kWgs84, 1); }

GeoPoint TokyoShift::FromWgs84(GeoPoint wgs84) { return Translate(wgs84, kWgs84, kBessel1841, -1); }

}  // namespace tovik
