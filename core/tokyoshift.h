// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/geopoint.h"

namespace tovik {

// The three-parameter shift from the Tokyo datum to WGS 84, EPSG:15484, computed as PROJ
// computes that operation, and its inverse.
class TokyoShift {
public:
    static GeoPoint ToWgs84(GeoPoint tokyo);
    // PROJ's inverse pipeline: the way there undone step by step, each step at height 0,
    // which misses the exact inverse of ToWgs84 by millimetres.
    static GeoPoint FromWgs84(GeoPoint wgs84);
};

}  // namespace tovik
