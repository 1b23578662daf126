// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <functional>
#include <memory>

#include "platform/listbase.h"
#include "platform/rowhighlightdelegate.h"

namespace tovik {

// A list of the edited book's points, one selected at a time. A row dragged with the left
// button and released elsewhere in the list is handed to the drop handler, which moves the
// point in the book (and so in every list that shows it), so that the order of the rows is
// the order in which the points are saved.
class PointListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit PointListCtrl(QWidget* parent = nullptr);

    // Takes the move of every drag, so that the window can make it a step of its history.
    void SetDropHandler(std::function<void(int from, int to)> handler) { dropHandler = std::move(handler); }
    // False for a position that leaves the row where it is, or lies outside the list.
    bool Moves(int from, int to) const;

    bool IsDragging() const { return dragging; }
    int DropIndex() const { return dropIndex; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The drag, by positions in the list's viewport.
    void OnBeginDrag(int row, const QPoint& position);
    void OnMouseMove(const QPoint& position);
    void OnLButtonUp(const QPoint& position);
    // The row under a point of the viewport, or -1.
    int RowUnder(const QPoint& position) const;
    void SetDropHighlight(int row);
    void MoveDragImage(const QPoint& position);

    std::function<void(int, int)> dropHandler;
    RowHighlightDelegate highlight;
    std::unique_ptr<QLabel> dragImage;
    bool dragging = false;
    int dragIndex = -1;
    int dropIndex = -1;
    int pressedRow = -1;
    QPoint pressPosition;
};

}  // namespace tovik
