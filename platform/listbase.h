#pragma once

#include <QIcon>
#include <QList>
#include <QTableWidget>

namespace tovik {

// A report list: rows of texts under column headings, with a check box and an image in
// front of each row, grid lines and whole-row selection. Rows are addressed by index.
class ListBase : public QTableWidget {
    Q_OBJECT
public:
    enum class Selection { single, multiple };

    struct ItemState {
        bool selected = false;
        bool focused = false;
        bool checked = false;
        int image = 0;
    };

    ListBase(Selection selection, QWidget* parent = nullptr);

    void InsertColumn(int index, const QString& heading, int width);
    int GetColumnCount() const { return columnCount(); }

    // Inserts a row at `index` (an index past the last row appends) with the text of its
    // first column and its image index; returns the new row's index. The check box is clear.
    int InsertItem(int index, const QString& text, int image);
    void DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const { return rowCount(); }

    QString GetItemText(int row, int column) const;
    void SetItemText(int row, int column, const QString& text);

    // The first selected row after `start` (-1 searches from the top), or -1.
    int GetNextSelected(int start) const;
    int GetSelectedCount() const;
    // Selects and focuses a row; in a single-selection list the others lose the selection.
    void SelectItem(int row);
    ItemState GetItemState(int row) const;
    void SetItemState(int row, const ItemState& state);
    bool GetCheck(int row) const;
    void SetCheck(int row, bool checked);
    int GetImage(int row) const;
    void SetImage(int row, int image);

    void SetColors(const QColor& background, const QColor& text);
    // Images shown beside the rows, by image index; the list does not own them.
    void SetImageList(const QList<QIcon>* images);

signals:
    // A click or a double click of the left button anywhere in the list.
    void Clicked();
    void DoubleClicked();
    // The selection, the focused row or a check box changed, by the user or the program,
    // other than by rows being inserted, moved or deleted.
    void RowStateChanged();

protected:
    // Held while rows are inserted, moved or deleted: the states that shift with the rows
    // are no change of their own.
    class Restructuring {
    public:
        explicit Restructuring(ListBase& list) : list(list) { ++list.restructuring; }
        ~Restructuring() { --list.restructuring; }
        Restructuring(const Restructuring&) = delete;
        Restructuring& operator=(const Restructuring&) = delete;

    private:
        ListBase& list;
    };

    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    QTableWidgetItem* FirstCell(int row) const;
    void StateChanged();

    Selection selection;
    int restructuring = 0;
    const QList<QIcon>* imageList = nullptr;
};

}  // namespace tovik
