// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace tovik {

// The keys of the device's fields in the exchange formats: GPX elements in Tovik's own
// namespace, KML <Data> names and GeoJSON properties use them; CSV names some of its
// columns otherwise, for map programs that read its headers (and still reads these).
//
//   reading, telephone        the texts (telephone: its digits)
//   mark, distance, category  the numbers as stored (distance as a code of 100 m steps)
//   datum                     "tokyo" or "wgs84": the device datum of the exporting book
//   deviceLatitude, deviceLatitudeFraction, deviceLongitude, deviceLongitudeFraction
//                             the stored coordinates in the device datum: quarter
//                             arc-seconds and 1/250 s
//   nameBytes, readingBytes, telephoneBytes
//                             the stored bytes in hexadecimal, written only where the
//                             text alone would not give them back (a CP932 character with
//                             two codes, bytes that are no character, telephone nibbles
//                             that are no digit)
//
// A reader that meets these takes the device's values from them as long as they still
// describe the point: stored coordinates only while the position agrees with them to
// 1/500 s, stored bytes only while they decode to the text shown.
class DeviceField {
public:
    static const QString kReading;
    static const QString kTelephone;
    static const QString kMark;
    static const QString kDistance;
    static const QString kCategory;
    static const QString kDatum;
    static const QString kLatitude;
    static const QString kLatitudeFraction;
    static const QString kLongitude;
    static const QString kLongitudeFraction;
    static const QString kNameBytes;
    static const QString kReadingBytes;
    static const QString kTelephoneBytes;

    // Every key in the order the writers put them.
    static const QStringList& Keys();
    // The key spelt `name`, or nothing when no device field is called so.
    static const QString* Find(QStringView name);
    // The XML namespace of the GPX <extensions> element.
    static const QString kNamespace;
};

}  // namespace tovik
