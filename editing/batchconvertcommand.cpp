#include "editing/batchconvertcommand.h"

#include "editing/bookview.h"
#include "core/pointbook.h"

namespace tovik {

BatchConvertCommand::BatchConvertCommand(PointBook& book, BookView& view, unsigned mark, std::vector<int> rows)
    : PointCommand(QStringLiteral("一括変換"), book, view), mark(mark), rows(std::move(rows))
{
    for (int i : this->rows)
        before.push_back(book.Entry(i));
}

void BatchConvertCommand::Do()
{
    const std::string text = std::to_string(mark);
    for (int i : rows) {
        book.SetMark(text, i);
        view.ShowEntry(i);
    }
}

void BatchConvertCommand::Undo()
{
    for (std::size_t k = 0; k < rows.size(); ++k)
        PutEntry(rows[k], before[k]);
}

}  // namespace tovik
