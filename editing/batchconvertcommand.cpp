// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/batchconvertcommand.h"

#include "core/pointbook.h"
#include "editing/pointbookmodel.h"

namespace tovik {

BatchConvertCommand::BatchConvertCommand(PointBookModel& model, QItemSelectionModel& selection, unsigned mark,
                                         std::vector<int> rows)
    : PointCommand(QStringLiteral("一括変換"), model, selection), mark(mark), rows(std::move(rows))
{
    for (int i : this->rows)
        before.push_back(model.Book().Entry(i));
}

void BatchConvertCommand::Do()
{
    const std::string text = std::to_string(mark);
    for (int i : rows)
        model.Change(i, [&text, i](PointBook& book) { book.SetMark(text, i); });
}

void BatchConvertCommand::Undo()
{
    for (std::size_t k = 0; k < rows.size(); ++k)
        model.PutEntry(rows[k], before[k]);
}

}  // namespace tovik
