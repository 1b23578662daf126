// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/mapwindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

namespace tovik {

namespace {

QSettings Settings() { return QSettings(QStringLiteral("Tovik"), QStringLiteral("Tovik")); }

const QString kGeometryKey = QStringLiteral("map/geometry");
const QString kLayerKey = QStringLiteral("map/layer");
const QString kLatitudeKey = QStringLiteral("map/latitude");
const QString kLongitudeKey = QStringLiteral("map/longitude");
const QString kZoomKey = QStringLiteral("map/zoom");

// The layers by the names the settings keep them under.
const std::array<std::pair<TileSource::Layer, QLatin1String>, 3> kLayerKeys{{
    {TileSource::Layer::standard, QLatin1String("standard")},
    {TileSource::Layer::pale, QLatin1String("pale")},
    {TileSource::Layer::photo, QLatin1String("photo")},
}};

const QSize kFirstSize(760, 560);

}  // namespace

MapWindow::MapWindow(QWidget* beside) : QWidget(nullptr, Qt::Window), view(tiles), beside(beside)
{
    setWindowTitle(QStringLiteral("地図"));
    setMinimumSize(kMinWidth, kMinHeight);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    const QSettings settings = Settings();
    const QString savedLayer = settings.value(kLayerKey).toString();
    for (const auto& [layer, key] : kLayerKeys) {
        auto* button = new QToolButton(this);
        button->setText(TileSource::LayerName(layer));
        button->setCheckable(true);
        button->setAutoRaise(true);
        layerButtons.addButton(button, int(layer));
        bar->addWidget(button);
        if (key == savedLayer)
            tiles.SetLayer(layer);
    }
    layerButtons.button(int(tiles.CurrentLayer()))->setChecked(true);
    connect(&layerButtons, &QButtonGroup::idClicked, this,
            [this](int id) { tiles.SetLayer(static_cast<TileSource::Layer>(id)); });
    bar->addStretch();
    auto* fit = new QToolButton(this);
    fit->setText(QStringLiteral("全地点を表示"));
    fit->setAutoRaise(true);
    connect(fit, &QToolButton::clicked, &view, &MapView::FitMarkers);
    bar->addWidget(fit);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(bar);
    column->addWidget(&view, 1);

    if (!restoreGeometry(settings.value(kGeometryKey).toByteArray()))
        PlaceFirstTime();
}

MapWindow::~MapWindow()
{
    if (isVisible())
        SaveSettings();
}

void MapWindow::SetFileName(const QString& name)
{
    setWindowTitle(name.isEmpty() ? QStringLiteral("地図") : QStringLiteral("地図 — ") + name);
}

void MapWindow::PlaceFirstTime()
{
    QScreen* screen = beside ? beside->screen() : this->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size = kFirstSize.boundedTo(room.size()).expandedTo(minimumSize());
    resize(size);
    if (!beside)
        return;
    // Beside the main window where the screen has room, else over its far side.
    const QRect main = beside->frameGeometry();
    int x = main.right() + 1;
    if (x + size.width() > room.right() + 1)
        x = main.left() - size.width() >= room.left() ? main.left() - size.width() : room.right() + 1 - size.width();
    const int y = std::clamp(main.top(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
    move(std::max(x, room.left()), y);
}

void MapWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (opened)
        return;
    opened = true;
    // The last view when it shows any of the markers, as when the same file is open again;
    // the markers fitted for another file.
    const QSettings settings = Settings();
    if (settings.contains(kZoomKey)) {
        view.SetView({settings.value(kLatitudeKey).toDouble(), settings.value(kLongitudeKey).toDouble()},
                     settings.value(kZoomKey).toInt());
        const QRectF shown(view.rect());
        for (const MapMarker& m : view.Markers()) {
            if (shown.contains(view.PixelOf({m.latitude, m.longitude})))
                return;
        }
        if (view.Markers().isEmpty())
            return;
    }
    view.FitMarkers();
}

void MapWindow::closeEvent(QCloseEvent* event)
{
    SaveSettings();
    QWidget::closeEvent(event);
    emit Closed();
}

void MapWindow::SaveSettings() const
{
    QSettings settings = Settings();
    settings.setValue(kGeometryKey, saveGeometry());
    for (const auto& [layer, key] : kLayerKeys) {
        if (layer == tiles.CurrentLayer())
            settings.setValue(kLayerKey, QString(key));
    }
    const GeoPoint center = view.Center();
    settings.setValue(kLatitudeKey, center.latitude);
    settings.setValue(kLongitudeKey, center.longitude);
    settings.setValue(kZoomKey, view.Zoom());
}

}  // namespace tovik
