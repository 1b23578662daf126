#pragma once

#include <functional>

#include "dragcursors.h"
#include "listbase.h"
#include "pointbook.h"
#include "rowrecord.h"

namespace tovik {

// The list of the file-import view: the points of a second .mem file, dropped on the
// list, held in a book of its own. Several rows may be selected for the transfer.
class ImportListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit ImportListCtrl(PointBook::MessageSink sink, QWidget* parent = nullptr);

    // Loads the file into the import book and shows its points; a file that does not
    // load, or is not a .mem file, leaves book and rows as they were, with a message.
    int LoadFile(const QString& path);
    void InsertRow(int index, const RowRecord& row);
    QString GetCellText(int row, int column) const { return GetItemText(row, column); }
    // The six column texts of a row; the distance and category texts come back empty.
    void GetRowTexts(int row, RowRecord& out) const;

    const PointBook& ImportBook() const { return importBook; }

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

    PointBook importBook;
    PointBook::MessageSink tell;
    std::function<QRect()> targetListRect;
    std::function<void()> transfer;
    bool dragging = false;
    int pressedRow = -1;
    bool pressedOnSelection = false;
    QPoint pressPosition;
    DragCursor currentCursor = DragCursor::arrow;
};

}  // namespace tovik
