// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/geodesy.h"

#include <GeographicLib/Geodesic.hpp>

namespace tovik {

double Geodesy::Metres(GeoPoint a, GeoPoint b)
{
    double metres = 0;
    GeographicLib::Geodesic::WGS84().Inverse(a.latitude, a.longitude, b.latitude, b.longitude, metres);
    return metres;
}

}  // namespace tovik
