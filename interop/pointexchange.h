#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "interop/csvformat.h"
#include "interop/exchangeconverter.h"
#include "interop/exchangeformat.h"
#include "core/pointentry.h"

namespace tovik {

// Points in and out of files of every exchange format, for the command line and the
// editor alike.
class PointExchange {
public:
    // Files larger than this are refused rather than read.
    static constexpr qint64 kLargestFile = 64 * 1024 * 1024;
    // From this many points on, two cores fit them to the device.
    static constexpr std::size_t kHalvedCount = 2000;

    struct Imported {
        std::vector<PointEntry> entries;
        QStringList warnings;
        QString error;  // set when nothing could be taken from the file
    };

    // A file's points as read, before they are fitted to the device: exchange points, or
    // the entries of a .mem file as stored, which need no fitting.
    struct Source {
        bool memory = false;  // a .mem file: its points are in `stored`
        std::vector<ExchangePoint> points;
        std::vector<PointEntry> stored;
        QStringList warnings;
        QString error;
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
    // device; .mem files as they are. Regular files only, as everywhere.
    static Imported ImportFile(const std::string& path, ExchangeFormat::Format format,
                               const ExchangeConverter& converter);
    // The same in two steps, so that the points read can be fitted again (for another
    // device datum) without reading the file again.
    static Source ReadFile(const std::string& path, ExchangeFormat::Format format);
    static Imported Fit(const Source& source, const ExchangeConverter& converter);
    // Writes the bytes of an export atomically; the message when it could not.
    static QString WriteFile(const std::string& path, const QByteArray& bytes);
    static Imported ImportBytes(const QByteArray& bytes, ExchangeFormat::Format format,
                                const ExchangeConverter& converter);
    // The readers' points before they are fitted to the device.
    static ReadResult Read(const QByteArray& bytes, ExchangeFormat::Format format);

    // The file's bytes; empty with `error` set when the points cannot be converted.
    // `warnings`, when given, receives what the user should know of the points written.
    static QByteArray Export(const std::vector<PointEntry>& entries, const ExchangeConverter& converter,
                             const ExportOptions& options, QString& error, QStringList* warnings = nullptr);
};

}  // namespace tovik
