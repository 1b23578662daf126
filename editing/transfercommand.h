#pragma once

#include <vector>

#include "editing/pointcommand.h"

namespace tovik {

// 移動 or ">>": copies of the import file's points, each put at the same place, so that the
// block lands in reverse order in front of the selected point (or last).
class TransferCommand : public PointCommand {
public:
    TransferCommand(PointBook& book, BookView& view, int index, std::vector<PointEntry> copies);

protected:
    void Do() override;
    void Undo() override;

private:
    int index;
    std::vector<PointEntry> copies;
};

}  // namespace tovik
