// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/csvformat.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <utility>

#include "platform/cp932.h"
#include "interop/coordinatetext.h"
#include "interop/csvrows.h"
#include "interop/devicefield.h"
#include "interop/exchangeformat.h"
#include "interop/readprogress.h"
#include "interop/textfitter.h"
#include "interop/warninglist.h"

namespace tovik {

namespace {

const QString kName = QStringLiteral("name");
const QString kLatitude = QStringLiteral("latitude");
const QString kLongitude = QStringLiteral("longitude");
const QString kSymbol = QStringLiteral("symbol");

// The device fields' columns. Map programs take every column whose header holds "lat" or
// "lon" for a coordinate (GPSBabel's unicsv also "name" for the name and "ele" for the
// elevation), the last such column winning: these names leave the WGS 84 position and the
// name the only ones they find, and give the telephone number to their own phone column.
// Earlier exports used the keys themselves, which are still read.
const QHash<QString, QString>& Headers()
{
    static const QHash<QString, QString> headers{
        {DeviceField::kTelephone, QStringLiteral("phone")},
        {DeviceField::kLatitude, QStringLiteral("storedNorth")},
        {DeviceField::kLatitudeFraction, QStringLiteral("storedNorthFraction")},
        {DeviceField::kLongitude, QStringLiteral("storedEast")},
        {DeviceField::kLongitudeFraction, QStringLiteral("storedEastFraction")},
        {DeviceField::kNameBytes, QStringLiteral("labelBytes")},
        {DeviceField::kTelephoneBytes, QStringLiteral("telBytes")},
    };
    return headers;
}

QString HeaderOf(const QString& key) { return Headers().value(key, key); }

// Header names other programs and people use, lower case, for each column read.
const QHash<QString, QString>& Aliases()
{
    static const QHash<QString, QString> aliases = [] {
        QHash<QString, QString> a;
        const auto add = [&a](const QString& key, std::initializer_list<const char*> names) {
            a.insert(key.toLower(), key);
            for (const char* n : names)
                a.insert(QString::fromUtf8(n).toLower(), key);
        };
        add(kName, {"名称", "地点名称", "地点名", "名前", "title", "shortname"});
        add(kLatitude, {"lat", "緯度", "北緯", "y"});
        add(kLongitude, {"lon", "lng", "long", "経度", "東経", "x"});
        add(kSymbol, {"sym", "icon", "アイコン"});
        add(DeviceField::kReading, {"読み", "よみ", "読み仮名", "フリガナ", "ふりがな", "ヨミ", "furigana", "yomi"});
        add(DeviceField::kTelephone, {"phone", "tel", "電話", "電話番号", "telephone number"});
        add(DeviceField::kMark, {"マーク"});
        add(DeviceField::kDistance, {"距離"});
        add(DeviceField::kCategory, {"種別", "分類"});
        for (const QString& key : DeviceField::Keys()) {
            a.insert(key.toLower(), key);
            a.insert(HeaderOf(key).toLower(), key);
        }
        return a;
    }();
    return aliases;
}

// The text of the file; `warnings` says when bytes after a byte-order mark were no text
// in its encoding.
QString Decode(const QByteArray& bytes, WarningList& warnings)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            warnings.Add(QStringLiteral("先頭に %1 の印（BOM）がありますが、%1 として読めないバイトがあります。"
                                        "読めない文字は「？」になります。")
                             .arg(QString::fromLatin1(QStringConverter::nameForEncoding(*marked))));
        return text;
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Cp932::Decode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// A cell a spreadsheet would run as a formula: one that begins with = + - @, a tab or a
// carriage return, behind any apostrophes, unless it is a plain number such as -12.5
// (a number runs nothing, and coordinates must stay numbers).
bool RunsAsFormula(QStringView cell)
{
    while (cell.startsWith(u'\''))
        cell = cell.mid(1);
    static const QString starts = QStringLiteral("=+-@\t\r");
    if (cell.isEmpty() || !starts.contains(cell.front()))
        return false;
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+(?:\\.\\d+)?$"));
    return !number.match(cell.toString()).hasMatch();
}

// The usual defence: an apostrophe in front, which spreadsheets show the cell as text by.
// An apostrophe already in front of such a cell gets another, so that the reader takes
// exactly the one added away.
QString Defused(const QString& cell) { return RunsAsFormula(cell) ? u'\'' + cell : cell; }

QString Undefused(const QString& cell)
{
    return cell.startsWith(u'\'') && RunsAsFormula(QStringView(cell).mid(1)) ? cell.mid(1) : cell;
}

QString Quoted(const QString& field)
{
    const bool needsQuotes = field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
                             field.contains(u'\r') || field.startsWith(u' ') || field.endsWith(u' ');
    if (!needsQuotes)
        return field;
    QString quoted = field;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

QList<QStringList> CsvFormat::SplitRows(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    CsvRows reader(text);
    QString field;
    bool endsRow = false;
    while (reader.Next(field, endsRow)) {
        row << field;
        if (endsRow)
            rows << std::exchange(row, {});
    }
    return rows;
}

ReadResult CsvFormat::Read(const QByteArray& bytes, ReadResult::Take take)
{
    ReadResult result(std::move(take));
    const QString kind = ExchangeFormat::Describe(bytes);
    if (kind != QStringLiteral("テキスト")) {
        result.error = ExchangeFormat::NotWhatItSays(bytes, "CSV");
        return result;
    }
    const QString text = Decode(bytes, result.warnings);
    CsvRows rows(text);
    QString field;
    bool endsRow = false;
    // Column of each key; the first column of a name counts. A map, not a hash: it is walked
    // for every row, and a hash walks all its buckets.
    QMap<QString, int> columns;
    int column = 0;
    while (rows.Next(field, endsRow)) {
        // No header name is longer than a few words.
        if (const auto it = field.size() > 64 ? Aliases().cend() : Aliases().constFind(field.trimmed().toLower());
            it != Aliases().cend() && !columns.contains(*it))
            columns.insert(*it, column);
        ++column;
        if (endsRow)
            break;
    }
    if (column == 0) {
        result.error = QStringLiteral("CSV ファイルが空です。");
        return result;
    }
    if (!columns.contains(kLatitude) || !columns.contains(kLongitude)) {
        result.error = QStringLiteral("CSV の見出し行に緯度（latitude）と経度（longitude）の列がありません。");
        return result;
    }
    // Only the columns read are kept of a row, however many it has.
    int lastColumn = 0;
    for (const int c : std::as_const(columns))
        lastColumn = std::max(lastColumn, c);
    const auto cell = [](const QStringList& row, int column) {
        return column < row.size() ? Undefused(row.at(column)) : QString();
    };
    QStringList row;
    qsizetype r = 1;
    column = 0;
    while (rows.Next(field, endsRow)) {
        if (column++ <= lastColumn)
            row << field;
        if (!endsRow)
            continue;
        ++r;
        column = 0;
        if (r % 1024 == 0 && !ReadProgress::Report(rows.Position(), text.size())) {
            result.error = ReadProgress::Given();
            return result;
        }
        ExchangePoint point;
        for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
            const QString value = cell(row, it.value());
            if (it.key() == kName)
                point.name = value;
            else if (it.key() == kSymbol)
                point.symbol = value;
            else if (it.key() != kLatitude && it.key() != kLongitude && !value.isEmpty())
                point.SetDevice(it.key(), value);
        }
        point.latitudeText = cell(row, columns.value(kLatitude));
        point.longitudeText = cell(row, columns.value(kLongitude));
        row.clear();
        const CoordinateText::Reading latitude = CoordinateText::Read(point.latitudeText);
        const CoordinateText::Reading longitude = CoordinateText::Read(point.longitudeText);
        if (latitude.ambiguous || longitude.ambiguous) {
            if (!result.Unread(QStringLiteral("%1 行目%2は座標%3の読み方が一つに決まらないため取りこみませんでした"
                                              "（35°41′20.5″ のように単位記号を付けるか、35.41.20.500 の形で書いてください）。")
                                   .arg(r)
                                   .arg(WarningList::Quote(point.name),
                                        WarningList::Quote(latitude.ambiguous ? point.latitudeText : point.longitudeText))))
                return result;
            continue;
        }
        if (!latitude.degrees || !longitude.degrees) {
            if (!result.Unread(QStringLiteral("%1 行目%2は緯度・経度が読めないため取りこみませんでした。")
                                   .arg(r)
                                   .arg(WarningList::Quote(point.name))))
                return result;
            continue;
        }
        point.latitude = *latitude.degrees;
        point.longitude = *longitude.degrees;
        result.Add(std::move(point));
    }
    if (result.Found() == 0)
        result.error = QStringLiteral("CSV ファイルに読める地点がありません。");
    return result;
}

QByteArray CsvFormat::Write(const std::vector<ExchangePoint>& points, Encoding encoding)
{
    // Every device field some point carries gets a column.
    QStringList keys;
    for (const QString& key : DeviceField::Keys()) {
        for (const ExchangePoint& p : points) {
            if (p.HasDevice(key)) {
                keys << key;
                break;
            }
        }
    }
    QStringList lines;
    QStringList header{kName, kLatitude, kLongitude};
    for (const QString& key : keys)
        header << HeaderOf(key);
    lines << header.join(u',');
    for (const ExchangePoint& p : points) {
        QStringList fields{Quoted(Defused(p.name)), ExchangeFormat::Degrees(p.latitude),
                           ExchangeFormat::Degrees(p.longitude)};
        for (const QString& key : keys)
            fields << Quoted(Defused(p.Device(key)));
        lines << fields.join(u',');
    }
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (encoding == Encoding::cp932) {
        const std::string bytes = TextFitter::Replace(text).bytes;
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

}  // namespace tovik
