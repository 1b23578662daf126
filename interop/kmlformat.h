// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "interop/readresult.h"

namespace tovik {

// KML 2.2 placemarks. Placemarks are found at any depth (in folders too); only those
// with a <Point> are points. A placemark carries the name, a readable <description>,
// the mark as the style "#markNN", and the device's fields as <ExtendedData> <Data>.
class KmlFormat {
public:
    static ReadResult Read(const QByteArray& bytes, ReadResult::Take take = {});
    // One style per mark used, with the mark's colour for the label (and for the map
    // program's own pin); `iconFolder` non-empty: the mark's icon in that folder of a KMZ
    // ("files/mark03.png").
    static QByteArray Write(const std::vector<ExchangePoint>& points, const QString& title,
                            const QString& iconFolder = {});
};

}  // namespace tovik
