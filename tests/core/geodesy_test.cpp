// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/duplicategroups.h"
#include "core/geodesy.h"

namespace tovik {
namespace {

constexpr double kSecond = 1.0 / 3600.0;

// GeographicLib's own documented inverse problems: JFK to LHR (the Geodesic class's
// example, 5551.76 km), JFK to Singapore Changi (GeodSolve's manual, 15347628 m) and the
// nearly antipodal Wellington to Salamanca (the Python package's example).
TEST(GeodesyTest, GeographicLibsDocumentedDistances)
{
    EXPECT_NEAR(Geodesy::Metres({40.6, -73.8}, {51.6, -0.5}), 5551759.4, 0.05);
    EXPECT_NEAR(Geodesy::Metres({40 + 38 / 60.0 + 23 * kSecond, -(73 + 46 / 60.0 + 44 * kSecond)},
                                {1 + 21 / 60.0 + 33 * kSecond, 103 + 59 / 60.0 + 22 * kSecond}),
                15347628, 0.5);
    EXPECT_NEAR(Geodesy::Metres({-41.32, 174.81}, {40.96, -5.50}), 19959679.267, 0.001);
}

// Points a few seconds of latitude apart on one meridian. The reference lengths come from
// the meridian's radius of curvature a(1 - e^2) / (1 - e^2 sin^2 lat)^(3/2) on WGS 84:
// a second of latitude is 30.8168 m at 35° N.
class DuplicateGroupsTest : public ::testing::Test {
protected:
    static GeoPoint North35(double seconds) { return {35 + seconds * kSecond, 139}; }
    static GeoPoint North36(double seconds) { return {36 + seconds * kSecond, 140}; }

    const PointPlaces places{{
        GeoPoint{40.6, -73.8},  // 0: JFK
        North35(0),          // 1
        North35(1),          // 2: 30.817 m from 1
        North35(3),          // 3: 61.634 m from 2, 92.450 m from 1
        GeoPoint{51.6, -0.5},   // 4: LHR
        std::nullopt,        // 5
        std::nullopt,        // 6
        North36(0),          // 7
        North36(1.5),        // 8: 46.233 m from 7 and from 9
        North36(3),          // 9: 92.466 m from 7
    }};
    const std::vector<std::string> keys{"airport", "a", "b", "", "airport", "", "b", "", "", ""};
};

TEST_F(DuplicateGroupsTest, WithinTheDistanceOrByNameOrderedByTheirFirstRow)
{
    struct Case {
        double within;
        std::vector<DuplicateGroup> groups;
    };
    const std::vector<Case> cases = {
        // The two airports by name; within 50 m 1 and 2, and through its name the
        // unplaced 6; the chain 7-8-9 at 46 m steps is one group 92 m long.
        {50, {{{0, 4}, 5551759.4}, {{1, 2, 6}, 30.8168}, {{7, 8, 9}, 92.4658}}},
        // Names alone: 6 has no position, so its group has no distance.
        {0, {{{0, 4}, 5551759.4}, {{2, 6}, std::nullopt}}},
        {70, {{{0, 4}, 5551759.4}, {{1, 2, 3, 6}, 92.4505}, {{7, 8, 9}, 92.4658}}},
        {30.8, {{{0, 4}, 5551759.4}, {{2, 6}, std::nullopt}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.within);
        const std::vector<DuplicateGroup> groups = DuplicateGroups::Find(places, keys, c.within);
        ASSERT_EQ(groups.size(), c.groups.size());
        for (std::size_t g = 0; g < groups.size(); ++g) {
            EXPECT_EQ(groups[g].rows, c.groups[g].rows);
            ASSERT_EQ(groups[g].metres.has_value(), c.groups[g].metres.has_value());
            if (groups[g].metres) {
                EXPECT_NEAR(*groups[g].metres, *c.groups[g].metres, 0.05);
            }
        }
    }
}

TEST_F(DuplicateGroupsTest, AnImportedPointMatchesTheBookByItselfOnly)
{
    const PointPlaces incoming{{North35(0.5), GeoPoint{0, 0}, std::nullopt, North35(-1.5), North35(-3), North35(2)}};
    const std::vector<std::string> incomingKeys{"", "airport", "", "", "", "x"};
    const std::vector<BookMatch> matches = DuplicateGroups::InBook(places, keys, incoming, incomingKeys, 50);
    ASSERT_EQ(matches.size(), 6u);
    EXPECT_EQ(matches[0].rows, (std::vector<int>{1, 2}));
    EXPECT_NEAR(matches[0].nearestMetres.value_or(-1), 15.4084, 0.001);
    EXPECT_EQ(matches[1].rows, (std::vector<int>{0, 4}));
    EXPECT_TRUE(matches[2].rows.empty());
    EXPECT_FALSE(matches[2].nearestMetres);
    EXPECT_EQ(matches[3].rows, (std::vector<int>{1}));
    EXPECT_NEAR(matches[3].nearestMetres.value_or(-1), 46.2252, 0.001);
    // 46 m from the point before, which is new to the book itself: no chain.
    EXPECT_TRUE(matches[4].rows.empty());
    EXPECT_EQ(matches[5].rows, (std::vector<int>{2, 3}));
    EXPECT_NEAR(matches[5].nearestMetres.value_or(-1), 30.8168, 0.001);
}

}  // namespace
}  // namespace tovik
