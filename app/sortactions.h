// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/pointorder.h"

namespace tovik {

class ExchangeActions;
class PointDocument;
class PointFinder;

// 変換 → 並べ替え: the edited points put in an order as one step of the history. The rows
// shown take part (all of them while nothing is looked for); of them only the ticked ones
// when any are ticked, each sorted among the places the ticked rows hold. A sort that moves
// no point is no step.
class SortActions {
public:
    SortActions(PointDocument& document, const ExchangeActions& exchange, PointFinder& finder);

    void Sort(PointOrder::Key key);
    // The submenu's text for `key`, which also names the step.
    static QString Name(PointOrder::Key key);

private:
    // The distance of every row from the selected point on WGS 84, or false after saying
    // why there is none.
    bool MetresFromSelected(const std::vector<PointEntry>& entries, std::vector<std::optional<double>>& metres);

    PointDocument& document;
    const ExchangeActions& exchange;
    PointFinder& finder;
};

}  // namespace tovik
