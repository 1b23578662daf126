// SPDX-License-Identifier: GPL-3.0-or-later
// The GPX reader's two halves on arbitrary bytes, of any size: whenever the halves read
// without error they must give exactly what reading the whole file gives (the points,
// their fields, the warnings), and a large file read as a user's import reads it must
// too.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzzcheck.h"
#include "interop/gpxformat.h"

namespace {

using namespace tovik;

bool Same(const ReadResult& a, const ReadResult& b)
{
    if (a.error != b.error || a.warnings.Lines() != b.warnings.Lines() || a.points.size() != b.points.size() ||
        a.Found() != b.Found())
        return false;
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        const ExchangePoint& p = a.points[i];
        const ExchangePoint& q = b.points[i];
        if (p.name != q.name || p.latitudeText != q.latitudeText || p.longitudeText != q.longitudeText ||
            p.symbol != q.symbol || p.device != q.device)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReadResult whole = GpxFormat::ReadWhole(bytes);
    if (const std::optional<ReadResult> halves = GpxFormat::ReadInHalves(bytes))
        fuzz::Check(Same(*halves, whole));
    if (bytes.size() >= GpxFormat::kHalvedSize)
        fuzz::Check(Same(GpxFormat::Read(bytes), whole));
    return 0;
}
