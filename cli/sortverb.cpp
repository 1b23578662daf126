// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sortverb.h"

#include <algorithm>

#include "cli/tovikcli.h"
#include "core/pointbook.h"
#include "core/pointplaces.h"
#include "platform/pointorder.h"

namespace tovik {

namespace {

std::optional<PointOrder::Key> KeyOf(const QString& name)
{
    if (name == QStringLiteral("reading"))
        return PointOrder::Key::reading;
    if (name == QStringLiteral("name"))
        return PointOrder::Key::name;
    if (name == QStringLiteral("mark"))
        return PointOrder::Key::markThenReading;
    if (name == QStringLiteral("distance"))
        return PointOrder::Key::distance;
    return std::nullopt;
}

// Moves the book's entries into `order` one at a time, so that the book holds all its
// points at every step.
void Reorder(PointBook& book, const std::vector<int>& order)
{
    std::vector<int> current(order.size());
    for (std::size_t i = 0; i < current.size(); ++i)
        current[i] = static_cast<int>(i);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto at = std::find(current.begin() + static_cast<std::ptrdiff_t>(i), current.end(), order[i]);
        book.MoveEntry(static_cast<int>(at - current.begin()), static_cast<int>(i));
        std::rotate(current.begin() + static_cast<std::ptrdiff_t>(i), at, at + 1);
    }
}

}  // namespace

int SortVerb::Run(TovikCli& cli, const QStringList& arguments)
{
    const auto a = cli.Parse(arguments, {QStringLiteral("by"), QStringLiteral("from"), QStringLiteral("device-datum")},
                             {}, 1, "sort needs one FILE");
    if (!a)
        return TovikCli::kUsage;
    const QString path = a->positionals[0];
    const QString by = a->values.value(QStringLiteral("by"));
    const auto key = KeyOf(by);
    if (!key) {
        return cli.Usage(by.isEmpty() ? QStringLiteral("sort needs --by reading, name, mark or distance")
                                      : QStringLiteral("--by must be reading, name, mark or distance, not %1").arg(by));
    }
    const bool byDistance = *key == PointOrder::Key::distance;
    const bool hasFrom = a->values.contains(QStringLiteral("from"));
    if (byDistance != hasFrom)
        return cli.Usage(hasFrom ? QStringLiteral("--from goes with --by distance only")
                                 : QStringLiteral("--by distance needs --from N, the point to measure from"));
    bool fromOk = true;
    const int from = hasFrom ? a->values.value(QStringLiteral("from")).toInt(&fromOk) : 0;
    if (!fromOk || (hasFrom && from < 1))
        return cli.Usage(QStringLiteral("--from must be a point number, counted from 1"));
    QString problem;
    const auto datum = TovikCli::DatumOption(*a, problem);
    if (!datum)
        return cli.Usage(problem);

    PointBook book;
    if (!cli.LoadDecoded(book, path, TovikCli::Lock::untilSaved))
        return TovikCli::kRefused;
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    std::vector<std::optional<double>> metres;
    if (byDistance) {
        if (from > book.GetCount()) {
            cli.Fail(path, QStringLiteral("has %1 points; there is no point %2").arg(book.GetCount()).arg(from));
            return TovikCli::kRefused;
        }
        const std::optional<PointPlaces> places = cli.PlacesOf(entries, *datum, path);
        if (!places)
            return TovikCli::kRefused;
        metres = places->MetresFrom(from - 1);
    }
    Reorder(book, PointOrder::Order(entries, *key, {}, metres));
    if (cli.pauseBeforeSave)
        cli.pauseBeforeSave();
    return cli.SaveBook(book, path) ? TovikCli::kSuccess : TovikCli::kRefused;
}

}  // namespace tovik
