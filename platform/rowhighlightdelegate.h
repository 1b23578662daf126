// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace tovik {

// Draws one row of a list in the highlight colours, whatever its selection: the row a
// dragged point would be put in front of.
class RowHighlightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // -1 for none.
    void SetRow(int row) { highlighted = row; }
    int Row() const { return highlighted; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    int highlighted = -1;
};

}  // namespace tovik
