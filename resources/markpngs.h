// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace tovik {

// The mark icons as 32x32 PNG files, built into the program: what an exported KMZ
// carries so that map programs show the device's marks. Needs only Qt Core.
class MarkPngs {
public:
    // The PNG bytes of mark 0 to 25; empty for any other number.
    static QByteArray Png(int mark);
};

}  // namespace tovik
