// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "core/pointentry.h"

namespace tovik::fuzz {

// Stops the run with a crash the fuzzer records.
inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// A point as a slot gives it back: texts end at 16 bytes or at a zero byte, the sixth
// telephone byte is not stored, coordinates keep 24 bits.
inline PointEntry AsStored(PointEntry e)
{
    for (std::string* text : {&e.name, &e.reading})
        text->resize(std::min({text->size(), std::size_t{16}, text->find('\0')}));
    e.telephone[5] = 0xFF;
    e.longitude &= 0xFFFFFF;
    e.latitude &= 0xFFFFFF;
    return e;
}

}  // namespace tovik::fuzz
