// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/listbase.h"

#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

namespace tovik {

ListBase::ListBase(Selection selection, QWidget* parent) : QTableView(parent), selection(selection)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(selection == Selection::single ? QAbstractItemView::SingleSelection
                                                    : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setFrameShape(QFrame::StyledPanel);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), 16) + 2);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // Right of the last column the header shows its own face, not the window behind it.
    QPalette header = horizontalHeader()->palette();
    header.setColor(QPalette::Window, header.color(QPalette::Button));
    header.setColor(QPalette::Base, header.color(QPalette::Button));
    horizontalHeader()->setPalette(header);
    horizontalHeader()->setAutoFillBackground(true);
    horizontalHeader()->viewport()->setAutoFillBackground(true);
    // Tab moves on to the next control; the arrow keys move within the list.
    setTabKeyNavigation(false);
    // The lists scroll only as the program asks, never because a pointer lingers at an edge.
    setAutoScroll(false);
}

void ListBase::SetModel(QAbstractItemModel* shown, QItemSelectionModel* shared)
{
    setModel(shown);
    if (shared) {
        // The view made a selection of its own for the model; the shared one replaces it.
        QItemSelectionModel* made = selectionModel();
        setSelectionModel(shared);
        if (made != shared && made->parent() == this)
            delete made;
    }
}

int ListBase::GetColumnCount() const { return model() ? model()->columnCount() : 0; }

int ListBase::GetItemCount() const { return model() ? model()->rowCount() : 0; }

QString ListBase::GetItemText(int row, int column) const
{
    return model() ? model()->index(row, column).data().toString() : QString();
}

std::vector<int> ListBase::SelectedRows() const
{
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int ListBase::GetNextSelected(int start) const
{
    const std::vector<int> rows = SelectedRows();
    const auto next = std::upper_bound(rows.begin(), rows.end(), start);
    return next == rows.end() ? -1 : *next;
}

int ListBase::GetSelectedCount() const { return selectionModel() ? static_cast<int>(selectionModel()->selectedRows().size()) : 0; }

void ListBase::SelectItem(int row)
{
    if (row < 0 || row >= GetItemCount())
        return;
    const auto flags = (selection == Selection::single ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) |
                       QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(model()->index(row, 0), flags);
}

ListBase::ItemState ListBase::GetItemState(int row) const
{
    ItemState state;
    if (row < 0 || row >= GetItemCount())
        return state;
    state.selected = selectionModel()->isRowSelected(row, QModelIndex());
    state.focused = currentIndex().isValid() && currentIndex().row() == row;
    state.checked = GetCheck(row);
    state.image = GetImage(row);
    return state;
}

bool ListBase::GetCheck(int row) const
{
    return model() && model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void ListBase::SetCheck(int row, bool checked)
{
    if (model())
        model()->setData(model()->index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

int ListBase::GetImage(int row) const { return model() ? model()->index(row, 0).data(kImageRole).toInt() : 0; }

void ListBase::SetColors(const QColor& background, const QColor& text)
{
    QPalette p = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, background);
        p.setColor(group, QPalette::AlternateBase, background);
        p.setColor(group, QPalette::Text, text);
    }
    setPalette(p);
}

QModelIndex ListBase::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int rows = GetItemCount();
    if (rows == 0)
        return QTableView::moveCursor(action, modifiers);
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    // Rows a filter hides are passed over.
    int row = -1;
    if (action == MoveHome) {
        for (row = 0; row < rows && isRowHidden(row);)
            ++row;
    } else if (action == MoveEnd) {
        for (row = rows - 1; row >= 0 && isRowHidden(row);)
            --row;
    } else {
        return QTableView::moveCursor(action, modifiers);
    }
    return row >= 0 && row < rows ? model()->index(row, column) : currentIndex();
}

void ListBase::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

void ListBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

}  // namespace tovik
