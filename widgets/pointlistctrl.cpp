// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/pointlistctrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>


namespace tovik {

PointListCtrl::PointListCtrl(QWidget* parent) : ListBase(Selection::single, parent), highlight(this)
{
    setItemDelegate(&highlight);
}

void PointListCtrl::SetDropHighlight(int row)
{
    highlight.SetRow(row);
    viewport()->update();
}

void PointListCtrl::MoveDragImage(const QPoint& position)
{
    if (!dragImage)
        return;
    // The pointer holds the image at its left edge, half-way down.
    const QPoint global = viewport()->mapToGlobal(position);
    dragImage->move(global.x(), global.y() - dragImage->height() / 2);
}

void PointListCtrl::OnBeginDrag(int row, const QPoint& position)
{
    dragging = true;
    dragIndex = dropIndex = row;

    // A picture of the row follows the pointer.
    QRect rowRect = visualRect(model()->index(row, 0));
    rowRect.setLeft(0);
    rowRect.setRight(std::min(viewport()->width(), horizontalHeader()->length()) - 1);
    dragImage = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                      Qt::WindowTransparentForInput);
    dragImage->setAttribute(Qt::WA_ShowWithoutActivating);
    dragImage->setPixmap(viewport()->grab(rowRect));
    dragImage->setWindowOpacity(0.7);
    dragImage->resize(rowRect.size());
    MoveDragImage(position);
    dragImage->show();

    viewport()->grabMouse();
}

void PointListCtrl::OnMouseMove(const QPoint& position)
{
    if (!dragging)
        return;
    MoveDragImage(position);
    const int row = RowUnder(position);
    if (row >= 0 && row != dropIndex) {
        scrollTo(model()->index(row, 0), QAbstractItemView::EnsureVisible);
        SetDropHighlight(row);
        dropIndex = row;
    }
}

void PointListCtrl::OnLButtonUp(const QPoint& position)
{
    if (!dragging)
        return;
    dragging = false;
    dragImage.reset();
    SetDropHighlight(-1);
    viewport()->releaseMouse();

    // Over a row: in front of it. Nowhere, below the list's top edge: after the last row
    // passed over. Above the top edge: in front of that row.
    const int row = RowUnder(position);
    const int listY = viewport()->mapTo(this, position).y() - frameWidth();
    int target = dropIndex;
    if (row >= 0)
        target = row;
    else if (listY > 0)
        target = dropIndex + 1;
    if (dropHandler)
        dropHandler(dragIndex, target);

    const int selected = GetNextSelected(-1);
    if (selected >= 0)
        scrollTo(model()->index(selected, 0), QAbstractItemView::EnsureVisible);
}

int PointListCtrl::RowUnder(const QPoint& position) const
{
    // The mouse is grabbed during a drag: a pointer beside or below the list is over no row,
    // even at the height of one that is scrolled out of sight.
    return viewport()->rect().contains(position) ? rowAt(position.y()) : -1;
}

bool PointListCtrl::Moves(int from, int to) const
{
    return to != from && to != from + 1 && from >= 0 && from < GetItemCount() && to >= 0 && to <= GetItemCount();
}

void PointListCtrl::mousePressEvent(QMouseEvent* event)
{
    ListBase::mousePressEvent(event);
    pressedRow = event->button() == Qt::LeftButton ? rowAt(event->position().toPoint().y()) : -1;
    pressPosition = event->position().toPoint();
}

void PointListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (dragging) {
        OnMouseMove(position);
        return;
    }
    if ((event->buttons() & Qt::LeftButton) && pressedRow >= 0) {
        // Until the pointer has gone far enough to start a drag, the press stays a click on
        // its row: the selection does not follow the pointer.
        if ((position - pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
            const int row = pressedRow;
            pressedRow = -1;
            OnBeginDrag(row, position);
        }
        return;
    }
    ListBase::mouseMoveEvent(event);
}

void PointListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    pressedRow = -1;
    if (dragging && event->button() == Qt::LeftButton) {
        OnLButtonUp(event->position().toPoint());
        return;
    }
    ListBase::mouseReleaseEvent(event);
}

}  // namespace tovik
