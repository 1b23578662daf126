// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/addpointcommand.h"

#include "editing/pointbookmodel.h"

namespace tovik {

AddPointCommand::AddPointCommand(PointBookModel& model, QItemSelectionModel& selection, int index,
                                 const PointEntry& entry)
    : PointCommand(QStringLiteral("追加"), model, selection), index(index), entry(entry)
{
}

void AddPointCommand::Do()
{
    model.InsertEntry(index, entry);
    Select(index);
}

void AddPointCommand::Undo() { model.RemoveEntry(index); }

}  // namespace tovik
