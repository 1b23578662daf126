// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/kmlformat.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <set>

#include "core/markcolours.h"
#include "interop/devicefield.h"
#include "interop/exchangeconverter.h"
#include "interop/exchangeformat.h"
#include "interop/warninglist.h"
#include "interop/xmlwalk.h"

namespace tovik {

namespace {

const QString kKml22 = QStringLiteral("http://www.opengis.net/kml/2.2");

// <ExtendedData>: <Data name="..."><value>...</value></Data> and the typed
// <SchemaData><SimpleData name="...">...</SimpleData> that other programs write.
void ReadExtendedData(QXmlStreamReader& xml, ExchangePoint& point)
{
    XmlWalk::Inside(xml, [&point](QXmlStreamReader& x, int) {
        const QString* key = DeviceField::Find(x.attributes().value(QLatin1StringView("name")));
        QString value;
        if (x.name() == u"SimpleData") {
            value = x.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (x.name() == u"Data") {
            while (x.readNextStartElement()) {
                if (x.name() == u"value")
                    value = x.readElementText(QXmlStreamReader::IncludeChildElements);
                else
                    x.skipCurrentElement();
            }
        } else {
            return false;
        }
        if (key)
            point.SetDevice(*key, value);
        return true;
    });
}

// "lon,lat[,alt]"; the first tuple when there are several (never all of them split
// apart: a <Point> may come with millions).
bool ReadCoordinates(const QString& text, ExchangePoint& point)
{
    const QStringView trimmed = QStringView(text).trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && !trimmed[end].isSpace())
        ++end;
    const QStringView tuple = trimmed.left(end);
    const qsizetype comma = tuple.indexOf(u',');
    if (comma < 0)
        return false;
    const qsizetype next = tuple.indexOf(u',', comma + 1);
    point.longitudeText = tuple.left(comma).toString();
    point.latitudeText = tuple.sliced(comma + 1, (next < 0 ? tuple.size() : next) - comma - 1).toString();
    bool lonOk = false, latOk = false;
    point.longitude = point.longitudeText.toDouble(&lonOk);
    point.latitude = point.latitudeText.toDouble(&latOk);
    return lonOk && latOk;
}

// One <Placemark>; false once too many points could not be read.
bool ReadPlacemark(QXmlStreamReader& xml, ReadResult& result, int& notPoints)
{
    ExchangePoint point;
    bool hasPoint = false, coordinatesOk = false, otherGeometry = false;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"name") {
            point.name = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"styleUrl") {
            point.symbol = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (name == u"ExtendedData") {
            ReadExtendedData(xml, point);
        } else if (name == u"Point") {
            hasPoint = true;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"coordinates")
                    coordinatesOk = ReadCoordinates(xml.readElementText(QXmlStreamReader::IncludeChildElements), point);
                else
                    xml.skipCurrentElement();
            }
        } else {
            static const QStringList geometries{QStringLiteral("LineString"), QStringLiteral("LinearRing"),
                                                QStringLiteral("Polygon"), QStringLiteral("MultiGeometry"),
                                                QStringLiteral("Model"), QStringLiteral("Track"),
                                                QStringLiteral("MultiTrack")};
            otherGeometry = otherGeometry || geometries.contains(name.toString());
            xml.skipCurrentElement();
        }
    }
    if (hasPoint && coordinatesOk)
        result.Add(std::move(point));
    else if (hasPoint)
        return result.Unread(QStringLiteral("%1は座標が読めないため取りこみませんでした。").arg(WarningList::Quote(point.name)));
    else if (otherGeometry)
        ++notPoints;
    return true;
}

}  // namespace

ReadResult KmlFormat::Read(const QByteArray& bytes, ReadResult::Take take)
{
    ReadResult result(std::move(take));
    XmlWalk walk(bytes);
    if (const Result<void, QString> opened = walk.OpenRoot(u"kml", "KML"); !opened) {
        result.error = opened.Error();
        return result;
    }
    int notPoints = 0;
    XmlWalk::Inside(walk.Reader(), [&result, &notPoints](QXmlStreamReader& x, int) {
        if (x.name() != u"Placemark")
            return false;
        if (!ReadPlacemark(x, result, notPoints))
            x.raiseError(result.error);
        return true;
    });
    if (const Result<void, QString> finished = walk.Finish(); !finished) {
        result.error = finished.Error();
        result.points.clear();
        return result;
    }
    if (notPoints > 0)
        result.warnings.Add(QStringLiteral("点でない図形の placemark %1 件は取りこみませんでした。").arg(notPoints));
    if (result.Found() == 0)
        result.error = QStringLiteral("KML ファイルに地点（Point の placemark）がありません。");
    return result;
}

QByteArray KmlFormat::Write(const std::vector<ExchangePoint>& points, const QString& title, const QString& iconFolder)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kKml22);
    xml.writeStartElement(kKml22, QStringLiteral("kml"));
    xml.writeStartElement(kKml22, QStringLiteral("Document"));
    xml.writeTextElement(kKml22, QStringLiteral("name"), title);
    // Every style a placemark names is defined: the mark's colour for its label, and its
    // icon in a KMZ. A plain KML cannot carry the icons, and one on a server would need
    // the network: there the map program's own pin is tinted in the mark's colour.
    std::set<QString> symbols;
    for (const ExchangePoint& p : points) {
        if (!p.symbol.isEmpty())
            symbols.insert(p.symbol);
    }
    for (const QString& symbol : symbols) {
        const std::optional<int> mark = ExchangeConverter::MarkOfSymbol(symbol);
        // KML colours are aabbggrr.
        const std::uint32_t rgb = markcolours::Of(mark.value_or(0));
        const QString colour = QStringLiteral("ff%1%2%3")
                                   .arg(rgb & 0xFF, 2, 16, QChar(u'0'))
                                   .arg((rgb >> 8) & 0xFF, 2, 16, QChar(u'0'))
                                   .arg(rgb >> 16, 2, 16, QChar(u'0'));
        xml.writeStartElement(kKml22, QStringLiteral("Style"));
        xml.writeAttribute(QStringLiteral("id"), symbol);
        xml.writeStartElement(kKml22, QStringLiteral("IconStyle"));
        if (iconFolder.isEmpty() || !mark) {
            xml.writeTextElement(kKml22, QStringLiteral("color"), colour);
        } else {
            xml.writeStartElement(kKml22, QStringLiteral("Icon"));
            xml.writeTextElement(kKml22, QStringLiteral("href"), iconFolder + u'/' + symbol + QStringLiteral(".png"));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeStartElement(kKml22, QStringLiteral("LabelStyle"));
        xml.writeTextElement(kKml22, QStringLiteral("color"), colour);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    for (const ExchangePoint& p : points) {
        xml.writeStartElement(kKml22, QStringLiteral("Placemark"));
        xml.writeTextElement(kKml22, QStringLiteral("name"), p.name);
        if (!p.description.isEmpty())
            xml.writeTextElement(kKml22, QStringLiteral("description"), p.description);
        if (!p.symbol.isEmpty())
            xml.writeTextElement(kKml22, QStringLiteral("styleUrl"), u'#' + p.symbol);
        if (!p.device.isEmpty()) {
            xml.writeStartElement(kKml22, QStringLiteral("ExtendedData"));
            for (const auto& [key, value] : p.device) {
                xml.writeStartElement(kKml22, QStringLiteral("Data"));
                xml.writeAttribute(QStringLiteral("name"), key);
                xml.writeTextElement(kKml22, QStringLiteral("value"), value);
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeStartElement(kKml22, QStringLiteral("Point"));
        xml.writeTextElement(kKml22, QStringLiteral("coordinates"),
                             ExchangeFormat::Degrees(p.longitude) + u',' + ExchangeFormat::Degrees(p.latitude));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

}  // namespace tovik
