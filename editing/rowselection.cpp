// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/rowselection.h"

#include <QItemSelectionModel>

namespace tovik {

int RowSelection::Selected(const QItemSelectionModel& selection)
{
    int first = -1;
    for (const QModelIndex& i : selection.selectedRows()) {
        if (first < 0 || i.row() < first)
            first = i.row();
    }
    return first;
}

void RowSelection::Select(QItemSelectionModel& selection, int row)
{
    const QAbstractItemModel* model = selection.model();
    if (row < 0 || row >= model->rowCount())
        return;
    const QModelIndex index = model->index(row, 0);
    selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RowSelection::Restore(QItemSelectionModel& selection, int row)
{
    selection.clearSelection();
    Select(selection, row);
}

}  // namespace tovik
