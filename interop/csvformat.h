// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "interop/readresult.h"

namespace tovik {

// CSV after RFC 4180: a header row, then one point a row; fields in double quotes where
// they hold a comma, a quote or a line break. Written as UTF-8 with a byte-order mark
// (which spreadsheets in Japan need to open it as UTF-8) or as CP932. Read as UTF-8,
// with or without the mark, UTF-16 after its mark, or CP932 when the bytes are not
// UTF-8; columns are found by their header names in English or Japanese, coordinates in
// the forms CoordinateText reads. A cell a spreadsheet would run as a formula is written
// with an apostrophe in front, which the reader takes away again.
class CsvFormat {
public:
    enum class Encoding { utf8, cp932 };

    static ReadResult Read(const QByteArray& bytes, ReadResult::Take take = {});
    static QByteArray Write(const std::vector<ExchangePoint>& points, Encoding encoding);

    // All rows of RFC 4180 text at once, as CsvRows reads them.
    static QList<QStringList> SplitRows(const QString& text);
};

}  // namespace tovik
