// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

namespace tovik {

// A report list: a view of a table model's rows under column headings, with a check box
// and an image in front of each row, grid lines and whole-row selection. Rows are
// addressed by index. The models give the image index of a row under kImageRole.
class ListBase : public QTableView {
    Q_OBJECT
public:
    static constexpr int kImageRole = Qt::UserRole + 1;

    enum class Selection { single, multiple };

    struct ItemState {
        bool selected = false;
        bool focused = false;
        bool checked = false;
        int image = 0;
    };

    ListBase(Selection selection, QWidget* parent = nullptr);

    // Shows `model`; lists that show the same rows share `selection` (the list's own
    // selection when none is given).
    void SetModel(QAbstractItemModel* model, QItemSelectionModel* selection = nullptr);

    int GetColumnCount() const;
    int GetItemCount() const;
    QString GetItemText(int row, int column) const;

    // The first selected row after `start` (-1 searches from the top), or -1.
    int GetNextSelected(int start) const;
    int GetSelectedCount() const;
    // The selected rows, top to bottom.
    std::vector<int> SelectedRows() const;
    // Selects and focuses a row; in a single-selection list the others lose the selection.
    void SelectItem(int row);
    ItemState GetItemState(int row) const;
    bool GetCheck(int row) const;
    void SetCheck(int row, bool checked);
    int GetImage(int row) const;

    void SetColors(const QColor& background, const QColor& text);

signals:
    // A click or a double click of the left button anywhere in the list.
    void Clicked();
    void DoubleClicked();

protected:
    // Home, End, Page Up and Page Down go to rows, as in every list of rows.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Selection selection;
};

}  // namespace tovik
