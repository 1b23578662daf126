// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <cstdio>

#include "core/datumconverter.h"
#include "core/projgrid.h"

namespace tovik {
namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;

double Metres(GeoPoint a, GeoPoint b)
{
    const double dy = (a.latitude - b.latitude) * kRad * 6371000.0;
    const double dx = (a.longitude - b.longitude) * kRad * 6371000.0 * std::cos(a.latitude * kRad);
    return std::hypot(dx, dy);
}

double Written(double degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9f", degrees);
    return std::strtod(text, nullptr);
}

// EPSG:15484 run by PROJ itself, forward, and back as the program did it with PROJ: the
// inverse corrected by the forward until it undoes it.
class ProjShift {
public:
    ProjShift()
        : context(proj_context_create()),
          operation(proj_create_from_database(context, "EPSG", "15484", PJ_CATEGORY_COORDINATE_OPERATION, 0,
                                              nullptr))
    {
    }
    ~ProjShift()
    {
        proj_destroy(operation);
        proj_context_destroy(context);
    }
    bool Ready() const { return operation != nullptr; }
    GeoPoint Run(GeoPoint p, PJ_DIRECTION direction) const
    {
        const PJ_COORD out = proj_trans(operation, direction, proj_coord(p.latitude, p.longitude, 0, 0));
        return {out.v[0], out.v[1]};
    }
    GeoPoint Back(GeoPoint wgs) const
    {
        GeoPoint tokyo = Run(wgs, PJ_INV);
        for (int i = 0; i < 4; ++i) {
            const GeoPoint there = Run(tokyo, PJ_FWD);
            tokyo.latitude += wgs.latitude - there.latitude;
            tokyo.longitude += wgs.longitude - there.longitude;
        }
        return tokyo;
    }

private:
    PJ_CONTEXT* context;
    PJ* operation;
};

TEST(TokyoShiftTest, AgreesWithProjEveryTenthOfADegreeOverTheWholeAreaOfUse)
{
    if (!ProjGrid::FindGrid().empty())
        GTEST_SKIP() << "the TKY2JGD grid is installed: the program uses PROJ itself";
    const ProjShift proj;
    ASSERT_TRUE(proj.Ready());
    const DatumConverter tokyo(DeviceDatum::tokyo);
    ASSERT_EQ(tokyo.Operation(), DatumConverter::kThreeParameterOperation);
    double worstThere = 0, worstBack = 0;
    int positions = 0;
    for (int i = 0;; ++i) {
        const double latitude = std::min(DatumConverter::kSouth + 0.1 * i, DatumConverter::kNorth);
        for (int j = 0;; ++j) {
            const GeoPoint p{latitude, std::min(DatumConverter::kWest + 0.1 * j, DatumConverter::kEast)};
            const GeoPoint expected = proj.Run(p, PJ_FWD);
            worstThere = std::max(worstThere, Metres(*tokyo.ToWgs84(p), expected));
            // Back from the position as a file gives it, to the stored 1/250 s steps.
            const GeoPoint written{Written(expected.latitude), Written(expected.longitude)};
            const GeoPoint back = *tokyo.FromWgs84(written);
            const GeoPoint expectedBack = proj.Back(written);
            worstBack = std::max(worstBack, Metres(back, expectedBack));
            ASSERT_EQ(DatumConverter::FromDegrees(back.latitude), DatumConverter::FromDegrees(expectedBack.latitude))
                << p.latitude << " " << p.longitude;
            ASSERT_EQ(DatumConverter::FromDegrees(back.longitude),
                      DatumConverter::FromDegrees(expectedBack.longitude))
                << p.latitude << " " << p.longitude;
            ++positions;
            if (p.longitude == DatumConverter::kEast)
                break;
        }
        if (latitude == DatumConverter::kNorth)
            break;
    }
    EXPECT_GT(positions, 78000);
    EXPECT_LE(worstThere, 0.001);
    EXPECT_LE(worstBack, 0.001);
    std::printf("%d positions; largest difference from PROJ: %.3g m there, %.3g m back\n", positions, worstThere,
                worstBack);
}

}  // namespace
}  // namespace tovik
