// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/pointcommand.h"

namespace tovik {

// 並べ替え: a point moved in front of the point at `to` (last when `to` is the count), by
// a drag or from the keyboard. The rows carry their ticks with them.
class MovePointCommand : public PointCommand {
public:
    MovePointCommand(PointBookModel& model, QItemSelectionModel& selection, int from, int to);

protected:
    void Do() override;
    void Undo() override;

private:
    int from;
    int to;
};

}  // namespace tovik
