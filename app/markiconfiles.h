// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>

namespace tovik {

// The 26 mark icons, read from the files mark00.ico to mark25.ico: each from the first
// data folder (the current one first) that holds a readable file of its name, in both
// sizes the lists use; a mark found nowhere is a grey square.
class MarkIconFiles {
public:
    // Fills `large` (32 px) and `small` (16 px) so that index k is mark k.
    static void Load(QList<QIcon>& large, QList<QIcon>& small);
};

}  // namespace tovik
