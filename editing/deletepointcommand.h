// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/pointcommand.h"

namespace tovik {

// 削除: the selected point goes, without a question; the one after it is selected.
class DeletePointCommand : public PointCommand {
public:
    DeletePointCommand(PointBookModel& model, QItemSelectionModel& selection, int index);

protected:
    void Do() override;
    void Undo() override;

private:
    int index;
    PointEntry entry;
    bool checked;
};

}  // namespace tovik
