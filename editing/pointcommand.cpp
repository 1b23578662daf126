#include "editing/pointcommand.h"

#include "editing/bookview.h"
#include "core/pointbook.h"

namespace tovik {

PointCommand::PointCommand(const QString& name, PointBook& book, BookView& view)
    : QUndoCommand(name), book(book), view(view), selectionBefore(view.SelectedRow())
{
}

void PointCommand::redo()
{
    Do();
    // The first time the step's own rules select rows; a redo gives back what they chose.
    if (done)
        view.RestoreSelection(selectionAfter);
    selectionAfter = view.SelectedRow();
    done = true;
}

void PointCommand::undo()
{
    Undo();
    view.RestoreSelection(selectionBefore);
}

void PointCommand::PutEntry(int index, const PointEntry& entry)
{
    book.RemoveEntry(index);
    book.InsertEntry(index, entry);
    view.ShowEntry(index);
}

}  // namespace tovik
