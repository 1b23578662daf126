#include "programicon.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace tovik {

namespace {

// A rounded blue-green tile with a faint route across it and a white map pin. The
// drawing works in a 64-unit square; below 32 pixels the route is left out and the
// pin grows so that it stays recognisable.
QImage DrawProgramImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const bool tiny = size < 24;
    const bool small = size < 40;

    // The tile, its edge a whole pixel wide at every size.
    const qreal px = 64.0 / size;
    const QRectF tile(px / 2, px / 2, 64 - px, 64 - px);
    QLinearGradient sea(0, 0, 0, 64);
    sea.setColorAt(0, QColor(0x2bb3a3));
    sea.setColorAt(1, QColor(0x1a5fa8));
    p.setPen(QPen(QColor(0x0f3e6e), px));
    p.setBrush(sea);
    p.drawRoundedRect(tile, 13, 13);

    if (!small) {
        // A dashed route winding towards the pin.
        QPainterPath route(QPointF(8, 54));
        route.cubicTo(QPointF(22, 58), QPointF(16, 40), QPointF(30, 44));
        route.cubicTo(QPointF(40, 47), QPointF(42, 52), QPointF(50, 50));
        QPen dash(QColor(255, 255, 255, 150), 2.2, Qt::CustomDashLine, Qt::RoundCap);
        dash.setDashPattern({1.0, 1.8});
        p.setPen(dash);
        p.setBrush(Qt::NoBrush);
        p.drawPath(route);
        // A fine graticule, as on a chart.
        p.setPen(QPen(QColor(255, 255, 255, 38), px));
        for (const qreal v : std::array<qreal, 3>{16, 32, 48}) {
            p.drawLine(QPointF(v, 3), QPointF(v, 61));
            p.drawLine(QPointF(3, v), QPointF(61, v));
        }
    }

    // The pin: a disc tapering to a point, with a hole showing the tile.
    const QPointF head = tiny ? QPointF(32, 24) : QPointF(32, 25);
    const qreal r = tiny ? 17 : small ? 15.5 : 14;
    const QPointF tip(32, tiny ? 60 : small ? 58 : 54);
    QPainterPath pin;
    pin.moveTo(tip);
    pin.cubicTo(QPointF(head.x() - r * 0.55, tip.y() - r * 1.1), QPointF(head.x() - r, head.y() + r * 0.6),
                QPointF(head.x() - r, head.y()));
    pin.arcTo(QRectF(head.x() - r, head.y() - r, 2 * r, 2 * r), 180, -180);
    pin.cubicTo(QPointF(head.x() + r, head.y() + r * 0.6), QPointF(head.x() + r * 0.55, tip.y() - r * 1.1), tip);
    pin.closeSubpath();
    const qreal hole = tiny ? r * 0.42 : r * 0.4;
    QPainterPath ring;
    ring.addEllipse(head, hole, hole);
    pin = pin.subtracted(ring);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(pin.translated(px, px));
    p.setBrush(Qt::white);
    p.drawPath(pin);
    if (!tiny) {
        // A red centre in the hole marks the point.
        p.setBrush(QColor(0xe53935));
        p.drawEllipse(head, hole * 0.55, hole * 0.55);
    }
    return image;
}

}  // namespace

QPixmap ProgramPixmap(int size)
{
    return QPixmap::fromImage(DrawProgramImage(size));
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 256})
        icon.addPixmap(ProgramPixmap(size));
    return icon;
}

}  // namespace tovik
