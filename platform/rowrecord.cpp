// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rowrecord.h"

#include "platform/cp932.h"
#include "core/fieldencoding.h"
#include "core/pointbook.h"

namespace tovik {

RowRecord RowRecord::FromBook(const PointBook& book, int index) { return FromEntry(book.Entry(index)); }

RowRecord RowRecord::FromEntry(const PointEntry& e)
{
    RowRecord r;
    for (int t = name; t <= category; ++t)
        r[t] = Text(e, t);
    return r;
}

QString RowRecord::Text(const PointEntry& e, int text)
{
    switch (text) {
    case name:
        return Cp932::Decode(e.name);
    case longitude:
        return QString::fromStdString(FormatCoordinate(e.longitude, e.longitudeFraction));
    case latitude:
        return QString::fromStdString(FormatCoordinate(e.latitude, e.latitudeFraction));
    case mark:
        return QString::fromStdString(FormatMark(e.mark));
    case reading:
        return Cp932::Decode(e.reading);
    case telephone:
        return QString::fromStdString(FormatTelephone(e.telephone));
    case distance:
        return QString::fromStdString(FormatDistance(e.distance));
    case category:
        return QString::fromStdString(FormatCategory(e.category));
    default:
        return {};
    }
}

QString RowRecord::Heading(int column)
{
    static const std::array<const char*, kColumns> headings = {"地点名称", "東経", "北緯", "マーク", "フリガナ", "電話番号"};
    return column >= 0 && column < kColumns ? QString::fromUtf8(headings[static_cast<std::size_t>(column)]) : QString();
}

int RowRecord::ImageIndex() const { return ReadLeadingInteger(texts[mark].toStdString()); }

int RowRecord::ImageIndex(const PointEntry& entry) { return ReadLeadingInteger(FormatMark(entry.mark)); }

}  // namespace tovik
