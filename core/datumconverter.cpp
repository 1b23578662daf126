#include "core/datumconverter.h"

#include <proj.h>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace tovik {

namespace {

// Stored coordinates count quarter seconds plus a fraction byte of 1/250 s.
constexpr double kStepsPerDegree = 3600.0 * 250.0;
constexpr std::int64_t kStepsPerSecond = 250;
constexpr std::int32_t kQuartersPerSecond = 4;
// The 24-bit field holds up to 16,777,215 quarter seconds, about 1165 degrees.
constexpr double kLargestDegrees = 16777215.0 / 4.0 / 3600.0;

// PROJ 9.1 reads "EPSG:nnnn" given to proj_create as a CRS only; an operation is taken
// from the database by its code.
PJ* CreateOperation(PJ_CONTEXT* context, const char* name)
{
    const std::string code = std::string(name).substr(std::string(name).find(':') + 1);
    return proj_create_from_database(context, "EPSG", code.c_str(), PJ_CATEGORY_COORDINATE_OPERATION, 0,
                                     nullptr);
}

}  // namespace

struct DatumConverter::Proj {
    PJ_CONTEXT* context = nullptr;
    PJ* operation = nullptr;
    ~Proj()
    {
        if (operation)
            proj_destroy(operation);
        if (context)
            proj_context_destroy(context);
    }
};

DatumConverter::DatumConverter(DeviceDatum datum) : datum(datum)
{
    if (datum == DeviceDatum::wgs84)
        return;
    proj = std::make_unique<Proj>();
    proj->context = proj_context_create();
    if (!proj->context) {
        error = "PROJ could not start";
        return;
    }
    // A missing grid is an expected case here, not something to print.
    proj_log_level(proj->context, PJ_LOG_NONE);
    if (PJ* grid = CreateOperation(proj->context, kGridOperation)) {
        if (proj_coordoperation_is_instantiable(proj->context, grid)) {
            proj->operation = grid;
            operation = kGridOperation;
        } else {
            proj_destroy(grid);
        }
    }
    if (!proj->operation) {
        proj->operation = CreateOperation(proj->context, kThreeParameterOperation);
        operation = kThreeParameterOperation;
    }
    if (!proj->operation) {
        error = std::string("PROJ has no operation ") + kThreeParameterOperation + ": " +
                proj_context_errno_string(proj->context, proj_context_errno(proj->context)) +
                " (is proj-data installed?)";
        operation.clear();
    }
}

DatumConverter::~DatumConverter() = default;

std::optional<GeoPoint> DatumConverter::Transform(GeoPoint in, bool forward) const
{
    if (datum == DeviceDatum::wgs84)
        return in;
    if (!proj || !proj->operation)
        return std::nullopt;
    // The EPSG operations take their axes as the EPSG geographic CRSs define them:
    // latitude first, in degrees.
    PJ_COORD c = proj_coord(in.latitude, in.longitude, 0, 0);
    proj_errno_reset(proj->operation);
    const PJ_COORD out = proj_trans(proj->operation, forward ? PJ_FWD : PJ_INV, c);
    if (proj_errno(proj->operation) != 0 || !std::isfinite(out.v[0]) || !std::isfinite(out.v[1]) ||
        out.v[0] == HUGE_VAL || out.v[1] == HUGE_VAL)
        return std::nullopt;
    return GeoPoint{out.v[0], out.v[1]};
}

std::optional<GeoPoint> DatumConverter::ToWgs84(GeoPoint device) const { return Transform(device, true); }

std::optional<GeoPoint> DatumConverter::FromWgs84(GeoPoint wgs84) const
{
    // The operation keeps the ellipsoidal height of its input, so its inverse does not
    // quite undo the forward shift: in Japan by a few millimetres, far from it by more
    // than the device's 1/250 s. Corrections by the forward shift make the way back its
    // exact inverse, so a stored position always comes back to the same value. Each
    // correction shrinks the error a hundred-thousandfold: one is enough once the error
    // is below a centimetre.
    constexpr double kSmall = 1e-7;  // degrees, about a centimetre
    std::optional<GeoPoint> device = Transform(wgs84, false);
    for (int i = 0; device && i < 4; ++i) {
        const std::optional<GeoPoint> there = Transform(*device, true);
        if (!there)
            return std::nullopt;
        const double dLat = wgs84.latitude - there->latitude;
        const double dLon = wgs84.longitude - there->longitude;
        device->latitude += dLat;
        device->longitude += dLon;
        if (std::abs(dLat) < kSmall && std::abs(dLon) < kSmall)
            break;
    }
    return device;
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
