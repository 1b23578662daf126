// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include "core/result.h"

namespace tovik {

// A KMZ file: a ZIP archive whose first .kml entry (doc.kml by custom) is the document,
// with the files it refers to beside it. The ZIP work is done by the KMZ module, opened the
// first time a KMZ is read or written, so that no other command loads QuaZip.
class KmzArchive {
public:
    // An entry larger than this is refused rather than unpacked.
    static constexpr qint64 kLargestEntry = 64 * 1024 * 1024;

    // The KML document of the archive; fails when there is none, the archive is damaged
    // (an entry whose CRC-32 does not match) or the document encrypted.
    static Result<QByteArray, QString> ReadDocument(const QByteArray& archive);
    // doc.kml first, then the other files in the order given; fails when the archive
    // could not be made.
    static Result<QByteArray, QString> Write(const QByteArray& document,
                                             const QList<QPair<QString, QByteArray>>& files);
};

}  // namespace tovik
