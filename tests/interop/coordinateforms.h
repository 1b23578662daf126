// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

namespace tovik::test {

// Coordinates as map sites, spreadsheets, other programs and the device write them, and
// what a CSV cell holding one must give: degrees, or a refusal (`ambiguous` when the text
// could mean two places).
struct CoordinateForm {
    const char* text;
    std::optional<double> degrees;
    bool ambiguous = false;
};

inline const std::vector<CoordinateForm>& CoordinateForms()
{
    constexpr double seconds = 35 + 39 / 60.0 + 31.5 / 3600;  // 35°39′31.5″
    static const std::vector<CoordinateForm> forms{
        {"35.681236", 35.681236},
        {" 35.39.31.500", seconds},  // the device's own dotted form: milliseconds
        {"35.39.31.4", 35 + 39 / 60.0 + 31.004 / 3600},
        {"35.39.31", 35 + 39 / 60.0 + 31 / 3600.0},
        {"35 39 31 500", seconds},
        {"35:39:31.500", seconds},  // a decimal part and milliseconds agree
        {"35'39'31", 35 + 39 / 60.0 + 31 / 3600.0},
        {"35°39'31\"", 35 + 39 / 60.0 + 31 / 3600.0},
        {"35°39′31.5″", seconds},  // unit signs: decimal seconds
        {"35°39'31.5\"", seconds},
        {"N35°39'31.5\"", seconds},
        {"35° 39′ 31.5″ N", seconds},
        {"S35°39'31.5\"", -seconds},
        {"35°39.525′", seconds},
        {"北緯35度39分31.5秒", seconds},
        {"35°39'31.5''", seconds},
        {"35.658750°", 35.65875},
        {"35:39:31.5", std::nullopt, true},  // 31.5 s or 31 s 5 ms
        {"35 39 31.5", std::nullopt, true},
        {"35 39.31", std::nullopt, true},  // 39.31′ or 39′31″
        {"35 39 31 5", std::nullopt, true},
        {"35°39.5′31″", std::nullopt},  // a decimal part before the last unit
        {"35°75′", std::nullopt},
        {"39′31″", std::nullopt},
        {"N-35.5", std::nullopt},
        {"north", std::nullopt},
    };
    return forms;
}

}  // namespace tovik::test
