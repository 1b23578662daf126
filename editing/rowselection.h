// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QItemSelectionModel;

namespace tovik {

// The selected point of the lists of the edited book, which share one selection: the
// rows as the commands select them.
class RowSelection {
public:
    // The first selected row, or -1.
    static int Selected(const QItemSelectionModel& selection);
    // Selects and focuses `row`; no other row stays selected. A row that does not exist
    // changes nothing.
    static void Select(QItemSelectionModel& selection, int row);
    // Exactly `row` selected and focused, or nothing for -1.
    static void Restore(QItemSelectionModel& selection, int row);
};

}  // namespace tovik
