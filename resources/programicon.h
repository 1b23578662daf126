// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPixmap>

namespace tovik {

// The editor's own icon, drawn in code at 16, 32, 48, 64, 128 and 256 pixels.
QIcon ProgramIcon();
// The icon drawn for a square of `size` pixels; small sizes get a simpler design.
QPixmap ProgramPixmap(int size);
// The design of the large sizes as an SVG document, from the same outlines.
QByteArray ProgramIconSvg();

}  // namespace tovik
