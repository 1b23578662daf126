#include "app/importpointsmodel.h"

#include "platform/listbase.h"
#include "platform/rowrecord.h"

namespace tovik {

ImportPointsModel::ImportPointsModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportPointsModel::SetImages(const QList<QIcon>* list)
{
    images = list;
    if (!points.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void ImportPointsModel::Show(PointExchange::Source from, std::vector<PointEntry> fitted)
{
    beginResetModel();
    source = std::move(from);
    // A .mem file's points are what is shown; they need not be kept twice.
    source.stored.clear();
    points = std::move(fitted);
    ticks.assign(points.size(), false);
    endResetModel();
}

void ImportPointsModel::ShowRefitted(std::vector<PointEntry> fitted)
{
    if (fitted.size() == points.size()) {
        points = std::move(fitted);
        if (!points.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, RowRecord::kColumns - 1));
        return;
    }
    beginResetModel();
    points = std::move(fitted);
    ticks.assign(points.size(), false);
    endResetModel();
}

int ImportPointsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(points.size());
}

int ImportPointsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowRecord::kColumns; }

QVariant ImportPointsModel::data(const QModelIndex& at, int role) const
{
    if (!at.isValid() || at.row() >= rowCount())
        return {};
    const PointEntry& point = points[static_cast<std::size_t>(at.row())];
    switch (role) {
    case Qt::DisplayRole:
        return RowRecord::Text(point, at.column());
    case Qt::DecorationRole:
        if (at.column() == 0 && images) {
            const int image = RowRecord::ImageIndex(point);
            if (image >= 0 && image < images->size())
                return images->at(image);
        }
        return {};
    case Qt::CheckStateRole:
        return at.column() == 0 ? QVariant(ticks[static_cast<std::size_t>(at.row())] ? Qt::Checked : Qt::Unchecked)
                                : QVariant();
    case ListBase::kImageRole:
        return RowRecord::ImageIndex(point);
    default:
        return {};
    }
}

QVariant ImportPointsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return RowRecord::Heading(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ImportPointsModel::flags(const QModelIndex& at) const
{
    if (!at.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (at.column() == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
}

bool ImportPointsModel::setData(const QModelIndex& at, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !at.isValid() || at.column() != 0)
        return false;
    ticks[static_cast<std::size_t>(at.row())] = value.toInt() == Qt::Checked;
    emit dataChanged(at, at, {Qt::CheckStateRole});
    return true;
}

}  // namespace tovik
