#include "editing/transfercommand.h"

#include "editing/bookview.h"
#include "core/pointbook.h"

namespace tovik {

TransferCommand::TransferCommand(PointBook& book, BookView& view, int index, std::vector<PointEntry> copies)
    : PointCommand(QStringLiteral("移動"), book, view), index(index), copies(std::move(copies))
{
}

void TransferCommand::Do()
{
    for (const PointEntry& copy : copies) {
        book.InsertEntry(index, copy);
        view.InsertRow(index, RowRecord::FromBook(book, index));
    }
    view.UpdateTitle();
}

void TransferCommand::Undo()
{
    for (std::size_t i = 0; i < copies.size(); ++i) {
        book.RemoveEntry(index);
        view.DeleteRow(index);
    }
    view.UpdateTitle();
}

}  // namespace tovik
