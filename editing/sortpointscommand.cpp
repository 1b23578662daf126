// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/sortpointscommand.h"

#include "editing/pointbookmodel.h"
#include "platform/pointorder.h"

namespace tovik {

SortPointsCommand::SortPointsCommand(const QString& name, PointBookModel& model, QItemSelectionModel& selection,
                                     std::vector<int> order)
    : PointCommand(name, model, selection), order(std::move(order)), back(PointOrder::Inverse(this->order))
{
}

bool SortPointsCommand::Moves(const std::vector<int>& order)
{
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k] != static_cast<int>(k))
            return true;
    }
    return false;
}

void SortPointsCommand::Do() { model.Reorder(order); }

void SortPointsCommand::Undo() { model.Reorder(back); }

}  // namespace tovik
