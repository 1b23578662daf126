// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "core/pointentry.h"

namespace tovik {

// The order a book's points are sorted into, as a permutation that the command line applies
// at once and the editor as one step of its history.
class PointOrder {
public:
    enum class Key {
        reading,          // the reading in Japanese dictionary order (JapaneseCollator)
        name,             // the name in the same order
        markThenReading,  // the mark number, then the reading
        distance,         // the distance from one point, nearest first
    };

    // The new order of `entries`: row i of the sorted list is entry order[i]. When `ticked`
    // names any rows, only those rows move, among the places they hold; otherwise all do.
    // Stable: rows that compare alike keep their order. A point without a reading (empty or
    // blanks only) goes after those with one, by name; one without a name, for Key::name,
    // after those with one, by reading; one without a distance, for Key::distance, after
    // those with one, by reading. `metres` is each row's distance from the point measured
    // from (PointPlaces::MetresFrom), used for Key::distance only. Rows of `ticked` outside
    // the entries are left out.
    static std::vector<int> Order(const std::vector<PointEntry>& entries, Key key, const std::vector<int>& ticked = {},
                                  const std::vector<std::optional<double>>& metres = {});
    // Where each entry goes: Inverse(order)[order[i]] == i, so the selection follows its
    // point and the way back is a sort by Inverse(order).
    static std::vector<int> Inverse(const std::vector<int>& order);
};

}  // namespace tovik
