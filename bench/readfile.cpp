// SPDX-License-Identifier: GPL-3.0-or-later
// A whole process that reads an exchange file the way the editor fills its import list
// (every point converted from WGS 84 to the Tokyo datum and fitted to the device) and
// prints how many points it took: tovik-cli cannot, as it refuses more than 100 points.
//
// Run: readfile FILE (whole_process.py measures it against gpsbabel reading the same file).

#include <QCoreApplication>
#include <cstdio>

#include "interop/pointexchange.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const auto format = tovik::ExchangeFormat::FromPath(QString::fromLocal8Bit(argv[1]));
    if (!format)
        return 2;
    const tovik::PointExchange::Imported imported =
        tovik::PointExchange::ImportFile(argv[1], *format, tovik::ExchangeConverter(tovik::DeviceDatum::tokyo));
    if (!imported.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", imported.error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%zu points, %lld warnings\n", imported.entries.size(),
                static_cast<long long>(imported.warnings.Count()));
    return 0;
}
