// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rowhighlightdelegate.h"

namespace tovik {

void RowHighlightDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.row() != highlighted)
        return;
    option->backgroundBrush = option->palette.brush(QPalette::Highlight);
    option->palette.setBrush(QPalette::Text, option->palette.brush(QPalette::HighlightedText));
}

}  // namespace tovik
