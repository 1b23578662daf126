// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "map/mapmarker.h"

class QPainter;

namespace tovik {

// How markers, their names and the tile server's attribution look on the map.
class MarkerPainter {
public:
    // Mark icons are drawn at the larger of their two sizes, pixel for pixel.
    static constexpr int kIconSize = 32;
    static constexpr int kDotRadius = 5;
    // Above this many markers in view no names are drawn: they could not fit anyway.
    static constexpr int kMostLabels = 300;

    // Where the marker centred on `at` is drawn, and where a click hits it.
    static QRectF Bounds(const MapMarker& marker, QPointF at);
    static void DrawMarker(QPainter& painter, const MapMarker& marker, QPointF at);
    // A box around the selected marker, seen on any map.
    static void DrawSelection(QPainter& painter, const MapMarker& marker, QPointF at);
    // Names beside every marker whose name has room: a name covers no other name and no
    // marker. The name of `first` (an index, or -1) is drawn in any case.
    static void DrawLabels(QPainter& painter, const QList<MapMarker>& markers, const QList<QPointF>& at,
                           int first, const QRectF& area);
    static void DrawAttribution(QPainter& painter, const QRectF& area, const QString& text);
};

}  // namespace tovik
