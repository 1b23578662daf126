// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/fieldencoding.h"
#include "editing/pointcommand.h"

namespace tovik {

// 位置の変更: a point dragged to a new place on the map, given as the device stores it
// (the device datum at 1/250 s); the rest of the point stays exactly as it was. The point
// is selected.
class MovePositionCommand : public PointCommand {
public:
    MovePositionCommand(PointBookModel& model, QItemSelectionModel& selection, int index, Coordinate latitude,
                        Coordinate longitude);

protected:
    void Do() override;
    void Undo() override;

private:
    int index;
    PointEntry before;
    PointEntry after;
};

}  // namespace tovik
