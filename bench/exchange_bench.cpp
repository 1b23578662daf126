// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a GPX file of 10,000 waypoints: into the device's points, against GPSBabel
// turning the same file into CSV (measured side by side, wall-clock time, since
// GPSBabel runs as a child process), and into the editor's import list, painted.
//
// Run: build/bench/tovik_exchange_bench (GPSBabel on the PATH for its line).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "interop/pointexchange.h"
#include "interop/gpxformat.h"
#include "platform/qtprompter.h"

namespace {

using namespace tovik;

constexpr int kWaypoints = 10000;

// A GPX file of 10,000 waypoints as Tovik writes them (every device field in the
// extensions), in a folder that lasts as long as the program.
const QString& BigGpx()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        std::vector<PointEntry> entries;
        for (int i = 0; i < kWaypoints; ++i) {
            PointEntry e;
            e.occupied = PointEntry::kOccupied;
            e.name = "Waypoint " + std::to_string(i);
            e.reading = "\xCE\xDF\xB2\xDD\xC4";  // ﾎﾟｲﾝﾄ
            e.latitude = (30 + i % 15) * 14400 + i * 7 % 14400;
            e.longitude = (130 + i % 15) * 14400 + i * 11 % 14400;
            e.latitudeFraction = static_cast<std::uint8_t>(i % 250);
            e.mark = static_cast<std::uint8_t>(i % 26);
            entries.push_back(e);
        }
        PointExchange::ExportOptions options;
        const QByteArray gpx = PointExchange::Export(entries, ExchangeConverter(DeviceDatum::tokyo), options).Value();
        const QString file = dir.filePath(QStringLiteral("big.gpx"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(gpx) != gpx.size())
            std::abort();
        return file;
    }();
    return path;
}

void BM_TovikReadsGpxIntoPoints(benchmark::State& state)
{
    const ExchangeConverter converter(DeviceDatum::tokyo);
    for (auto _ : state) {
        const PointExchange::Imported imported = PointExchange::ImportFile(BigGpx().toStdString(), ExchangeFormat::gpx, converter);
        if (imported.entries.size() != kWaypoints)
            state.SkipWithError("not every waypoint was read");
        benchmark::DoNotOptimize(imported.entries.data());
    }
    state.counters["file_bytes"] = static_cast<double>(QFile(BigGpx()).size());
}
BENCHMARK(BM_TovikReadsGpxIntoPoints)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parse alone, from bytes in memory, without the datum and the fitting.
void BM_TovikParsesGpx(benchmark::State& state)
{
    QFile f(BigGpx());
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        const ReadResult read = PointExchange::Read(bytes, ExchangeFormat::gpx);
        benchmark::DoNotOptimize(read.points.data());
    }
}
BENCHMARK(BM_TovikParsesGpx)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GpsbabelGpxToUnicsv(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess babel;
        babel.start(QStringLiteral("gpsbabel"), {"-i", "gpx", "-f", BigGpx(), "-o", "unicsv", "-F", "/dev/null"});
        if (!babel.waitForFinished(60000) || babel.exitCode() != 0) {
            state.SkipWithError("gpsbabel did not run");
            break;
        }
    }
}
BENCHMARK(BM_GpsbabelGpxToUnicsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorShowsGpxInImportList(benchmark::State& state)
{
    PointBook book;
    QtPrompter prompter(QStringLiteral("Tovik"));
    MainDialog dialog(book, prompter, QString());
    dialog.resize(1000, 600);
    dialog.show();
    dialog.ShowImportView();
    QApplication::processEvents();
    for (auto _ : state) {
        dialog.Exchange().LoadImportFile(BigGpx());
        // A large file is read by a thread of its own.
        while (dialog.Exchange().Reading().Busy())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        dialog.ImportList().repaint();
        QApplication::processEvents();
        if (dialog.ImportList().GetItemCount() != kWaypoints)
            state.SkipWithError("not every waypoint is shown");
    }
}
BENCHMARK(BM_EditorShowsGpxInImportList)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
