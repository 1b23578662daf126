// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/filenamecheck.h"

namespace tovik {

namespace {
const QString kNotUtf8 = QStringLiteral("ファイル名が UTF-8 ではないため、このファイルは扱えません。");
}  // namespace

QString FileNameCheck::Problem(const QString& path)
{
    if (!path.contains(QChar::ReplacementCharacter))
        return {};
    return path + u'\n' + kNotUtf8;
}

}  // namespace tovik
