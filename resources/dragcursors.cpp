// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/dragcursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tovik {

namespace {

constexpr int kSize = 32;

// The arrow with its tip at (x, y): white inside a black outline.
void DrawArrow(QPainter& p, int x, int y)
{
    const QPoint outline[] = {{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}};
    QPolygon arrow;
    for (const QPoint& o : outline)
        arrow << QPoint(x + o.x(), y + o.y());
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
}

// An outlined sheet: black frame, white inside.
void DrawSheet(QPainter& p, const QRect& r)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void DrawPlus(QPainter& p, int cx, int cy)
{
    p.fillRect(cx - 4, cy - 1, 9, 3, Qt::black);
    p.fillRect(cx - 1, cy - 4, 3, 9, Qt::black);
}

}  // namespace

QCursor MakeDragCursor(DragCursor which)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPoint hotSpot(1, 1);
    switch (which) {
    case DragCursor::arrow:
        DrawArrow(p, 1, 1);
        break;
    case DragCursor::copyOne:
        DrawSheet(p, QRect(12, 18, 12, 9));
        DrawPlus(p, 26, 12);
        DrawArrow(p, 1, 1);
        break;
    case DragCursor::copySeveral:
        DrawSheet(p, QRect(15, 21, 12, 9));
        DrawSheet(p, QRect(11, 17, 12, 9));
        DrawPlus(p, 26, 11);
        DrawArrow(p, 0, 0);
        hotSpot = QPoint(0, 0);
        break;
    case DragCursor::forbidden: {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        QPainterPath ring;
        ring.addEllipse(QPointF(15.5, 15.5), 13, 13);
        ring.addEllipse(QPointF(15.5, 15.5), 9, 9);
        p.fillPath(ring, Qt::white);
        p.drawEllipse(QPointF(15.5, 15.5), 13, 13);
        p.drawEllipse(QPointF(15.5, 15.5), 9, 9);
        QPolygon bar;
        bar << QPoint(8, 10) << QPoint(10, 8) << QPoint(23, 21) << QPoint(21, 23);
        p.setBrush(Qt::white);
        p.drawPolygon(bar);
        hotSpot = QPoint(15, 15);
        break;
    }
    }
    p.end();
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

}  // namespace tovik
