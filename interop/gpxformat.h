#pragma once

#include <QByteArray>
#include <vector>

#include "exchangepoint.h"

namespace tovik {

// GPX 1.1 waypoints. Each <wpt> carries the name, a readable <cmt> (the reading) and
// <desc>, the mark as <sym>, and the device's fields in <extensions><tovik:point> in
// Tovik's own namespace. Routes and tracks are not read.
class GpxFormat {
public:
    static ReadResult Read(const QByteArray& bytes);
    static QByteArray Write(const std::vector<ExchangePoint>& points);
};

}  // namespace tovik
