#pragma once

#include "listbase.h"

namespace tovik {

// A list of the edited book's points, one selected at a time.
class PointListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit PointListCtrl(QWidget* parent = nullptr);

    // The first selected row at or after `start`, or -1.
    int FindSelectedItem(int start) const;
};

}  // namespace tovik
