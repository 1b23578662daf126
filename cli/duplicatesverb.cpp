// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/duplicatesverb.h"

#include <cmath>

#include "cli/clitext.h"
#include "cli/tovikcli.h"
#include "core/pointbook.h"
#include "platform/cp932.h"
#include "platform/samepoints.h"

namespace tovik {

namespace {

// Metres to the decimetre: the device stores positions to about 3 cm.
QString MetresText(const std::optional<double>& metres, const char* none)
{
    return metres ? QString::number(*metres, 'f', 1) : QString::fromLatin1(none);
}

}  // namespace

int DuplicatesVerb::Run(TovikCli& cli, const QStringList& arguments)
{
    const auto a = cli.Parse(arguments, {QStringLiteral("within"), QStringLiteral("device-datum")},
                             {QStringLiteral("json")}, 1, "duplicates needs one FILE");
    if (!a)
        return TovikCli::kUsage;
    const QString path = a->positionals[0];
    bool withinOk = true;
    const double within = a->values.contains(QStringLiteral("within"))
                              ? a->values.value(QStringLiteral("within")).toDouble(&withinOk)
                              : DuplicateGroups::kDefaultMetres;
    if (!withinOk || !std::isfinite(within) || within < 0)
        return cli.Usage(QStringLiteral("--within must be a number of metres, 0 or more"));
    QString problem;
    const auto datum = TovikCli::DatumOption(*a, problem);
    if (!datum)
        return cli.Usage(problem);

    PointBook book;
    if (!cli.LoadDecoded(book, path))
        return TovikCli::kRefused;
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    const std::optional<PointPlaces> places = cli.PlacesOf(entries, *datum, path);
    if (!places)
        return TovikCli::kRefused;
    const std::vector<DuplicateGroup> groups = SamePoints::Groups(entries, *places, within);

    QTextStream& out = cli.out;
    if (a->flags.contains(QStringLiteral("json"))) {
        out << "[";
        for (std::size_t g = 0; g < groups.size(); ++g) {
            QStringList numbers;
            for (const int row : groups[g].rows)
                numbers << QString::number(row + 1);
            out << (g == 0 ? "\n" : ",\n") << "  {\"points\": [" << numbers.join(QStringLiteral(", "))
                << "], \"metres\": " << MetresText(groups[g].metres, "null") << "}";
        }
        out << (groups.empty() ? "]\n" : "\n]\n");
    } else {
        // 1, 4 (12.3 m): 東京タワー / 東京ﾀﾜｰ
        for (const DuplicateGroup& group : groups) {
            QStringList numbers, names;
            for (const int row : group.rows) {
                numbers << QString::number(row + 1);
                names << CliText::Printable(Cp932::Decode(entries[static_cast<std::size_t>(row)].name));
            }
            out << numbers.join(QStringLiteral(", ")) << " (" << MetresText(group.metres, "?") << " m): "
                << names.join(QStringLiteral(" / ")) << "\n";
        }
    }
    out.flush();
    return TovikCli::kSuccess;
}

}  // namespace tovik
