// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/geopoint.h"

namespace tovik {

// The grid operation EPSG:6712 (Tokyo to JGD2000 through the GSI's grid tky2jgd.gsb) run by
// PROJ, where the user has installed the grid. PROJ is a large library with a long tail of
// dependencies, so it is opened here, when such a converter is made, and never linked: the
// search for the grid looks in PROJ's folders without it.
class ProjGrid {
public:
    static constexpr const char* kGridFile = "tky2jgd.gsb";
    // The library of the PROJ whose proj.h this is built with, by its SONAME (libproj.so.25
    // from Debian 12's libproj25).
    static const char* const kLibrary;

    // The folders PROJ looks for grids in, in its order: the user's ($XDG_DATA_HOME/proj or
    // ~/.local/share/proj, unless PROJ_SKIP_READ_USER_WRITABLE_DIRECTORY is set), then those
    // of PROJ_DATA (or the older PROJ_LIB), or else the installed /usr/share/proj.
    static std::vector<std::string> SearchFolders();
    // The grid's path in the first folder that holds it; empty when none does.
    static std::string FindGrid();

    // Opens PROJ and sets up the operation; Error() says why it could not.
    ProjGrid();
    ~ProjGrid();
    ProjGrid(const ProjGrid&) = delete;
    ProjGrid& operator=(const ProjGrid&) = delete;

    const std::string& Error() const { return error; }
    // Nothing where PROJ cannot convert the position (outside the grid, for one).
    std::optional<GeoPoint> Transform(GeoPoint in, bool forward) const;

private:
    struct Proj;

    std::unique_ptr<Proj> proj;
    std::string error;
};

}  // namespace tovik
