// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/geojsonformat.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QLocale>
#include <QStringDecoder>
#include <cmath>

#include "interop/devicefield.h"
#include "interop/exchangeformat.h"
#include "interop/jsonscan.h"
#include "interop/readprogress.h"
#include "interop/warninglist.h"

namespace tovik {

namespace {

const QStringList& NumberKeys()
{
    static const QStringList keys{DeviceField::kMark,      DeviceField::kDistance,         DeviceField::kCategory,
                                  DeviceField::kLatitude,  DeviceField::kLatitudeFraction, DeviceField::kLongitude,
                                  DeviceField::kLongitudeFraction};
    return keys;
}

QString Text(const QJsonValue& v)
{
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (d == std::floor(d) && std::abs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 17);
    }
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return {};
}

// A JSON string literal, quotes included.
QByteArray Json(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

using Span = JsonScan::Span;
using Members = QHash<QString, Span>;

// The members of an object whose names are `wanted`, the last of a name as QJsonObject
// keeps it; none when `value` is no object.
Members Pick(const JsonScan& scan, std::optional<Span> value, const QStringList& wanted)
{
    Members picked;
    if (value && scan.Kind(*value) == '{') {
        scan.Members(*value, [&picked, &wanted](const QString& key, Span member) {
            if (wanted.contains(key))
                picked.insert(key, member);
            return true;
        });
    }
    return picked;
}

std::optional<Span> Member(const Members& members, const QString& name)
{
    const auto it = members.constFind(name);
    return it == members.cend() ? std::nullopt : std::optional<Span>(*it);
}

QJsonValue ValueOf(const JsonScan& scan, const Members& members, const QString& name)
{
    const auto it = members.constFind(name);
    return it == members.cend() ? QJsonValue(QJsonValue::Undefined) : scan.Value(*it);
}

// One Feature; false when it is no point. `stop` is set once too many points could not
// be read.
bool ReadFeature(const JsonScan& scan, Span feature, ReadResult& result, bool& stop)
{
    static const QString kGeometry = QStringLiteral("geometry"), kProperties = QStringLiteral("properties"),
                         kType = QStringLiteral("type"), kCoordinates = QStringLiteral("coordinates"),
                         kName = QStringLiteral("name"), kMarker = QStringLiteral("marker-symbol"),
                         kSym = QStringLiteral("sym");
    static const QStringList kPropertyNames = QStringList{kName, kMarker, kSym} + DeviceField::Keys();
    const Members members = Pick(scan, feature, {kGeometry, kProperties});
    const Members geometry = Pick(scan, Member(members, kGeometry), {kType, kCoordinates});
    if (ValueOf(scan, geometry, kType).toString() != u"Point")
        return false;
    // The first two numbers of the position, without decoding the rest.
    std::vector<Span> position;
    if (const auto coordinates = Member(geometry, kCoordinates); coordinates && scan.Kind(*coordinates) == '[') {
        scan.Elements(*coordinates, [&position](Span element) {
            position.push_back(element);
            return position.size() < 2;
        });
    }
    const auto isNumber = [&scan](Span v) { return scan.Kind(v) == '-' || (scan.Kind(v) >= '0' && scan.Kind(v) <= '9'); };
    const Members properties = Pick(scan, Member(members, kProperties), kPropertyNames);
    ExchangePoint point;
    point.name = Text(ValueOf(scan, properties, kName));
    if (position.size() < 2 || !isNumber(position[0]) || !isNumber(position[1])) {
        stop = !result.Unread(QStringLiteral("%1は座標が読めないため取りこみませんでした。").arg(WarningList::Quote(point.name)));
        return true;
    }
    point.longitude = scan.Value(position[0]).toDouble();
    point.latitude = scan.Value(position[1]).toDouble();
    // JSON keeps no text of a number: the shortest that reads back as the same.
    point.longitudeText = QString::number(point.longitude, 'g', QLocale::FloatingPointShortest);
    point.latitudeText = QString::number(point.latitude, 'g', QLocale::FloatingPointShortest);
    if (!result.Counting()) {
        if (properties.contains(kMarker))
            point.symbol = Text(ValueOf(scan, properties, kMarker));
        if (properties.contains(kSym))
            point.symbol = Text(ValueOf(scan, properties, kSym));
        for (const QString& key : DeviceField::Keys()) {
            if (properties.contains(key))
                point.SetDevice(key, Text(ValueOf(scan, properties, key)));
        }
    }
    result.Add(std::move(point));
    return true;
}

}  // namespace

ReadResult GeoJsonFormat::Read(const QByteArray& bytes, ReadResult::Take take)
{
    ReadResult result(std::move(take));
    QByteArray json = bytes;
    // JSON is UTF-8; a file some Windows program wrote as UTF-16 says so by its mark.
    if (const auto marked = QStringConverter::encodingForData(bytes); marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked);
        json = QString(decoder.decode(bytes)).toUtf8();
    }
    // Looked through rather than parsed whole: only the values read are ever decoded.
    JsonScan scan(json);
    const std::optional<Span> root = scan.Check();
    if (!root) {
        result.error = ExchangeFormat::Describe(bytes) == u"JSON"
                           ? QStringLiteral("JSON として読めません（%1 バイト目: %2）。").arg(scan.Offset()).arg(scan.Reason())
                           : ExchangeFormat::NotWhatItSays(bytes, "GeoJSON");
        return result;
    }
    const Members top = Pick(scan, root, {QStringLiteral("type"), QStringLiteral("features")});
    const QString type = ValueOf(scan, top, QStringLiteral("type")).toString();
    int notPoints = 0;
    bool stop = false;
    if (type == u"FeatureCollection") {
        if (const auto features = Member(top, QStringLiteral("features")); features && scan.Kind(*features) == '[') {
            scan.Elements(*features, [&](Span feature) {
                if (!ReadProgress::Report(feature.begin, json.size())) {
                    result.error = ReadProgress::Given();
                    stop = true;
                    return false;
                }
                if (!ReadFeature(scan, feature, result, stop))
                    ++notPoints;
                return !stop;
            });
        }
        if (stop)
            return result;
    } else if (type == u"Feature") {
        if (!ReadFeature(scan, *root, result, stop))
            ++notPoints;
    } else {
        result.error = QStringLiteral("GeoJSON の FeatureCollection でも Feature でもありません。");
        return result;
    }
    if (notPoints > 0)
        result.warnings.Add(QStringLiteral("点でない feature %1 件は取りこみませんでした。").arg(notPoints));
    if (result.Found() == 0)
        result.error = QStringLiteral("GeoJSON ファイルに地点（Point の feature）がありません。");
    return result;
}

QByteArray GeoJsonFormat::Write(const std::vector<ExchangePoint>& points)
{
    // Written by hand so that every coordinate has its nine decimals.
    QByteArray out = "{\n  \"type\": \"FeatureCollection\",\n  \"features\": [";
    bool first = true;
    for (const ExchangePoint& p : points) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "    {\"type\": \"Feature\", \"geometry\": {\"type\": \"Point\", \"coordinates\": [";
        out += ExchangeFormat::Degrees(p.longitude).toLatin1() + ", " + ExchangeFormat::Degrees(p.latitude).toLatin1();
        out += "]},\n     \"properties\": {\"name\": " + Json(p.name);
        for (const auto& [key, value] : p.device) {
            bool number = false;
            value.toLongLong(&number);
            out += ", " + Json(key) + ": " + (number && NumberKeys().contains(key) ? value.toLatin1() : Json(value));
        }
        out += "}}";
    }
    out += points.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace tovik
