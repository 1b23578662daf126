// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "editing/pointcommand.h"

namespace tovik {

// 一括変換: one mark for every ticked point; distance, category and ticks stay.
class BatchConvertCommand : public PointCommand {
public:
    BatchConvertCommand(PointBookModel& model, QItemSelectionModel& selection, unsigned mark, std::vector<int> rows);

protected:
    void Do() override;
    void Undo() override;

private:
    unsigned mark;
    std::vector<int> rows;
    std::vector<PointEntry> before;
};

}  // namespace tovik
