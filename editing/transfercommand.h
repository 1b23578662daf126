// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "editing/pointcommand.h"

namespace tovik {

// 移動 or ">>": copies of the import file's points, in the order they were chosen, in front
// of the selected point (or last).
class TransferCommand : public PointCommand {
public:
    TransferCommand(PointBookModel& model, QItemSelectionModel& selection, int index, std::vector<PointEntry> copies);

protected:
    void Do() override;
    void Undo() override;

private:
    int index;
    std::vector<PointEntry> copies;
};

}  // namespace tovik
