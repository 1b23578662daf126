// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/datafolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace tovik {

QStringList DataFolders::Search()
{
    const QString program = QCoreApplication::applicationDirPath();
    QStringList candidates{QDir::currentPath(), program,
                           QDir(program).filePath(QStringLiteral(TOVIK_DATA_FROM_BIN))};
    for (const QString& base : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << QDir(base).filePath(QStringLiteral(TOVIK_DATA_SUBDIR));

    QStringList folders;
    for (const QString& candidate : candidates) {
        const QDir dir(candidate);
        if (!dir.exists())
            continue;
        // The same folder reached twice (started beside the program, a link) is read once.
        const QString canonical = dir.canonicalPath();
        if (!folders.contains(canonical))
            folders << canonical;
    }
    return folders;
}

}  // namespace tovik
