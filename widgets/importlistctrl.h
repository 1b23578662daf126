// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "platform/listbase.h"
#include "resources/dragcursors.h"

namespace tovik {

// The list of the file-import view: the points of a second file (a .mem file or a GPX,
// KML, KMZ, CSV or GeoJSON file of any number of points: the edited book's limit applies
// only to what is transferred), shown from a model of their own. Several rows may be
// selected for the transfer. A file dropped on the list is handed to the window.
class ImportListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit ImportListCtrl(QWidget* parent = nullptr);

    // Takes a file dropped on the list, as a path Qt can carry (or why it cannot).
    void SetFileDropHandler(std::function<void(const QString& path)> handler) { fileDrop = std::move(handler); }

    // What the list needs of its window: where the list of the edited book is on the
    // screen, and the transfer that a drop there runs.
    void SetDropTarget(std::function<QRect()> targetListRect, std::function<void()> transfer);

    // Dragging the selected rows, by positions in the list's viewport.
    void OnBeginDrag();
    void OnMouseMove(const QPoint& position);
    void OnLButtonUp(const QPoint& position);
    void SetDragCursor();
    bool IsDragging() const { return dragging; }
    DragCursor CurrentCursor() const { return currentCursor; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ShowCursor(DragCursor which);
    bool OverDropTarget(const QPoint& position) const;

    std::function<void(const QString&)> fileDrop;
    std::function<QRect()> targetListRect;
    std::function<void()> transfer;
    bool dragging = false;
    int pressedRow = -1;
    bool pressedOnSelection = false;
    QPoint pressPosition;
    DragCursor currentCursor = DragCursor::arrow;
};

}  // namespace tovik
