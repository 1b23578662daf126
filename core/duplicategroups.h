// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/pointplaces.h"

namespace tovik {

// Points that are one place twice: the same shop saved from two sources a few metres
// apart, or under the same name.
struct DuplicateGroup {
    std::vector<int> rows;  // ascending, at least two
    // The largest distance between two rows of the group; nothing when fewer than two of
    // them have a position.
    std::optional<double> metres;
    bool operator==(const DuplicateGroup&) const = default;
};

// The rows of a book that one incoming point is already there as.
struct BookMatch {
    std::vector<int> rows;  // ascending; empty when the point is new to the book
    // The distance to the nearest of them; nothing when none has a distance from it.
    std::optional<double> nearestMetres;
};

// Two points are the same place when they lie within the given distance of each other or
// their names, compared as keys, are equal; an empty key equals no other, and a point
// beyond the end of its key list has the empty key.
class DuplicateGroups {
public:
    static constexpr double kDefaultMetres = 50;

    // The groups of the points, `nameKeys` holding each point's key: single linkage, so a
    // point joins a group when it is the same place as any one of its points, and a row of
    // points each 40 m from the next is one group at 50 m. Groups are ordered by their
    // first row.
    static std::vector<DuplicateGroup> Find(const PointPlaces& places, const std::vector<std::string>& nameKeys,
                                            double withinMetres);
    // For each incoming point (of an import file), the book's points it is the same place
    // as, by itself: incoming points never link to each other.
    static std::vector<BookMatch> InBook(const PointPlaces& book, const std::vector<std::string>& bookKeys,
                                         const PointPlaces& incoming, const std::vector<std::string>& incomingKeys,
                                         double withinMetres);
};

}  // namespace tovik
