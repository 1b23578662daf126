// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/exchangeactions.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include "app/pointdocument.h"
#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "interop/exchangeconverter.h"
#include "interop/pointexchange.h"
#include "platform/prompter.h"
#include "resources/markpngs.h"

namespace tovik {

namespace {

const QString kExportFilter = QStringLiteral(
    "GPX ファイル (*.gpx)|*.gpx|KML ファイル (*.kml)|*.kml|KMZ ファイル (*.kmz)|*.kmz|"
    "CSV ファイル (*.csv)|*.csv|GeoJSON ファイル (*.geojson)|*.geojson||");
const QString kImportFilter = QStringLiteral(
    "地点のファイル (*.mem;*.gpx;*.kml;*.kmz;*.csv;*.geojson;*.json)|*.mem;*.gpx;*.kml;*.kmz;*.csv;*.geojson;*.json|"
    "すべてのファイル (*.*)|*.*||");
const QString kDatumSetting = QStringLiteral("deviceDatum");
// The Geospatial Information Authority of Japan's map: zoom, latitude, longitude.
const QString kMapUrl = QStringLiteral("https://maps.gsi.go.jp/#17/%1/%2/");
// A message box holds the first warnings; the rest are counted.
constexpr qsizetype kWarningsShown = 20;

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

ExchangeActions::ExchangeActions(PointDocument& document, Prompter& prompter, QWidget& window)
    : document(document), prompter(prompter), window(window), reading(window)
{
    const auto saved = DatumConverter::FromName(QSettings().value(kDatumSetting).toString().toStdString());
    datum = saved.value_or(DeviceDatum::tokyo);
}

void ExchangeActions::SetDatum(DeviceDatum chosen)
{
    if (chosen == datum)
        return;
    datum = chosen;
    QSettings().setValue(kDatumSetting, QString::fromLatin1(DatumConverter::Name(datum)));
    RefitImport();
    emit DatumChanged(datum);
}

void ExchangeActions::RefitImport()
{
    if (!importModel.CanRefit())
        return;
    // What the file-import view shows is what reading its file under this datum gives.
    // The file as read stays as it is while the reading runs: the window waits for it.
    auto fitted = std::make_shared<PointExchange::Imported>();
    const PointExchange::Source& source = importModel.FileRead();
    reading.Run(
        static_cast<qint64>(source.bytes.size()),
        [fitted, &source, at = datum] { *fitted = PointExchange::Fit(source, ExchangeConverter(at)); },
        [this, fitted] {
            importModel.ShowRefitted(std::move(fitted->entries));
            if (fitted->warnings.Lines() != importWarnings || !fitted->error.isEmpty())
                Tell(fitted->error, fitted->warnings);
            importWarnings = fitted->warnings.Lines();
        });
}

void ExchangeActions::Tell(const QString& error, const WarningList& warnings)
{
    QStringList lines = warnings.Lines(kWarningsShown);
    if (!error.isEmpty())
        lines.prepend(error);
    if (!lines.isEmpty())
        document.ShowMessage(lines.join(u'\n'));
}

void ExchangeActions::Export()
{
    const QString chosen =
        prompter.SaveFileName(&window, {kExportFilter, QStringLiteral("gpx"), document.FileDialogDir(), true,
                                        QStringLiteral("エクスポート")});
    if (chosen.isEmpty())
        return;
    const auto format = ExchangeFormat::FromPath(chosen);
    if (!format || *format == ExchangeFormat::mem) {
        document.ShowMessage(QStringLiteral("GPX、KML、KMZ、CSV、GeoJSON のどれかの拡張子を付けてください。"));
        return;
    }
    const PointBook& book = document.Book();
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    PointExchange::ExportOptions options;
    options.format = *format;
    const QString& filePath = document.FilePath();
    options.title = QFileInfo(filePath.isEmpty() ? chosen : filePath).completeBaseName();
    options.icons = &MarkPngs::Png;
    WarningList warnings;
    const Result<QByteArray, QString> exported =
        PointExchange::Export(entries, ExchangeConverter(datum), options, &warnings);
    if (!exported)
        return Tell(exported.Error(), {});
    if (const Result<void, QString> written = PointExchange::WriteFile(Encoded(chosen), exported.Value()); !written)
        return Tell(written.Error(), {});
    Tell({}, warnings);
}

QString ExchangeActions::ChooseImportFile()
{
    return prompter.OpenFileName(
        &window, {kImportFilter, QString(), document.FileDialogDir(), false, QStringLiteral("取りこみファイルを開く")});
}

void ExchangeActions::LoadImportFile(const QString& path)
{
    if (!document.AcceptPath(path))
        return;
    const auto format = ExchangeFormat::FromPath(path);
    if (!format) {
        // Anything else would leave the list showing the previous file's points as if they
        // were this one's.
        document.ShowMessage(QString::fromUtf8(messages::kNotImportFile).arg(QFileInfo(path).fileName()));
        return;
    }
    struct Loaded {
        PointExchange::Source source;
        PointExchange::Imported fitted;
    };
    auto loaded = std::make_shared<Loaded>();
    reading.Run(
        QFileInfo(path).size(),
        [loaded, file = Encoded(path), format = *format, at = datum] {
            Result<PointExchange::Source, QString> read = PointExchange::ReadFile(file, format);
            if (!read) {
                loaded->fitted.error = read.Error();
                return;
            }
            loaded->source = std::move(read.Value());
            loaded->fitted = PointExchange::Fit(loaded->source, ExchangeConverter(at));
        },
        [this, loaded, at = datum] {
            // The list first, then what there is to say of its points.
            if (loaded->fitted.error.isEmpty()) {
                importWarnings = loaded->fitted.warnings.Lines();
                importModel.Show(std::move(loaded->source), std::move(loaded->fitted.entries));
            }
            Tell(loaded->fitted.error, loaded->fitted.warnings);
            if (at != datum)
                RefitImport();
        });
}

void ExchangeActions::ShowOnMap(const PointEntry& e)
{
    const DatumConverter converter(datum);
    const auto wgs = converter.ToWgs84({DatumConverter::Degrees(e.latitude, e.latitudeFraction),
                                        DatumConverter::Degrees(e.longitude, e.longitudeFraction)});
    if (!wgs) {
        document.ShowMessage(QString::fromStdString(converter.Error()));
        return;
    }
    // Six decimals are about ten centimetres, finer than the map shows.
    QDesktopServices::openUrl(
        QUrl(kMapUrl.arg(QString::number(wgs->latitude, 'f', 6), QString::number(wgs->longitude, 'f', 6))));
}

}  // namespace tovik
