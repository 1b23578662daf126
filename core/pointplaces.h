// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "core/datumconverter.h"
#include "core/pointentry.h"

namespace tovik {

// Where a list of points lies on WGS 84, for measuring between them. A point whose
// position the datum conversion could not give has none: it is near no other point and
// has no distance from any.
class PointPlaces {
public:
    explicit PointPlaces(std::vector<std::optional<GeoPoint>> wgs84 = {});
    // The positions of points stored in the device datum of `datum`, converted as the
    // exports convert them.
    static PointPlaces Of(const std::vector<PointEntry>& entries, const DatumConverter& datum);

    int Count() const { return static_cast<int>(positions.size()); }
    const std::optional<GeoPoint>& At(int row) const { return positions[static_cast<std::size_t>(row)]; }
    // The geodesic distance between two rows, nothing when either has no position.
    std::optional<double> Metres(int a, int b) const;
    // The distance of every row from row `from`.
    std::vector<std::optional<double>> MetresFrom(int from) const;
    // The rows without a position, ascending.
    std::vector<int> Unplaced() const;

private:
    std::vector<std::optional<GeoPoint>> positions;
};

}  // namespace tovik
