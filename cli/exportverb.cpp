// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/exportverb.h"

#include <QFileInfo>
#include <cstdio>
#include <vector>

#include "cli/clitext.h"
#include "cli/tovikcli.h"
#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "interop/pointexchange.h"
#include "resources/markpngs.h"

namespace tovik {

int ExportVerb::Run(TovikCli& cli, const QStringList& arguments)
{
    const auto a = cli.Parse(arguments, {QStringLiteral("format"), QStringLiteral("device-datum"), QStringLiteral("encoding")},
                             {}, 2, "export needs IN and OUT");
    if (!a)
        return TovikCli::kUsage;
    const QString in = a->positionals[0];
    const QString outPath = a->positionals[1];
    QString problem;
    const auto datum = cli.DatumOption(*a, problem);
    if (!datum)
        return cli.Usage(problem);
    const bool toStdout = outPath == QStringLiteral("-");
    const QString formatName = a->values.value(QStringLiteral("format"));
    std::optional<ExchangeFormat::Format> format =
        formatName.isEmpty() ? (toStdout ? std::nullopt : ExchangeFormat::FromPath(outPath))
                             : ExchangeFormat::FromName(formatName);
    if (!format || *format == ExchangeFormat::mem) {
        if (!formatName.isEmpty())
            return cli.Usage(QStringLiteral("--format must be gpx, kml, kmz, csv or geojson, not %1").arg(formatName));
        return cli.Usage(toStdout ? QStringLiteral("export to - needs --format")
                                  : QStringLiteral("cannot tell the format of %1 from its extension; use --format")
                                        .arg(CliText::Printable(outPath)));
    }
    const QString encoding = a->values.value(QStringLiteral("encoding"), QStringLiteral("utf-8")).toLower();
    if (encoding != QStringLiteral("utf-8") && encoding != QStringLiteral("cp932"))
        return cli.Usage(QStringLiteral("--encoding must be utf-8 or cp932, not %1").arg(encoding));

    PointBook book;
    if (!cli.LoadDecoded(book, in))
        return TovikCli::kRefused;
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    PointExchange::ExportOptions options;
    options.format = *format;
    options.encoding = encoding == QStringLiteral("cp932") ? CsvFormat::Encoding::cp932 : CsvFormat::Encoding::utf8;
    options.title = CliText::Printable(QFileInfo(in).completeBaseName());
    options.icons = &MarkPngs::Png;
    WarningList warnings;
    const Result<QByteArray, QString> exported =
        PointExchange::Export(entries, ExchangeConverter(*datum), options, &warnings);
    for (const QString& warning : warnings.Lines())
        cli.err << "tovik-cli: " << CliText::Printable(in) << ": " << warning << "\n";
    cli.err.flush();
    if (!exported) {
        cli.Fail(in, exported.Error());
        return TovikCli::kRefused;
    }
    const QByteArray& bytes = exported.Value();
    if (toStdout) {
        cli.out.flush();
        const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
                                 static_cast<std::size_t>(bytes.size()) &&
                             std::fflush(stdout) == 0;
        if (!written) {
            cli.Fail(outPath, QString::fromUtf8(messages::kWriteFailed));
            return TovikCli::kRefused;
        }
        return TovikCli::kSuccess;
    }
    if (const Result<void, QString> written = PointExchange::WriteFile(CliText::ToPath(outPath), bytes); !written) {
        cli.Fail(outPath, written.Error());
        return TovikCli::kRefused;
    }
    return TovikCli::kSuccess;
}

}  // namespace tovik
