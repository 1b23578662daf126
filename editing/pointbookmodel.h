// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <functional>
#include <vector>

#include "core/pointentry.h"
#include "platform/rowrecord.h"

namespace tovik {

class PointBook;

// The edited book as a table: row i is entry i, in the six columns of the lists, with the
// mark's image in front of the name and a tick box that is no part of the book (ticks are
// not changes). Every change of the book goes through here, so that every view of it
// follows; the row texts are the book's own.
class PointBookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PointBookModel(PointBook& book, QObject* parent = nullptr);

    const PointBook& Book() const { return book; }
    // The images shown beside the rows, by mark; the model does not own them.
    void SetImages(const QList<QIcon>* images);

    // After the book was loaded anew: every row again, no tick.
    void Reload();

    bool IsTicked(int row) const;
    void SetTicked(int row, bool ticked);
    std::vector<int> TickedRows() const;

    // The book's operations, each shown at once. The callers keep to the book's limits.
    void InsertEntry(int index, const PointEntry& entry);
    void RemoveEntry(int index);
    // Entry `from` in front of the entry at `to` (last when `to` is the count).
    void MoveEntry(int from, int to);
    void PutEntry(int index, const PointEntry& entry);
    // Changes entry `index` through the book's setters.
    void Change(int index, const std::function<void(PointBook&)>& edit);
    // Puts the entries in the order given: new row k holds the entry that was at order[k].
    // Ticks and the selection go with their points.
    void Reorder(const std::vector<int>& order);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void ShowRow(int row);

    PointBook& book;
    std::vector<RowRecord> rows;
    std::vector<bool> ticks;
    const QList<QIcon>* images = nullptr;
};

}  // namespace tovik
