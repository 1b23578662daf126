// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "core/duplicategroups.h"
#include "core/pointentry.h"
#include "core/pointplaces.h"

namespace tovik {

// The duplicate check on device points: within a distance of each other, or with names
// that KanaFold makes the same (東京タワー and 東京ﾀﾜｰ).
class SamePoints {
public:
    // The name of each point as the check compares it: folded, empty for a blank name.
    static std::vector<std::string> NameKeys(const std::vector<PointEntry>& entries);

    // The groups of a book's points; `places` holds their positions (PointPlaces::Of).
    static std::vector<DuplicateGroup> Groups(const std::vector<PointEntry>& entries, const PointPlaces& places,
                                              double withinMetres = DuplicateGroups::kDefaultMetres);
    // For each point of an import file, the book's points it is already there as.
    static std::vector<BookMatch> InBook(const std::vector<PointEntry>& book, const PointPlaces& bookPlaces,
                                         const std::vector<PointEntry>& incoming, const PointPlaces& incomingPlaces,
                                         double withinMetres = DuplicateGroups::kDefaultMetres);
};

}  // namespace tovik
