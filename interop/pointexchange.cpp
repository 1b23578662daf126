// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/pointexchange.h"

#include <future>
#include <set>

#include "platform/cp932.h"
#include "core/fileaccess.h"
#include "core/markrule.h"
#include "interop/geojsonformat.h"
#include "interop/gpxformat.h"
#include "interop/kmlformat.h"
#include "interop/kmzarchive.h"
#include "interop/readprogress.h"
#include "core/pointbook.h"

namespace tovik {

namespace {

const QString kIconFolder = QStringLiteral("files");

struct Converted {
    std::vector<PointEntry> entries;
    WarningList warnings;
};

// Points `from` to `to` fitted to the device, each named by its place in the file; fewer
// when the reading is given up.
Converted Convert(const std::vector<ExchangePoint>& points, std::size_t from, std::size_t to,
                  const ExchangeConverter& converter, std::size_t room = 0)
{
    Converted converted;
    converted.entries.reserve(std::max(room, to - from));
    for (std::size_t i = from; i < to; ++i) {
        if ((i - from) % 1024 == 0 && !ReadProgress::Report(static_cast<qint64>(i - from), static_cast<qint64>(to - from)))
            break;
        if (auto entry = converter.ToEntry(points[i], static_cast<int>(i + 1), converted.warnings))
            converted.entries.push_back(std::move(*entry));
    }
    return converted;
}

Result<std::vector<PointEntry>, QString> FromMem(const std::string& path)
{
    PointBook book;
    const Result<Loaded> loaded = book.Load(path);
    if (!loaded)
        return Failed{QString::fromStdString(loaded.Error())};
    if (loaded.Value() == Loaded::notDecoded)
        return Failed{QStringLiteral("拡張子が .mem ではないため地点メモリーとして読めません。")};
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    return entries;
}

QString TooLarge()
{
    return QStringLiteral("ファイルが大きすぎます（%1 MiB まで）。").arg(PointExchange::kLargestFile / (1024 * 1024));
}

}  // namespace

ReadResult PointExchange::Read(const QByteArray& bytes, ExchangeFormat::Format format, ReadResult::Take take)
{
    switch (format) {
    case ExchangeFormat::gpx:
        return GpxFormat::Read(bytes, std::move(take));
    case ExchangeFormat::kml:
        return KmlFormat::Read(bytes, std::move(take));
    case ExchangeFormat::kmz: {
        ReadResult result;
        const Result<QByteArray, QString> document = KmzArchive::ReadDocument(bytes);
        if (document)
            return KmlFormat::Read(document.Value(), std::move(take));
        result.error = document.Error();
        return result;
    }
    case ExchangeFormat::csv:
        return CsvFormat::Read(bytes, std::move(take));
    case ExchangeFormat::geojson:
        return GeoJsonFormat::Read(bytes, std::move(take));
    case ExchangeFormat::mem:
        break;
    }
    ReadResult result;
    result.error = QStringLiteral("地点メモリー（.mem）はファイルから読みます。");
    return result;
}

PointExchange::Imported PointExchange::ImportBytes(const QByteArray& bytes, ExchangeFormat::Format format,
                                                   const ExchangeConverter& converter, std::size_t mostEntries)
{
    Imported imported;
    if (!converter.Error().isEmpty()) {
        imported.error = converter.Error();
        return imported;
    }
    // Reading takes most of the time, fitting the rest.
    ReadProgress* progress = ReadProgress::Current();
    if (progress)
        progress->SetStage(0, 900);
    Converted converted;
    ReadResult read;
    if (mostEntries != kEveryPoint) {
        // Each point is converted as it is read, until there are enough.
        int ordinal = 0;
        read = Read(bytes, format, [&converted, &converter, &ordinal, mostEntries](ExchangePoint&& point) {
            if (converted.entries.size() >= mostEntries)
                return false;
            if (auto entry = converter.ToEntry(point, ++ordinal, converted.warnings))
                converted.entries.push_back(std::move(*entry));
            return true;
        });
    } else {
        read = Read(bytes, format);
    }
    imported.warnings = read.warnings;
    if (!read.error.isEmpty()) {
        imported.error = read.error;
        return imported;
    }
    imported.counted = read.Counted();
    if (progress)
        progress->SetStage(900, 1000);
    // Many points are fitted in two halves at once, the second half with a converter of
    // its own (a PROJ context serves one thread at a time).
    const std::size_t half = read.points.size() >= kHalvedCount ? read.points.size() / 2 : read.points.size();
    std::future<Converted> later;
    if (half < read.points.size()) {
        later = std::async(std::launch::async, [&read, half, &converter, progress] {
            const ReadProgress::Scope scope(progress);
            const ExchangeConverter own(converter.Datum(), converter.DefaultMark());
            return Convert(read.points, half, read.points.size(), own);
        });
    }
    // Room for every point at once, so that the second half joins the first without a
    // copy of both.
    if (!read.Takes())
        converted = Convert(read.points, 0, half, converter, read.points.size());
    if (later.valid()) {
        Converted rest = later.get();
        // The points as read are done with; their memory goes before the halves join.
        std::vector<ExchangePoint>().swap(read.points);
        converted.entries.insert(converted.entries.end(), std::make_move_iterator(rest.entries.begin()),
                                 std::make_move_iterator(rest.entries.end()));
        converted.warnings.Append(rest.warnings);
    }
    if (!ReadProgress::GoOn()) {
        Imported given;
        given.error = ReadProgress::Given();
        return given;
    }
    imported.entries = std::move(converted.entries);
    imported.warnings.Append(converted.warnings);
    if (imported.entries.empty() && imported.counted == 0)
        imported.error = QStringLiteral("取りこめる地点がありません。");
    return imported;
}

PointExchange::Imported PointExchange::ImportFile(const std::string& path, ExchangeFormat::Format format,
                                                  const ExchangeConverter& converter, std::size_t mostEntries)
{
    const Result<Source, QString> source = ReadFile(path, format);
    if (source)
        return Fit(source.Value(), converter, mostEntries);
    Imported failed;
    failed.error = source.Error();
    return failed;
}

Result<PointExchange::Source, QString> PointExchange::ReadFile(const std::string& path, ExchangeFormat::Format format)
{
    Source source;
    source.format = format;
    if (format == ExchangeFormat::mem) {
        Result<std::vector<PointEntry>, QString> stored = FromMem(path);
        if (!stored)
            return Failed{stored.Error()};
        source.stored = std::move(stored.Value());
        return source;
    }
    const std::optional<FileStamp> stamp = FileAccess::StampOf(path);
    if (stamp && stamp->size > kLargestFile)
        return Failed{TooLarge()};
    // One byte more than the file had when it was looked at tells that it has grown since.
    source.bytes.resize(static_cast<std::size_t>(stamp ? stamp->size + 1 : 1));
    std::size_t bytesRead = 0;
    if (const FileCause cause = FileAccess().Read(path, source.bytes, bytesRead); cause != FileCause::none)
        return Failed{QString::fromUtf8(PointBook::FileErrorText(cause, false))};
    if (bytesRead == source.bytes.size())
        return Failed{QStringLiteral("読んでいる間にファイルが変わりました。")};
    source.bytes.resize(bytesRead);
    source.bytes.shrink_to_fit();
    return source;
}

PointExchange::Imported PointExchange::Fit(const Source& source, const ExchangeConverter& converter,
                                           std::size_t mostEntries)
{
    if (source.format == ExchangeFormat::mem) {
        Imported stored;
        stored.entries = source.stored;
        return stored;
    }
    // The readers see the bytes themselves, not a copy of them.
    return ImportBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(source.bytes.data()),
                                               static_cast<qsizetype>(source.bytes.size())),
                       source.format, converter, mostEntries);
}

Result<void, QString> PointExchange::WriteFile(const std::string& path, const QByteArray& bytes)
{
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size()));
    if (const FileCause cause = FileAccess().WriteAtomically(path, data); cause != FileCause::none)
        return Failed{QString::fromUtf8(PointBook::FileErrorText(cause, true))};
    return {};
}

Result<QByteArray, QString> PointExchange::Export(const std::vector<PointEntry>& entries,
                                                  const ExchangeConverter& converter, const ExportOptions& options,
                                                  WarningList* warnings)
{
    if (!converter.Error().isEmpty())
        return Failed{converter.Error()};
    std::vector<ExchangePoint> points;
    points.reserve(entries.size());
    for (const PointEntry& e : entries) {
        auto point = converter.ToExchange(e, warnings);
        if (!point)
            return Failed{
                QStringLiteral("%1の座標を WGS 84 に変換できません。").arg(WarningList::Quote(Cp932::Decode(e.name)))};
        points.push_back(std::move(*point));
    }
    switch (options.format) {
    case ExchangeFormat::gpx:
        return GpxFormat::Write(points);
    case ExchangeFormat::kml:
        return KmlFormat::Write(points, options.title);
    case ExchangeFormat::kmz: {
        QList<QPair<QString, QByteArray>> icons;
        std::set<int> marks;
        for (const PointEntry& e : entries)
            marks.insert(e.mark);
        for (const int mark : marks) {
            const QByteArray png = options.icons && mark < kMarkCount ? options.icons(mark) : QByteArray();
            if (!png.isEmpty())
                icons.append({kIconFolder + u'/' + ExchangeConverter::SymbolOf(mark) + QStringLiteral(".png"), png});
        }
        return KmzArchive::Write(KmlFormat::Write(points, options.title, kIconFolder), icons);
    }
    case ExchangeFormat::csv:
        return CsvFormat::Write(points, options.encoding);
    case ExchangeFormat::geojson:
        return GeoJsonFormat::Write(points);
    case ExchangeFormat::mem:
        break;
    }
    return Failed{QStringLiteral("この形式には書き出せません。")};
}

}  // namespace tovik
