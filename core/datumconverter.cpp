// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/datumconverter.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/projgrid.h"
#include "core/tokyoshift.h"

namespace tovik {

namespace {

// Stored coordinates count quarter seconds plus a fraction byte of 1/250 s.
constexpr double kStepsPerDegree = 3600.0 * 250.0;
constexpr std::int64_t kStepsPerSecond = 250;
constexpr std::int32_t kQuartersPerSecond = 4;
// The 24-bit field holds up to 16,777,215 quarter seconds, about 1165 degrees.
constexpr double kLargestDegrees = 16777215.0 / 4.0 / 3600.0;

}  // namespace

DatumConverter::DatumConverter(DeviceDatum datum) : datum(datum)
{
    if (datum == DeviceDatum::wgs84)
        return;
    operation = kThreeParameterOperation;
    if (ProjGrid::FindGrid().empty())
        return;
    // The user installed the grid for its accuracy: when PROJ cannot use it, say so rather
    // than fall back to the coarser shift unnoticed.
    grid = std::make_unique<ProjGrid>();
    operation = kGridOperation;
    error = grid->Error();
}

DatumConverter::~DatumConverter() = default;

bool DatumConverter::InAreaOfUse(GeoPoint tokyo)
{
    return tokyo.latitude >= kSouth && tokyo.latitude <= kNorth && tokyo.longitude >= kWest &&
           tokyo.longitude <= kEast;
}

std::optional<GeoPoint> DatumConverter::Shift(GeoPoint in, bool forward) const
{
    if (grid)
        return grid->Transform(in, forward);
    return forward ? TokyoShift::ToWgs84(in) : TokyoShift::FromWgs84(in);
}

std::optional<GeoPoint> DatumConverter::ToWgs84(GeoPoint device, bool* outsideArea) const
{
    const bool outside = datum == DeviceDatum::tokyo && !InAreaOfUse(device);
    if (outsideArea)
        *outsideArea = outside;
    if (datum == DeviceDatum::wgs84 || outside)
        return device;
    if (!error.empty())
        return std::nullopt;
    return Shift(device, true);
}

std::optional<GeoPoint> DatumConverter::FromWgs84(GeoPoint wgs84, bool* outsideArea) const
{
    if (outsideArea)
        *outsideArea = false;
    if (datum == DeviceDatum::wgs84)
        return wgs84;
    if (!error.empty())
        return std::nullopt;
    // The operation keeps the ellipsoidal height of its input, so its inverse does not
    // quite undo the forward shift: by a few millimetres, enough to cross a 1/250 s step.
    // Corrections by the forward shift make the way back its exact inverse, so a stored
    // position always comes back to the same value. Each correction shrinks the error a
    // hundred-thousandfold: one is enough once the error is below a centimetre.
    constexpr double kSmall = 1e-7;  // degrees, about a centimetre
    std::optional<GeoPoint> device = Shift(wgs84, false);
    for (int i = 0; device && i < 4; ++i) {
        const std::optional<GeoPoint> there = Shift(*device, true);
        if (!there) {
            device.reset();
            break;
        }
        const double dLat = wgs84.latitude - there->latitude;
        const double dLon = wgs84.longitude - there->longitude;
        device->latitude += dLat;
        device->longitude += dLon;
        if (std::abs(dLat) < kSmall && std::abs(dLon) < kSmall)
            break;
    }
    // Whether the position is stored inside the area is what the way there asks, so the
    // same is asked of the position rounded to the steps it will be stored in.
    auto stored = [](double degrees) {
        return static_cast<double>(std::llround(degrees * kStepsPerDegree)) / kStepsPerDegree;
    };
    if (device && InAreaOfUse({stored(device->latitude), stored(device->longitude)}))
        return device;
    // A stored position outside the area was written unshifted: take it back as it is.
    // Along the area's edges, all at sea, a band a few hundred metres wide outside it holds
    // positions that the shift of a point just inside also reaches; they read back as that
    // point unless the file keeps the stored coordinates (ExchangeConverter looks).
    if (InAreaOfUse(wgs84) && !device)
        return std::nullopt;
    if (outsideArea)
        *outsideArea = true;
    return wgs84;
}

std::optional<DeviceDatum> DatumConverter::FromName(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "tokyo")
        return DeviceDatum::tokyo;
    if (lower == "wgs84")
        return DeviceDatum::wgs84;
    return std::nullopt;
}

const char* DatumConverter::Name(DeviceDatum datum) { return datum == DeviceDatum::tokyo ? "tokyo" : "wgs84"; }

double DatumConverter::Degrees(std::int32_t value, std::uint8_t fraction)
{
    // Counted in 1/1000 s, both parts are whole numbers: a quarter second is 250 and a
    // fraction step 4.
    const double milliseconds = static_cast<double>(value) * 250.0 + static_cast<double>(fraction) * 4.0;
    return milliseconds / 3600000.0;
}

std::optional<Coordinate> DatumConverter::FromDegrees(double degrees)
{
    if (!std::isfinite(degrees) || degrees < 0 || degrees > kLargestDegrees)
        return std::nullopt;
    const std::int64_t steps = std::llround(degrees * kStepsPerDegree);
    Coordinate c;
    c.value = static_cast<std::int32_t>(steps / kStepsPerSecond) * kQuartersPerSecond;
    c.fraction = static_cast<std::uint8_t>(steps % kStepsPerSecond);
    if (c.value > 16777215)
        return std::nullopt;
    return c;
}

}  // namespace tovik
