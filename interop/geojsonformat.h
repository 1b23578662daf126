// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <vector>

#include "interop/readresult.h"

namespace tovik {

// GeoJSON (RFC 7946): a FeatureCollection of Point features, [longitude, latitude] in
// WGS 84, the name and the device's fields in "properties". A single Feature is read as
// well; features of other geometries are left out.
class GeoJsonFormat {
public:
    static ReadResult Read(const QByteArray& bytes, ReadResult::Take take = {});
    static QByteArray Write(const std::vector<ExchangePoint>& points);
};

}  // namespace tovik
