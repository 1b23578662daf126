// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace tovik {

// RFC 4180 text read a field at a time, so that no more than one row's fields are held
// at once: fields end at commas outside quotes, rows at line breaks outside quotes (CRLF,
// LF or CR); a doubled quote inside quotes is one quote; blank lines hold no row.
class CsvRows {
public:
    // `text` must outlive the reader.
    explicit CsvRows(QStringView text);

    // The next field into `field`, and whether it ends its row; false when no field is
    // left.
    bool Next(QString& field, bool& endsRow);
    // How far into the text the reader has come.
    qsizetype Position() const { return at; }

private:
    QStringView text;
    qsizetype at = 0;
    bool inRow = false;
};

}  // namespace tovik
