// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program icon into an icon theme folder as desktops look for it:
// DIR/hicolor/NxN/apps/ID.png for each drawn size and DIR/hicolor/scalable/apps/ID.svg.
//
// Usage: makeprogramicon DIR ID

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QSaveFile>
#include <QString>

#include <cstdio>

#include "resources/programicon.h"

namespace {

bool Write(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeprogramicon DIR ID\n");
        return 2;
    }
    const QDir theme(QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("hicolor")));
    const QString id = QString::fromLocal8Bit(argv[2]);
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString path = theme.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(id));
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !tovik::ProgramPixmap(size).save(&buffer, "PNG") ||
            !Write(path, png)) {
            std::fprintf(stderr, "makeprogramicon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString svg = theme.filePath(QStringLiteral("scalable/apps/%1.svg").arg(id));
    if (!Write(svg, tovik::ProgramIconSvg())) {
        std::fprintf(stderr, "makeprogramicon: cannot write %s\n", qPrintable(svg));
        return 1;
    }
    return 0;
}
