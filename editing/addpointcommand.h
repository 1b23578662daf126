// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/pointcommand.h"

namespace tovik {

// 追加: a new point in front of the selected one (or last), selected.
class AddPointCommand : public PointCommand {
public:
    AddPointCommand(PointBookModel& model, QItemSelectionModel& selection, int index, const PointEntry& entry);

protected:
    void Do() override;
    void Undo() override;

private:
    int index;
    PointEntry entry;
};

}  // namespace tovik
