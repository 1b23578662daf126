// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/importverb.h"

#include <algorithm>
#include <vector>

#include "cli/clitext.h"
#include "cli/tovikcli.h"
#include "core/markrule.h"
#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "interop/pointexchange.h"

namespace tovik {

int ImportVerb::Run(TovikCli& cli, const QStringList& arguments)
{
    const auto a = cli.Parse(arguments, {QStringLiteral("format"), QStringLiteral("device-datum"), QStringLiteral("mark")},
                             {QStringLiteral("append"), QStringLiteral("force")}, -2,
                             "import needs OUT.mem and at least one IN");
    if (!a)
        return TovikCli::kUsage;
    const QString outPath = a->positionals[0];
    const QStringList inputs = a->positionals.mid(1);
    QString problem;
    const auto datum = cli.DatumOption(*a, problem);
    if (!datum)
        return cli.Usage(problem);
    bool markOk = true;
    const int mark = a->values.value(QStringLiteral("mark"), QStringLiteral("0")).toInt(&markOk);
    if (!markOk || mark < 0 || mark > kHighestMark)
        return cli.Usage(QStringLiteral("--mark must be a number from 0 to %1").arg(kHighestMark));
    const QString formatName = a->values.value(QStringLiteral("format"));
    const auto givenFormat = ExchangeFormat::FromName(formatName);
    if (!formatName.isEmpty() && !givenFormat)
        return cli.Usage(QStringLiteral("--format must be gpx, kml, kmz, csv, geojson or mem, not %1").arg(formatName));
    for (const QString& in : inputs) {
        if (!givenFormat && !ExchangeFormat::FromPath(in))
            return cli.Usage(QStringLiteral("cannot tell the format of %1 from its extension; use --format")
                                 .arg(CliText::Printable(in)));
    }

    if (!cli.OpensAgain(outPath, a->flags.contains(QStringLiteral("force"))))
        return TovikCli::kRefused;
    const bool append = a->flags.contains(QStringLiteral("append"));
    PointBook book;
    // Appending reads OUT and saves it again: locked in between, as add does.
    if (append) {
        if (!cli.LoadDecoded(book, outPath, TovikCli::Lock::untilSaved))
            return TovikCli::kRefused;
    } else if (FileAccess::Exists(CliText::ToPath(outPath)) && !a->flags.contains(QStringLiteral("force"))) {
        cli.Fail(outPath, QStringLiteral("already exists; use --force to replace it or --append to add to it"));
        return TovikCli::kRefused;
    }

    const ExchangeConverter converter(*datum, mark);
    std::vector<PointEntry> entries;
    std::size_t counted = 0;
    for (const QString& in : inputs) {
        // One point past the device's capacity tells that there are too many: the rest are only counted.
        const std::size_t room = static_cast<std::size_t>(PointBook::kCapacity - book.GetCount()) + 1;
        const PointExchange::Imported imported = PointExchange::ImportFile(
            CliText::ToPath(in), givenFormat ? *givenFormat : *ExchangeFormat::FromPath(in), converter,
            room - std::min(room, entries.size()));
        for (const QString& warning : imported.warnings.Lines())
            cli.err << "tovik-cli: " << CliText::Printable(in) << ": " << warning << "\n";
        if (!imported.error.isEmpty()) {
            cli.Fail(in, imported.error);
            return TovikCli::kRefused;
        }
        entries.insert(entries.end(), imported.entries.begin(), imported.entries.end());
        counted += imported.counted;
    }
    cli.err.flush();
    const qsizetype total = book.GetCount() + static_cast<qsizetype>(entries.size() + counted);
    if (total > PointBook::kCapacity) {
        cli.Fail(outPath, QStringLiteral("%1 地点あります。").arg(total) + QString::fromUtf8(messages::kTooManyPoints));
        return TovikCli::kRefused;
    }
    for (PointEntry& e : entries)
        book.InsertEntry(book.GetCount(), std::move(e));
    return cli.SaveBook(book, outPath) ? TovikCli::kSuccess : TovikCli::kRefused;
}

}  // namespace tovik
