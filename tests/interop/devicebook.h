// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/pointentry.h"

namespace tovik::test {

// A book that uses every field the device stores: CP932 names with NEC and IBM extension
// characters (some of which have a second code), 16-byte names, a name cut inside a
// character, telephone numbers of every length, every mark 0 to 25 and beyond, distances
// and categories, and coordinates with quarter seconds and fractions of 250 and more.
std::vector<PointEntry> EveryFieldPoints();

}  // namespace tovik::test
