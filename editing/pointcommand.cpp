// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/pointcommand.h"

#include "editing/pointbookmodel.h"
#include "editing/rowselection.h"

namespace tovik {

PointCommand::PointCommand(const QString& name, PointBookModel& model, QItemSelectionModel& selection)
    : QUndoCommand(name), model(model), selection(selection), selectionBefore(RowSelection::Selected(selection))
{
}

void PointCommand::redo()
{
    Do();
    // The first time the step's own rules select rows; a redo gives back what they chose.
    if (done)
        RowSelection::Restore(selection, selectionAfter);
    selectionAfter = RowSelection::Selected(selection);
    done = true;
}

void PointCommand::undo()
{
    Undo();
    RowSelection::Restore(selection, selectionBefore);
}

void PointCommand::Select(int row) { RowSelection::Select(selection, row); }

}  // namespace tovik
