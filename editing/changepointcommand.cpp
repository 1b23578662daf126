// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/changepointcommand.h"

#include "editing/pointbookmodel.h"
#include "platform/cp932.h"
#include "core/fieldencoding.h"
#include "core/markrule.h"
#include "core/pointbook.h"

namespace tovik {

ChangePointCommand::ChangePointCommand(PointBookModel& model, QItemSelectionModel& selection, int index,
                                       const Texts& typed, const Texts& shown)
    : PointCommand(QStringLiteral("変更"), model, selection), index(index), typed(typed), shown(shown),
      before(model.Book().Entry(index))
{
}

void ChangePointCommand::Do()
{
    if (written) {
        model.PutEntry(index, after);
        return;
    }
    // The row then shows what the book holds (" 35.41.20.0" for "35 41 20").
    model.Change(index, [this](PointBook& book) {
        // A text left as it was writes nothing, so its stored bytes stay exactly as read.
        for (std::size_t k = 0; k < typed.size(); ++k) {
            if (typed[k] != shown[k])
                SetColumn(book, static_cast<int>(k), Cp932::Checked(typed[k]));
        }
        const MarkFollowers followers = FollowMarkText(Cp932::Checked(typed[RowRecord::mark]));
        book.SetCategory(FormatCategory(followers.category), index);
        book.SetDistance(followers.distance, index);
    });
    after = model.Book().Entry(index);
    written = true;
}

void ChangePointCommand::Undo() { model.PutEntry(index, before); }

void ChangePointCommand::SetColumn(PointBook& book, int column, const std::string& bytes) const
{
    switch (column) {
    case RowRecord::name:
        book.SetName(bytes, index);
        break;
    case RowRecord::longitude:
        book.SetLongitude(bytes, index);
        break;
    case RowRecord::latitude:
        book.SetLatitude(bytes, index);
        break;
    case RowRecord::mark:
        book.SetMark(bytes, index);
        break;
    case RowRecord::reading:
        book.SetReading(bytes, index);
        break;
    case RowRecord::telephone:
        book.SetTelephone(bytes, index);
        break;
    default:
        break;
    }
}

}  // namespace tovik
