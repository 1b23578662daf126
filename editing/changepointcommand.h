// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "editing/pointcommand.h"
#include "platform/rowrecord.h"

namespace tovik {

class PointBook;

// 変更: the texts of the edit dialog written into one point. Only the texts that differ
// from the row's are written; distance and category always follow the mark.
class ChangePointCommand : public PointCommand {
public:
    using Texts = std::array<QString, RowRecord::kColumns>;  // in the order of the columns

    ChangePointCommand(PointBookModel& model, QItemSelectionModel& selection, int index, const Texts& typed, const Texts& shown);

protected:
    void Do() override;
    void Undo() override;

private:
    // The book's setter of a list column.
    void SetColumn(PointBook& book, int column, const std::string& bytes) const;

    int index;
    Texts typed;
    Texts shown;
    PointEntry before;
    PointEntry after;
    bool written = false;
};

}  // namespace tovik
