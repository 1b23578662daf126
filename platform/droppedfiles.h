// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDropEvent;
class QMimeData;

namespace tovik {

// Files dropped from the desktop: only the last one of a drop counts, with its whole path.
class DroppedFiles {
public:
    // The last local file of the drop, or an empty text when it brings none.
    static QString Last(const QMimeData* mime);
    // Accepts a drag entering or moving over a window when it brings a file, refuses it
    // otherwise.
    static void AcceptIfFile(QDropEvent* event);
    // The file of a drop, accepting the drop; an empty text, refusing it, when it brings none.
    static QString Take(QDropEvent* event);
};

}  // namespace tovik
