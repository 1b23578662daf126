// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

class QAbstractButton;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tovik {
class ListBase;
}

namespace tovik::test {

// What a person does to the program, as the window system delivers it: mouse events on the
// widgets' windows (at a list's viewport), key events, menu items chosen by clicking the
// menu bar and then the item, files dropped from outside.
class User {
public:
    // The left button at a point of a widget, delivered to its window as the window
    // system delivers it, so that grabs and the widget under the pointer decide who gets it.
    static void Press(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void Move(QWidget& widget, QPoint pos);
    static void Release(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void ClickAt(QWidget& widget, QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    static void Click(QAbstractButton& button);
    // The button of a window or dialog with this text.
    static QPushButton& Button(QWidget& window, const QString& text);
    // Opens `menu` in the window's menu bar with a click and clicks `item` in it.
    static void Choose(QWidget& window, const QString& menu, const QString& item);
    // The same for an item of a submenu: opens the submenu with a click, then clicks `item`.
    static void Choose(QWidget& window, const QString& menu, const QString& submenu, const QString& item);

    static QPoint RowCenter(const ListBase& list, int row);
    static void ClickRow(ListBase& list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void DoubleClickRow(ListBase& list, int row);
    // Clicks the check box in front of a row.
    static void ClickCheckBox(ListBase& list, int row);

    // Key presses that each bring one character, as a keyboard or an input method sends them.
    static void Type(QWidget& widget, const QString& text);
    // Puts `text` on the clipboard and pastes it with Ctrl+V.
    static void Paste(QLineEdit& field, const QString& text);
    // An input method committing `text` at once.
    static void Commit(QWidget& widget, const QString& text);
    // Selects everything in the field and types `text` over it.
    static void Retype(QLineEdit& field, const QString& text);

    // Files dragged from a file manager and dropped at the middle of `target`.
    static void DropFiles(QWidget& target, const QStringList& files);
    // The same with the URLs as a file manager sends them, bytes of any file name included.
    static void DropUrls(QWidget& target, const QList<QUrl>& urls);
};

}  // namespace tovik::test
