// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/markpngs.h"

#include <QFile>
#include <QString>

namespace tovik {

QByteArray MarkPngs::Png(int mark)
{
    if (mark < 0 || mark > 25)
        return {};
    QFile file(QStringLiteral(":/markpng/mark%1.png").arg(mark, 2, 10, QChar(u'0')));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace tovik
