#include "editing/movepointcommand.h"

#include "editing/bookview.h"
#include "core/pointbook.h"

namespace tovik {

MovePointCommand::MovePointCommand(PointBook& book, BookView& view, int from, int to)
    : PointCommand(QStringLiteral("並べ替え"), book, view), from(from), to(to)
{
}

void MovePointCommand::Do()
{
    book.MoveEntry(from, to);
    view.MoveRow(from, to);
}

void MovePointCommand::Undo()
{
    // The point now stands at `now`; in front of the point after its old place takes it back.
    const int now = to > from ? to - 1 : to;
    const int back = from > now ? from + 1 : from;
    book.MoveEntry(now, back);
    view.MoveRow(now, back);
}

}  // namespace tovik
