// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/fieldencoding.h"
#include "core/geopoint.h"

namespace tovik {

class ProjGrid;

// The datum the device's coordinates are in. Car navigation devices of this generation
// keep the old Japanese (Tokyo) datum; every exchange format is WGS 84.
enum class DeviceDatum { tokyo, wgs84 };

// Converts positions between the device datum and WGS 84, and between the device's stored
// coordinates and decimal degrees.
//
// Tokyo goes to WGS 84 by the operation EPSG:15484 (the GSI three-parameter shift, about
// 1 m in Japan), computed here as PROJ computes it, and comes back by its inverse. Where the
// grid tky2jgd.gsb is installed for PROJ, PROJ is opened and runs the grid operation
// EPSG:6712 (Tokyo to JGD2000, which equals WGS 84 at the device's precision) instead.
//
// Both are defined for Japan with its outlying islands only: a position outside that area
// of use (the device's empty 0/0 among them) is taken as it is, in both directions, so that
// it comes back unchanged and is never moved by a shift meant for somewhere else.
class DatumConverter {
public:
    static constexpr const char* kThreeParameterOperation = "EPSG:15484";
    static constexpr const char* kGridOperation = "EPSG:6712";

    // The area of use of both operations (EPSG area 3957), in degrees of the Tokyo datum.
    static constexpr double kSouth = 20.37, kNorth = 45.54, kWest = 122.83, kEast = 154.05;

    explicit DatumConverter(DeviceDatum datum);
    ~DatumConverter();
    DatumConverter(const DatumConverter&) = delete;
    DatumConverter& operator=(const DatumConverter&) = delete;

    DeviceDatum Datum() const { return datum; }
    // Why the conversion cannot work (PROJ could not be set up for the grid); empty when it can.
    const std::string& Error() const { return error; }
    // The operation in use: "EPSG:15484", "EPSG:6712", or empty for WGS 84 (no shift).
    const std::string& Operation() const { return operation; }

    // Nothing when the position cannot be converted (outside the grid, for one).
    // `outsideArea`, when given, tells whether the position of the Tokyo datum lies outside
    // the area of use and so went unshifted; it is false for a WGS 84 device.
    std::optional<GeoPoint> ToWgs84(GeoPoint device, bool* outsideArea = nullptr) const;
    std::optional<GeoPoint> FromWgs84(GeoPoint wgs84, bool* outsideArea = nullptr) const;

    static bool InAreaOfUse(GeoPoint tokyo);

    // "tokyo" and "wgs84" (in any case); nothing for any other text.
    static std::optional<DeviceDatum> FromName(std::string_view name);
    static const char* Name(DeviceDatum datum);

    // A stored coordinate (quarter arc-seconds and 1/250 s) in decimal degrees.
    static double Degrees(std::int32_t value, std::uint8_t fraction);
    // Decimal degrees rounded to the device's 1/250 s: whole seconds in the value and the
    // rest in the fraction (0 to 249). Degrees below 0 give nothing.
    static std::optional<Coordinate> FromDegrees(double degrees);

private:
    std::optional<GeoPoint> Shift(GeoPoint in, bool forward) const;

    DeviceDatum datum;
    std::unique_ptr<ProjGrid> grid;
    std::string operation;
    std::string error;
};

}  // namespace tovik
