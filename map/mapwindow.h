// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QButtonGroup>
#include <QPointer>
#include <QWidget>

#include "map/mapview.h"
#include "map/tilesource.h"

namespace tovik {

// The map as a window of its own beside the main window, not modal: the map view with a
// choice of 標準地図, 淡色地図 and 写真 above it. Its size, place, layer and the last view
// are kept in the settings when it closes. The owner creates it when the map is first
// asked for, gives the view its markers (View().SetMarkers) before showing it, and hears
// Closed() however the window was closed.
class MapWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 400;
    static constexpr int kMinHeight = 300;

    // The first time it opens, the window stands beside `beside` where the screen has
    // room; afterwards where the user left it. It is no child of `beside`.
    explicit MapWindow(QWidget* beside = nullptr);
    ~MapWindow() override;

    // The title: 「地図 — 」 and the name (「地図」 alone for an empty name).
    void SetFileName(const QString& name);
    MapView& View() { return view; }
    TileSource& Tiles() { return tiles; }

signals:
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceFirstTime();
    void SaveSettings() const;

    TileSource tiles;
    MapView view;
    QButtonGroup layerButtons;
    QPointer<QWidget> beside;
    bool opened = false;
};

}  // namespace tovik
