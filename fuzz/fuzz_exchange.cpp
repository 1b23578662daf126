// SPDX-License-Identifier: GPL-3.0-or-later
// One exchange-format reader (chosen at build time by TOVIK_FUZZ_FORMAT) on arbitrary
// bytes, through the whole import: parsing, the datum, fitting texts to the device.
//
// Whatever the file, every point taken must be one the device can store, and it must
// come back unchanged when it is written in the same format and read again. An import
// that converts only the first few points (as tovik-cli import does once a file holds
// too many) must give exactly the first of those the whole import gives. GeoJSON's scan
// must take exactly the texts QJsonDocument takes, and find the same values in them.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz/fuzzcheck.h"
#include "interop/jsonscan.h"
#include "interop/pointexchange.h"

namespace {

using namespace tovik;

constexpr ExchangeFormat::Format kFormat = ExchangeFormat::TOVIK_FUZZ_FORMAT;
constexpr std::size_t kFew = 3;

QJsonValue Rebuilt(const JsonScan& scan, JsonScan::Span span)
{
    if (scan.Kind(span) == '{') {
        QJsonObject object;
        scan.Members(span, [&](const QString& key, JsonScan::Span value) {
            object.insert(key, Rebuilt(scan, value));
            return true;
        });
        return object;
    }
    if (scan.Kind(span) == '[') {
        QJsonArray array;
        scan.Elements(span, [&](JsonScan::Span value) {
            array.append(Rebuilt(scan, value));
            return true;
        });
        return array;
    }
    return scan.Value(span);
}

// Equal in content, members in any order. Nothing when `b`, from QJsonDocument, holds
// a name twice: it keeps one of two names that differ only as written ("n\u0061me" and
// "name", or a leading U+FEFF it drops) in an order of its own, where the scan keeps the
// last in the file.
std::optional<bool> Same(const QJsonValue& a, const QJsonValue& b)
{
    if (a.isObject() && b.isObject()) {
        const QJsonObject x = a.toObject(), y = b.toObject();
        QMap<QString, QJsonValue> mapped;
        for (auto it = y.begin(); it != y.end(); ++it) {
            if (mapped.contains(it.key()))
                return std::nullopt;
            mapped.insert(it.key(), it.value());
        }
        if (x.size() != y.size())
            return false;
        for (auto it = x.begin(); it != x.end(); ++it) {
            if (!mapped.contains(it.key()))
                return false;
            const auto same = Same(it.value(), mapped.value(it.key()));
            if (!same || !*same)
                return same;
        }
        return true;
    }
    if (a.isArray() && b.isArray()) {
        const QJsonArray x = a.toArray(), y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i) {
            const auto same = Same(x.at(i), y.at(i));
            if (!same || !*same)
                return same;
        }
        return true;
    }
    return a == b;
}

void CheckJsonScan(const QByteArray& bytes)
{
    JsonScan scan(bytes);
    const auto root = scan.Check();
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    fuzz::Check(root.has_value() == (parse.error == QJsonParseError::NoError));
    if (root)
        fuzz::Check(Same(Rebuilt(scan, *root), doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(doc.array()))
                        .value_or(true));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ExchangeConverter converter(DeviceDatum::tokyo);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (kFormat == ExchangeFormat::geojson)
        CheckJsonScan(bytes);
    const PointExchange::Imported imported = PointExchange::ImportBytes(bytes, kFormat, converter);
    fuzz::Check(imported.error.isEmpty() != imported.entries.empty());
    fuzz::Check(imported.warnings.Lines().size() <= WarningList::kLimit + 1);
    for (const PointEntry& e : imported.entries) {
        fuzz::Check(e.occupied == PointEntry::kOccupied);
        fuzz::Check(e.name.size() <= 16 && e.reading.size() <= 16);
        fuzz::Check(e.latitude >= 0 && e.latitude <= 0xFFFFFF && e.longitude >= 0 && e.longitude <= 0xFFFFFF);
        fuzz::Check(fuzz::AsStored(e) == e);
    }

    const PointExchange::Imported few = PointExchange::ImportBytes(bytes, kFormat, converter, kFew);
    if (!imported.error.isEmpty() && !imported.error.startsWith(QStringLiteral("取りこめる地点"))) {
        fuzz::Check(few.error == imported.error);
    } else {
        const std::size_t n = std::min(kFew, imported.entries.size());
        fuzz::Check(few.entries.size() == n);
        fuzz::Check(std::equal(few.entries.begin(), few.entries.end(), imported.entries.begin()));
        fuzz::Check(imported.entries.size() <= kFew || few.counted > 0);
    }
    if (imported.entries.empty())
        return 0;

    PointExchange::ExportOptions options;
    options.format = kFormat;
    const Result<QByteArray, QString> written = PointExchange::Export(imported.entries, converter, options);
    fuzz::Check(static_cast<bool>(written));
    const PointExchange::Imported again = PointExchange::ImportBytes(written.Value(), kFormat, converter);
    fuzz::Check(again.error.isEmpty());
    // A file Tovik wrote warns only of the points outside the Tokyo datum's area of use,
    // which travel unshifted.
    for (const QString& warning : again.warnings.Lines())
        fuzz::Check(warning.contains(QStringLiteral("日本測地系の変換範囲")) || warning.startsWith(QStringLiteral("ほか ")));
    fuzz::Check(again.entries == imported.entries);
    return 0;
}
