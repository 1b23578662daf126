#include "importlistctrl.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>

#include "droppedfiles.h"

namespace tovik {

ImportListCtrl::ImportListCtrl(PointBook::MessageSink sink, QWidget* parent)
    : ListBase(Selection::multiple, parent), importBook(std::move(sink))
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

int ImportListCtrl::LoadFile(const QString& path)
{
    importBook.Load(QFile::encodeName(path).toStdString());
    DeleteAllItems();
    for (int i = 0; i < PointBook::kCapacity; ++i) {
        if (importBook.IsOccupied(i))
            InsertRow(i, RowRecord::FromBook(importBook, i));
    }
    return 1;
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

void ImportListCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    if (DroppedFiles::Last(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void ImportListCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (DroppedFiles::Last(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void ImportListCtrl::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFiles::Last(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    LoadFile(path);
}

}  // namespace tovik
