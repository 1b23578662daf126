#include "platform/listbase.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace tovik {

namespace {
constexpr int kImageRole = Qt::UserRole + 1;
}

ListBase::ListBase(Selection selection, QWidget* parent) : QTableWidget(parent), selection(selection)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(selection == Selection::single ? QAbstractItemView::SingleSelection
                                                    : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setFrameShape(QFrame::StyledPanel);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), 16) + 2);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // Right of the last column the header shows its own face, not the window behind it.
    QPalette header = horizontalHeader()->palette();
    header.setColor(QPalette::Window, header.color(QPalette::Button));
    header.setColor(QPalette::Base, header.color(QPalette::Button));
    horizontalHeader()->setPalette(header);
    horizontalHeader()->setAutoFillBackground(true);
    horizontalHeader()->viewport()->setAutoFillBackground(true);
    // Tab moves on to the next control; the arrow keys move within the list.
    setTabKeyNavigation(false);
    // The lists scroll only as the program asks, never because a pointer lingers at an edge.
    setAutoScroll(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { StateChanged(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { StateChanged(); });
}

void ListBase::StateChanged()
{
    if (restructuring == 0)
        emit RowStateChanged();
}

void ListBase::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QTableWidget::dataChanged(topLeft, bottomRight, roles);
    if (roles.isEmpty() || roles.contains(Qt::CheckStateRole))
        StateChanged();
}

void ListBase::InsertColumn(int index, const QString& heading, int width)
{
    insertColumn(index);
    setHorizontalHeaderItem(index, new QTableWidgetItem(heading));
    setColumnWidth(index, width);
}

QTableWidgetItem* ListBase::FirstCell(int row) const { return item(row, 0); }

int ListBase::InsertItem(int index, const QString& text, int image)
{
    const Restructuring restructure(*this);
    const int row = std::clamp(index, 0, rowCount());
    insertRow(row);
    for (int c = 0; c < columnCount(); ++c) {
        auto* cell = new QTableWidgetItem(c == 0 ? text : QString());
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                       (c == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
        if (c == 0)
            cell->setCheckState(Qt::Unchecked);
        setItem(row, c, cell);
    }
    SetImage(row, image);
    return row;
}

void ListBase::DeleteItem(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const Restructuring restructure(*this);
    // The view would select the row that takes the current place; the selection is
    // the program's to set.
    std::vector<int> selected;
    for (int r = GetNextSelected(-1); r >= 0; r = GetNextSelected(r)) {
        if (r != row)
            selected.push_back(r > row ? r - 1 : r);
    }
    removeRow(row);
    selectionModel()->clearSelection();
    for (int r : selected)
        selectionModel()->select(model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ListBase::DeleteAllItems()
{
    const Restructuring restructure(*this);
    setRowCount(0);
}

QString ListBase::GetItemText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void ListBase::SetItemText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
}

int ListBase::GetNextSelected(int start) const
{
    for (int row = std::max(start + 1, 0); row < rowCount(); ++row) {
        if (selectionModel()->isRowSelected(row, QModelIndex()))
            return row;
    }
    return -1;
}

int ListBase::GetSelectedCount() const
{
    int n = 0;
    for (int row = 0; row < rowCount(); ++row)
        n += selectionModel()->isRowSelected(row, QModelIndex()) ? 1 : 0;
    return n;
}

void ListBase::SelectItem(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    ItemState state = GetItemState(row);
    state.selected = true;
    state.focused = true;
    SetItemState(row, state);
}

ListBase::ItemState ListBase::GetItemState(int row) const
{
    ItemState state;
    if (row < 0 || row >= rowCount())
        return state;
    state.selected = selectionModel()->isRowSelected(row, QModelIndex());
    state.focused = currentIndex().isValid() && currentIndex().row() == row;
    state.checked = GetCheck(row);
    state.image = GetImage(row);
    return state;
}

void ListBase::SetItemState(int row, const ItemState& state)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    const auto rows = QItemSelectionModel::Rows;
    if (state.selected) {
        selectionModel()->select(index, (selection == Selection::single ? QItemSelectionModel::ClearAndSelect
                                                                         : QItemSelectionModel::Select) | rows);
    } else {
        selectionModel()->select(index, QItemSelectionModel::Deselect | rows);
    }
    if (state.focused)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    SetCheck(row, state.checked);
    SetImage(row, state.image);
}

bool ListBase::GetCheck(int row) const
{
    const QTableWidgetItem* cell = FirstCell(row);
    return cell && cell->checkState() == Qt::Checked;
}

void ListBase::SetCheck(int row, bool checked)
{
    if (QTableWidgetItem* cell = FirstCell(row))
        cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int ListBase::GetImage(int row) const
{
    const QTableWidgetItem* cell = FirstCell(row);
    return cell ? cell->data(kImageRole).toInt() : 0;
}

void ListBase::SetImage(int row, int image)
{
    QTableWidgetItem* cell = FirstCell(row);
    if (!cell)
        return;
    cell->setData(kImageRole, image);
    const bool known = imageList && image >= 0 && image < imageList->size();
    cell->setIcon(known ? imageList->at(image) : QIcon());
}

void ListBase::SetColors(const QColor& background, const QColor& text)
{
    QPalette p = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, background);
        p.setColor(group, QPalette::AlternateBase, background);
        p.setColor(group, QPalette::Text, text);
    }
    setPalette(p);
}

void ListBase::SetImageList(const QList<QIcon>* images)
{
    imageList = images;
    for (int row = 0; row < rowCount(); ++row)
        SetImage(row, GetImage(row));
}

void ListBase::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

void ListBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

}  // namespace tovik
