// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/pointbookmodel.h"

#include "core/pointbook.h"
#include "platform/listbase.h"

namespace tovik {

PointBookModel::PointBookModel(PointBook& book, QObject* parent) : QAbstractTableModel(parent), book(book)
{
    Reload();
}

void PointBookModel::SetImages(const QList<QIcon>* list)
{
    images = list;
    if (!rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void PointBookModel::Reload()
{
    beginResetModel();
    rows.clear();
    for (int i = 0; i < book.GetCount(); ++i)
        rows.push_back(RowRecord::FromBook(book, i));
    ticks.assign(rows.size(), false);
    endResetModel();
}

bool PointBookModel::IsTicked(int row) const
{
    return row >= 0 && row < rowCount() && ticks[static_cast<std::size_t>(row)];
}

void PointBookModel::SetTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount() || ticks[static_cast<std::size_t>(row)] == ticked)
        return;
    ticks[static_cast<std::size_t>(row)] = ticked;
    emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

std::vector<int> PointBookModel::TickedRows() const
{
    std::vector<int> ticked;
    for (int row = 0; row < rowCount(); ++row) {
        if (ticks[static_cast<std::size_t>(row)])
            ticked.push_back(row);
    }
    return ticked;
}

void PointBookModel::ShowRow(int row)
{
    rows[static_cast<std::size_t>(row)] = RowRecord::FromBook(book, row);
    emit dataChanged(index(row, 0), index(row, RowRecord::kColumns - 1));
}

void PointBookModel::InsertEntry(int at, const PointEntry& entry)
{
    beginInsertRows(QModelIndex(), at, at);
    book.InsertEntry(at, entry);
    // The row shows the book's texts of the point, not the texts it came with.
    rows.insert(rows.begin() + at, RowRecord::FromBook(book, at));
    ticks.insert(ticks.begin() + at, false);
    endInsertRows();
}

void PointBookModel::RemoveEntry(int at)
{
    beginRemoveRows(QModelIndex(), at, at);
    book.RemoveEntry(at);
    rows.erase(rows.begin() + at);
    ticks.erase(ticks.begin() + at);
    endRemoveRows();
}

void PointBookModel::MoveEntry(int from, int to)
{
    if (!beginMoveRows(QModelIndex(), from, from, QModelIndex(), to))
        return;
    book.MoveEntry(from, to);
    const int now = to > from ? to - 1 : to;
    const RowRecord row = rows[static_cast<std::size_t>(from)];
    const bool tick = ticks[static_cast<std::size_t>(from)];
    rows.erase(rows.begin() + from);
    ticks.erase(ticks.begin() + from);
    rows.insert(rows.begin() + now, row);
    ticks.insert(ticks.begin() + now, tick);
    endMoveRows();
}

void PointBookModel::PutEntry(int at, const PointEntry& entry)
{
    book.RemoveEntry(at);
    book.InsertEntry(at, entry);
    ShowRow(at);
}

void PointBookModel::Change(int at, const std::function<void(PointBook&)>& edit)
{
    edit(book);
    ShowRow(at);
}

void PointBookModel::Reorder(const std::vector<int>& order)
{
    const int count = rowCount();
    if (static_cast<int>(order.size()) != count)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<PointEntry> entries;
    std::vector<RowRecord> newRows;
    std::vector<bool> newTicks;
    for (int k = 0; k < count; ++k) {
        const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(k)]);
        entries.push_back(book.Entry(static_cast<int>(from)));
        newRows.push_back(rows[from]);
        newTicks.push_back(ticks[from]);
    }
    for (int k = count - 1; k >= 0; --k)
        book.RemoveEntry(k);
    for (int k = 0; k < count; ++k)
        book.InsertEntry(k, entries[static_cast<std::size_t>(k)]);
    rows = std::move(newRows);
    ticks = std::move(newTicks);
    // Whatever pointed at a point (the selection, the current row) still does.
    std::vector<int> where(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        where[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = k;
    QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after << index(where[static_cast<std::size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PointBookModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int PointBookModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowRecord::kColumns; }

QVariant PointBookModel::data(const QModelIndex& at, int role) const
{
    if (!at.isValid() || at.row() >= rowCount())
        return {};
    const RowRecord& row = rows[static_cast<std::size_t>(at.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row[at.column()];
    case Qt::DecorationRole:
        if (at.column() == 0 && images) {
            const int image = row.ImageIndex();
            if (image >= 0 && image < images->size())
                return images->at(image);
        }
        return {};
    case Qt::CheckStateRole:
        return at.column() == 0 ? QVariant(IsTicked(at.row()) ? Qt::Checked : Qt::Unchecked) : QVariant();
    case ListBase::kImageRole:
        return row.ImageIndex();
    default:
        return {};
    }
}

QVariant PointBookModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return RowRecord::Heading(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags PointBookModel::flags(const QModelIndex& at) const
{
    if (!at.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (at.column() == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
}

bool PointBookModel::setData(const QModelIndex& at, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !at.isValid() || at.column() != 0)
        return false;
    SetTicked(at.row(), value.toInt() == Qt::Checked);
    return true;
}

}  // namespace tovik
