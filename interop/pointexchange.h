// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "interop/csvformat.h"
#include "interop/exchangeconverter.h"
#include "interop/exchangeformat.h"
#include "interop/readresult.h"
#include "interop/warninglist.h"
#include "core/pointentry.h"
#include "core/result.h"

namespace tovik {

// Points in and out of files of every exchange format, for the command line and the
// editor alike.
class PointExchange {
public:
    // Files larger than this are refused rather than read.
    static constexpr qint64 kLargestFile = 64 * 1024 * 1024;
    // From this many points on, two cores fit them to the device.
    static constexpr std::size_t kHalvedCount = 2000;

    // Every point of a file is converted.
    static constexpr std::size_t kEveryPoint = std::numeric_limits<std::size_t>::max();

    struct Imported {
        std::vector<PointEntry> entries;
        WarningList warnings;
        QString error;  // set when nothing could be taken from the file
        // The points found after the most that were to be converted: counted only.
        std::size_t counted = 0;
    };

    // A file as read, before its points are fitted to the device: the bytes of an
    // exchange file (far fewer than the points they make), or the entries of a .mem file
    // as stored, which need no fitting.
    struct Source {
        ExchangeFormat::Format format = ExchangeFormat::mem;
        std::vector<std::uint8_t> bytes;
        std::vector<PointEntry> stored;
    };

    // The PNG of a mark's icon for an exported KMZ; empty when there is none.
    using IconSource = std::function<QByteArray(int mark)>;

    struct ExportOptions {
        ExchangeFormat::Format format = ExchangeFormat::gpx;
        CsvFormat::Encoding encoding = CsvFormat::Encoding::utf8;
        QString title;  // the KML document's name
        IconSource icons;
    };

    // The device's points of a file (its path as the file system's bytes), fitted to the
    // device; .mem files as they are. Regular files only, as everywhere. Once
    // `mostEntries` points are converted, the rest are only counted, so that a file of a
    // million points is known to hold too many without the work of converting them.
    static Imported ImportFile(const std::string& path, ExchangeFormat::Format format,
                               const ExchangeConverter& converter, std::size_t mostEntries = kEveryPoint);
    // The same in two steps, so that a file read once can be fitted again (for another
    // device datum) without reading it again.
    static Result<Source, QString> ReadFile(const std::string& path, ExchangeFormat::Format format);
    static Imported Fit(const Source& source, const ExchangeConverter& converter,
                        std::size_t mostEntries = kEveryPoint);
    // Writes the bytes of an export atomically, or fails with the message why not.
    static Result<void, QString> WriteFile(const std::string& path, const QByteArray& bytes);
    static Imported ImportBytes(const QByteArray& bytes, ExchangeFormat::Format format,
                                const ExchangeConverter& converter, std::size_t mostEntries = kEveryPoint);
    // The readers' points before they are fitted to the device.
    static ReadResult Read(const QByteArray& bytes, ExchangeFormat::Format format, ReadResult::Take take = {});

    // The file's bytes, or the message why the points cannot be written in the format.
    // `warnings`, when given, receives what the user should know of the points written.
    static Result<QByteArray, QString> Export(const std::vector<PointEntry>& entries,
                                              const ExchangeConverter& converter, const ExportOptions& options,
                                              WarningList* warnings = nullptr);
};

}  // namespace tovik
