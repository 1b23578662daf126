// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/samepoints.h"

#include "platform/cp932.h"
#include "platform/kanafold.h"

namespace tovik {

std::vector<std::string> SamePoints::NameKeys(const std::vector<PointEntry>& entries)
{
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const PointEntry& e : entries)
        keys.push_back(KanaFold::Fold(Cp932::Decode(e.name)).toStdString());
    return keys;
}

std::vector<DuplicateGroup> SamePoints::Groups(const std::vector<PointEntry>& entries, const PointPlaces& places,
                                               double withinMetres)
{
    return DuplicateGroups::Find(places, NameKeys(entries), withinMetres);
}

std::vector<BookMatch> SamePoints::InBook(const std::vector<PointEntry>& book, const PointPlaces& bookPlaces,
                                          const std::vector<PointEntry>& incoming,
                                          const PointPlaces& incomingPlaces, double withinMetres)
{
    return DuplicateGroups::InBook(bookPlaces, NameKeys(book), incomingPlaces, NameKeys(incoming), withinMetres);
}

}  // namespace tovik
