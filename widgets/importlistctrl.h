#pragma once

#include <functional>
#include <vector>

#include "core/datumconverter.h"
#include "resources/dragcursors.h"
#include "platform/listbase.h"
#include "core/pointbook.h"
#include "platform/rowrecord.h"

namespace tovik {

// The list of the file-import view: the points of a second .mem file, dropped on the
// list, held in a book of its own, or the points of a GPX, KML, KMZ, CSV or GeoJSON file
// (any number of them: the edited book's limit applies only to what is transferred).
// Several rows may be selected for the transfer.
class ImportListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit ImportListCtrl(PointBook::MessageSink sink, QWidget* parent = nullptr);

    // Loads the file into the import book and shows its points; a file that does not
    // load, or is of no format the list reads, leaves book and rows as they were, with a
    // message.
    int LoadFile(const QString& path);
    // The point that row `row` shows.
    const PointEntry& Point(int row) const { return points.at(static_cast<std::size_t>(row)); }
    // The datum exchange files are converted to when they are loaded.
    void SetDeviceDatum(DeviceDatum datum) { deviceDatum = datum; }
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
    void LoadExchangeFile(const QString& path, int format);
    void ShowPoints(std::vector<PointEntry> shown);
    bool OverDropTarget(const QPoint& position) const;

    PointBook importBook;
    PointBook::MessageSink tell;
    std::vector<PointEntry> points;
    DeviceDatum deviceDatum = DeviceDatum::tokyo;
    std::function<QRect()> targetListRect;
    std::function<void()> transfer;
    bool dragging = false;
    int pressedRow = -1;
    bool pressedOnSelection = false;
    QPoint pressPosition;
    DragCursor currentCursor = DragCursor::arrow;
};

}  // namespace tovik
