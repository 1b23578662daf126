// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "core/datumconverter.h"

namespace tovik {
namespace {

// Metres between two nearby positions, on a sphere of the Earth's mean radius.
double Metres(GeoPoint a, GeoPoint b)
{
    constexpr double kRadius = 6371000.0;
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dy = (a.latitude - b.latitude) * kRad * kRadius;
    const double dx = (a.longitude - b.longitude) * kRad * kRadius * std::cos(a.latitude * kRad);
    return std::hypot(dx, dy);
}

// Decimal degrees as an exchange file writes them, read back.
double Written(double degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9f", degrees);
    return std::strtod(text, nullptr);
}

TEST(DatumConverterTest, TokyoGoesToPublishedWgs84PositionsAndBack)
{
    const DatumConverter tokyo(DeviceDatum::tokyo);
    ASSERT_EQ(tokyo.Error(), "");
    struct Published {
        GeoPoint tokyo, wgs84;
    };
    // Within 2 m of the published positions: the three-parameter shift's accuracy there.
    for (const Published& p : {Published{{35.71004, 139.81070}, {35.713274983, 139.807461872}},
                               Published{{38.546789, 140.026224}, {38.5497034780, 140.0228535294}}}) {
        const auto wgs = tokyo.ToWgs84(p.tokyo);
        ASSERT_TRUE(wgs);
        EXPECT_LT(Metres(*wgs, p.wgs84), 2.0) << wgs->latitude << " " << wgs->longitude;
        const auto back = tokyo.FromWgs84(*wgs);
        ASSERT_TRUE(back);
        // There and back within 1/500 s.
        EXPECT_NEAR(back->latitude, p.tokyo.latitude, 1.0 / 500 / 3600);
        EXPECT_NEAR(back->longitude, p.tokyo.longitude, 1.0 / 500 / 3600);
    }
}

TEST(DatumConverterTest, NorthernKyushuUsesTheJapaneseShiftNotTheKoreanOne)
{
    // Fukuoka lies inside South Korea's area of use, where PROJ's choice of "the best"
    // Tokyo to WGS 84 transformation is the Korean one (EPSG:1305), about 6 m away.
    const DatumConverter tokyo(DeviceDatum::tokyo);
    if (tokyo.Operation() != DatumConverter::kThreeParameterOperation)
        GTEST_SKIP() << "the TKY2JGD grid is installed";
    const auto wgs = tokyo.ToWgs84({33.59, 130.40});
    ASSERT_TRUE(wgs);
    EXPECT_LT(Metres(*wgs, {33.593262221, 130.397658836}), 0.01);
    EXPECT_GT(Metres(*wgs, {33.593314, 130.397673}), 5.0);
}

TEST(DatumConverterTest, Wgs84DeviceLeavesPositionsUnchanged)
{
    const DatumConverter wgs(DeviceDatum::wgs84);
    const GeoPoint p{35.659, 139.745};
    EXPECT_EQ(wgs.ToWgs84(p)->latitude, p.latitude);
    EXPECT_EQ(wgs.ToWgs84(p)->longitude, p.longitude);
    EXPECT_EQ(wgs.FromWgs84(p)->longitude, p.longitude);
    EXPECT_EQ(wgs.Operation(), "");
}

TEST(DatumConverterTest, StoredCoordinatesSurviveTheTripThroughWgs84AndNineDecimals)
{
    // Every stored position in Japan comes back to the same value and fraction after
    // Tokyo -> WGS 84 -> text with nine decimals -> Tokyo -> rounding to 1/250 s.
    const DatumConverter tokyo(DeviceDatum::tokyo);
    std::mt19937 random(42);
    std::uniform_int_distribution<std::int32_t> seconds(0, 3599);
    std::uniform_int_distribution<int> fraction(0, 249);
    std::uniform_int_distribution<int> latDegree(21, 44), lonDegree(123, 153);
    for (int i = 0; i < 20000; ++i) {
        const Coordinate lat{(latDegree(random) * 3600 + seconds(random)) * 4,
                             static_cast<std::uint8_t>(fraction(random))};
        const Coordinate lon{(lonDegree(random) * 3600 + seconds(random)) * 4,
                             static_cast<std::uint8_t>(fraction(random))};
        const GeoPoint device{DatumConverter::Degrees(lat.value, lat.fraction),
                              DatumConverter::Degrees(lon.value, lon.fraction)};
        const auto wgs = tokyo.ToWgs84(device);
        ASSERT_TRUE(wgs);
        const auto back = tokyo.FromWgs84({Written(wgs->latitude), Written(wgs->longitude)});
        ASSERT_TRUE(back);
        ASSERT_EQ(DatumConverter::FromDegrees(back->latitude), lat) << i;
        ASSERT_EQ(DatumConverter::FromDegrees(back->longitude), lon) << i;
    }
}

TEST(DatumConverterTest, PositionsOutsideTheAreaOfUseGoUnshiftedBothWays)
{
    const DatumConverter tokyo(DeviceDatum::tokyo);
    // The device's empty 0/0, south of Okinotorishima, Sakhalin, Shanghai, the Atlantic.
    for (const GeoPoint p : {GeoPoint{0, 0}, GeoPoint{20.3, 136.0}, GeoPoint{46.9, 142.7}, GeoPoint{31.23, 121.47},
                             GeoPoint{16.0, 6.0}}) {
        bool outside = false;
        const auto wgs = tokyo.ToWgs84(p, &outside);
        EXPECT_TRUE(outside);
        EXPECT_EQ(wgs->latitude, p.latitude);
        EXPECT_EQ(wgs->longitude, p.longitude);
        outside = false;
        const auto back = tokyo.FromWgs84(p, &outside);
        EXPECT_TRUE(outside);
        EXPECT_EQ(back->latitude, p.latitude);
        EXPECT_EQ(back->longitude, p.longitude);
    }
    bool outside = true;
    EXPECT_NE(tokyo.FromWgs84({20.4, 136.1}, &outside)->latitude, 20.4);
    EXPECT_FALSE(outside);
}

TEST(DatumConverterTest, DegreesRoundToTheDevicesFraction)
{
    // 139°44'45" and 125/250 s.
    EXPECT_DOUBLE_EQ(DatumConverter::Degrees(2012340, 125), 139.0 + 44.0 / 60 + 45.5 / 3600);
    EXPECT_EQ(DatumConverter::FromDegrees(139.0 + 44.0 / 60 + 45.5 / 3600), (Coordinate{2012340, 125}));
    // A quarter second in the value is a quarter second in degrees.
    EXPECT_DOUBLE_EQ(DatumConverter::Degrees(2012341, 0), 139.0 + 44.0 / 60 + 45.25 / 3600);
    // 0.9999 s rounds up into the next whole second: fraction 0, never 250.
    EXPECT_EQ(DatumConverter::FromDegrees(35.0 + 0.9999 / 3600), (Coordinate{35 * 14400 + 4, 0}));
    EXPECT_EQ(DatumConverter::FromDegrees(0.0), (Coordinate{0, 0}));
    EXPECT_FALSE(DatumConverter::FromDegrees(-0.001));
    EXPECT_FALSE(DatumConverter::FromDegrees(std::nan("")));
    EXPECT_FALSE(DatumConverter::FromDegrees(1200.0));
}

TEST(DatumConverterTest, DatumNames)
{
    EXPECT_EQ(DatumConverter::FromName("tokyo"), DeviceDatum::tokyo);
    EXPECT_EQ(DatumConverter::FromName("WGS84"), DeviceDatum::wgs84);
    EXPECT_FALSE(DatumConverter::FromName("jgd2000"));
    EXPECT_STREQ(DatumConverter::Name(DeviceDatum::wgs84), "wgs84");
}

}  // namespace
}  // namespace tovik
