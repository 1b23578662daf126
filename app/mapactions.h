// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <memory>
#include <optional>

#include "core/datumconverter.h"
#include "map/mapmarker.h"

class QAction;

namespace tovik {

class MainDialog;
class MapWindow;
struct PointEntry;

// 表示 → 地図: the edited points on a map in a window of its own, made the first time it
// is asked for. Each point of the book is its mark icon at its WGS 84 position (the device
// datum converted as the exports convert it); in the file-import view the imported points
// are dots beside them. The map follows the book, the lists' selection, the view and the
// device datum while it is open; a click on the map selects a row, a dragged mark moves its
// point (a step of the history) and 「ここに地点を追加」 opens 追加 at that place.
class MapActions : public QObject {
    Q_OBJECT
public:
    explicit MapActions(MainDialog& window);
    ~MapActions() override;

    // The menu item that opens and closes the map; it is checked while the map is open,
    // and reaches it from the map window as well.
    void Attach(QAction& item);
    void SetOpen(bool open);
    // Nothing until the map was first opened.
    MapWindow* Window() { return map.get(); }
    // The main window changed between the edit view and the file-import view.
    void ViewChanged();

private:
    void Create();
    bool Open() const;
    void UpdateTitle();
    void UpdateBook();
    void UpdateImported();
    // Highlights the selected point's marker, bringing it into view when it was not
    // highlighted yet.
    void UpdateSelection(bool bringIntoView = false);
    std::optional<GeoPoint> Wgs84(const PointEntry& point) const;
    void OnMarkerClicked(int id);
    void OnMarkerMoved(int id, double latitude, double longitude);
    void OnAddRequested(double latitude, double longitude);
    // A map position as the device stores it, or nothing (with a message) when it cannot.
    std::optional<std::pair<Coordinate, Coordinate>> DevicePosition(double latitude, double longitude);

    MainDialog& window;
    QAction* item = nullptr;
    std::unique_ptr<MapWindow> map;
    std::unique_ptr<DatumConverter> converter;
    QList<MapMarker> bookMarkers;
    QList<MapMarker> importedMarkers;
    // Which list's selection the map shows: the one chosen last.
    bool importedChosenLast = false;
    bool opening = false;
};

}  // namespace tovik
