#include "rowrecord.h"

#include "cp932.h"
#include "fieldencoding.h"
#include "pointbook.h"

namespace tovik {

RowRecord RowRecord::FromBook(const PointBook& book, int index)
{
    RowRecord r;
    r[name] = Cp932::Decode(book.GetName(index));
    r[longitude] = QString::fromStdString(book.GetLongitudeText(index));
    r[latitude] = QString::fromStdString(book.GetLatitudeText(index));
    r[telephone] = QString::fromStdString(book.GetTelephoneText(index));
    r[mark] = QString::fromStdString(book.GetMarkText(index));
    r[reading] = Cp932::Decode(book.GetReading(index));
    r[distance] = QString::fromStdString(book.GetDistanceText(index));
    r[category] = QString::fromStdString(book.GetCategoryText(index));
    return r;
}

int RowRecord::ImageIndex() const { return ReadLeadingInteger(texts[mark].toStdString()); }

}  // namespace tovik
