#include "interop/geojsonformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLocale>
#include <QStringDecoder>
#include <cmath>

#include "interop/devicefield.h"
#include "interop/exchangeformat.h"
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

// One Feature; false when it is no point. `stop` is set once too many points could not
// be read.
bool ReadFeature(const QJsonObject& feature, ReadResult& result, bool& stop)
{
    const QJsonObject geometry = feature.value(QStringLiteral("geometry")).toObject();
    if (geometry.value(QStringLiteral("type")).toString() != u"Point")
        return false;
    const QJsonArray position = geometry.value(QStringLiteral("coordinates")).toArray();
    const QJsonObject properties = feature.value(QStringLiteral("properties")).toObject();
    ExchangePoint point;
    point.name = Text(properties.value(QStringLiteral("name")));
    if (position.size() < 2 || !position.at(0).isDouble() || !position.at(1).isDouble()) {
        stop = !result.Unread(QStringLiteral("%1は座標が読めないため取りこみませんでした。").arg(WarningList::Quote(point.name)));
        return true;
    }
    point.longitude = position.at(0).toDouble();
    point.latitude = position.at(1).toDouble();
    // JSON keeps no text of a number: the shortest that reads back as the same.
    point.longitudeText = QString::number(point.longitude, 'g', QLocale::FloatingPointShortest);
    point.latitudeText = QString::number(point.latitude, 'g', QLocale::FloatingPointShortest);
    if (!result.Counting()) {
        if (properties.contains(QStringLiteral("marker-symbol")))
            point.symbol = Text(properties.value(QStringLiteral("marker-symbol")));
        if (properties.contains(QStringLiteral("sym")))
            point.symbol = Text(properties.value(QStringLiteral("sym")));
        for (const QString& key : DeviceField::Keys()) {
            if (properties.contains(key))
                point.SetDevice(key, Text(properties.value(key)));
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
    } else if (marked) {
        json = bytes.mid(3);
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        const QString reason = parse.error == QJsonParseError::IllegalUTF8String
                                   ? QStringLiteral("UTF-8 として読めない文字があります")
                                   : parse.errorString();
        result.error = ExchangeFormat::Describe(bytes) == u"JSON"
                           ? QStringLiteral("JSON として読めません（%1 バイト目: %2）。").arg(parse.offset).arg(reason)
                           : ExchangeFormat::NotWhatItSays(bytes, "GeoJSON");
        return result;
    }
    const QJsonObject root = doc.object();
    const QString type = root.value(QStringLiteral("type")).toString();
    int notPoints = 0;
    bool stop = false;
    if (type == u"FeatureCollection") {
        for (const QJsonValue& f : root.value(QStringLiteral("features")).toArray()) {
            if (!ReadFeature(f.toObject(), result, stop))
                ++notPoints;
            if (stop)
                return result;
        }
    } else if (type == u"Feature") {
        if (!ReadFeature(root, result, stop))
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
