// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/duplicategroups.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "core/geodesy.h"

namespace tovik {

namespace {

// No geodesic is shorter than the meridian arc between its latitudes, and no degree of
// that arc shorter than at the equator (a(1 - e^2) per radian on WGS 84): points further
// apart in latitude than this are never measured.
constexpr double kShortestMetresPerDegree = 110574.0;

// The rows that have a position, by latitude, for a sweep over a latitude window.
std::vector<int> ByLatitude(const PointPlaces& places)
{
    std::vector<int> rows;
    for (int row = 0; row < places.Count(); ++row) {
        if (places.At(row))
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(),
              [&](int a, int b) { return places.At(a)->latitude < places.At(b)->latitude; });
    return rows;
}

double LatitudeWindow(double withinMetres) { return withinMetres / kShortestMetresPerDegree + 1e-9; }

// A point without a key in `keys` has the empty one.
const std::string& KeyOf(const std::vector<std::string>& keys, int row)
{
    static const std::string none;
    return static_cast<std::size_t>(row) < keys.size() ? keys[static_cast<std::size_t>(row)] : none;
}

std::unordered_map<std::string, std::vector<int>> RowsByKey(const std::vector<std::string>& keys, int count)
{
    std::unordered_map<std::string, std::vector<int>> rows;
    for (int row = 0; row < count; ++row) {
        if (const std::string& key = KeyOf(keys, row); !key.empty())
            rows[key].push_back(row);
    }
    return rows;
}

// Rows joined into groups; a group's root is its first row.
class Partition {
public:
    explicit Partition(int count) : parent(static_cast<std::size_t>(count)) { std::iota(parent.begin(), parent.end(), 0); }
    int Root(int row)
    {
        while (Parent(row) != row)
            row = Parent(row) = Parent(Parent(row));
        return row;
    }
    void Join(int a, int b)
    {
        a = Root(a);
        b = Root(b);
        if (a != b)
            Parent(std::max(a, b)) = std::min(a, b);
    }

private:
    int& Parent(int row) { return parent[static_cast<std::size_t>(row)]; }
    std::vector<int> parent;
};

}  // namespace

std::vector<DuplicateGroup> DuplicateGroups::Find(const PointPlaces& places, const std::vector<std::string>& nameKeys,
                                                  double withinMetres)
{
    const int count = places.Count();
    Partition partition(count);
    for (const auto& [key, rows] : RowsByKey(nameKeys, count)) {
        for (const int row : rows)
            partition.Join(rows.front(), row);
    }
    const std::vector<int> sorted = ByLatitude(places);
    const double window = LatitudeWindow(withinMetres);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const GeoPoint& a = *places.At(sorted[i]);
        for (std::size_t j = i + 1; j < sorted.size() && places.At(sorted[j])->latitude - a.latitude <= window; ++j) {
            if (partition.Root(sorted[i]) != partition.Root(sorted[j]) &&
                Geodesy::Metres(a, *places.At(sorted[j])) <= withinMetres)
                partition.Join(sorted[i], sorted[j]);
        }
    }

    std::vector<DuplicateGroup> groups;
    std::vector<int> groupOfRoot(static_cast<std::size_t>(count), -1);
    for (int row = 0; row < count; ++row) {
        const int root = partition.Root(row);
        if (root == row)
            continue;
        int& group = groupOfRoot[static_cast<std::size_t>(root)];
        if (group < 0) {
            group = static_cast<int>(groups.size());
            groups.push_back({{root}, std::nullopt});
        }
        groups[static_cast<std::size_t>(group)].rows.push_back(row);
    }
    std::sort(groups.begin(), groups.end(),
              [](const DuplicateGroup& a, const DuplicateGroup& b) { return a.rows.front() < b.rows.front(); });
    for (DuplicateGroup& g : groups) {
        for (std::size_t i = 0; i < g.rows.size(); ++i) {
            for (std::size_t j = i + 1; j < g.rows.size(); ++j) {
                if (const auto metres = places.Metres(g.rows[i], g.rows[j]))
                    g.metres = std::max(g.metres.value_or(0), *metres);
            }
        }
    }
    return groups;
}

std::vector<BookMatch> DuplicateGroups::InBook(const PointPlaces& book, const std::vector<std::string>& bookKeys,
                                               const PointPlaces& incoming,
                                               const std::vector<std::string>& incomingKeys, double withinMetres)
{
    const auto byKey = RowsByKey(bookKeys, book.Count());
    const std::vector<int> sorted = ByLatitude(book);
    const double window = LatitudeWindow(withinMetres);
    std::vector<BookMatch> matches(static_cast<std::size_t>(incoming.Count()));
    for (int in = 0; in < incoming.Count(); ++in) {
        BookMatch& match = matches[static_cast<std::size_t>(in)];
        if (const std::string& key = KeyOf(incomingKeys, in); !key.empty()) {
            if (const auto it = byKey.find(key); it != byKey.end())
                match.rows = it->second;
        }
        if (const auto& p = incoming.At(in)) {
            auto candidate = std::lower_bound(sorted.begin(), sorted.end(), p->latitude - window,
                                              [&](int row, double lat) { return book.At(row)->latitude < lat; });
            for (; candidate != sorted.end() && book.At(*candidate)->latitude <= p->latitude + window; ++candidate) {
                if (Geodesy::Metres(*p, *book.At(*candidate)) <= withinMetres)
                    match.rows.push_back(*candidate);
            }
            std::sort(match.rows.begin(), match.rows.end());
            match.rows.erase(std::unique(match.rows.begin(), match.rows.end()), match.rows.end());
            for (const int row : match.rows) {
                if (const auto& q = book.At(row)) {
                    const double metres = Geodesy::Metres(*p, *q);
                    match.nearestMetres = std::min(match.nearestMetres.value_or(metres), metres);
                }
            }
        }
    }
    return matches;
}

}  // namespace tovik
