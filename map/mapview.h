// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QWidget>

#include "map/mapmarker.h"
#include "map/webmercatorprojection.h"

namespace tovik {

class TileSource;

// A map of web-mercator tiles with the owner's markers on it, one screen pixel per tile
// pixel. The wheel zooms by whole levels about the pointer, a drag on the background pans,
// + / − and the arrow keys do the same from the keyboard, a double click zooms in. A click
// on a marker reports it; a mark (not a dot) dragged with the mouse moves by the pointer's
// movement and is reported where it is let go, unless Escape cancelled the drag.
class MapView : public QWidget {
    Q_OBJECT
public:
    // The widest margin a fitted view leaves around its markers.
    static constexpr int kFitMargin = 48;

    // The view draws the tiles of `tiles` (and asks it for them), which must outlive it.
    explicit MapView(TileSource& tiles, QWidget* parent = nullptr);
    ~MapView() override;

    // Replaces the markers; the view stays where it is. A marker being dragged that is
    // no longer among them ends its drag unreported.
    void SetMarkers(QList<MapMarker> markers);
    const QList<MapMarker>& Markers() const { return markers; }
    // Highlights the marker with this id (-1: none) and, when it is out of view, centres it.
    void SelectMarker(int id);
    int SelectedMarker() const { return selected; }

    // All markers at the largest whole zoom at which they fit with kFitMargin pixels to
    // spare on each side; without markers, all of Japan. Before the view is shown, again
    // when it is shown at its real size.
    void FitMarkers();
    // The view the settings keep: centre (WGS 84) and zoom, clamped to the tiles' range.
    void SetView(GeoPoint center, int zoom);
    GeoPoint Center() const;
    int Zoom() const { return zoom; }

    // The pixel of the view at a position, and the position at a pixel.
    QPointF PixelOf(GeoPoint position) const;
    GeoPoint PositionAt(QPointF pixel) const;

signals:
    void MarkerClicked(int id);
    void MarkerMoved(int id, double latitude, double longitude);
    // The context menu's 「ここに地点を追加」 at this position.
    void AddRequested(double latitude, double longitude);
    // The centre or the zoom changed.
    void ViewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Drag { none, pan, markerPressed, marker };

    // The world pixel at the view's top left corner, whole so that tiles fall on pixels.
    QPointF Origin() const;
    QList<QPointF> MarkerPixels() const;
    // The index of the topmost marker at a pixel, or -1.
    int MarkerAt(QPointF pixel) const;
    qsizetype IndexOf(int id) const;
    void MoveTo(WorldPoint newCenter);
    void ZoomAbout(QPointF pixel, int newZoom);
    void ViewMoved();
    void RequestTiles();
    void CancelDrag();

    TileSource& tiles;
    WebMercatorProjection projection;
    QList<MapMarker> markers;
    int selected = -1;
    int zoom = 5;
    // In the world pixels of `zoom`.
    WorldPoint center;
    bool fitWhenShown = false;
    bool tilesOutOfDate = true;
    int wheelSteps = 0;

    Drag drag = Drag::none;
    QPoint pressPixel;
    WorldPoint pressCenter;
    int dragged = -1;
    // From the pointer to the dragged marker's centre, kept while it moves.
    QPointF grabOffset;
    QPointF dragPixel;
};

}  // namespace tovik
