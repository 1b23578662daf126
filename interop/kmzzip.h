// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interop/kmzmodule.h"

namespace tovik {

// The ZIP side of a KMZ file on QuaZip; built into the KMZ module only.
class KmzZip {
public:
    static KmzModule::Document ReadDocument(const QByteArray& archive, qint64 largestEntry);
    static QByteArray Write(const QByteArray& document, const QList<QPair<QString, QByteArray>>& files);
};

}  // namespace tovik
