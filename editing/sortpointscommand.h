// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "editing/pointcommand.h"

namespace tovik {

// 並べ替え of many points at once (変換 → 並べ替え): the book in a new order, given as a
// permutation (row k of the sorted book holds the entry that was at order[k]). Ticks and
// the selection go with their points; undo puts every point back in its place.
class SortPointsCommand : public PointCommand {
public:
    SortPointsCommand(const QString& name, PointBookModel& model, QItemSelectionModel& selection,
                      std::vector<int> order);

    // False when `order` leaves every point where it is: such a sort is no step.
    static bool Moves(const std::vector<int>& order);

protected:
    void Do() override;
    void Undo() override;

private:
    std::vector<int> order;
    std::vector<int> back;
};

}  // namespace tovik
