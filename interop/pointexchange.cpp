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

PointExchange::Imported FromMem(const std::string& path)
{
    PointExchange::Imported imported;
    PointBook book([&imported](const std::string& m) { imported.error = QString::fromStdString(m); });
    const LoadResult result = book.Load(path);
    if (result == LoadResult::notDecoded)
        imported.error = QStringLiteral("拡張子が .mem ではないため地点メモリーとして読めません。");
    if (result != LoadResult::decoded)
        return imported;
    for (int i = 0; i < book.GetCount(); ++i)
        imported.entries.push_back(book.Entry(i));
    return imported;
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
        const QByteArray document = KmzArchive::ReadDocument(bytes, result.error);
        return result.error.isEmpty() ? KmlFormat::Read(document, std::move(take)) : result;
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
    return Fit(ReadFile(path, format), converter, mostEntries);
}

PointExchange::Source PointExchange::ReadFile(const std::string& path, ExchangeFormat::Format format)
{
    Source source;
    source.format = format;
    if (format == ExchangeFormat::mem) {
        Imported stored = FromMem(path);
        source.stored = std::move(stored.entries);
        source.error = std::move(stored.error);
        return source;
    }
    const std::optional<FileStamp> stamp = FileAccess::StampOf(path);
    if (stamp && stamp->size > kLargestFile) {
        source.error = TooLarge();
        return source;
    }
    // One byte more than the file had when it was looked at tells that it has grown since.
    source.bytes.resize(static_cast<std::size_t>(stamp ? stamp->size + 1 : 1));
    std::size_t bytesRead = 0;
    if (const FileCause cause = FileAccess().Read(path, source.bytes, bytesRead); cause != FileCause::none) {
        source.error = QString::fromUtf8(PointBook::FileErrorText(cause, false));
        return source;
    }
    if (bytesRead == source.bytes.size()) {
        source.error = QStringLiteral("読んでいる間にファイルが変わりました。");
        return source;
    }
    source.bytes.resize(bytesRead);
    source.bytes.shrink_to_fit();
    return source;
}

PointExchange::Imported PointExchange::Fit(const Source& source, const ExchangeConverter& converter,
                                           std::size_t mostEntries)
{
    if (!source.error.isEmpty()) {
        Imported failed;
        failed.error = source.error;
        return failed;
    }
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

QString PointExchange::WriteFile(const std::string& path, const QByteArray& bytes)
{
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size()));
    const FileCause cause = FileAccess().WriteAtomically(path, data);
    return cause == FileCause::none ? QString() : QString::fromUtf8(PointBook::FileErrorText(cause, true));
}

QByteArray PointExchange::Export(const std::vector<PointEntry>& entries, const ExchangeConverter& converter,
                                 const ExportOptions& options, QString& error, WarningList* warnings)
{
    if (!converter.Error().isEmpty()) {
        error = converter.Error();
        return {};
    }
    std::vector<ExchangePoint> points;
    points.reserve(entries.size());
    for (const PointEntry& e : entries) {
        auto point = converter.ToExchange(e, warnings);
        if (!point) {
            error = QStringLiteral("%1の座標を WGS 84 に変換できません。").arg(WarningList::Quote(Cp932::Decode(e.name)));
            return {};
        }
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
        return KmzArchive::Write(KmlFormat::Write(points, options.title, kIconFolder), icons, error);
    }
    case ExchangeFormat::csv:
        return CsvFormat::Write(points, options.encoding);
    case ExchangeFormat::geojson:
        return GeoJsonFormat::Write(points);
    case ExchangeFormat::mem:
        break;
    }
    error = QStringLiteral("この形式には書き出せません。");
    return {};
}

}  // namespace tovik
