// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/exchangeformat.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace tovik {

std::optional<ExchangeFormat::Format> ExchangeFormat::FromName(const QString& name)
{
    const QString n = name.toLower();
    if (n == u"gpx")
        return gpx;
    if (n == u"kml")
        return kml;
    if (n == u"kmz")
        return kmz;
    if (n == u"csv")
        return csv;
    if (n == u"geojson" || n == u"json")
        return geojson;
    if (n == u"mem")
        return mem;
    return std::nullopt;
}

std::optional<ExchangeFormat::Format> ExchangeFormat::FromPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? std::nullopt : FromName(suffix);
}

QString ExchangeFormat::Name(Format format)
{
    switch (format) {
    case mem:
        return QStringLiteral(".mem");
    case gpx:
        return QStringLiteral("GPX");
    case kml:
        return QStringLiteral("KML");
    case kmz:
        return QStringLiteral("KMZ");
    case csv:
        return QStringLiteral("CSV");
    case geojson:
        return QStringLiteral("GeoJSON");
    }
    return {};
}

QString ExchangeFormat::Extension(Format format)
{
    return format == geojson ? QStringLiteral("geojson") : Name(format).toLower().remove(u'.');
}

QString ExchangeFormat::Degrees(double degrees) { return QString::number(degrees, 'f', 9); }

QString ExchangeFormat::Describe(const QByteArray& bytes)
{
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return QStringLiteral("ZIP");
    if (bytes.size() >= 9604 && bytes.size() <= 9604 + 16 && bytes.at(9600) == '\xA5')
        return QStringLiteral(".mem");
    QByteArray head = bytes.left(4096);
    // A byte-order mark (UTF-8, or UTF-16 as some Windows programs write XML) names the
    // encoding of what follows; the kind is told from the text.
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(head)) {
        QStringDecoder decoder(*marked);
        head = QString(decoder.decode(head)).toUtf8();
    }
    head = head.trimmed();
    if (head.startsWith('{') || head.startsWith('['))
        return QStringLiteral("JSON");
    if (head.startsWith('<')) {
        if (head.contains("<gpx"))
            return QStringLiteral("GPX");
        if (head.contains("<kml"))
            return QStringLiteral("KML");
        return QStringLiteral("XML");
    }
    for (const char c : head) {
        if (c == '\0')
            return QStringLiteral("バイナリ");
    }
    return QStringLiteral("テキスト");
}

bool ExchangeFormat::LooksLikeXml(const QByteArray& bytes)
{
    const QString kind = Describe(bytes);
    return kind == u"GPX" || kind == u"KML" || kind == u"XML";
}

QString ExchangeFormat::NotWhatItSays(const QByteArray& bytes, const char* expected)
{
    return QStringLiteral("%1 ファイルではありません（中身は %2 のようです）。")
        .arg(QString::fromLatin1(expected), Describe(bytes));
}

}  // namespace tovik
