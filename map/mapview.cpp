// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/mapview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "map/markerpainter.h"
#include "map/tilesource.h"

namespace tovik {

namespace {

const QColor kBackground(229, 227, 223);
// What the view shows with no markers: the main islands and Okinawa.
constexpr std::array<GeoPoint, 3> kJapan{{{45.5, 141.0}, {24.3, 123.0}, {31.0, 146.0}}};
constexpr int kWheelStep = 120;

}  // namespace

MapView::MapView(TileSource& tiles, QWidget* parent)
    : QWidget(parent), tiles(tiles), projection(TileSource::kMinZoom, TileSource::kMaxZoom)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("地図"));
    setMinimumSize(100, 100);
    connect(&tiles, &TileSource::TilesChanged, this, qOverload<>(&QWidget::update));
    SetView(WebMercatorProjection::FitCenter({kJapan.cbegin(), kJapan.cend()}), 5);
}

MapView::~MapView() = default;

void MapView::SetMarkers(QList<MapMarker> newMarkers)
{
    markers = std::move(newMarkers);
    if (drag == Drag::marker || drag == Drag::markerPressed) {
        if (IndexOf(dragged) < 0)
            CancelDrag();
    }
    update();
}

void MapView::SelectMarker(int id)
{
    selected = id;
    const qsizetype index = IndexOf(id);
    // A marker under the mouse is in view already, and must stay under it.
    if (index >= 0 && drag == Drag::none) {
        const MapMarker& m = markers[index];
        const QPointF at = PixelOf({m.latitude, m.longitude});
        const qreal inset = MarkerPainter::kIconSize / 2.0;
        if (!QRectF(rect()).adjusted(inset, inset, -inset, -inset).contains(at))
            MoveTo(WebMercatorProjection::ToWorld({m.latitude, m.longitude}, zoom));
    }
    update();
}

void MapView::FitMarkers()
{
    std::vector<GeoPoint> points;
    for (const MapMarker& m : std::as_const(markers))
        points.push_back({m.latitude, m.longitude});
    if (points.empty())
        points.assign(kJapan.cbegin(), kJapan.cend());
    const int fitted = projection.FitZoom(points, width(), height(), kFitMargin);
    SetView(WebMercatorProjection::FitCenter(points), fitted);
    fitWhenShown = !isVisible();
}

void MapView::SetView(GeoPoint newCenter, int newZoom)
{
    zoom = projection.ClampZoom(newZoom);
    MoveTo(WebMercatorProjection::ToWorld(newCenter, zoom));
}

GeoPoint MapView::Center() const { return WebMercatorProjection::ToGeo(center, zoom); }

QPointF MapView::Origin() const
{
    return {std::round(center.x - width() / 2.0), std::round(center.y - height() / 2.0)};
}

QPointF MapView::PixelOf(GeoPoint position) const
{
    const WorldPoint w = WebMercatorProjection::ToWorld(position, zoom);
    return QPointF(w.x, w.y) - Origin();
}

GeoPoint MapView::PositionAt(QPointF pixel) const
{
    const QPointF w = pixel + Origin();
    return WebMercatorProjection::ToGeo({w.x(), w.y()}, zoom);
}

QList<QPointF> MapView::MarkerPixels() const
{
    QList<QPointF> at;
    at.reserve(markers.size());
    for (const MapMarker& m : markers)
        at.append(PixelOf({m.latitude, m.longitude}));
    if (drag == Drag::marker) {
        if (const qsizetype i = IndexOf(dragged); i >= 0)
            at[i] = dragPixel + grabOffset;
    }
    return at;
}

int MapView::MarkerAt(QPointF pixel) const
{
    const QList<QPointF> at = MarkerPixels();
    // The selected marker is drawn over the others, and so is hit first.
    const qsizetype top = IndexOf(selected);
    if (top >= 0 && MarkerPainter::Bounds(markers[top], at[top]).contains(pixel))
        return int(top);
    for (qsizetype i = markers.size() - 1; i >= 0; --i) {
        if (MarkerPainter::Bounds(markers[i], at[i]).contains(pixel))
            return int(i);
    }
    return -1;
}

qsizetype MapView::IndexOf(int id) const
{
    if (id < 0)
        return -1;
    const auto found = std::find_if(markers.cbegin(), markers.cend(), [id](const MapMarker& m) { return m.id == id; });
    return found == markers.cend() ? -1 : found - markers.cbegin();
}

void MapView::MoveTo(WorldPoint newCenter)
{
    const double size = WebMercatorProjection::WorldSize(zoom);
    center = {std::clamp(newCenter.x, 0.0, size), std::clamp(newCenter.y, 0.0, size)};
    ViewMoved();
}

void MapView::ZoomAbout(QPointF pixel, int newZoom)
{
    newZoom = projection.ClampZoom(newZoom);
    if (newZoom == zoom)
        return;
    // The place under the pointer stays under it.
    const QPointF fromCenter = pixel - QPointF(width() / 2.0, height() / 2.0);
    const QPointF under = pixel + Origin();
    const double scale = std::ldexp(1.0, newZoom - zoom);
    zoom = newZoom;
    MoveTo({under.x() * scale - fromCenter.x(), under.y() * scale - fromCenter.y()});
}

void MapView::ViewMoved()
{
    tilesOutOfDate = true;
    update();
    emit ViewChanged();
}

void MapView::RequestTiles()
{
    const TileRange range = WebMercatorProjection::Tiles(center, zoom, width(), height());
    QList<TileKey> wanted;
    for (int y = range.firstY; y <= range.lastY; ++y) {
        for (int x = range.firstX; x <= range.lastX; ++x)
            wanted.append({zoom, x, y});
    }
    // The middle of the view first.
    const double middleX = center.x / WebMercatorProjection::kTileSize - 0.5;
    const double middleY = center.y / WebMercatorProjection::kTileSize - 0.5;
    const auto distance = [=](const TileKey& k) { return std::hypot(k.x - middleX, k.y - middleY); };
    std::stable_sort(wanted.begin(), wanted.end(),
                     [&](const TileKey& a, const TileKey& b) { return distance(a) < distance(b); });
    tiles.Request(wanted);
    tilesOutOfDate = false;
}

void MapView::CancelDrag()
{
    if (drag == Drag::pan)
        MoveTo(pressCenter);
    drag = Drag::none;
    dragged = -1;
    unsetCursor();
    update();
}

void MapView::paintEvent(QPaintEvent*)
{
    // Asked for when painted, so that a hidden view and views passed on the way cost nothing.
    if (tilesOutOfDate)
        RequestTiles();
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const QPointF origin = Origin();
    const TileRange range = WebMercatorProjection::Tiles(center, zoom, width(), height());
    for (int y = range.firstY; y <= range.lastY; ++y) {
        for (int x = range.firstX; x <= range.lastX; ++x) {
            const QImage tile = tiles.Tile({zoom, x, y});
            if (!tile.isNull()) {
                const QPointF corner(x * WebMercatorProjection::kTileSize, y * WebMercatorProjection::kTileSize);
                painter.drawImage(corner - origin, tile);
            }
        }
    }

    const QList<QPointF> at = MarkerPixels();
    const qsizetype top = IndexOf(selected);
    const qsizetype moving = drag == Drag::marker ? IndexOf(dragged) : -1;
    const QRectF area = QRectF(rect()).adjusted(-MarkerPainter::kIconSize, -MarkerPainter::kIconSize,
                                                MarkerPainter::kIconSize, MarkerPainter::kIconSize);
    for (qsizetype i = 0; i < markers.size(); ++i) {
        if (i != top && i != moving && area.contains(at[i]))
            MarkerPainter::DrawMarker(painter, markers[i], at[i]);
    }
    if (top >= 0 && top != moving) {
        MarkerPainter::DrawMarker(painter, markers[top], at[top]);
        MarkerPainter::DrawSelection(painter, markers[top], at[top]);
    }
    if (moving >= 0)
        MarkerPainter::DrawMarker(painter, markers[moving], at[moving]);
    MarkerPainter::DrawLabels(painter, markers, at, int(top), rect());
    MarkerPainter::DrawAttribution(painter, rect(), TileSource::Attribution());
}

void MapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ViewMoved();
}

void MapView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (fitWhenShown)
        FitMarkers();
}

void MapView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A closed map fetches nothing, and retries nothing, until it shows again.
    tiles.Request({});
    tilesOutOfDate = true;
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag != Drag::none) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressPixel = event->position().toPoint();
    pressCenter = center;
    const int hit = MarkerAt(event->position());
    if (hit >= 0) {
        drag = Drag::markerPressed;
        dragged = markers[hit].id;
        grabOffset = MarkerPixels()[hit] - event->position();
    } else {
        drag = Drag::pan;
        setCursor(Qt::ClosedHandCursor);
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (drag == Drag::pan) {
        const QPointF moved = pos - pressPixel;
        MoveTo({pressCenter.x - moved.x(), pressCenter.y - moved.y()});
    } else if (drag == Drag::markerPressed) {
        const qsizetype i = IndexOf(dragged);
        if ((pos.toPoint() - pressPixel).manhattanLength() >= QApplication::startDragDistance() && i >= 0 &&
            markers[i].style == MapMarker::Style::mark) {
            drag = Drag::marker;
            setCursor(Qt::ClosedHandCursor);
        }
    }
    if (drag == Drag::marker) {
        dragPixel = pos;
        update();
    }
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag == Drag::none) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const Drag was = drag;
    const int id = dragged;
    drag = Drag::none;
    dragged = -1;
    unsetCursor();
    if (was == Drag::markerPressed) {
        emit MarkerClicked(id);
    } else if (was == Drag::marker) {
        const GeoPoint to = PositionAt(event->position() + grabOffset);
        if (const qsizetype i = IndexOf(id); i >= 0) {
            markers[i].latitude = to.latitude;
            markers[i].longitude = to.longitude;
        }
        update();
        emit MarkerMoved(id, to.latitude, to.longitude);
    }
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && MarkerAt(event->position()) < 0)
        ZoomAbout(event->position(), zoom + 1);
}

void MapView::wheelEvent(QWheelEvent* event)
{
    // A touchpad sends many small steps; a level per notch of a wheel.
    wheelSteps += event->angleDelta().y();
    const int levels = wheelSteps / kWheelStep;
    wheelSteps -= levels * kWheelStep;
    if (levels != 0)
        ZoomAbout(event->position(), zoom + levels);
    event->accept();
}

void MapView::keyPressEvent(QKeyEvent* event)
{
    const QPointF middle(width() / 2.0, height() / 2.0);
    const double stepX = width() / 4.0;
    const double stepY = height() / 4.0;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (drag == Drag::none)
            QWidget::keyPressEvent(event);
        else
            CancelDrag();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomAbout(middle, zoom + 1);
        return;
    case Qt::Key_Minus:
        ZoomAbout(middle, zoom - 1);
        return;
    case Qt::Key_Left:
        MoveTo({center.x - stepX, center.y});
        return;
    case Qt::Key_Right:
        MoveTo({center.x + stepX, center.y});
        return;
    case Qt::Key_Up:
        MoveTo({center.x, center.y - stepY});
        return;
    case Qt::Key_Down:
        MoveTo({center.x, center.y + stepY});
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MapView::contextMenuEvent(QContextMenuEvent* event)
{
    if (drag != Drag::none)
        return;
    const GeoPoint at = PositionAt(event->pos());
    QMenu menu(this);
    QAction* add = menu.addAction(QStringLiteral("ここに地点を追加"));
    if (menu.exec(event->globalPos()) == add)
        emit AddRequested(at.latitude, at.longitude);
}

bool MapView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int hit = MarkerAt(help->pos());
        if (hit >= 0 && !markers[hit].name.isEmpty())
            QToolTip::showText(help->globalPos(), markers[hit].name, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tovik
