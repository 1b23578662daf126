#include "widgets/importlistctrl.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>

#include "platform/droppedfiles.h"
#include "platform/filenamecheck.h"
#include "core/messagetexts.h"
#include "interop/pointexchange.h"

namespace tovik {

namespace {
// A message box holds the first warnings; the rest are counted.
constexpr qsizetype kWarningsShown = 20;
}  // namespace

ImportListCtrl::ImportListCtrl(PointBook::MessageSink sink, QWidget* parent)
    : ListBase(Selection::multiple, parent), importBook(sink), tell(std::move(sink))
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

int ImportListCtrl::LoadFile(const QString& path)
{
    if (const auto format = ExchangeFormat::FromPath(path); format && *format != ExchangeFormat::mem) {
        LoadExchangeFile(path, *format);
        return 1;
    }
    const std::string encoded = QFile::encodeName(path).toStdString();
    // Only a .mem file is read as a point memory; anything else would leave the list showing
    // the previous file's points as if they were this one's.
    if (!PointBook::HasMemExtension(encoded)) {
        if (tell)
            tell(QString::fromUtf8(messages::kNotImportFile).arg(QFileInfo(path).fileName()).toStdString());
        return 1;
    }
    if (importBook.Load(encoded) != LoadResult::decoded)
        return 1;
    std::vector<PointEntry> loaded;
    for (int i = 0; i < PointBook::kCapacity; ++i) {
        if (importBook.IsOccupied(i))
            loaded.push_back(importBook.Entry(i));
    }
    ShowPoints(std::move(loaded));
    return 1;
}

void ImportListCtrl::LoadExchangeFile(const QString& path, int format)
{
    PointExchange::Imported imported = PointExchange::ImportFile(
        QFile::encodeName(path).toStdString(), static_cast<ExchangeFormat::Format>(format),
        ExchangeConverter(deviceDatum));
    QStringList lines = imported.warnings.Lines(kWarningsShown);
    if (!imported.error.isEmpty())
        lines.prepend(imported.error);
    if (!lines.isEmpty() && tell)
        tell(lines.join(u'\n').toStdString());
    if (imported.error.isEmpty())
        ShowPoints(std::move(imported.entries));
}

void ImportListCtrl::ShowPoints(std::vector<PointEntry> shown)
{
    points = std::move(shown);
    // Thousands of rows go in while the list neither paints nor lays out.
    setUpdatesEnabled(false);
    DeleteAllItems();
    for (std::size_t i = 0; i < points.size(); ++i)
        InsertRow(static_cast<int>(i), RowRecord::FromEntry(points[i]));
    setUpdatesEnabled(true);
}

void ImportListCtrl::InsertRow(int index, const RowRecord& row)
{
    const int inserted = InsertItem(index, row[RowRecord::name], row.ImageIndex());
    for (int c = 1; c < RowRecord::kColumns; ++c)
        SetItemText(inserted, c, row[c]);
}

void ImportListCtrl::GetRowTexts(int row, RowRecord& out) const
{
    for (int c = 0; c < RowRecord::kColumns; ++c)
        out[c] = GetCellText(row, c);
    out[RowRecord::distance].clear();
    out[RowRecord::category].clear();
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
    if (path.isEmpty())
        return;
    if (const QString problem = FileNameCheck::Problem(path); problem.isEmpty())
        LoadFile(path);
    else if (tell)
        tell(problem.toStdString());
}

}  // namespace tovik
