// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/markerpainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tovik {

namespace {

const QColor kDotFill(230, 80, 20);
const QColor kSelection(255, 200, 0);
const QColor kOutline(40, 40, 40);
const QColor kLabelBox(255, 255, 255, 215);
const QColor kLabelText(20, 20, 20);
constexpr qreal kLabelGap = 3;
constexpr qreal kLabelPad = 3;

QRectF LabelRect(const QFontMetricsF& metrics, const MapMarker& marker, const QRectF& bounds)
{
    const QSizeF size(metrics.horizontalAdvance(marker.name) + 2 * kLabelPad, metrics.height() + 2);
    return QRectF(QPointF(bounds.right() + kLabelGap, bounds.center().y() - size.height() / 2), size);
}

}  // namespace

QRectF MarkerPainter::Bounds(const MapMarker& marker, QPointF at)
{
    const qreal half = marker.style == MapMarker::Style::dot ? kDotRadius + 1 : kIconSize / 2.0;
    return QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half);
}

void MarkerPainter::DrawMarker(QPainter& painter, const MapMarker& marker, QPointF at)
{
    if (marker.style == MapMarker::Style::dot) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(kDotFill);
        painter.drawEllipse(at, kDotRadius, kDotRadius);
        painter.restore();
        return;
    }
    const QPixmap pixmap = marker.icon.pixmap(QSize(kIconSize, kIconSize), painter.device()->devicePixelRatioF());
    if (pixmap.isNull())
        return;
    const QSizeF size = pixmap.deviceIndependentSize();
    // Whole pixels, so that the icon's pixels fall on the screen's.
    const QPointF corner(std::round(at.x() - size.width() / 2), std::round(at.y() - size.height() / 2));
    painter.drawPixmap(corner, pixmap);
}

void MarkerPainter::DrawSelection(QPainter& painter, const MapMarker& marker, QPointF at)
{
    const QRectF box = Bounds(marker, at).adjusted(-4, -4, 4, 4);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kOutline, 5));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(QPen(kSelection, 3));
    painter.drawRoundedRect(box, 4, 4);
    painter.restore();
}

void MarkerPainter::DrawLabels(QPainter& painter, const QList<MapMarker>& markers, const QList<QPointF>& at,
                               int first, const QRectF& area)
{
    QList<int> shown;
    QList<QRectF> taken;
    for (qsizetype i = 0; i < markers.size(); ++i) {
        const QRectF bounds = Bounds(markers[i], at[i]);
        if (area.intersects(bounds)) {
            shown.append(int(i));
            taken.append(bounds);
        }
    }
    if (shown.size() > kMostLabels)
        return;
    if (first >= 0 && shown.removeOne(first))
        shown.prepend(first);
    const QFontMetricsF metrics(painter.font());
    painter.save();
    for (const int i : std::as_const(shown)) {
        if (markers[i].name.isEmpty())
            continue;
        const QRectF box = LabelRect(metrics, markers[i], Bounds(markers[i], at[i]));
        const bool free = std::none_of(taken.cbegin(), taken.cend(), [&box](const QRectF& r) {
            return r.intersects(box);
        });
        // The selected marker's name shows wherever it is.
        if (!free && i != first)
            continue;
        taken.append(box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLabelBox);
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(kLabelText);
        painter.drawText(box, Qt::AlignCenter, markers[i].name);
    }
    painter.restore();
}

void MarkerPainter::DrawAttribution(QPainter& painter, const QRectF& area, const QString& text)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(text) + 8, metrics.height() + 2);
    const QRectF box(area.bottomRight() - QPointF(size.width(), size.height()), size);
    painter.fillRect(box, kLabelBox);
    painter.setPen(kLabelText);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace tovik
