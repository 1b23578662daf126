// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/deletepointcommand.h"

#include "core/pointbook.h"
#include "editing/pointbookmodel.h"

namespace tovik {

DeletePointCommand::DeletePointCommand(PointBookModel& model, QItemSelectionModel& selection, int index)
    : PointCommand(QStringLiteral("削除"), model, selection), index(index), entry(model.Book().Entry(index)),
      checked(model.IsTicked(index))
{
}

void DeletePointCommand::Do()
{
    model.RemoveEntry(index);
    Select(index);
}

void DeletePointCommand::Undo()
{
    model.InsertEntry(index, entry);
    model.SetTicked(index, checked);
}

}  // namespace tovik
