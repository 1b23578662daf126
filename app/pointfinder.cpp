// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pointfinder.h"

#include <QKeyEvent>

#include "app/mainlayout.h"
#include "app/pointdocument.h"
#include "editing/rowselection.h"
#include "platform/kanafold.h"
#include "platform/rowrecord.h"
#include "widgets/pointlistctrl.h"

namespace tovik {

PointFinder::PointFinder(PointDocument& document, PointListCtrl& editList, PointListCtrl& targetList,
                         MainLayout& layout, QWidget& client)
    : document(document), editList(editList), targetList(targetList), layout(layout), field(&client)
{
    field.hide();
    field.setPlaceholderText(QStringLiteral("名称か読みで検索"));
    field.setAccessibleName(QStringLiteral("検索"));
    field.setAccessibleDescription(
        QStringLiteral("名称か読みにこの文字を含む地点だけを一覧に表示します。Esc で全て表示に戻ります。"));
    field.installEventFilter(this);
    connect(&field, &QLineEdit::textChanged, this, [this] { Apply(); });
    layout.SetFindField(field);
}

void PointFinder::Watch()
{
    if (watching)
        return;
    watching = true;
    // Connected once the lists are set up, so that they have shown a new book's rows
    // before the text is looked for in them.
    connect(&document.Model(), &QAbstractItemModel::modelReset, this, [this] { Apply(); });
    connect(&document.Selection(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (const int row = RowSelection::Selected(document.Selection()); row >= 0 && !IsShown(row))
            SetShown(row, true);
    });
}

void PointFinder::Open()
{
    Watch();
    layout.ShowFind(true);
    field.setFocus(Qt::ShortcutFocusReason);
    field.selectAll();
}

void PointFinder::Close()
{
    const bool hadFocus = field.hasFocus();
    field.clear();
    layout.ShowFind(false);
    if (hadFocus)
        CurrentList().setFocus(Qt::OtherFocusReason);
}

bool PointFinder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &field || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int pressed = static_cast<QKeyEvent*>(event)->key();
    if (pressed == Qt::Key_Escape) {
        Close();
        return true;
    }
    if (pressed == Qt::Key_Return || pressed == Qt::Key_Enter) {
        // Return goes to what was found: the selected point, or else the first shown one.
        if (key.isEmpty()) {
            Close();
            return true;
        }
        const std::vector<int> rows = ShownRows();
        if (RowSelection::Selected(document.Selection()) < 0 && !rows.empty())
            RowSelection::Select(document.Selection(), rows.front());
        CurrentList().setFocus(Qt::OtherFocusReason);
        RevealSelected();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PointFinder::Apply()
{
    key = KanaFold::Fold(field.text());
    QItemSelectionModel& selection = document.Selection();
    const int count = document.Model().rowCount();
    for (int row = 0; row < count; ++row) {
        const bool shown = key.isEmpty() || Matches(row);
        if (!shown && selection.isRowSelected(row, QModelIndex()))
            selection.clear();
        else if (!shown && selection.currentIndex().row() == row)
            selection.clearCurrentIndex();
        SetShown(row, shown);
    }
}

bool PointFinder::Matches(int row) const
{
    const PointBookModel& model = document.Model();
    for (const int text : {RowRecord::name, RowRecord::reading}) {
        if (KanaFold::Fold(model.index(row, text).data().toString()).contains(key))
            return true;
    }
    return false;
}

void PointFinder::SetShown(int row, bool shown)
{
    editList.setRowHidden(row, !shown);
    targetList.setRowHidden(row, !shown);
}

bool PointFinder::IsShown(int row) const { return !editList.isRowHidden(row); }

std::vector<int> PointFinder::ShownRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < document.Model().rowCount(); ++row) {
        if (IsShown(row))
            rows.push_back(row);
    }
    return rows;
}

std::vector<int> PointFinder::Shown(const std::vector<int>& rows) const
{
    std::vector<int> shown;
    for (const int row : rows) {
        if (IsShown(row))
            shown.push_back(row);
    }
    return shown;
}

int PointFinder::ShownNeighbour(int row, int step) const
{
    const int count = document.Model().rowCount();
    for (row += step; row >= 0 && row < count; row += step) {
        if (IsShown(row))
            return row;
    }
    return -1;
}

PointListCtrl& PointFinder::CurrentList()
{
    return layout.CurrentView() == MainLayout::View::edit ? editList : targetList;
}

void PointFinder::RevealSelected()
{
    if (const int row = RowSelection::Selected(document.Selection()); row >= 0)
        CurrentList().scrollTo(document.Model().index(row, 0));
}

}  // namespace tovik
