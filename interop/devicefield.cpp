// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/devicefield.h"

namespace tovik {

const QString DeviceField::kReading = QStringLiteral("reading");
const QString DeviceField::kTelephone = QStringLiteral("telephone");
const QString DeviceField::kMark = QStringLiteral("mark");
const QString DeviceField::kDistance = QStringLiteral("distance");
const QString DeviceField::kCategory = QStringLiteral("category");
const QString DeviceField::kDatum = QStringLiteral("datum");
const QString DeviceField::kLatitude = QStringLiteral("deviceLatitude");
const QString DeviceField::kLatitudeFraction = QStringLiteral("deviceLatitudeFraction");
const QString DeviceField::kLongitude = QStringLiteral("deviceLongitude");
const QString DeviceField::kLongitudeFraction = QStringLiteral("deviceLongitudeFraction");
const QString DeviceField::kNameBytes = QStringLiteral("nameBytes");
const QString DeviceField::kReadingBytes = QStringLiteral("readingBytes");
const QString DeviceField::kTelephoneBytes = QStringLiteral("telephoneBytes");
const QString DeviceField::kNamespace = QStringLiteral("urn:x-tovik:point:1");

const QStringList& DeviceField::Keys()
{
    static const QStringList keys{kReading,   kTelephone,         kMark,      kDistance,
                                  kCategory,  kDatum,             kLatitude,  kLatitudeFraction,
                                  kLongitude, kLongitudeFraction, kNameBytes, kReadingBytes,
                                  kTelephoneBytes};
    return keys;
}

}  // namespace tovik

namespace tovik {

const QString* DeviceField::Find(QStringView name)
{
    for (const QString& key : Keys()) {
        if (key == name)
            return &key;
    }
    return nullptr;
}

}  // namespace tovik
