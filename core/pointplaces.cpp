// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pointplaces.h"

#include "core/geodesy.h"

namespace tovik {

PointPlaces::PointPlaces(std::vector<std::optional<GeoPoint>> wgs84) : positions(std::move(wgs84)) {}

PointPlaces PointPlaces::Of(const std::vector<PointEntry>& entries, const DatumConverter& datum)
{
    std::vector<std::optional<GeoPoint>> wgs84;
    wgs84.reserve(entries.size());
    for (const PointEntry& e : entries) {
        wgs84.push_back(datum.ToWgs84({DatumConverter::Degrees(e.latitude, e.latitudeFraction),
                                       DatumConverter::Degrees(e.longitude, e.longitudeFraction)}));
    }
    return PointPlaces(std::move(wgs84));
}

std::optional<double> PointPlaces::Metres(int a, int b) const
{
    if (!At(a) || !At(b))
        return std::nullopt;
    return Geodesy::Metres(*At(a), *At(b));
}

std::vector<std::optional<double>> PointPlaces::MetresFrom(int from) const
{
    std::vector<std::optional<double>> metres;
    metres.reserve(positions.size());
    for (int row = 0; row < Count(); ++row)
        metres.push_back(Metres(from, row));
    return metres;
}

std::vector<int> PointPlaces::Unplaced() const
{
    std::vector<int> rows;
    for (int row = 0; row < Count(); ++row) {
        if (!At(row))
            rows.push_back(row);
    }
    return rows;
}

}  // namespace tovik
