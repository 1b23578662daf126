#pragma once

#include "platform/rowrecord.h"

namespace tovik {

// What the commands that change the edited book need of the window that shows it: the two
// lists of the book, addressed by the same row index as the book's entries, and the title.
class BookView {
public:
    virtual ~BookView() = default;

    virtual void InsertRow(int index, const RowRecord& row) = 0;
    virtual void DeleteRow(int index) = 0;
    virtual void MoveRow(int from, int to) = 0;
    // Shows the book's texts and mark image of entry `index` in its rows.
    virtual void ShowEntry(int index) = 0;
    // The row selected and focused in both lists (-1 for none), as the commands' described
    // steps select rows.
    virtual void SelectRow(int index) = 0;
    virtual int SelectedRow() const = 0;
    // Selects exactly `index`, or nothing for -1: the selection a step of the history had.
    virtual void RestoreSelection(int index) = 0;
    virtual bool RowChecked(int index) const = 0;
    virtual void SetRowChecked(int index, bool checked) = 0;
    virtual void UpdateTitle() = 0;
};

}  // namespace tovik
