#include "interop/csvformat.h"

#include <QHash>
#include <QStringDecoder>

#include "platform/cp932.h"
#include "interop/devicefield.h"
#include "interop/exchangeformat.h"
#include "interop/textfitter.h"

namespace tovik {

namespace {

const QString kName = QStringLiteral("name");
const QString kLatitude = QStringLiteral("latitude");
const QString kLongitude = QStringLiteral("longitude");
const QString kSymbol = QStringLiteral("symbol");

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
        for (const QString& key : DeviceField::Keys())
            a.insert(key.toLower(), key);
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
    const auto cell = [](const QStringList& row, int column) { return column < row.size() ? row.at(column) : QString(); };
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
        const auto latitude = ExchangeFormat::ParseDegrees(cell(row, columns.value(kLatitude)));
        const auto longitude = ExchangeFormat::ParseDegrees(cell(row, columns.value(kLongitude)));
        if (!latitude || !longitude) {
            result.warnings << QStringLiteral("%1 行目「%2」は緯度・経度が読めないため取りこみませんでした。")
                                   .arg(r + 1)
                                   .arg(point.name);
            continue;
        }
        point.latitude = *latitude;
        point.longitude = *longitude;
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
    lines << (QStringList{kName, kLatitude, kLongitude} + keys).join(u',');
    for (const ExchangePoint& p : points) {
        QStringList fields{Quoted(p.name), ExchangeFormat::Degrees(p.latitude), ExchangeFormat::Degrees(p.longitude)};
        for (const QString& key : keys)
            fields << Quoted(p.Device(key));
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
