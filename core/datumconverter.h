#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/fieldencoding.h"

namespace tovik {

// The datum the device's coordinates are in. Car navigation devices of this generation
// keep the old Japanese (Tokyo) datum; every exchange format is WGS 84.
enum class DeviceDatum { tokyo, wgs84 };

// A position in decimal degrees, north latitude and east longitude.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// Converts positions between the device datum and WGS 84 through PROJ, and between the
// device's stored coordinates and decimal degrees.
//
// Tokyo goes to WGS 84 by the operation EPSG:15484 (the GSI three-parameter Helmert
// shift, about 1 m in Japan) and comes back by its inverse. Asking PROJ for "the best
// operation from EPSG:4301 to EPSG:4326" instead would pick the Korean transformation
// inside South Korea's area of use, which reaches into northern Kyushu. Where PROJ finds
// the grid tky2jgd.gsb, the grid operation EPSG:6712 (Tokyo to JGD2000, which equals
// WGS 84 at the device's precision) is used instead.
class DatumConverter {
public:
    static constexpr const char* kThreeParameterOperation = "EPSG:15484";
    static constexpr const char* kGridOperation = "EPSG:6712";

    explicit DatumConverter(DeviceDatum datum);
    ~DatumConverter();
    DatumConverter(const DatumConverter&) = delete;
    DatumConverter& operator=(const DatumConverter&) = delete;

    DeviceDatum Datum() const { return datum; }
    // Why PROJ could not set up the conversion; empty when it did.
    const std::string& Error() const { return error; }
    // The operation in use: "EPSG:15484", "EPSG:6712", or empty for WGS 84 (no shift).
    const std::string& Operation() const { return operation; }

    // Nothing when PROJ cannot convert the position.
    std::optional<GeoPoint> ToWgs84(GeoPoint device) const;
    std::optional<GeoPoint> FromWgs84(GeoPoint wgs84) const;

    // "tokyo" and "wgs84" (in any case); nothing for any other text.
    static std::optional<DeviceDatum> FromName(std::string_view name);
    static const char* Name(DeviceDatum datum);

    // A stored coordinate (quarter arc-seconds and 1/250 s) in decimal degrees.
    static double Degrees(std::int32_t value, std::uint8_t fraction);
    // Decimal degrees rounded to the device's 1/250 s: whole seconds in the value and the
    // rest in the fraction (0 to 249). Degrees below 0 give nothing.
    static std::optional<Coordinate> FromDegrees(double degrees);

private:
    struct Proj;

    std::optional<GeoPoint> Transform(GeoPoint in, bool forward) const;

    DeviceDatum datum;
    std::unique_ptr<Proj> proj;
    std::string operation;
    std::string error;
};

}  // namespace tovik
