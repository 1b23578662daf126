// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mapactions.h"

#include <QAction>
#include <QFileInfo>

#include "app/maindialog.h"
#include "core/fieldencoding.h"
#include "core/pointbook.h"
#include "editing/movepositioncommand.h"
#include "editing/rowselection.h"
#include "map/mapwindow.h"

namespace tovik {

namespace {

// Imported points are told apart from the book's rows by ids from here on.
constexpr int kImportedIds = 1 << 20;
const QString kNotOnDevice = QStringLiteral("その場所は本体に保存できません（東経・北緯の範囲の外です）。");

}  // namespace

MapActions::MapActions(MainDialog& window) : window(window) {}

MapActions::~MapActions() = default;

void MapActions::Attach(QAction& action)
{
    item = &action;
    connect(item, &QAction::triggered, this, &MapActions::SetOpen);
}

bool MapActions::Open() const { return map && (map->isVisible() || opening); }

void MapActions::SetOpen(bool open)
{
    if (!open) {
        if (map)
            map->close();
        return;
    }
    if (!map)
        Create();
    // The markers are there before the window first shows, which fits its view to them.
    opening = true;
    UpdateTitle();
    UpdateBook();
    UpdateImported();
    opening = false;
    map->show();
    map->raise();
    map->activateWindow();
    // The selected point in view, over the view the window kept.
    UpdateSelection(true);
    if (item)
        item->setChecked(true);
}

void MapActions::Create()
{
    // Nothing of the map exists before this: the editor's start does not pay for it.
    map = std::make_unique<MapWindow>(&window);
    converter = std::make_unique<DatumConverter>(window.Exchange().Datum());
    if (item) {
        // Ctrl+M closes the map from its own window too.
        map->addAction(item);
        connect(map.get(), &MapWindow::Closed, item, [this] { item->setChecked(false); });
    }
    PointDocument& document = window.Document();
    connect(&document, &PointDocument::TitleChanged, this, &MapActions::UpdateTitle);
    const PointBookModel* model = &document.Model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &MapActions::UpdateBook);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &MapActions::UpdateBook);
    connect(model, &QAbstractItemModel::rowsMoved, this, &MapActions::UpdateBook);
    connect(model, &QAbstractItemModel::dataChanged, this, &MapActions::UpdateBook);
    // Another file opened: its points, wherever they are.
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        UpdateBook();
        if (Open())
            map->View().FitMarkers();
    });
    connect(model, &QAbstractItemModel::layoutChanged, this, &MapActions::UpdateBook);
    const ImportPointsModel* imported = &window.Exchange().ImportModel();
    connect(imported, &QAbstractItemModel::modelReset, this, &MapActions::UpdateImported);
    connect(&window.Exchange(), &ExchangeActions::DatumChanged, this, [this](DeviceDatum datum) {
        converter = std::make_unique<DatumConverter>(datum);
        UpdateBook();
        UpdateImported();
    });
    connect(&document.Selection(), &QItemSelectionModel::selectionChanged, this, [this] {
        importedChosenLast = false;
        UpdateSelection();
    });
    connect(window.ImportList().selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        importedChosenLast = true;
        UpdateSelection();
    });
    MapView& view = map->View();
    connect(&view, &MapView::MarkerClicked, this, &MapActions::OnMarkerClicked);
    connect(&view, &MapView::MarkerMoved, this, &MapActions::OnMarkerMoved);
    // 追加's dialog opens once the click that chose the item is over.
    connect(&view, &MapView::AddRequested, this, &MapActions::OnAddRequested, Qt::QueuedConnection);
}

void MapActions::ViewChanged()
{
    UpdateImported();
    UpdateSelection();
}

void MapActions::UpdateTitle()
{
    if (map)
        map->SetFileName(QFileInfo(window.Document().FilePath()).fileName());
}

std::optional<GeoPoint> MapActions::Wgs84(const PointEntry& e) const
{
    // A point of the device without a position reads 0/0: there is nothing to show.
    if (e.latitude == 0 && e.latitudeFraction == 0 && e.longitude == 0 && e.longitudeFraction == 0)
        return std::nullopt;
    return converter->ToWgs84({DatumConverter::Degrees(e.latitude, e.latitudeFraction),
                               DatumConverter::Degrees(e.longitude, e.longitudeFraction)});
}

void MapActions::UpdateBook()
{
    if (!Open())
        return;
    const PointBookModel& model = window.Document().Model();
    const QList<QIcon>& icons = window.MarkImagesLarge();
    bookMarkers.clear();
    for (int row = 0; row < model.rowCount(); ++row) {
        const PointEntry& e = model.Book().Entry(row);
        if (const auto at = Wgs84(e)) {
            bookMarkers.append({row, at->latitude, at->longitude, model.index(row, RowRecord::name).data().toString(),
                                icons.value(e.mark, icons.value(0))});
        }
    }
    map->View().SetMarkers(bookMarkers + importedMarkers);
    UpdateSelection();
}

void MapActions::UpdateImported()
{
    if (!Open())
        return;
    importedMarkers.clear();
    if (window.CurrentView() == MainLayout::View::import) {
        const ImportPointsModel& model = window.Exchange().ImportModel();
        const std::vector<PointEntry>& points = model.Points();
        for (std::size_t k = 0; k < points.size(); ++k) {
            const int row = static_cast<int>(k);
            if (const auto at = Wgs84(points[k])) {
                importedMarkers.append({kImportedIds + row, at->latitude, at->longitude,
                                        model.index(row, RowRecord::name).data().toString(), QIcon(),
                                        MapMarker::Style::dot});
            }
        }
    }
    map->View().SetMarkers(bookMarkers + importedMarkers);
    UpdateSelection();
}

void MapActions::UpdateSelection(bool bringIntoView)
{
    if (!Open())
        return;
    const int bookRow = RowSelection::Selected(window.Document().Selection());
    int importedRow = -1;
    if (window.CurrentView() == MainLayout::View::import) {
        const ImportListCtrl& list = window.ImportList();
        const QModelIndex current = list.currentIndex();
        importedRow = current.isValid() && list.selectionModel()->isRowSelected(current.row(), {})
                          ? current.row()
                          : list.GetNextSelected(-1);
    }
    int id = -1;
    if (importedRow >= 0 && (importedChosenLast || bookRow < 0))
        id = kImportedIds + importedRow;
    else if (bookRow >= 0)
        id = bookRow;
    if (bringIntoView || id != map->View().SelectedMarker())
        map->View().SelectMarker(id);
}

void MapActions::OnMarkerClicked(int id)
{
    if (id >= kImportedIds) {
        ImportListCtrl& list = window.ImportList();
        list.selectionModel()->setCurrentIndex(list.model()->index(id - kImportedIds, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        RowSelection::Select(window.Document().Selection(), id);
    }
}

std::optional<std::pair<Coordinate, Coordinate>> MapActions::DevicePosition(double latitude, double longitude)
{
    const auto device = converter->FromWgs84({latitude, longitude});
    if (!device) {
        const std::string& why = converter->Error();
        window.Document().ShowMessage(why.empty() ? kNotOnDevice : QString::fromStdString(why));
        return std::nullopt;
    }
    const auto storedLatitude = DatumConverter::FromDegrees(device->latitude);
    const auto storedLongitude = DatumConverter::FromDegrees(device->longitude);
    // East and north only, as every position the device keeps.
    if (!storedLatitude || !storedLongitude || device->latitude > 90 || device->longitude > 180) {
        window.Document().ShowMessage(kNotOnDevice);
        return std::nullopt;
    }
    return std::pair{*storedLatitude, *storedLongitude};
}

void MapActions::OnMarkerMoved(int id, double latitude, double longitude)
{
    PointDocument& document = window.Document();
    const auto position = DevicePosition(latitude, longitude);
    if (id < 0 || id >= document.Book().GetCount() || !position) {
        UpdateBook();  // the mark goes back where its point is
        return;
    }
    const PointEntry& before = document.Book().Entry(id);
    const auto& [newLatitude, newLongitude] = *position;
    if (newLatitude == Coordinate{before.latitude, before.latitudeFraction} &&
        newLongitude == Coordinate{before.longitude, before.longitudeFraction}) {
        UpdateBook();
        return;
    }
    document.History().push(
        new MovePositionCommand(document.Model(), document.Selection(), id, newLatitude, newLongitude));
}

void MapActions::OnAddRequested(double latitude, double longitude)
{
    const auto position = DevicePosition(latitude, longitude);
    if (!position)
        return;
    const auto& [lat, lon] = *position;
    window.OnAddAt(QString::fromStdString(FormatCoordinate(lon.value, lon.fraction)),
                   QString::fromStdString(FormatCoordinate(lat.value, lat.fraction)));
}

}  // namespace tovik
