// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>

namespace tovik {

// The cursors of a drag out of the import list, drawn in black and white at 32 x 32.
enum class DragCursor {
    arrow = 104,         // plain arrow, after the button is released
    copyOne = 105,       // arrow, plus sign and one sheet: one row can be dropped here
    forbidden = 106,     // circle with a bar: nothing can be dropped here
    copySeveral = 144,   // arrow, plus sign and two sheets: several rows can be dropped here
};

QCursor MakeDragCursor(DragCursor which);

}  // namespace tovik
