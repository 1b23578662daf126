// One exchange-format reader (chosen at build time by TOVIK_FUZZ_FORMAT) on arbitrary
// bytes, through the whole import: parsing, the datum, fitting texts to the device.
//
// Whatever the file, every point taken must be one the device can store, and it must
// come back unchanged when it is written in the same format and read again.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzzcheck.h"
#include "interop/pointexchange.h"

namespace {

using namespace tovik;

constexpr ExchangeFormat::Format kFormat = ExchangeFormat::TOVIK_FUZZ_FORMAT;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ExchangeConverter converter(DeviceDatum::tokyo);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PointExchange::Imported imported = PointExchange::ImportBytes(bytes, kFormat, converter);
    fuzz::Check(imported.error.isEmpty() != imported.entries.empty());
    for (const PointEntry& e : imported.entries) {
        fuzz::Check(e.occupied == PointEntry::kOccupied);
        fuzz::Check(e.name.size() <= 16 && e.reading.size() <= 16);
        fuzz::Check(e.latitude >= 0 && e.latitude <= 0xFFFFFF && e.longitude >= 0 && e.longitude <= 0xFFFFFF);
        fuzz::Check(fuzz::AsStored(e) == e);
    }
    if (imported.entries.empty())
        return 0;

    PointExchange::ExportOptions options;
    options.format = kFormat;
    QString error;
    const QByteArray written = PointExchange::Export(imported.entries, converter, options, error);
    fuzz::Check(error.isEmpty());
    const PointExchange::Imported again = PointExchange::ImportBytes(written, kFormat, converter);
    fuzz::Check(again.error.isEmpty());
    // A file Tovik wrote warns only of the points outside the Tokyo datum's area of use,
    // which travel unshifted.
    for (const QString& warning : again.warnings)
        fuzz::Check(warning.contains(QStringLiteral("日本測地系の変換範囲")));
    fuzz::Check(again.entries == imported.entries);
    return 0;
}
