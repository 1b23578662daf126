// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/importpointsmodel.h"

#include <QColor>
#include <QStringList>
#include <algorithm>

#include "platform/listbase.h"
#include "platform/rowrecord.h"

namespace tovik {

namespace {

// Rows already in the book stand out from the list's blue without losing its white text.
const QColor kInBookColor{150, 80, 40};

bool SameMatches(const std::vector<BookMatch>& a, const std::vector<BookMatch>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const BookMatch& x, const BookMatch& y) {
        return x.rows == y.rows && x.nearestMetres == y.nearestMetres;
    });
}

QString InBookText(const BookMatch& match)
{
    QStringList numbers;
    for (const int row : match.rows)
        numbers << QString::number(row + 1);
    QString text = QStringLiteral("編集中の地点 %1 番と同じ地点です").arg(numbers.join(QStringLiteral("、")));
    if (match.nearestMetres)
        text += QStringLiteral("（%1 m）").arg(*match.nearestMetres, 0, 'f', 1);
    return text + u'。';
}

}  // namespace

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
    inBook.clear();
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
    inBook.clear();
    endResetModel();
}

void ImportPointsModel::SetInBook(std::vector<BookMatch> matches)
{
    if (SameMatches(matches, inBook))
        return;
    inBook = std::move(matches);
    if (!points.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, RowRecord::kColumns - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

bool ImportPointsModel::IsInBook(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < inBook.size() &&
           !inBook[static_cast<std::size_t>(row)].rows.empty();
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
    case Qt::BackgroundRole:
        return IsInBook(at.row()) ? QVariant(kInBookColor) : QVariant();
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return IsInBook(at.row()) ? QVariant(InBookText(inBook[static_cast<std::size_t>(at.row())])) : QVariant();
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
