#include "editing/deletepointcommand.h"

#include "editing/bookview.h"
#include "core/pointbook.h"

namespace tovik {

DeletePointCommand::DeletePointCommand(PointBook& book, BookView& view, int index)
    : PointCommand(QStringLiteral("削除"), book, view), index(index), entry(book.Entry(index)),
      checked(view.RowChecked(index))
{
}

void DeletePointCommand::Do()
{
    view.DeleteRow(index);
    book.RemoveEntry(index);
    view.UpdateTitle();
    view.SelectRow(index);
}

void DeletePointCommand::Undo()
{
    book.InsertEntry(index, entry);
    view.InsertRow(index, RowRecord::FromBook(book, index));
    view.SetRowChecked(index, checked);
    view.UpdateTitle();
}

}  // namespace tovik
