#include "interop/kmzarchive.h"

#include <QBuffer>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include "interop/exchangeformat.h"

namespace tovik {

namespace {

QString TooLarge(const QString& name)
{
    return QStringLiteral("KMZ の中の %1 が大きすぎます（%2 MiB まで）。")
        .arg(name)
        .arg(KmzArchive::kLargestEntry / (1024 * 1024));
}

}  // namespace

QByteArray KmzArchive::ReadDocument(const QByteArray& archive, QString& error)
{
    QByteArray data = archive;
    QBuffer buffer(&data);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip)) {
        error = ExchangeFormat::NotWhatItSays(archive, "KMZ");
        return {};
    }
    // doc.kml at the top is the document; otherwise the first .kml entry.
    QString chosen;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (!name.endsWith(QStringLiteral(".kml"), Qt::CaseInsensitive))
            continue;
        if (chosen.isEmpty() || name.compare(QStringLiteral("doc.kml"), Qt::CaseInsensitive) == 0)
            chosen = name;
    }
    if (chosen.isEmpty() || !zip.setCurrentFile(chosen)) {
        error = zip.getZipError() == UNZ_OK ? QStringLiteral("KMZ の中に KML ファイルがありません。")
                                             : ExchangeFormat::NotWhatItSays(archive, "KMZ");
        return {};
    }
    QuaZipFileInfo64 info;
    if (zip.getCurrentFileInfo(&info) && static_cast<qint64>(info.uncompressedSize) > kLargestEntry) {
        error = TooLarge(chosen);
        return {};
    }
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("KMZ の中の %1 を開けません。").arg(chosen);
        return {};
    }
    // The stated size may lie; never unpack more than the limit.
    QByteArray document;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1024 * 1024);
        if (chunk.isEmpty())
            break;
        document += chunk;
        if (document.size() > kLargestEntry) {
            error = TooLarge(chosen);
            return {};
        }
    }
    if (file.getZipError() != UNZ_OK) {
        error = QStringLiteral("KMZ の中の %1 が壊れています。").arg(chosen);
        return {};
    }
    return document;
}

QByteArray KmzArchive::Write(const QByteArray& document, const QList<QPair<QString, QByteArray>>& files)
{
    QByteArray data;
    QBuffer buffer(&data);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        return {};
    QList<QPair<QString, QByteArray>> entries{{QStringLiteral("doc.kml"), document}};
    entries += files;
    for (const auto& [name, bytes] : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(bytes) != bytes.size())
            return {};
        file.close();
    }
    zip.close();
    if (zip.getZipError() != UNZ_OK)
        return {};
    return data;
}

}  // namespace tovik
