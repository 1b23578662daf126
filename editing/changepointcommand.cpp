#include "editing/changepointcommand.h"

#include "editing/bookview.h"
#include "platform/cp932.h"
#include "core/fieldencoding.h"
#include "core/markrule.h"
#include "core/pointbook.h"

namespace tovik {

ChangePointCommand::ChangePointCommand(PointBook& book, BookView& view, int index, const Texts& typed,
                                       const Texts& shown)
    : PointCommand(QStringLiteral("変更"), book, view), index(index), typed(typed), shown(shown),
      before(book.Entry(index))
{
}

void ChangePointCommand::Do()
{
    if (written) {
        PutEntry(index, after);
        return;
    }
    // A text left as it was writes nothing, so its stored bytes stay exactly as read.
    for (std::size_t k = 0; k < typed.size(); ++k) {
        if (typed[k] != shown[k])
            SetColumn(static_cast<int>(k), Cp932::Checked(typed[k]));
    }
    const MarkFollowers followers = FollowMarkText(Cp932::Checked(typed[RowRecord::mark]));
    book.SetCategory(FormatCategory(followers.category), index);
    book.SetDistance(followers.distance, index);
    // The row shows what the book now holds (" 35.41.20.0" for "35 41 20").
    view.ShowEntry(index);
    after = book.Entry(index);
    written = true;
}

void ChangePointCommand::Undo() { PutEntry(index, before); }

void ChangePointCommand::SetColumn(int column, const std::string& bytes)
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
