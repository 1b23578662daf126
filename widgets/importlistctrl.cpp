// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/importlistctrl.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>

#include "platform/droppedfiles.h"

namespace tovik {

ImportListCtrl::ImportListCtrl(QWidget* parent) : ListBase(Selection::multiple, parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void ImportListCtrl::SetDropTarget(std::function<QRect()> rect, std::function<void()> onTransfer)
{
    targetListRect = std::move(rect);
    transfer = std::move(onTransfer);
}

void ImportListCtrl::ShowCursor(DragCursor which)
{
    // Every move of a drag asks again; the cursor is drawn only when it changes.
    if (which == currentCursor && viewport()->testAttribute(Qt::WA_SetCursor))
        return;
    currentCursor = which;
    viewport()->setCursor(MakeDragCursor(which));
}

void ImportListCtrl::SetDragCursor()
{
    ShowCursor(GetSelectedCount() < 2 ? DragCursor::copyOne : DragCursor::copySeveral);
}

bool ImportListCtrl::OverDropTarget(const QPoint& position) const
{
    return targetListRect && targetListRect().contains(viewport()->mapToGlobal(position));
}

void ImportListCtrl::OnBeginDrag()
{
    dragging = true;
    SetDragCursor();
    viewport()->grabMouse();
}

void ImportListCtrl::OnMouseMove(const QPoint& position)
{
    if (!dragging)
        return;
    if (rect().contains(viewport()->mapTo(this, position)) || OverDropTarget(position))
        SetDragCursor();
    else
        ShowCursor(DragCursor::forbidden);
}

void ImportListCtrl::OnLButtonUp(const QPoint& position)
{
    if (dragging) {
        dragging = false;
        viewport()->releaseMouse();
        if (OverDropTarget(position) && transfer)
            transfer();
    }
    ShowCursor(DragCursor::arrow);
}

void ImportListCtrl::mousePressEvent(QMouseEvent* event)
{
    pressPosition = event->position().toPoint();
    pressedRow = event->button() == Qt::LeftButton ? rowAt(pressPosition.y()) : -1;
    // A plain press on a selected row keeps the whole selection for a drag; the click
    // selects that row alone when the button comes up without a drag.
    pressedOnSelection = pressedRow >= 0 && selectionModel()->isRowSelected(pressedRow, QModelIndex()) &&
                         event->modifiers() == Qt::NoModifier;
    if (!pressedOnSelection)
        ListBase::mousePressEvent(event);
}

void ImportListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (dragging) {
        OnMouseMove(position);
        return;
    }
    if (currentCursor != DragCursor::arrow) {
        viewport()->unsetCursor();
        currentCursor = DragCursor::arrow;
    }
    if ((event->buttons() & Qt::LeftButton) && pressedRow >= 0) {
        // A press on a row drags the selection as it is: the small steps before the drag
        // starts must not select rows by sweeping over them.
        if ((position - pressPosition).manhattanLength() >= QApplication::startDragDistance())
            OnBeginDrag();
        return;
    }
    ListBase::mouseMoveEvent(event);
}

void ImportListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        ListBase::mouseReleaseEvent(event);
        return;
    }
    const bool wasDragging = dragging;
    if (!wasDragging && pressedOnSelection) {
        // No drag came of it: the press was a plain click on that row after all, which
        // selects it alone and makes it the anchor of a later Shift+click.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(pressPosition), viewport()->mapToGlobal(QPointF(pressPosition)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        ListBase::mousePressEvent(&press);
    }
    OnLButtonUp(event->position().toPoint());
    pressedRow = -1;
    pressedOnSelection = false;
    if (!wasDragging)
        ListBase::mouseReleaseEvent(event);
}

void ImportListCtrl::dragEnterEvent(QDragEnterEvent* event) { DroppedFiles::AcceptIfFile(event); }

void ImportListCtrl::dragMoveEvent(QDragMoveEvent* event) { DroppedFiles::AcceptIfFile(event); }

void ImportListCtrl::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFiles::Take(event);
    if (!path.isEmpty() && fileDrop)
        fileDrop(path);
}

}  // namespace tovik
