#include "gpxformat.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "devicefield.h"
#include "exchangeformat.h"

namespace tovik {

namespace {

const QString kGpx11 = QStringLiteral("http://www.topografix.com/GPX/1/1");

// The device's fields inside <extensions>, in Tovik's namespace at any depth.
void ReadExtensions(QXmlStreamReader& xml, ExchangePoint& point)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            --depth;
        } else if (xml.isStartElement()) {
            const QString key = xml.name().toString();
            if (xml.namespaceUri() == DeviceField::kNamespace && DeviceField::Keys().contains(key))
                point.SetDevice(key, xml.readElementText(QXmlStreamReader::IncludeChildElements));
            else
                ++depth;
        }
    }
}

// One <wpt>; its children other than those read here are skipped whole.
void ReadWaypoint(QXmlStreamReader& xml, ReadResult& result)
{
    ExchangePoint point;
    bool latOk = false, lonOk = false;
    point.latitude = xml.attributes().value(QStringLiteral("lat")).toDouble(&latOk);
    point.longitude = xml.attributes().value(QStringLiteral("lon")).toDouble(&lonOk);
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == u"name")
            point.name = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (name == u"sym")
            point.symbol = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (name == u"extensions")
            ReadExtensions(xml, point);
        else
            xml.skipCurrentElement();
    }
    if (latOk && lonOk)
        result.points.push_back(std::move(point));
    else
        result.warnings << QStringLiteral("「%1」は緯度・経度が読めないため取りこみませんでした。").arg(point.name);
}

}  // namespace

ReadResult GpxFormat::Read(const QByteArray& bytes)
{
    ReadResult result;
    if (!ExchangeFormat::LooksLikeXml(bytes)) {
        result.error = ExchangeFormat::NotWhatItSays(bytes, "GPX");
        return result;
    }
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != u"gpx") {
        result.error = xml.hasError() ? ExchangeFormat::XmlError(xml) : ExchangeFormat::NotWhatItSays(bytes, "GPX");
        return result;
    }
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            --depth;
        else if (xml.isStartElement() && depth == 1 && xml.name() == u"wpt")
            ReadWaypoint(xml, result);
        else if (xml.isStartElement())
            ++depth;
    }
    if (xml.hasError()) {
        result.error = ExchangeFormat::XmlError(xml);
        result.points.clear();
    } else if (result.points.empty() && result.error.isEmpty()) {
        result.error = QStringLiteral("GPX ファイルに地点（wpt）がありません。");
    }
    return result;
}

QByteArray GpxFormat::Write(const std::vector<ExchangePoint>& points)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kGpx11);
    xml.writeNamespace(DeviceField::kNamespace, QStringLiteral("tovik"));
    xml.writeStartElement(kGpx11, QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("Tovik"));
    for (const ExchangePoint& p : points) {
        xml.writeStartElement(kGpx11, QStringLiteral("wpt"));
        xml.writeAttribute(QStringLiteral("lat"), ExchangeFormat::Degrees(p.latitude));
        xml.writeAttribute(QStringLiteral("lon"), ExchangeFormat::Degrees(p.longitude));
        xml.writeTextElement(kGpx11, QStringLiteral("name"), p.name);
        if (!p.comment.isEmpty())
            xml.writeTextElement(kGpx11, QStringLiteral("cmt"), p.comment);
        if (!p.description.isEmpty())
            xml.writeTextElement(kGpx11, QStringLiteral("desc"), p.description);
        if (!p.symbol.isEmpty())
            xml.writeTextElement(kGpx11, QStringLiteral("sym"), p.symbol);
        if (!p.device.isEmpty()) {
            xml.writeStartElement(kGpx11, QStringLiteral("extensions"));
            xml.writeStartElement(DeviceField::kNamespace, QStringLiteral("point"));
            for (const auto& [key, value] : p.device)
                xml.writeTextElement(DeviceField::kNamespace, key, value);
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

}  // namespace tovik
