#include "platform/rowrecord.h"

#include "platform/cp932.h"
#include "core/fieldencoding.h"
#include "core/pointbook.h"

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

RowRecord RowRecord::FromEntry(const PointEntry& e)
{
    RowRecord r;
    r[name] = Cp932::Decode(e.name);
    r[longitude] = QString::fromStdString(FormatCoordinate(e.longitude, e.longitudeFraction));
    r[latitude] = QString::fromStdString(FormatCoordinate(e.latitude, e.latitudeFraction));
    r[telephone] = QString::fromStdString(FormatTelephone(e.telephone));
    r[mark] = QString::fromStdString(FormatMark(e.mark));
    r[reading] = Cp932::Decode(e.reading);
    r[distance] = QString::fromStdString(FormatDistance(e.distance));
    r[category] = QString::fromStdString(FormatCategory(e.category));
    return r;
}

int RowRecord::ImageIndex() const { return ReadLeadingInteger(texts[mark].toStdString()); }

}  // namespace tovik
