// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/movepointcommand.h"

#include "editing/pointbookmodel.h"

namespace tovik {

MovePointCommand::MovePointCommand(PointBookModel& model, QItemSelectionModel& selection, int from, int to)
    : PointCommand(QStringLiteral("並べ替え"), model, selection), from(from), to(to)
{
}

void MovePointCommand::Do() { model.MoveEntry(from, to); }

void MovePointCommand::Undo()
{
    // The point now stands at `now`; in front of the point after its old place takes it back.
    const int now = to > from ? to - 1 : to;
    model.MoveEntry(now, from > now ? from + 1 : from);
}

}  // namespace tovik
