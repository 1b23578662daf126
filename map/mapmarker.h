// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

namespace tovik {

// A place the map shows, as its owner gives it: the position in WGS 84 degrees (north and
// east positive), the name for the tooltip and label, and how it is drawn: a mark icon
// centred on the place, or a plain dot for points that are only shown (they cannot be
// dragged). The id is the owner's, unique among the markers of one view.
struct MapMarker {
    enum class Style { mark, dot };

    int id = 0;
    double latitude = 0;
    double longitude = 0;
    QString name;
    QIcon icon;
    Style style = Style::mark;
};

}  // namespace tovik
