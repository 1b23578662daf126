// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/user.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/listbase.h"

namespace tovik::test {

namespace {
QAction* ActionWithText(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* a : actions) {
        // A menu is named with or without its access key: "編集" is "編集(&E)".
        QString plain = a->text();
        if (plain.endsWith(u')') && plain.size() > 4 && plain[plain.size() - 4] == u'(' && plain[plain.size() - 3] == u'&')
            plain.chop(4);
        if (a->text() == text || plain == text)
            return a;
    }
    ADD_FAILURE() << "no menu item " << text.toStdString();
    return nullptr;
}
}  // namespace

namespace {
// QTest's functions for widgets send straight to the widget, or move only the cursor; those
// for windows go through the window system's queue.
QWindow* WindowOf(QWidget& widget, QPoint& pos)
{
    // A click on a window makes it the active one, as a window manager does.
    if (widget.window()->windowType() != Qt::Popup && !widget.window()->isActiveWindow()) {
        QApplication::processEvents();  // activations still on their way come first
        QApplication::setActiveWindow(widget.window());
    }
    QWindow* window = widget.window()->windowHandle();
    pos = window->mapFromGlobal(widget.mapToGlobal(pos));
    return window;
}
}  // namespace

void User::Press(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers)
{
    QWindow* window = WindowOf(widget, pos);
    QTest::mousePress(window, Qt::LeftButton, modifiers, pos);
}

void User::Move(QWidget& widget, QPoint pos)
{
    QWindow* window = WindowOf(widget, pos);
    QTest::mouseMove(window, pos);
}

void User::Release(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers)
{
    QWindow* window = WindowOf(widget, pos);
    QTest::mouseRelease(window, Qt::LeftButton, modifiers, pos);
}

void User::ClickAt(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers)
{
    QWindow* window = WindowOf(widget, pos);
    QTest::mouseClick(window, Qt::LeftButton, modifiers, pos);
}

void User::Click(QAbstractButton& button) { ClickAt(button, button.rect().center()); }

QPushButton& User::Button(QWidget& window, const QString& text)
{
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return *b;
    }
    throw std::runtime_error("no button " + text.toStdString());
}

void User::Choose(QWidget& window, const QString& menu, const QString& item)
{
    auto* bar = window.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* title = ActionWithText(bar->actions(), menu);
    ASSERT_NE(title, nullptr);
    ClickAt(*bar, bar->actionGeometry(title).center());
    QMenu* popup = title->menu();
    ASSERT_TRUE(popup && popup->isVisible()) << "menu " << menu.toStdString() << " did not open";
    QAction* entry = ActionWithText(popup->actions(), item);
    ASSERT_NE(entry, nullptr);
    ClickAt(*popup, popup->actionGeometry(entry).center());
    EXPECT_FALSE(popup->isVisible());
}

void User::Choose(QWidget& window, const QString& menu, const QString& submenu, const QString& item)
{
    auto* bar = window.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* title = ActionWithText(bar->actions(), menu);
    ASSERT_NE(title, nullptr);
    ClickAt(*bar, bar->actionGeometry(title).center());
    QMenu* popup = title->menu();
    ASSERT_TRUE(popup && popup->isVisible()) << "menu " << menu.toStdString() << " did not open";
    QAction* branch = ActionWithText(popup->actions(), submenu);
    ASSERT_TRUE(branch && branch->menu());
    ClickAt(*popup, popup->actionGeometry(branch).center());
    QMenu* sub = branch->menu();
    // A submenu opens a moment after its item is clicked.
    ASSERT_TRUE(QTest::qWaitFor([sub] { return sub->isVisible(); }, 3000)) << "submenu " << submenu.toStdString() << " did not open";
    QAction* entry = ActionWithText(sub->actions(), item);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->isEnabled()) << item.toStdString() << " is disabled";
    ClickAt(*sub, sub->actionGeometry(entry).center());
    EXPECT_FALSE(popup->isVisible());
}

QPoint User::RowCenter(const ListBase& list, int row)
{
    return list.visualRect(list.model()->index(row, 1)).center();
}

void User::ClickRow(ListBase& list, int row, Qt::KeyboardModifiers modifiers)
{
    ClickAt(*list.viewport(), RowCenter(list, row), modifiers);
}

void User::DoubleClickRow(ListBase& list, int row)
{
    QPoint pos = RowCenter(list, row);
    QWindow* window = WindowOf(*list.viewport(), pos);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, pos);
}

void User::ClickCheckBox(ListBase& list, int row)
{
    const QRect cell = list.visualRect(list.model()->index(row, 0));
    // The box sits at the left of the first cell, before the image.
    const QPoint box(cell.left() + list.style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 3, cell.center().y());
    ClickAt(*list.viewport(), box);
}

void User::Type(QWidget& widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, n);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(&widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
        QApplication::sendEvent(&widget, &release);
        i += n;
    }
}

void User::Paste(QLineEdit& field, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
}

void User::Commit(QWidget& widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(&widget, &event);
}

void User::Retype(QLineEdit& field, const QString& text)
{
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(&field, Qt::Key_Delete);
    else
        Type(field, text);
}

void User::DropFiles(QWidget& target, const QStringList& files)
{
    QList<QUrl> urls;
    for (const QString& f : files)
        urls << QUrl::fromLocalFile(f);
    DropUrls(target, urls);
}

void User::DropUrls(QWidget& target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint middle(target.width() / 2, target.height() / 2);
    QDragEnterEvent enter(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDragMoveEvent move(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &move);
    QDropEvent drop(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

}  // namespace tovik::test
