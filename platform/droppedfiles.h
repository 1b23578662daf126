#pragma once

#include <QString>

class QMimeData;

namespace tovik {

// Files dropped from the desktop: only the last one of a drop counts, with its whole path.
class DroppedFiles {
public:
    // The last local file of the drop, or an empty text when it brings none.
    static QString Last(const QMimeData* mime);
};

}  // namespace tovik
