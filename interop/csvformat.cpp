#include "interop/csvformat.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include "platform/cp932.h"
#include "interop/coordinatetext.h"
#include "interop/devicefield.h"
#include "interop/exchangeformat.h"
#include "interop/textfitter.h"

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

QString Decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
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
    QString field;
    bool quoted = false;
    bool rowStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            rowStarted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
            rowStarted = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            if (rowStarted || !field.isEmpty()) {
                row << field;
                rows << row;
            }
            row.clear();
            field.clear();
            rowStarted = false;
        } else {
            field += c;
            rowStarted = true;
        }
    }
    if (rowStarted || !field.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

ReadResult CsvFormat::Read(const QByteArray& bytes)
{
    ReadResult result;
    const QString kind = ExchangeFormat::Describe(bytes);
    if (kind != QStringLiteral("テキスト")) {
        result.error = ExchangeFormat::NotWhatItSays(bytes, "CSV");
        return result;
    }
    const QList<QStringList> rows = SplitRows(Decode(bytes));
    if (rows.isEmpty()) {
        result.error = QStringLiteral("CSV ファイルが空です。");
        return result;
    }
    // Column of each key; the first column of a name counts.
    QHash<QString, int> columns;
    for (int c = 0; c < rows.first().size(); ++c) {
        const QString header = rows.first().at(c).trimmed().toLower();
        if (const auto it = Aliases().constFind(header); it != Aliases().cend() && !columns.contains(*it))
            columns.insert(*it, c);
    }
    if (!columns.contains(kLatitude) || !columns.contains(kLongitude)) {
        result.error = QStringLiteral("CSV の見出し行に緯度（latitude）と経度（longitude）の列がありません。");
        return result;
    }
    const auto cell = [](const QStringList& row, int column) {
        return column < row.size() ? Undefused(row.at(column)) : QString();
    };
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows.at(r);
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
        const QString latitudeText = cell(row, columns.value(kLatitude));
        const QString longitudeText = cell(row, columns.value(kLongitude));
        const CoordinateText::Reading latitude = CoordinateText::Read(latitudeText);
        const CoordinateText::Reading longitude = CoordinateText::Read(longitudeText);
        if (latitude.ambiguous || longitude.ambiguous) {
            result.warnings << QStringLiteral("%1 行目「%2」は座標「%3」の読み方が一つに決まらないため取りこみませんでした"
                                              "（35°41′20.5″ のように単位記号を付けるか、35.41.20.500 の形で書いてください）。")
                                   .arg(r + 1)
                                   .arg(point.name, latitude.ambiguous ? latitudeText : longitudeText);
            continue;
        }
        if (!latitude.degrees || !longitude.degrees) {
            result.warnings << QStringLiteral("%1 行目「%2」は緯度・経度が読めないため取りこみませんでした。")
                                   .arg(r + 1)
                                   .arg(point.name);
            continue;
        }
        point.latitude = *latitude.degrees;
        point.longitude = *longitude.degrees;
        result.points.push_back(std::move(point));
    }
    if (result.points.empty())
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
