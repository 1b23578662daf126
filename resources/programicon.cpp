// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/programicon.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <vector>

namespace tovik {

namespace {

// One filled or stroked outline of the drawing, in a 64-unit square.
struct Layer {
    QPainterPath path;
    QBrush fill = Qt::NoBrush;
    QPen stroke = Qt::NoPen;
};

// A rounded blue-green tile with a faint route across it and a white map pin. Below 40
// pixels the route and the graticule are left out, below 24 the pin grows so that it
// stays recognisable. Lines keep a width of one whole pixel at every size.
std::vector<Layer> Layers(int size)
{
    const bool tiny = size < 24;
    const bool small = size < 40;
    const qreal px = 64.0 / size;
    std::vector<Layer> layers;

    Layer tile;
    tile.path.addRoundedRect(QRectF(px / 2, px / 2, 64 - px, 64 - px), 13, 13);
    QLinearGradient sea(0, 0, 0, 64);
    sea.setColorAt(0, QColor(0x2bb3a3));
    sea.setColorAt(1, QColor(0x1a5fa8));
    tile.fill = sea;
    tile.stroke = QPen(QColor(0x0f3e6e), px);
    layers.push_back(tile);

    if (!small) {
        // A dashed route winding towards the pin.
        Layer route;
        route.path.moveTo(8, 54);
        route.path.cubicTo(QPointF(22, 58), QPointF(16, 40), QPointF(30, 44));
        route.path.cubicTo(QPointF(40, 47), QPointF(42, 52), QPointF(50, 50));
        route.stroke = QPen(QColor(255, 255, 255, 150), 2.2, Qt::CustomDashLine, Qt::RoundCap);
        route.stroke.setDashPattern({1.0, 1.8});
        layers.push_back(route);
        // A fine graticule, as on a chart.
        Layer graticule;
        for (const qreal v : std::array<qreal, 3>{16, 32, 48}) {
            graticule.path.moveTo(v, 3);
            graticule.path.lineTo(v, 61);
            graticule.path.moveTo(3, v);
            graticule.path.lineTo(61, v);
        }
        graticule.stroke = QPen(QColor(255, 255, 255, 38), px);
        layers.push_back(graticule);
    }

    // The pin: a disc tapering to a point, with a hole showing the tile (the hole is a
    // second outline inside the first, cut out by the even-odd rule).
    const QPointF head = tiny ? QPointF(32, 24) : QPointF(32, 25);
    const qreal r = tiny ? 17 : small ? 15.5 : 14;
    const QPointF tip(32, tiny ? 60 : small ? 58 : 54);
    const qreal hole = tiny ? r * 0.42 : r * 0.4;
    QPainterPath pin;
    pin.moveTo(tip);
    pin.cubicTo(QPointF(head.x() - r * 0.55, tip.y() - r * 1.1), QPointF(head.x() - r, head.y() + r * 0.6),
                QPointF(head.x() - r, head.y()));
    pin.arcTo(QRectF(head.x() - r, head.y() - r, 2 * r, 2 * r), 180, -180);
    pin.cubicTo(QPointF(head.x() + r, head.y() + r * 0.6), QPointF(head.x() + r * 0.55, tip.y() - r * 1.1), tip);
    pin.closeSubpath();
    pin.addEllipse(head, hole, hole);
    pin.setFillRule(Qt::OddEvenFill);

    layers.push_back({pin.translated(px, px), QColor(0, 0, 0, 70)});
    layers.push_back({pin, QColor(Qt::white)});
    if (!tiny) {
        // A red centre in the hole marks the point.
        Layer centre;
        centre.path.addEllipse(head, hole * 0.55, hole * 0.55);
        centre.fill = QColor(0xe53935);
        layers.push_back(centre);
    }
    return layers;
}

QImage DrawProgramImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    for (const Layer& layer : Layers(size)) {
        p.setBrush(layer.fill);
        p.setPen(layer.stroke);
        p.drawPath(layer.path);
    }
    return image;
}

QString Number(qreal v) { return QString::number(v, 'g', 6); }

QString Point(const QPainterPath::Element& e) { return Number(e.x) + u' ' + Number(e.y); }

// SVG path data for a painter path: its moves, lines and cubic curves one for one; a
// subpath that returns to its start is closed so that a stroke joins there.
QString PathData(const QPainterPath& path)
{
    QString d;
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (!d.isEmpty() && QPointF(path.elementAt(i - 1)) == start)
                d += QStringLiteral("Z");
            start = e;
            d += u'M' + Point(e);
            break;
        case QPainterPath::LineToElement:
            d += u'L' + Point(e);
            break;
        case QPainterPath::CurveToElement:
            d += u'C' + Point(e) + u' ' + Point(path.elementAt(i + 1)) + u' ' + Point(path.elementAt(i + 2));
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (path.elementCount() > 0 && QPointF(path.elementAt(path.elementCount() - 1)) == start)
        d += QStringLiteral("Z");
    return d;
}

QString Colour(const QColor& c) { return c.name(QColor::HexRgb); }

// The paint attributes of a brush or pen colour: the colour and, when not opaque, its opacity.
QString Paint(const char* what, const QColor& c)
{
    QString s = QStringLiteral(" %1=\"%2\"").arg(QLatin1String(what), Colour(c));
    if (c.alpha() != 255)
        s += QStringLiteral(" %1-opacity=\"%2\"").arg(QLatin1String(what), Number(c.alphaF()));
    return s;
}

}  // namespace

QPixmap ProgramPixmap(int size)
{
    return QPixmap::fromImage(DrawProgramImage(size));
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(ProgramPixmap(size));
    return icon;
}

QByteArray ProgramIconSvg()
{
    QString defs;
    QString body;
    int gradients = 0;
    for (const Layer& layer : Layers(64)) {
        QString attributes;
        if (const QGradient* g = layer.fill.gradient(); g && g->type() == QGradient::LinearGradient) {
            const auto* linear = static_cast<const QLinearGradient*>(g);
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs += QStringLiteral("<linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"%2\" y1=\"%3\" "
                                   "x2=\"%4\" y2=\"%5\">")
                        .arg(id, Number(linear->start().x()), Number(linear->start().y()),
                             Number(linear->finalStop().x()), Number(linear->finalStop().y()));
            for (const auto& [at, colour] : linear->stops())
                defs += QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\"/>").arg(Number(at), Colour(colour));
            defs += QStringLiteral("</linearGradient>");
            attributes += QStringLiteral(" fill=\"url(#%1)\"").arg(id);
        } else if (layer.fill.style() != Qt::NoBrush) {
            attributes += Paint("fill", layer.fill.color());
        } else {
            attributes += QStringLiteral(" fill=\"none\"");
        }
        if (layer.path.fillRule() == Qt::OddEvenFill && layer.fill.style() != Qt::NoBrush)
            attributes += QStringLiteral(" fill-rule=\"evenodd\"");
        if (layer.stroke.style() != Qt::NoPen) {
            attributes += Paint("stroke", layer.stroke.color());
            attributes += QStringLiteral(" stroke-width=\"%1\"").arg(Number(layer.stroke.widthF()));
            if (layer.stroke.capStyle() == Qt::RoundCap)
                attributes += QStringLiteral(" stroke-linecap=\"round\"");
            if (layer.stroke.style() == Qt::CustomDashLine) {
                // A painter's dashes are counted in pen widths, an SVG's in units.
                QStringList dashes;
                for (const qreal dash : layer.stroke.dashPattern())
                    dashes << Number(dash * layer.stroke.widthF());
                attributes += QStringLiteral(" stroke-dasharray=\"%1\"").arg(dashes.join(u' '));
            }
        }
        body += QStringLiteral("<path d=\"%1\"%2/>\n").arg(PathData(layer.path), attributes);
    }
    const QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                                       "viewBox=\"0 0 64 64\">\n<defs>%1</defs>\n%2</svg>\n")
                            .arg(defs, body);
    return svg.toUtf8();
}

}  // namespace tovik
