// SPDX-License-Identifier: GPL-3.0-or-later
// The editor from the keyboard alone, and as a screen reader sees it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QStyle>
#include <QTest>
#include <set>

#include "app/maindialog.h"
#include "editing/markdialog.h"
#include "core/pointbook.h"
#include "editing/pointeditdialog.h"
#include "tests/support/qtprinters.h"
#include "tests/support/editorfixture.h"
#include "tests/core/testimages.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

using test::User;

QWidget* Focused() { return QApplication::focusWidget(); }

QWidget* Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Focused(), key, modifiers);
    return Focused();
}

class KeyboardTest : public test::EditorFixture {
protected:
    void Start(const QStringList& names) { StartWith(names); }
    QWidget* Control(const char* name) { return d->findChild<QWidget*>(name); }
    QLineEdit& MarkField() { return *d->findChild<QLineEdit*>("markField"); }
    // The widgets Tab reaches from the focused one, until it comes back to it.
    static std::vector<QWidget*> TabCycle(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        std::vector<QWidget*> seen;
        QWidget* start = Focused();
        for (int i = 0; i < 20; ++i) {
            QWidget* next = Press(Qt::Key_Tab, modifiers);
            seen.push_back(next);
            if (next == start)
                break;
        }
        return seen;
    }

};

TEST_F(KeyboardTest, TabFollowsTheTemplateOrderInBothViewsAndBothDialogs)
{
    Start({"P0", "P1"});
    QWidget* list1 = &d->EditList();
    QWidget* add = &User::Button(*d, "追加");
    QWidget* remove = &User::Button(*d, "削除");
    QWidget* change = &User::Button(*d, "変更");
    QWidget* exit = &User::Button(*d, "終了");
    User::ClickRow(d->EditList(), 0);
    EXPECT_EQ(TabCycle(), (std::vector<QWidget*>{add, remove, change, exit, list1}));
    EXPECT_EQ(TabCycle(Qt::ShiftModifier), (std::vector<QWidget*>{exit, change, remove, add, list1}));
    // The arrow keys move within the list.
    EXPECT_EQ(Press(Qt::Key_Down), list1);
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 1);

    User::Choose(*d, "表示", "ファイル取りこみ画面");
    QWidget* list2 = &d->ImportList();
    QWidget* list3 = &d->TargetList();
    User::ClickRow(d->TargetList(), 0);
    EXPECT_EQ(TabCycle(), (std::vector<QWidget*>{&User::Button(*d, ">>"), &MarkField(), Control("markCheck"), exit,
                                                 add, remove, change, list2, list3}));
    User::Click(*d->findChild<QCheckBox*>("markCheck"));  // the field is hidden now
    User::ClickRow(d->TargetList(), 0);
    EXPECT_EQ(TabCycle(Qt::ShiftModifier),
              (std::vector<QWidget*>{list2, change, remove, add, exit, Control("markCheck"), &User::Button(*d, ">>"),
                                     list3}));

    prompter.dialogs.push_back([](QDialog& dialog) {
        auto& e = dynamic_cast<PointEditDialog&>(dialog);
        e.show();
        QApplication::setActiveWindow(&e);
        EXPECT_EQ(Focused(), &e.NameField());
        EXPECT_EQ(TabCycle(), (std::vector<QWidget*>{&e.ReadingField(), &e.LongitudeField(), &e.LatitudeField(),
                                                     &e.TelephoneField(), &e.MarkField(), &User::Button(e, "OK"),
                                                     &User::Button(e, "CANCEL"), &e.NameField()}));
        e.reject();
        return e.result();
    });
    User::Click(User::Button(*d, "変更"));
    User::Choose(*d, "変換", "全て選択");
    prompter.dialogs.push_back([](QDialog& dialog) {
        auto& m = dynamic_cast<MarkDialog&>(dialog);
        m.show();
        QApplication::setActiveWindow(&m);
        EXPECT_EQ(Focused(), &User::Button(m, "OK"));
        EXPECT_EQ(TabCycle(), (std::vector<QWidget*>{&m.MarkField(), &User::Button(m, "OK")}));
        m.reject();
        return m.result();
    });
    User::Choose(*d, "変換", "一括変換");
    EXPECT_TRUE(prompter.dialogs.empty());
}

TEST_F(KeyboardTest, ReturnOpensTheFocusedRowAndTransfersFromTheImportList)
{
    Start({"P0", "P1", "P2"});
    User::ClickRow(d->EditList(), 0);
    QString opened;
    prompter.dialogs.push_back([&opened](QDialog& dialog) {
        auto& e = dynamic_cast<PointEditDialog&>(dialog);
        e.show();
        QApplication::setActiveWindow(&e);
        opened = e.NameField().text();
        User::Retype(e.NameField(), "renamed");
        QTest::keyClick(&e.NameField(), Qt::Key_Return);  // OK is the default button
        return e.result();
    });
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    EXPECT_EQ(opened, QString("P2"));
    EXPECT_EQ(book.GetName(2), "renamed");

    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*d->ImportList().viewport(), {NamedMem("import.mem", {"X"})});
    User::ClickRow(d->ImportList(), 0);
    Press(Qt::Key_Return);
    EXPECT_EQ(Names(d->TargetList()), (QStringList{"P0", "P1", "X", "renamed"}));

    // Elsewhere Return never closes the window behind the question's back.
    MarkField().setFocus();
    Press(Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    prompter.answers = {Prompter::Answer::cancel};
    User::Button(*d, "終了").setFocus();
    Press(Qt::Key_Return);  // the focused button is pressed: the close question comes
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(prompter.Texts().last(), File("edited.mem") + "は変更されています。保存しますか？");
}

TEST_F(KeyboardTest, AltUpAndDownMoveAPointAsTheEquivalentDragDoes)
{
    Start({"P", "Q", "R", "S", "T"});
    PointBook dragged;
    MainDialog other(dragged, prompter, NamedMem("other.mem", {"P", "Q", "R", "S", "T"}));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QApplication::setActiveWindow(d.get());

    // P in front of R: Alt+Down here, a drag onto R there.
    User::ClickRow(d->EditList(), 0);
    Press(Qt::Key_Down, Qt::AltModifier);
    QWidget* viewport = other.EditList().viewport();
    User::Press(*viewport, User::RowCenter(other.EditList(), 0));
    User::Move(*viewport, User::RowCenter(other.EditList(), 0) + QPoint(0, 12));
    User::Move(*viewport, User::RowCenter(other.EditList(), 2));
    User::Release(*viewport, User::RowCenter(other.EditList(), 2));
    EXPECT_EQ(Names(d->EditList()), (QStringList{"Q", "P", "R", "S", "T"}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(book.Entry(i), dragged.Entry(i)) << i;
    EXPECT_EQ(Names(d->EditList()), Names(other.EditList()));
    EXPECT_EQ(Names(d->TargetList()), Names(other.TargetList()));
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 1);
    EXPECT_EQ(d->TargetList().GetNextSelected(-1), 1);
    EXPECT_TRUE(Modified());

    // In the file-import view through the menu: on List3, with List1 following.
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::ClickRow(d->TargetList(), 3);
    User::Choose(*d, "編集", "上へ移動");
    EXPECT_EQ(Names(d->TargetList()), (QStringList{"Q", "P", "S", "R", "T"}));
    EXPECT_EQ(Names(d->EditList()), Names(d->TargetList()));
    EXPECT_EQ(d->TargetList().GetNextSelected(-1), 2);
    EXPECT_EQ(book.GetName(2), "S");

    // At the ends nothing moves.
    User::ClickRow(d->TargetList(), 0);
    d->TargetList().setFocus();
    Press(Qt::Key_Up, Qt::AltModifier);
    User::ClickRow(d->TargetList(), 4);
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Names(d->TargetList()), (QStringList{"Q", "P", "S", "R", "T"}));
}

TEST_F(KeyboardTest, HomeEndAndPageKeysMoveAndShiftExtendsInEveryList)
{
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names << QString("R%1").arg(i);
    Start(names);
    User::ClickRow(d->EditList(), 3);
    Press(Qt::Key_End);
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 59);
    Press(Qt::Key_PageUp);
    const int up = d->EditList().GetNextSelected(-1);
    EXPECT_GT(up, 0);
    EXPECT_LT(up, 59);
    Press(Qt::Key_Home);
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 0);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 59 - up);

    // The right list follows the same keys; in the import list Shift extends the selection.
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::ClickRow(d->TargetList(), 1);
    Press(Qt::Key_End);
    EXPECT_EQ(d->TargetList().GetNextSelected(-1), 59);
    User::DropFiles(*d->ImportList().viewport(), {File("edited.mem")});
    User::ClickRow(d->ImportList(), 2);
    Press(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(d->ImportList().GetSelectedCount(), 58);
    Press(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(d->ImportList().GetSelectedCount(), 3);
    EXPECT_EQ(d->ImportList().GetNextSelected(-1), 0);
}

TEST_F(KeyboardTest, UpDownControlsRepeatWhenHeldAndPageByFive)
{
    Start({"P"});
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    auto* spin = d->findChild<SpinButton*>("Spin1");
    ASSERT_NE(spin, nullptr);
    ASSERT_EQ(MarkField().text(), QString("0"));
    const int threshold = spin->style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, spin);
    const int rate = spin->style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, spin);
    User::Press(*spin, QPoint(spin->width() / 2, 2));
    EXPECT_EQ(MarkField().text(), QString("1"));
    QTest::qWait(threshold + rate * 4 + rate / 2);
    User::Release(*spin, QPoint(spin->width() / 2, 2));
    const int held = MarkField().text().toInt();
    EXPECT_GE(held, 4);
    QTest::qWait(rate * 3);
    EXPECT_EQ(MarkField().text().toInt(), held);  // and stops when let go

    MarkField().setFocus();
    User::Retype(MarkField(), "3");
    Press(Qt::Key_PageUp);
    EXPECT_EQ(MarkField().text(), QString("8"));
    for (int i = 0; i < 5; ++i)
        Press(Qt::Key_PageUp);
    EXPECT_EQ(MarkField().text(), QString("25"));
    Press(Qt::Key_PageDown);
    EXPECT_EQ(MarkField().text(), QString("20"));
}

// What the accessibility interface says of a widget.
QString Said(QWidget* w, QAccessible::Text text = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(w)->text(text);
}

// The names of the buttons, fields, lists, boxes and spin buttons in a window's accessible
// tree, as a screen reader walks it.
void ControlNames(QAccessibleInterface* node, QStringList& names)
{
    const auto role = node->role();
    if (role == QAccessible::Button || role == QAccessible::EditableText || role == QAccessible::Table ||
        role == QAccessible::CheckBox || role == QAccessible::SpinBox)
        names << node->text(QAccessible::Name);
    if (role == QAccessible::Table)
        return;  // its children are its cells
    for (int i = 0; i < node->childCount(); ++i)
        ControlNames(node->child(i), names);
}

// Names that two controls of the window share, and names that are empty.
QStringList SharedNames(QWidget& window)
{
    QStringList names, shared;
    ControlNames(QAccessible::queryAccessibleInterface(&window), names);
    EXPECT_GE(names.size(), 2);
    for (const QString& name : names) {
        if (name.isEmpty() || names.count(name) > 1)
            shared << name;
    }
    return shared;
}

TEST_F(KeyboardTest, ScreenReadersHearWhatEachControlIs)
{
    Start({"P"});
    struct Expected {
        QWidget* widget;
        QAccessible::Role role;
        const char* name;
    };
    for (const Expected& e : std::initializer_list<Expected>{
             {&d->EditList(), QAccessible::Table, "地点一覧"},
             {&d->ImportList(), QAccessible::Table, "取りこみファイルの地点"},
             {&d->TargetList(), QAccessible::Table, "編集中の地点"},
             {&MarkField(), QAccessible::EditableText, "マーク番号"},
             {Control("Spin1"), QAccessible::SpinBox, "マーク番号の増減"},
         }) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(e.widget);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), e.role) << e.name;
        EXPECT_EQ(a->text(QAccessible::Name), QString(e.name));
        EXPECT_FALSE(a->text(QAccessible::Description).isEmpty()) << e.name;
    }
    EXPECT_EQ(SharedNames(*d), QStringList());

    // The up-down control: its value, range and the actions that step it.
    QAccessibleInterface* spin = QAccessible::queryAccessibleInterface(Control("Spin1"));
    QAccessibleValueInterface* value = spin->valueInterface();
    ASSERT_NE(value, nullptr);
    MarkField().setText("7");
    EXPECT_EQ(value->currentValue().toInt(), 7);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 25);
    EXPECT_EQ(spin->text(QAccessible::Value), QString("7"));
    QAccessibleActionInterface* actions = spin->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::increaseAction()));
    actions->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(MarkField().text(), QString("8"));
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    actions->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(MarkField().text(), QString("6"));

    PointEditDialog edit(prompter);
    edit.show();
    EXPECT_EQ(SharedNames(edit), QStringList());
    EXPECT_EQ(Said(&edit.MarkSpin()), QString("マークの増減"));
    EXPECT_EQ(Said(&edit.MarkField()), QString("マーク"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&edit.MarkSpin())->role(), QAccessible::SpinBox);
    EXPECT_EQ(Said(&edit.LongitudeField()), QString("東経"));
    EXPECT_TRUE(Said(&edit.LongitudeField(), QAccessible::Description).contains("139.45.30.500"));
    EXPECT_EQ(edit.LongitudeField().placeholderText(), QString("139.45.30.500"));
    EXPECT_EQ(edit.LatitudeField().placeholderText(), QString(" 35.39.31.0"));
    EXPECT_TRUE(Said(&edit.LatitudeField(), QAccessible::Description).contains("35.39.31.0"));

    MarkDialog mark(prompter);
    mark.show();
    EXPECT_EQ(SharedNames(mark), QStringList());
    EXPECT_EQ(Said(&mark.MarkField()), QString("マーク"));
}

}  // namespace
}  // namespace tovik
