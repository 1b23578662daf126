#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace tovik {

// A KMZ file: a ZIP archive whose first .kml entry (doc.kml by custom) is the document,
// with the files it refers to beside it.
class KmzArchive {
public:
    // An entry larger than this is refused rather than unpacked.
    static constexpr qint64 kLargestEntry = 64 * 1024 * 1024;

    // The KML document of the archive; empty with `error` set when there is none.
    static QByteArray ReadDocument(const QByteArray& archive, QString& error);
    // doc.kml first, then the other files in the order given.
    static QByteArray Write(const QByteArray& document, const QList<QPair<QString, QByteArray>>& files);
};

}  // namespace tovik
