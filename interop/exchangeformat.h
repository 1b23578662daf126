// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tovik {

// The formats points travel in, and what their readers and writers share.
class ExchangeFormat {
public:
    enum Format { mem, gpx, kml, kmz, csv, geojson };

    // "gpx", "kml", "kmz", "csv", "geojson" (and "json", "mem"), in any case.
    static std::optional<Format> FromName(const QString& name);
    // By the file name's extension: .gpx .kml .kmz .csv .geojson .json .mem.
    static std::optional<Format> FromPath(const QString& path);
    static QString Name(Format format);
    // The extension a file of the format gets, without the dot.
    static QString Extension(Format format);

    // Decimal degrees as every format writes them: nine decimals, about a millimetre,
    // well inside the device's 1/250 s.
    static QString Degrees(double degrees);

    // What a file's bytes look like, for messages: "GPX", "KML", "ZIP", "JSON",
    // ".mem", "XML", "テキスト" or "バイナリ"; text after a byte-order mark in its own
    // encoding.
    static QString Describe(const QByteArray& bytes);
    static bool LooksLikeXml(const QByteArray& bytes);
    // The message for a file that is not of the format its name or --format says.
    static QString NotWhatItSays(const QByteArray& bytes, const char* expected);
};

}  // namespace tovik
