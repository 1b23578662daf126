// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/kmzzip.h"

#include <QBuffer>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace tovik {

namespace {

// Bit 0 of a ZIP entry's general purpose flags: the entry is encrypted.
constexpr quint16 kEncrypted = 0x0001;

}  // namespace

KmzModule::Document KmzZip::ReadDocument(const QByteArray& archive, qint64 largestEntry)
{
    using Problem = KmzModule::Problem;
    KmzModule::Document document;
    QByteArray data = archive;
    QBuffer buffer(&data);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip)) {
        document.problem = Problem::notZip;
        return document;
    }
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (!name.endsWith(QStringLiteral(".kml"), Qt::CaseInsensitive))
            continue;
        if (document.entry.isEmpty() || name.compare(QStringLiteral("doc.kml"), Qt::CaseInsensitive) == 0)
            document.entry = name;
    }
    if (document.entry.isEmpty() || !zip.setCurrentFile(document.entry)) {
        document.problem = zip.getZipError() == UNZ_OK ? Problem::noDocument : Problem::notZip;
        return document;
    }
    QuaZipFileInfo64 info;
    if (zip.getCurrentFileInfo(&info)) {
        // Without the password its bytes would only read as damaged.
        if (info.flags & kEncrypted) {
            document.problem = Problem::encrypted;
            return document;
        }
        if (static_cast<qint64>(info.uncompressedSize) > largestEntry) {
            document.problem = Problem::tooLarge;
            return document;
        }
    }
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly)) {
        document.problem = Problem::unreadable;
        return document;
    }
    // The stated size may lie; never unpack more than the limit. Small steps: each read
    // takes a buffer of its full size, however little the entry holds.
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        document.bytes += chunk;
        if (document.bytes.size() > largestEntry) {
            document.bytes.clear();
            document.problem = Problem::tooLarge;
            return document;
        }
    }
    // The CRC-32 is checked when the entry is closed, once all of it has been read.
    const bool readWhole = file.getZipError() == UNZ_OK;
    file.close();
    if (!readWhole || file.getZipError() != UNZ_OK) {
        document.bytes.clear();
        document.problem = Problem::damaged;
    }
    return document;
}

QByteArray KmzZip::Write(const QByteArray& document, const QList<QPair<QString, QByteArray>>& files)
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
        if (file.getZipError() != UNZ_OK)
            return {};
    }
    zip.close();
    if (zip.getZipError() != UNZ_OK)
        return {};
    return data;
}

}  // namespace tovik

extern "C" Q_DECL_EXPORT const tovik::KmzModule* tovik_kmz_module()
{
    static const tovik::KmzModule module{tovik::KmzModule::kVersion, &tovik::KmzZip::ReadDocument,
                                         &tovik::KmzZip::Write};
    return &module;
}
