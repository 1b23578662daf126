#include "pointlistctrl.h"

namespace tovik {

PointListCtrl::PointListCtrl(QWidget* parent) : ListBase(Selection::single, parent) {}

int PointListCtrl::FindSelectedItem(int start) const { return GetNextSelected(start - 1); }

}  // namespace tovik
