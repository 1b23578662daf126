// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/movepositioncommand.h"

#include "core/pointbook.h"
#include "editing/pointbookmodel.h"

namespace tovik {

MovePositionCommand::MovePositionCommand(PointBookModel& model, QItemSelectionModel& selection, int index,
                                         Coordinate latitude, Coordinate longitude)
    : PointCommand(QStringLiteral("位置の変更"), model, selection), index(index), before(model.Book().Entry(index)),
      after(before)
{
    after.latitude = latitude.value;
    after.latitudeFraction = latitude.fraction;
    after.longitude = longitude.value;
    after.longitudeFraction = longitude.fraction;
}

void MovePositionCommand::Do()
{
    model.PutEntry(index, after);
    Select(index);
}

void MovePositionCommand::Undo() { model.PutEntry(index, before); }

}  // namespace tovik
