// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pointentry.h"

#include "core/fieldencoding.h"
#include "core/markrule.h"

namespace tovik {

PointEntry PointEntry::FromTexts(const std::string& name, const std::string& reading,
                                 const std::string& longitude, const std::string& latitude,
                                 const std::string& telephone, const std::string& mark)
{
    PointEntry e;
    e.occupied = kOccupied;
    e.name = name;
    e.reading = reading;
    const Coordinate lon = ParseCoordinate(longitude);
    e.longitude = lon.value;
    e.longitudeFraction = lon.fraction;
    const Coordinate lat = ParseCoordinate(latitude);
    e.latitude = lat.value;
    e.latitudeFraction = lat.fraction;
    // A mark text that reads as more than 25 leaves the new point's mark at 0.
    e.mark = ParseMark(mark, e.mark);
    ParseTelephone(telephone, e.telephone);
    const MarkFollowers f = FollowMarkText(mark);
    e.distance = f.distance;
    e.category = f.category;
    return e;
}

}  // namespace tovik
