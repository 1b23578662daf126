#include "editing/addpointcommand.h"

#include "editing/bookview.h"
#include "core/pointbook.h"

namespace tovik {

AddPointCommand::AddPointCommand(PointBook& book, BookView& view, int index, const PointEntry& entry)
    : PointCommand(QStringLiteral("追加"), book, view), index(index), entry(entry)
{
}

void AddPointCommand::Do()
{
    book.InsertEntry(index, entry);
    // The new row shows the book's texts of the point, not the texts as typed.
    view.InsertRow(index, RowRecord::FromBook(book, index));
    view.UpdateTitle();
    view.SelectRow(index);
}

void AddPointCommand::Undo()
{
    book.RemoveEntry(index);
    view.DeleteRow(index);
    view.UpdateTitle();
}

}  // namespace tovik
