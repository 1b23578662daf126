// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tovik {

// A position in decimal degrees, north latitude and east longitude.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

}  // namespace tovik
