#pragma once

#include "listbase.h"
#include "pointbook.h"
#include "rowrecord.h"

namespace tovik {

// The list of the file-import view: the points of a second .mem file, dropped on the
// list, held in a book of its own. Several rows may be selected for the transfer.
class ImportListCtrl : public ListBase {
    Q_OBJECT
public:
    explicit ImportListCtrl(PointBook::MessageSink sink, QWidget* parent = nullptr);

    // Loads the file into the import book and shows its points; a file that does not
    // load leaves book and rows as they were.
    int LoadFile(const QString& path);
    void InsertRow(int index, const RowRecord& row);
    QString GetCellText(int row, int column) const { return GetItemText(row, column); }
    // The six column texts of a row; the distance and category texts come back empty.
    void GetRowTexts(int row, RowRecord& out) const;

    const PointBook& ImportBook() const { return importBook; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    PointBook importBook;
};

}  // namespace tovik
