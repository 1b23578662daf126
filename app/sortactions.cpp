// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sortactions.h"

#include "app/exchangeactions.h"
#include "app/pointdocument.h"
#include "app/pointfinder.h"
#include "core/pointbook.h"
#include "core/pointplaces.h"
#include "editing/rowselection.h"
#include "editing/sortpointscommand.h"
#include "platform/cp932.h"

namespace tovik {

SortActions::SortActions(PointDocument& document, const ExchangeActions& exchange, PointFinder& finder)
    : document(document), exchange(exchange), finder(finder)
{
}

QString SortActions::Name(PointOrder::Key key)
{
    switch (key) {
    case PointOrder::Key::reading:
        return QStringLiteral("読み順");
    case PointOrder::Key::name:
        return QStringLiteral("名称順");
    case PointOrder::Key::markThenReading:
        return QStringLiteral("マーク順");
    case PointOrder::Key::distance:
        break;
    }
    return QStringLiteral("選択した地点から近い順");
}

void SortActions::Sort(PointOrder::Key key)
{
    const std::vector<int> shown = finder.ShownRows();
    if (shown.size() < 2)
        return;
    std::vector<int> rows = finder.Shown(document.Model().TickedRows());
    if (rows.empty())
        rows = shown;
    const PointBook& book = document.Book();
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    std::vector<std::optional<double>> metres;
    if (key == PointOrder::Key::distance && !MetresFromSelected(entries, metres))
        return;
    std::vector<int> order = PointOrder::Order(entries, key, rows, metres);
    if (!SortPointsCommand::Moves(order))
        return;
    document.History().push(new SortPointsCommand(QStringLiteral("並べ替え (%1)").arg(Name(key)), document.Model(),
                                                  document.Selection(), std::move(order)));
    finder.RevealSelected();
}

bool SortActions::MetresFromSelected(const std::vector<PointEntry>& entries,
                                     std::vector<std::optional<double>>& metres)
{
    const int from = RowSelection::Selected(document.Selection());
    if (from < 0) {
        document.ShowMessage(QStringLiteral("距離を測る基準の地点を一覧で選んでください。"));
        return false;
    }
    // The device's coordinates are in its datum; distances are measured on WGS 84.
    const DatumConverter converter(exchange.Datum());
    const PointPlaces places = PointPlaces::Of(entries, converter);
    if (!places.At(from)) {
        QString text = QStringLiteral("「%1」の座標を WGS 84 に変換できません。")
                           .arg(Cp932::Decode(entries[static_cast<std::size_t>(from)].name).trimmed());
        if (!converter.Error().empty())
            text += u'\n' + QString::fromStdString(converter.Error());
        document.ShowMessage(text);
        return false;
    }
    metres = places.MetresFrom(from);
    return true;
}

}  // namespace tovik
