// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/transfercommand.h"

#include "editing/pointbookmodel.h"

namespace tovik {

TransferCommand::TransferCommand(PointBookModel& model, QItemSelectionModel& selection, int index,
                                 std::vector<PointEntry> copies)
    : PointCommand(QStringLiteral("移動"), model, selection), index(index), copies(std::move(copies))
{
}

void TransferCommand::Do()
{
    for (std::size_t k = 0; k < copies.size(); ++k)
        model.InsertEntry(index + static_cast<int>(k), copies[k]);
}

void TransferCommand::Undo()
{
    for (std::size_t k = 0; k < copies.size(); ++k)
        model.RemoveEntry(index);
}

}  // namespace tovik
