// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/exchangeconverter.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/cp932.h"
#include "interop/devicefield.h"
#include "core/fieldencoding.h"
#include "core/markrule.h"
#include "interop/textfitter.h"
#include "interop/warninglist.h"

namespace tovik {

namespace {

// Stored coordinates are taken back only while the position still agrees with them:
// the trip through the datum and nine decimals stays well inside 1/500 s.
constexpr double kSameDegrees = 1.0 / 500.0 / 3600.0;
constexpr std::size_t kStoredTelephoneBytes = 5;

// Said of a point the Tokyo datum's shift does not apply to.
QString OutsideArea()
{
    return QStringLiteral(" は日本測地系の変換範囲（北緯 %1〜%2 度、東経 %3〜%4 度）の外にあるため、")
        .arg(DatumConverter::kSouth)
        .arg(DatumConverter::kNorth)
        .arg(DatumConverter::kWest)
        .arg(DatumConverter::kEast);
}

QString Hex(const std::string& bytes)
{
    return QString::fromLatin1(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex().toUpper());
}

std::optional<std::string> FromHex(const QString& hex)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:[0-9A-Fa-f]{2})*$"));
    if (!pattern.match(hex).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(hex.toLatin1()).toStdString();
}

std::optional<int> ReadNumber(const QString& text, int lowest, int highest)
{
    bool ok = false;
    const int n = QStringView(text).trimmed().toInt(&ok);
    if (!ok || n < lowest || n > highest)
        return std::nullopt;
    return n;
}

// The device's text of a field: its stored bytes when the file kept them and they still
// read as the text shown, otherwise the text fitted to the field.
std::string TextOf(const QString& text, const QString& hexBytes, bool& changed)
{
    // A zero byte ends a text on the device: stored bytes never hold one.
    if (!hexBytes.isEmpty()) {
        if (const auto bytes = FromHex(hexBytes);
            bytes && bytes->size() <= ExchangeConverter::kTextBytes && bytes->find('\0') == std::string::npos) {
            // A file written in CP932 shows what CP932 cannot hold as "？".
            const QString readable = ExchangeConverter::Readable(*bytes);
            if (readable == text || Cp932::Decode(TextFitter::Replace(readable).bytes) == text)
                return *bytes;
        }
    }
    const TextFitter::Fitted fitted = TextFitter::Fit(text, ExchangeConverter::kTextBytes);
    changed = changed || fitted.changed;
    return fitted.bytes;
}

QString DigitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits += c;
        else if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)  // full-width digits
            digits += QChar(u'0' + (c.unicode() - 0xFF10));
    }
    return digits;
}

// The stored coordinate the file kept, when it still describes `degrees`.
std::optional<Coordinate> KeptCoordinate(const ExchangePoint& p, const QString& valueKey,
                                         const QString& fractionKey, double degrees)
{
    if (!p.HasDevice(valueKey) || !p.HasDevice(fractionKey))
        return std::nullopt;
    const auto value = ReadNumber(p.Device(valueKey), 0, 0xFFFFFF);
    const auto fraction = ReadNumber(p.Device(fractionKey), 0, 255);
    if (!value || !fraction)
        return std::nullopt;
    const Coordinate kept{*value, static_cast<std::uint8_t>(*fraction)};
    if (std::abs(DatumConverter::Degrees(kept.value, kept.fraction) - degrees) > kSameDegrees)
        return std::nullopt;
    return kept;
}

}  // namespace

ExchangeConverter::ExchangeConverter(DeviceDatum datum, int defaultMark) : datum(datum), defaultMark(defaultMark) {}

QString ExchangeConverter::Error() const { return QString::fromStdString(datum.Error()); }

QString ExchangeConverter::Readable(const std::string& bytes)
{
    QString text = Cp932::Decode(bytes);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString ExchangeConverter::SymbolOf(int mark) { return QStringLiteral("mark%1").arg(mark, 2, 10, QChar(u'0')); }

std::optional<int> ExchangeConverter::MarkOfSymbol(const QString& symbol)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:.*[/#])?mark[ _-]?0*(\\d{1,2})(?:\\.png)?$"),
                                            QRegularExpression::CaseInsensitiveOption);
    // No name of a mark is longer; a longer text is not searched.
    if (symbol.size() > 256)
        return std::nullopt;
    const QRegularExpressionMatch m = pattern.match(symbol.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int mark = m.captured(1).toInt();
    if (mark >= kMarkCount)
        return std::nullopt;
    return mark;
}

std::optional<ExchangePoint> ExchangeConverter::ToExchange(const PointEntry& e, WarningList* warnings) const
{
    const GeoPoint device{DatumConverter::Degrees(e.latitude, e.latitudeFraction),
                          DatumConverter::Degrees(e.longitude, e.longitudeFraction)};
    bool outside = false;
    const auto wgs = datum.ToWgs84(device, &outside);
    if (!wgs)
        return std::nullopt;
    if (outside && warnings) {
        const QString name = Readable(e.name);
        warnings->Add((name.trimmed().isEmpty() ? QStringLiteral("名前のない地点") : WarningList::Quote(name)) +
                      OutsideArea() + QStringLiteral("本体の座標のまま書き出しました。"));
    }

    ExchangePoint p;
    p.name = Readable(e.name);
    p.latitude = wgs->latitude;
    p.longitude = wgs->longitude;
    p.symbol = SymbolOf(e.mark);
    const QString reading = Readable(e.reading);
    const QString telephone = QString::fromStdString(FormatTelephone(e.telephone));
    p.comment = reading;
    QStringList summary;
    if (!reading.isEmpty())
        summary << QStringLiteral("フリガナ: ") + reading;
    if (!telephone.isEmpty())
        summary << QStringLiteral("電話番号: ") + telephone;
    summary << QStringLiteral("マーク: %1").arg(e.mark);
    p.description = summary.join(QStringLiteral(" / "));

    p.SetDevice(DeviceField::kReading, reading);
    p.SetDevice(DeviceField::kTelephone, telephone);
    p.SetDevice(DeviceField::kMark, QString::number(e.mark));
    p.SetDevice(DeviceField::kDistance, QString::number(e.distance));
    p.SetDevice(DeviceField::kCategory, QString::number(e.category));
    p.SetDevice(DeviceField::kDatum, QString::fromLatin1(DatumConverter::Name(datum.Datum())));
    p.SetDevice(DeviceField::kLatitude, QString::number(e.latitude));
    p.SetDevice(DeviceField::kLatitudeFraction, QString::number(e.latitudeFraction));
    p.SetDevice(DeviceField::kLongitude, QString::number(e.longitude));
    p.SetDevice(DeviceField::kLongitudeFraction, QString::number(e.longitudeFraction));
    if (Cp932::Encode(p.name) != e.name)
        p.SetDevice(DeviceField::kNameBytes, Hex(e.name));
    if (Cp932::Encode(reading) != e.reading)
        p.SetDevice(DeviceField::kReadingBytes, Hex(e.reading));
    TelephoneBytes parsed;
    parsed.fill(0xFF);
    ParseTelephone(telephone.toStdString(), parsed);
    if (!std::equal(parsed.begin(), parsed.begin() + kStoredTelephoneBytes, e.telephone.begin()))
        p.SetDevice(DeviceField::kTelephoneBytes,
                    Hex(std::string(e.telephone.begin(), e.telephone.begin() + kStoredTelephoneBytes)));
    return p;
}

std::optional<PointEntry> ExchangeConverter::ToEntry(const ExchangePoint& p, int ordinal, WarningList& warnings) const
{
    const bool named = !QStringView(p.name).trimmed().isEmpty();
    const auto label = [&p, named, ordinal] {
        return named ? WarningList::Quote(p.name) : QStringLiteral("%1 番目の地点").arg(ordinal);
    };
    const bool inRange = std::isfinite(p.latitude) && std::isfinite(p.longitude) && p.latitude >= 0 &&
                         p.latitude <= 90 && p.longitude >= 0 && p.longitude <= 180;
    bool outside = false;
    auto device = inRange ? datum.FromWgs84({p.latitude, p.longitude}, &outside) : std::nullopt;
    // Along the area's edges (at sea) a position just outside it, written unshifted, can be
    // where the shift takes a position just inside: the stored coordinates in Tovik's own
    // files tell which of the two it was.
    if (device && !outside && datum.Datum() == DeviceDatum::tokyo &&
        !DatumConverter::InAreaOfUse({p.latitude, p.longitude}) &&
        KeptCoordinate(p, DeviceField::kLatitude, DeviceField::kLatitudeFraction, p.latitude) &&
        KeptCoordinate(p, DeviceField::kLongitude, DeviceField::kLongitudeFraction, p.longitude)) {
        device = GeoPoint{p.latitude, p.longitude};
        outside = true;
    }
    const auto latitude = device ? DatumConverter::FromDegrees(device->latitude) : std::nullopt;
    const auto longitude = device ? DatumConverter::FromDegrees(device->longitude) : std::nullopt;
    if (!latitude || !longitude) {
        // The file's own texts: a number such as 1e308 written out has 309 digits.
        warnings.Add(warnings.Full() ? QString()
                                     : label() + QStringLiteral(" は東経・北緯の範囲にないため取りこみませんでした（緯度 %1、経度 %2）。")
                                                     .arg(WarningList::Cut(p.latitudeText), WarningList::Cut(p.longitudeText)));
        return std::nullopt;
    }
    if (outside)
        warnings.Add(warnings.Full() ? QString() : label() + OutsideArea() + QStringLiteral("位置をずらさずに取りこみました。"));

    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    const Coordinate lat = KeptCoordinate(p, DeviceField::kLatitude, DeviceField::kLatitudeFraction,
                                          device->latitude)
                               .value_or(*latitude);
    const Coordinate lon = KeptCoordinate(p, DeviceField::kLongitude, DeviceField::kLongitudeFraction,
                                          device->longitude)
                               .value_or(*longitude);
    e.latitude = lat.value;
    e.latitudeFraction = lat.fraction;
    e.longitude = lon.value;
    e.longitudeFraction = lon.fraction;

    QStringList changed;
    bool nameChanged = false, readingChanged = false;
    e.name = TextOf(p.name, p.Device(DeviceField::kNameBytes), nameChanged);
    e.reading = TextOf(p.Device(DeviceField::kReading), p.Device(DeviceField::kReadingBytes), readingChanged);
    if (nameChanged)
        changed << QStringLiteral("地点名称");
    if (readingChanged)
        changed << QStringLiteral("フリガナ");

    bool telephoneKept = false;
    if (const auto kept = FromHex(p.Device(DeviceField::kTelephoneBytes));
        kept && kept->size() == kStoredTelephoneBytes) {
        TelephoneBytes bytes;
        bytes.fill(0xFF);
        std::copy(kept->begin(), kept->end(), bytes.begin());
        if (QString::fromStdString(FormatTelephone(bytes)) == p.Device(DeviceField::kTelephone)) {
            e.telephone = bytes;
            telephoneKept = true;
        }
    }
    if (!telephoneKept) {
        QString digits = DigitsOf(p.Device(DeviceField::kTelephone));
        if (digits.size() > kTelephoneDigits) {
            digits.truncate(kTelephoneDigits);
            changed << QStringLiteral("電話番号");
        }
        ParseTelephone(digits.toStdString(), e.telephone);
    }

    const auto storedMark = ReadNumber(p.Device(DeviceField::kMark), 0, 255);
    e.mark = static_cast<std::uint8_t>(storedMark.value_or(MarkOfSymbol(p.symbol).value_or(defaultMark)));
    const MarkFollowers followers = FollowMark(e.mark).value_or(MarkFollowers{});
    e.distance = static_cast<std::uint8_t>(
        ReadNumber(p.Device(DeviceField::kDistance), 0, 255).value_or(followers.distance));
    e.category = static_cast<std::uint8_t>(
        ReadNumber(p.Device(DeviceField::kCategory), 0, 255).value_or(followers.category));

    if (!changed.isEmpty()) {
        // The name stored beside the file's, so that two names cut to the same can be told apart.
        warnings.Add(warnings.Full() ? QString()
                                     : label() + (nameChanged ? u'→' + WarningList::Quote(Cp932::Decode(e.name)) : QString()) +
                                           QStringLiteral(" の%1を本体に保存できる形に変えました。").arg(changed.join(u'・')));
    }
    return e;
}

}  // namespace tovik
