#pragma once

#include <QLabel>
#include <functional>
#include <memory>

#include "platform/listbase.h"

namespace tovik {

// A list of the edited book's points, one selected at a time. A row dragged with the left
// button and released elsewhere in the list is handed to the drop handler, which moves the
// point in the book and in every list that shows it, so that the order of the rows is the
// order in which the points are saved.
class PointListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit PointListCtrl(QWidget* parent = nullptr);

    // Called once at the end of every drag: hands the move to the drop handler when there
    // is one, otherwise moves the row.
    virtual void OnDropItem(int dragIndex, int target);
    // Takes the moves of drags, so that the window can make each one a step of its history.
    void SetDropHandler(std::function<void(int from, int to)> handler) { dropHandler = std::move(handler); }
    // False for a position that leaves the row where it is, or lies outside the list.
    bool Moves(int from, int to) const;
    // Moves row `from` in front of the row now at `to` (last when `to` is the row count),
    // with its texts, image, check box, selection and focus: what a drop does without a
    // drop handler.
    virtual void MoveItem(int from, int to);
    void MoveRow(int from, int to);

    // The first selected row at or after `start`, or -1.
    int FindSelectedItem(int start) const;

    // The drag, by positions in the list's viewport.
    void OnBeginDrag(int row, const QPoint& position);
    void OnMouseMove(const QPoint& position);
    void OnLButtonUp(const QPoint& position);

    bool IsDragging() const { return dragging; }
    int DropIndex() const { return dropIndex; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The row under a point of the viewport, or -1.
    int RowUnder(const QPoint& position) const;
    void SetDropHighlight(int row, bool on);
    void MoveDragImage(const QPoint& position);

    std::function<void(int, int)> dropHandler;
    std::unique_ptr<QLabel> dragImage;
    bool dragging = false;
    int dragIndex = -1;
    int dropIndex = -1;
    int pressedRow = -1;
    QPoint pressPosition;
};

}  // namespace tovik
