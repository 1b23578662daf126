// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/gpxformat.h"

#include <QStringConverter>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <future>

#include "interop/devicefield.h"
#include "interop/exchangeformat.h"
#include "interop/warninglist.h"
#include "interop/readprogress.h"
#include "interop/xmlwalk.h"

namespace tovik {

namespace {

const QString kGpx11 = QStringLiteral("http://www.topografix.com/GPX/1/1");

// The device's fields inside <extensions>, in Tovik's namespace at any depth.
void ReadExtensions(QXmlStreamReader& xml, ExchangePoint& point)
{
    XmlWalk::Inside(xml, [&point](QXmlStreamReader& x, int) {
        const QString* key = x.namespaceUri() == DeviceField::kNamespace ? DeviceField::Find(x.name()) : nullptr;
        if (key)
            point.SetDevice(*key, x.readElementText(QXmlStreamReader::IncludeChildElements));
        return key != nullptr;
    });
}

// One <wpt>; its children other than those read here are skipped whole. False once too
// many points could not be read.
bool ReadWaypoint(QXmlStreamReader& xml, ReadResult& result)
{
    ExchangePoint point;
    bool latOk = false, lonOk = false;
    const QXmlStreamAttributes attributes = xml.attributes();
    point.latitudeText = attributes.value(QLatin1StringView("lat")).toString();
    point.longitudeText = attributes.value(QLatin1StringView("lon")).toString();
    point.latitude = point.latitudeText.toDouble(&latOk);
    point.longitude = point.longitudeText.toDouble(&lonOk);
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
    if (!latOk || !lonOk)
        return result.Unread(
            QStringLiteral("%1は緯度・経度が読めないため取りこみませんでした。").arg(WarningList::Quote(point.name)));
    result.Add(std::move(point));
    return true;
}

}  // namespace

ReadResult GpxFormat::Read(const QByteArray& bytes, ReadResult::Take take)
{
    // Points taken one by one go in file order: only the whole gives that.
    if (!take && bytes.size() >= kHalvedSize) {
        if (std::optional<ReadResult> halves = ReadInHalves(bytes))
            return std::move(*halves);
    }
    return ReadWhole(bytes, std::move(take));
}

ReadResult GpxFormat::ReadWhole(const QByteArray& bytes, ReadResult::Take take)
{
    ReadResult result(std::move(take));
    XmlWalk walk(bytes);
    if (const Result<void, QString> opened = walk.OpenRoot(u"gpx", "GPX"); !opened) {
        result.error = opened.Error();
        return result;
    }
    XmlWalk::Inside(walk.Reader(), [&result](QXmlStreamReader& x, int depth) {
        if (depth != 1 || x.name() != u"wpt")
            return false;
        if (!ReadWaypoint(x, result))
            x.raiseError(result.error);
        return true;
    });
    if (const Result<void, QString> finished = walk.Finish(); !finished) {
        result.error = finished.Error();
        result.points.clear();
    } else if (result.Found() == 0) {
        result.error = QStringLiteral("GPX ファイルに地点（wpt）がありません。");
    }
    return result;
}

std::optional<ReadResult> GpxFormat::ReadInHalves(const QByteArray& bytes)
{
    // The second half is written as UTF-8: the file must be UTF-8 too.
    if (const auto marked = QStringConverter::encodingForData(bytes); marked && *marked != QStringConverter::Utf8)
        return std::nullopt;
    // The root's start tag, with the namespaces the second half needs.
    XmlWalk walk(bytes);
    QXmlStreamReader& head = walk.Reader();
    QString encoding;  // the reader gives it only on the declaration's token
    while (!head.atEnd() && !head.isStartElement()) {
        head.readNext();
        if (head.isStartDocument())
            encoding = head.documentEncoding().toString();
        if (head.isDTD())
            return std::nullopt;  // only the whole file is refused or read right
    }
    if (!head.isStartElement() || head.name() != u"gpx" ||
        (!encoding.isEmpty() && encoding.compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) != 0))
        return std::nullopt;
    QString open = u'<' + head.qualifiedName().toString();
    for (const QXmlStreamNamespaceDeclaration& ns : head.namespaceDeclarations()) {
        QString uri = ns.namespaceUri().toString().toHtmlEscaped();
        open += ns.prefix().isEmpty() ? QStringLiteral(" xmlns=\"%1\"").arg(uri)
                                      : QStringLiteral(" xmlns:%1=\"%2\"").arg(ns.prefix(), uri);
    }
    open += u'>';
    const QByteArray close = "</" + head.qualifiedName().toUtf8() + '>';

    // In front of a <wpt> past the middle.
    qsizetype split = bytes.size() / 2;
    for (;; ++split) {
        split = bytes.indexOf("<wpt", split);
        if (split < 0)
            return std::nullopt;
        const char after = split + 4 < bytes.size() ? bytes.at(split + 4) : '\0';
        if (after == ' ' || after == '\t' || after == '\r' || after == '\n' || after == '>' || after == '/')
            break;
    }
    // Each half copied once, into a buffer of its size.
    QByteArray first;
    first.reserve(split + close.size());
    first.append(bytes.constData(), split).append(close);
    const QByteArray start = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + open.toUtf8();
    QByteArray second;
    second.reserve(start.size() + bytes.size() - split);
    second.append(start).append(bytes.constData() + split, bytes.size() - split);
    std::future<ReadResult> later = std::async(std::launch::async, [&second, progress = ReadProgress::Current()] {
        const ReadProgress::Scope scope(progress);
        return ReadWhole(second);
    });
    ReadResult result = ReadWhole(first);
    ReadResult rest = later.get();
    // The copies are read; their memory goes before the points of the halves join.
    first = QByteArray();
    second = QByteArray();
    if (!result.error.isEmpty() || !rest.error.isEmpty())
        return std::nullopt;
    result.Append(std::move(rest));
    if (!result.error.isEmpty())
        return std::nullopt;
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
