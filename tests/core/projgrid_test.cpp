// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/datumconverter.h"
#include "core/projgrid.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

// An NTv2 grid file as tky2jgd.gsb is one: 16-byte records of an 8-byte name and a value
// (a 32-bit integer and padding, 8 characters or a double), the overview, one subfile over
// 35-36° N, 139-140° E and its 2 x 2 nodes, every node shifting 1.5" north and 2.5" east
// (longitudes count west in NTv2).
std::string SmallGrid()
{
    std::string bytes;
    auto record = [&bytes](const char* name, const void* value, std::size_t size) {
        char r[16] = {};
        std::memcpy(r, name, std::strlen(name));
        std::memcpy(r + 8, value, size);
        bytes.append(r, sizeof r);
    };
    auto number = [&record](const char* name, std::int32_t v) { record(name, &v, sizeof v); };
    auto real = [&record](const char* name, double v) { record(name, &v, sizeof v); };
    auto text = [&record](const char* name, const char* v) { record(name, v, std::strlen(v)); };
    number("NUM_OREC", 11), number("NUM_SREC", 11), number("NUM_FILE", 1);
    text("GS_TYPE", "SECONDS"), text("VERSION", "NTv2.0"), text("SYSTEM_F", "TOKYO"), text("SYSTEM_T", "JGD2000");
    real("MAJOR_F", 6377397.155), real("MINOR_F", 6356078.963), real("MAJOR_T", 6378137.0),
        real("MINOR_T", 6356752.314);
    text("SUB_NAME", "TEST"), text("PARENT", "NONE"), text("CREATED", "2024"), text("UPDATED", "2024");
    real("S_LAT", 35 * 3600.0), real("N_LAT", 36 * 3600.0), real("E_LONG", -140 * 3600.0),
        real("W_LONG", -139 * 3600.0), real("LAT_INC", 3600.0), real("LONG_INC", 3600.0);
    number("GS_COUNT", 4);
    for (int node = 0; node < 4; ++node) {
        const float shift[4] = {1.5f, -2.5f, 0.0f, 0.0f};
        bytes.append(reinterpret_cast<const char*>(shift), sizeof shift);
    }
    text("END", "");
    return bytes;
}

TEST(ProjGridTest, AnInstalledGridIsUsedThroughProjAndItsOperationNamedItself)
{
    if (!ProjGrid::FindGrid().empty())
        GTEST_SKIP() << "a TKY2JGD grid is installed already";
    test::TempDir dir;
    std::ofstream(dir.File(ProjGrid::kGridFile), std::ios::binary) << SmallGrid();
    // PROJ's database stays where it is; the grid is found in the folder before it.
    const char* before = std::getenv("PROJ_DATA");
    ::setenv("PROJ_DATA", (dir.Path().string() + ":/usr/share/proj").c_str(), 1);
    EXPECT_EQ(ProjGrid::FindGrid(), dir.File(ProjGrid::kGridFile));
    {
        const DatumConverter tokyo(DeviceDatum::tokyo);
        EXPECT_EQ(tokyo.Error(), "");
        EXPECT_EQ(tokyo.Operation(), DatumConverter::kGridOperation);
        const auto wgs = tokyo.ToWgs84({35.5, 139.5});
        ASSERT_TRUE(wgs);
        EXPECT_NEAR(wgs->latitude, 35.5 + 1.5 / 3600, 1e-9);
        EXPECT_NEAR(wgs->longitude, 139.5 + 2.5 / 3600, 1e-9);
        const auto back = tokyo.FromWgs84(*wgs);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->latitude, 35.5, 1e-10);
        EXPECT_NEAR(back->longitude, 139.5, 1e-10);
        // Inside the area of use but off the grid PROJ has nothing to convert with.
        EXPECT_FALSE(tokyo.ToWgs84({43.0, 141.3}));
        // Outside the area of use nothing is shifted, grid or not.
        EXPECT_EQ(tokyo.ToWgs84({0, 0})->latitude, 0);
    }
    if (before)
        ::setenv("PROJ_DATA", before, 1);
    else
        ::unsetenv("PROJ_DATA");
}

}  // namespace
}  // namespace tovik
