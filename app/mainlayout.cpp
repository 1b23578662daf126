// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainlayout.h"

#include "platform/dialogunits.h"
#include "platform/rowrecord.h"

namespace tovik {

namespace {

constexpr std::array<int, RowRecord::kColumns> kColumnWidths = {150, 120, 120, 60, 140, 120};

// Window rectangles with exclusive right and bottom edges, as the layout reckons them.
int Right(const QWidget& w) { return w.x() + w.width(); }
int Bottom(const QWidget& w) { return w.y() + w.height(); }
void MoveWindow(QWidget& w, int left, int top, int right, int bottom)
{
    w.setGeometry(left, top, right - left, bottom - top);
}

}  // namespace

MainLayout::MainLayout(const Controls& controls) : c(controls) {}

void MainLayout::Place(const QFont& font)
{
    const DialogUnits du(font);
    struct Place {
        QWidget* widget;
        int x, y, w, h;
        const char* name;
    };
    const Place places[] = {
        {&c.exitButton, 305, 191, 34, 14, "exitButton"},   {&c.editList, 2, 0, 299, 205, "List1"},
        {&c.addButton, 305, 34, 34, 14, "addButton"},      {&c.deleteButton, 305, 66, 34, 14, "deleteButton"},
        {&c.changeButton, 305, 2, 34, 14, "changeButton"}, {&c.importList, 2, 2, 131, 203, "List2"},
        {&c.targetList, 172, 2, 130, 203, "List3"},        {&c.transferButton, 138, 59, 25, 14, "transferButton"},
        {&c.markField, 138, 33, 25, 13, "markField"},      {&c.markSpin, 150, 30, 9, 14, "Spin1"},
        {&c.markCheck, 137, 8, 29, 8, "markCheck"},
    };
    QWidget* previous = nullptr;
    for (const Place& p : places) {
        p.widget->setGeometry(du.Rect(p.x, p.y, p.w, p.h));
        p.widget->setObjectName(QString::fromLatin1(p.name));
        if (previous)
            QWidget::setTabOrder(previous, p.widget);
        previous = p.widget;
    }
    // What a screen reader says of each control.
    const QString reorder = QStringLiteral("Alt+↑ と Alt+↓ で並べ替え、Enter で変更します。");
    c.editList.setAccessibleName(QStringLiteral("地点一覧"));
    c.editList.setAccessibleDescription(QStringLiteral("編集中のファイルの地点です。") + reorder);
    c.importList.setAccessibleName(QStringLiteral("取りこみファイルの地点"));
    c.importList.setAccessibleDescription(
        QStringLiteral("取りこむファイルの地点です。選んで Enter か >> で右の一覧へ写します。"));
    c.targetList.setAccessibleName(QStringLiteral("編集中の地点"));
    c.targetList.setAccessibleDescription(QStringLiteral("取りこみ先のファイルの地点です。") + reorder);
    c.transferButton.setAccessibleName(QStringLiteral("移動"));
    c.transferButton.setAccessibleDescription(QStringLiteral("選んだ地点を右の一覧へ写します。"));
    c.markField.setAccessibleName(QStringLiteral("マーク番号"));
    c.markField.setAccessibleDescription(QStringLiteral("MARK にチェックがあるとき、写す地点に付けるマーク (0～25)"));
    c.markSpin.setAccessibleName(QStringLiteral("マーク番号の増減"));
    c.markSpin.setAccessibleDescription(QStringLiteral("マーク番号を 1 ずつ増減します。"));
    for (QPushButton* b : {&c.exitButton, &c.addButton, &c.deleteButton, &c.changeButton, &c.transferButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    c.markCheck.setAutoFillBackground(true);
    c.client.resize(du.Rect(0, 0, 342, 208).size());
    if (findField) {
        findField->setGeometry(du.Rect(2, 0, 299, 12));
        findField->setObjectName(QStringLiteral("findField"));
        findGap = du.Rect(0, 0, 0, 2).height();
        QWidget::setTabOrder(&c.exitButton, findField);
        QWidget::setTabOrder(findField, &c.editList);
    }
}

void MainLayout::SetColumnWidths(ListBase& list)
{
    for (int column = 0; column < RowRecord::kColumns; ++column)
        list.setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
}

void MainLayout::ShowEditView()
{
    view = View::edit;
    for (QWidget* w : {static_cast<QWidget*>(&c.importList), static_cast<QWidget*>(&c.targetList),
                       static_cast<QWidget*>(&c.transferButton), static_cast<QWidget*>(&c.markField),
                       static_cast<QWidget*>(&c.markSpin), static_cast<QWidget*>(&c.markCheck)})
        w->hide();
    c.editList.show();
    PlaceFind();
}

void MainLayout::ShowImportView()
{
    view = View::import;
    c.editList.hide();
    for (QWidget* w : {static_cast<QWidget*>(&c.importList), static_cast<QWidget*>(&c.targetList),
                       static_cast<QWidget*>(&c.transferButton), static_cast<QWidget*>(&c.markCheck)})
        w->show();
    c.markField.setGeometry(c.markField.x(), c.markField.y(), c.transferButton.width(), c.markField.height());
    c.markSpin.SetBuddy(&c.markField);
    OnMarkCheck();
    PlaceFind();
}

void MainLayout::CaptureLayout()
{
    int previousBottom = 0;
    std::size_t k = 0;
    for (QWidget* b : {static_cast<QWidget*>(&c.changeButton), static_cast<QWidget*>(&c.addButton),
                       static_cast<QWidget*>(&c.deleteButton), static_cast<QWidget*>(&c.exitButton)}) {
        buttonSpacing[k++] = b->y() - previousBottom;
        previousBottom = Bottom(*b);
    }
    initialClientHeight = c.client.height();
    listTop = c.editList.y();
    listLeft = c.editList.x();
    bottomMargin = c.client.height() - Bottom(c.editList);
    rightMargin = c.client.width() - Right(c.editList);
    listButtonGap = c.changeButton.x() - Right(c.editList);
}

void MainLayout::PlaceButton(QWidget& button, const QRect& list, int& y, int offset)
{
    const int left = list.x() + list.width() + listButtonGap;
    MoveWindow(button, left, y + offset, left + button.width(), y + offset + button.height());
    y = Bottom(button);
}

void MainLayout::OnSize()
{
    if (!layoutReady) {
        layoutReady = true;
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(&c.markCheck), static_cast<QWidget*>(&c.transferButton),
                       static_cast<QWidget*>(&c.markSpin), static_cast<QWidget*>(&c.markField),
                       static_cast<QWidget*>(&c.changeButton), static_cast<QWidget*>(&c.addButton),
                       static_cast<QWidget*>(&c.deleteButton), static_cast<QWidget*>(&c.exitButton)})
        w->hide();

    const int w = c.client.width();
    const int h = c.client.height();
    const double ratio = static_cast<double>(
        static_cast<unsigned>(h) * 10000u / static_cast<unsigned>(std::max(initialClientHeight, 1)));
    const int right = w - rightMargin;
    const int bottom = h - bottomMargin;
    const QRect list(listLeft, listTop, right - listLeft, bottom - listTop);

    MoveWindow(c.editList, listLeft, listTop, right, bottom);
    MoveWindow(c.importList, listLeft, listTop, right / 2 - 40, bottom);
    MoveWindow(c.targetList, right / 2 + 40, listTop, right, bottom);
    findShifts = {};
    if (findShown)
        ShiftBookLists(true);
    const int transferWidth = c.transferButton.width();
    const int middleLeft = right / 2 - transferWidth / 2;
    c.transferButton.move(middleLeft, c.transferButton.y());
    c.markCheck.move(middleLeft, c.markCheck.y());
    c.markField.setGeometry(middleLeft, c.markField.y(), transferWidth, c.markField.height());
    if (view == View::import) {
        c.markSpin.show();
        c.markSpin.SetBuddy(&c.markField);
    }

    int y = 0;
    std::size_t k = 0;
    for (QWidget* b : {static_cast<QWidget*>(&c.changeButton), static_cast<QWidget*>(&c.addButton),
                       static_cast<QWidget*>(&c.deleteButton)}) {
        const int offset = static_cast<int>(buttonSpacing[k++] * ratio * 0.0001);
        PlaceButton(*b, list, y, offset);
    }
    const double s = buttonSpacing[3] * ratio * 0.0001;
    const int t = bottom - c.exitButton.height();
    const int exitTop = t > y ? static_cast<int>(t - s) + static_cast<int>(s)
                              : static_cast<int>(y - s) + static_cast<int>(s);
    c.exitButton.move(right + listButtonGap, exitTop);

    if (view == View::import) {
        for (QWidget* shown : {static_cast<QWidget*>(&c.markCheck), static_cast<QWidget*>(&c.markSpin),
                           static_cast<QWidget*>(&c.markField), static_cast<QWidget*>(&c.transferButton),
                           static_cast<QWidget*>(&c.importList), static_cast<QWidget*>(&c.targetList)})
            shown->show();
        OnMarkCheck();
    } else {
        c.editList.show();
    }
    for (QWidget* b : {static_cast<QWidget*>(&c.changeButton), static_cast<QWidget*>(&c.addButton),
                       static_cast<QWidget*>(&c.deleteButton), static_cast<QWidget*>(&c.exitButton)})
        b->show();
    PlaceFind();
}

void MainLayout::OnMarkCheck()
{
    if (c.markCheck.isChecked()) {
        c.transferButton.show();
        c.markSpin.show();
        c.markField.show();
    } else {
        c.markSpin.hide();
        c.markField.hide();
    }
}

void MainLayout::SetFindField(QWidget& field) { findField = &field; }

int MainLayout::FindStrip() const { return findField ? findField->height() + findGap : 0; }

void MainLayout::ShowFind(bool shown)
{
    if (findField && shown != findShown) {
        findShown = shown;
        ShiftBookLists(shown);
    }
    PlaceFind();
}

void MainLayout::ShiftBookLists(bool down)
{
    std::size_t k = 0;
    for (PointListCtrl* book : {&c.editList, &c.targetList}) {
        int& shift = findShifts[k++];
        const int bottom = Bottom(*book);
        const int top = down ? std::min(book->y() + FindStrip(), bottom) : book->y() - shift;
        shift = down ? top - book->y() : 0;
        MoveWindow(*book, book->x(), top, Right(*book), bottom);
    }
}

void MainLayout::PlaceFind()
{
    if (!findField)
        return;
    if (!findShown) {
        findField->hide();
        return;
    }
    PointListCtrl& book = view == View::edit ? c.editList : c.targetList;
    findField->setGeometry(book.x(), book.y() - FindStrip(), book.width(), findField->height());
    findField->show();
    // Tab reaches the field just before the list it looks in.
    QWidget* before = view == View::edit ? static_cast<QWidget*>(&c.exitButton) : &c.importList;
    QWidget::setTabOrder(before, findField);
    QWidget::setTabOrder(findField, &book);
}

}  // namespace tovik
