// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/datumconverter.h"

namespace tovik {

// Distances on the WGS 84 ellipsoid along the geodesic, the shortest path on its surface,
// through GeographicLib (Karney's algorithm, accurate to nanometres at any distance).
class Geodesy {
public:
    // Metres between two WGS 84 positions.
    static double Metres(GeoPoint a, GeoPoint b);
};

}  // namespace tovik
