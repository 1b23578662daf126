// SPDX-License-Identifier: GPL-3.0-or-later
// The editor driven the way a person drives it: mouse events through the window system,
// key presses, menu items clicked in the menu bar, files dropped from outside. Every test
// ends by checking what the screen shows against what the book holds and what is on disk.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cerrno>
#include <unistd.h>

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
using Bytes = std::vector<std::uint8_t>;

class UserPathTest : public test::EditorFixture {
protected:
    void InEditDialog(std::function<void(PointEditDialog&)> act) { InDialog<PointEditDialog>(std::move(act)); }

    // Row i of both lists shows the texts the book gives for entry i, and nothing else.
    void ExpectListsShowTheBook()
    {
        ASSERT_EQ(List1().GetItemCount(), book.GetCount());
        ASSERT_EQ(List3().GetItemCount(), book.GetCount());
        for (int i = 0; i < book.GetCount(); ++i) {
            const RowRecord row = RowRecord::FromBook(book, i);
            for (int c = 0; c < RowRecord::kColumns; ++c) {
                EXPECT_EQ(List1().GetItemText(i, c), row[c]) << "row " << i << " column " << c;
                EXPECT_EQ(List3().GetItemText(i, c), row[c]) << "row " << i << " column " << c;
            }
            EXPECT_EQ(List1().GetImage(i), book.Entry(i).mark);
            EXPECT_EQ(List3().GetImage(i), book.Entry(i).mark);
        }
    }
    // The selection, focus and ticks of List1 and List3 agree.
    void ExpectListsInStep()
    {
        for (int i = 0; i < List1().GetItemCount(); ++i) {
            const auto a = List1().GetItemState(i);
            const auto b = List3().GetItemState(i);
            EXPECT_EQ(a.selected, b.selected) << "row " << i;
            EXPECT_EQ(a.focused, b.focused) << "row " << i;
            EXPECT_EQ(a.checked, b.checked) << "row " << i;
        }
    }

};

// ---- typed input

TEST_F(UserPathTest, TextsTheDeviceCannotHoldAsMeantKeepTheDialogOpenAndStoreNothing)
{
    StartWith({"P0", "P1"});
    const Bytes before = test::ReadBytes(dir.File("edited.mem"));
    struct Case {
        const char* field;
        QString text;
        QString message;
    };
    const QString east = "東経は「139.45.30.500」（度.分.秒.ミリ秒、180 度まで）の形で入力してください。";
    const QString north = "北緯は「35.39.31.0」（度.分.秒.ミリ秒、90 度まで）の形で入力してください。";
    const QString markRange = "「マーク」は 0 から 25 までの整数を入力してください。";
    const std::vector<Case> cases = {
        {"latitudeField", "35.681236", north},        // decimal degrees from a map site
        {"longitudeField", "139.75.0", east},         // 75 minutes
        {"latitudeField", "35-41-20", north},         // hyphens do not separate
        {"longitudeField", "139.45.30.1000", east},   // milliseconds
        {"latitudeField", "90.00.00.001", north},     // beyond 90 degrees
        {"longitudeField", "180.0.1", east},          // beyond 180 degrees
        {"longitudeField", "1.2.3.4.5", east},        // five groups
        {"telephoneField", "090-1234-56789", "電話番号は数字 10 桁までしか本体に保存できません。"},
        {"markField", "99", markRange},
        {"markField", "x5", markRange},
        {"markField", "-5", markRange},
        {"markField", "3a", markRange},
    };
    for (const Case& c : cases) {
        InEditDialog([&](PointEditDialog& e) {
            auto* field = e.findChild<QLineEdit*>(c.field);
            User::Retype(*field, c.text);
            ClickOK(e);
            EXPECT_TRUE(e.isVisible()) << c.text.toStdString();
            EXPECT_EQ(prompter.Texts().value(prompter.Texts().size() - 1), c.message);
            EXPECT_EQ(e.focusWidget(), field);
            EXPECT_EQ(field->selectedText(), c.text);
            User::Click(User::Button(e, "CANCEL"));
        });
        User::DoubleClickRow(List1(), 1);
        EXPECT_TRUE(prompter.dialogs.empty()) << "the edit dialog did not open";
    }
    EXPECT_EQ(prompter.shown.size(), cases.size());
    EXPECT_FALSE(d->Document().IsModified());
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "上書き保存");  // nothing to save
    EXPECT_EQ(test::ReadBytes(dir.File("edited.mem")), before);

    // What can be meant as typed passes, and an empty coordinate stays allowed.
    InEditDialog([](PointEditDialog& e) {
        User::Retype(e.LongitudeField(), "180");
        User::Retype(e.LatitudeField(), "");
        User::Retype(e.MarkField(), " 7");
        ClickOK(e);
    });
    User::Click(User::Button(*d, "変更"));
    EXPECT_EQ(book.Entry(1).longitude, 180 * 14400);
    EXPECT_EQ(book.Entry(1).latitude, 0);
    EXPECT_EQ(book.Entry(1).mark, 7);
}

TEST_F(UserPathTest, FullWidthDigitsAndSeparatorsArriveAsAscii)
{
    Start();
    InEditDialog([](PointEditDialog& e) {
        User::Type(e.NameField(), "１２号");
        User::Type(e.TelephoneField(), "０３－１２３４－５６７８");
        EXPECT_EQ(e.TelephoneField().text(), QString("03-1234-5678"));
        User::Paste(e.LongitudeField(), "１３９．４５．３０");
        EXPECT_EQ(e.LongitudeField().text(), QString("139.45.30"));
        User::Commit(e.LatitudeField(), "３５　４１，２０");
        EXPECT_EQ(e.LatitudeField().text(), QString("35 41,20"));
        User::Retype(e.MarkField(), "７");
        EXPECT_EQ(e.MarkField().text(), QString("7"));
        EXPECT_EQ(e.NameField().text(), QString("１２号"));  // names keep what was typed
        ClickOK(e);
    });
    User::Click(User::Button(*d, "追加"));
    ASSERT_EQ(book.GetCount(), 1);
    EXPECT_EQ(book.GetTelephoneText(0), "0312345678");
    EXPECT_EQ(book.GetLongitudeText(0), "139.45.30.0");
    EXPECT_EQ(book.GetLatitudeText(0), " 35.41.20.0");
    EXPECT_EQ(book.Entry(0).mark, 7);
    ExpectListsShowTheBook();
}

TEST_F(UserPathTest, TheMarkDialogReadsItsFieldAsDescribed)
{
    StartWith({"P0", "P1"});
    User::ClickCheckBox(List1(), 1);
    ASSERT_TRUE(List1().GetCheck(1));
    InDialog<MarkDialog>([this](MarkDialog& m) {
        User::Retype(m.MarkField(), "99999999999");
        ClickOK(m);
        EXPECT_EQ(prompter.Texts().last(), QString("0 から 25 までの整数を入力してください。"));
        User::Retype(m.MarkField(), "+0");
        ClickOK(m);
        EXPECT_EQ(prompter.Texts().last(), QString("正の整数を入力してください。"));
        User::Retype(m.MarkField(), "\t+5 ");
        EXPECT_EQ(m.MarkField().text(), QString("+5 "));  // the tab never arrives
        ClickOK(m);
    });
    User::Choose(*d, "変換", "一括変換");
    EXPECT_EQ(book.Entry(1).mark, 5);
    EXPECT_EQ(book.Entry(0).mark, 0);
    ExpectListsShowTheBook();

    InDialog<MarkDialog>([](MarkDialog& m) {
        User::Retype(m.MarkField(), "１２");
        ClickOK(m);
    });
    User::Choose(*d, "変換", "一括変換");
    EXPECT_EQ(book.Entry(1).mark, 12);
}

TEST_F(UserPathTest, ControlCharactersNeverArrive)
{
    StartWith({"P0"});
    InEditDialog([](PointEditDialog& e) {
        User::Retype(e.NameField(), "");
        User::Paste(e.NameField(), QString("AB\tC\nD") + QChar(0) + "E\x1b" + QChar(0x85) + "F");
        EXPECT_EQ(e.NameField().text(), QString("ABCDEF"));
        User::Paste(e.ReadingField(), QString("ｱ\r\nｲ"));
        EXPECT_EQ(e.ReadingField().text(), QString("rP0ｱｲ"));
        ClickOK(e);
    });
    User::DoubleClickRow(List1(), 0);
    EXPECT_EQ(book.GetName(0), "ABCDEF");
    EXPECT_EQ(book.GetReading(0), "rP0\xB1\xB2");
    ExpectListsShowTheBook();
}

TEST_F(UserPathTest, CharactersInputMethodsTypeForDeviceCharactersAreStored)
{
    Start();
    InEditDialog([this](PointEditDialog& e) {
        User::Type(e.NameField(), "〜−‖¢£¬—");
        User::Type(e.ReadingField(), "Café");
        ClickOK(e);
        EXPECT_EQ(prompter.Texts().last(), QString("「フリガナ」の「é」は本体に保存できない文字です。「e」なら保存できます。"));
        User::Retype(e.ReadingField(), "ｶﾌｪ");
        ClickOK(e);
    });
    User::Click(User::Button(*d, "追加"));
    ASSERT_EQ(book.GetCount(), 1);
    EXPECT_EQ(book.GetName(0), "\x81\x60\x81\x7C\x81\x61\x81\x91\x81\x92\x81\xCA\x81\x5C");
    ExpectListsShowTheBook();
    EXPECT_EQ(List1().GetItemText(0, 0), QString("～－∥￠￡￢―"));
}

TEST_F(UserPathTest, APasteThatDoesNotFitInsertsWhatFits)
{
    Start();
    InEditDialog([](PointEditDialog& e) {
        User::Type(e.NameField(), "東京タワー");
        User::Paste(e.NameField(), "展望台北口");
        EXPECT_EQ(e.NameField().text(), QString("東京タワー展望台"));
        EXPECT_EQ(e.NameField().cursorPosition(), 8);
        // Pasted over a selection: what replaces it is cut, not what stands around it.
        e.NameField().setSelection(2, 3);
        User::Paste(e.NameField(), "ABCDEFGHIJ");
        EXPECT_EQ(e.NameField().text(), QString("東京ABCDEF展望台"));
        User::Commit(e.ReadingField(), "ﾄｳｷｮｳﾀﾜｰﾃﾝﾎﾞｳﾀﾞｲﾎｸｸﾞﾁ");
        EXPECT_EQ(e.ReadingField().text(), QString("ﾄｳｷｮｳﾀﾜｰﾃﾝﾎﾞｳﾀﾞｲ"));
        // A character is never split: a pair of surrogates goes whole or not at all.
        User::Paste(e.TelephoneField(), QString("0312345678901") + QString::fromUcs4(U"😀"));
        EXPECT_EQ(e.TelephoneField().text(), QString("0312345678901"));
        User::Retype(e.TelephoneField(), "03-1234-5678");
        ClickOK(e);
    });
    User::Click(User::Button(*d, "追加"));
    ASSERT_EQ(book.GetCount(), 1);
    EXPECT_EQ(List1().GetItemText(0, 0), QString("東京ABCDEF展望台"));
    ExpectListsShowTheBook();
}

TEST_F(UserPathTest, AFieldLeftAsItWasNeverBlocksOKAndKeepsItsBytes)
{
    PointEntry cut = test::SimplePoint("x", 2);
    cut.name = "ABCDEFGHIJKLMNO\x93";  // cut inside a double-byte character
    cut.reading = "\x85\x40\x85\x41";   // codes CP932 does not assign
    Start(Mem("cut.mem", {cut, test::SimplePoint("P1", 1)}));
    const Bytes before = test::ReadBytes(dir.File("cut.mem"));
    InEditDialog([](PointEditDialog& e) {
        User::Retype(e.MarkField(), "3");
        User::Retype(e.TelephoneField(), "011-231-0838");
        ClickOK(e);
    });
    User::DoubleClickRow(List1(), 0);
    EXPECT_EQ(book.Entry(0).mark, 3);
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "上書き保存");
    const Bytes after = test::ReadBytes(dir.File("cut.mem"));
    EXPECT_TRUE(std::equal(before.begin() + 28, before.begin() + 44, after.begin() + 28));  // name
    EXPECT_TRUE(std::equal(before.begin() + 56, before.begin() + 72, after.begin() + 56));  // reading
    EXPECT_EQ(after[5], 3);
    EXPECT_EQ(after[74], 0x01);

    // Once the user changes such a field, it is checked like any other.
    InEditDialog([this](PointEditDialog& e) {
        QTest::keyClick(&e.NameField(), Qt::Key_Home);
        QTest::keyClick(&e.NameField(), Qt::Key_Delete);
        ClickOK(e);
        EXPECT_TRUE(e.isVisible());
        EXPECT_EQ(prompter.Texts().last(), QString("「地点名称」の「\uFFFD」は本体に保存できない文字です。"));
        User::Click(User::Button(e, "CANCEL"));
    });
    User::DoubleClickRow(List1(), 0);
    EXPECT_EQ(book.GetName(0), cut.name);
}

TEST_F(UserPathTest, MinimisingADialogKeepsWhatWasTyped)
{
    StartWith({"P0"});
    InEditDialog([](PointEditDialog& e) {
        User::Retype(e.NameField(), "typed");
        e.showMinimized();
        QApplication::processEvents();
        e.hide();  // the window system unmaps a minimised window
        e.showNormal();
        QApplication::processEvents();
        EXPECT_EQ(e.NameField().text(), QString("typed"));
        ClickOK(e);
    });
    User::DoubleClickRow(List1(), 0);
    EXPECT_EQ(book.GetName(0), "typed");

    User::Choose(*d, "変換", "全て選択");
    InDialog<MarkDialog>([](MarkDialog& m) {
        User::Retype(m.MarkField(), "9");
        m.hide();
        m.show();
        EXPECT_EQ(m.MarkField().text(), QString("9"));
        ClickOK(m);
    });
    User::Choose(*d, "変換", "一括変換");
    EXPECT_EQ(book.Entry(0).mark, 9);
}

TEST_F(UserPathTest, ListsShowWhatTheBookHolds)
{
    StartWith({"P0", "P1"});
    InEditDialog([](PointEditDialog& e) {
        User::Type(e.NameField(), "new");
        User::Type(e.LatitudeField(), "35 41 20");
        User::Type(e.LongitudeField(), "139,45,30,2");
        User::Retype(e.MarkField(), "07");
        User::Type(e.TelephoneField(), "(03) 1234-5678");
        ClickOK(e);
    });
    User::Click(User::Button(*d, "追加"));  // nothing selected: appended
    EXPECT_EQ(List1().GetItemText(2, RowRecord::latitude), QString(" 35.41.20.0"));
    EXPECT_EQ(List1().GetItemText(2, RowRecord::longitude), QString("139.45.30.4"));
    EXPECT_EQ(List1().GetItemText(2, RowRecord::mark), QString("7"));
    EXPECT_EQ(List1().GetItemText(2, RowRecord::telephone), QString("0312345678"));
    ExpectListsShowTheBook();

    InEditDialog([](PointEditDialog& e) {
        User::Retype(e.LongitudeField(), "139 44 45 500");
        User::Retype(e.MarkField(), "03");
        ClickOK(e);
    });
    User::DoubleClickRow(List1(), 0);
    EXPECT_EQ(List1().GetItemText(0, RowRecord::longitude), QString("139.44.45.500"));
    EXPECT_EQ(List1().GetItemText(0, RowRecord::mark), QString("3"));
    ExpectListsShowTheBook();

    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*List2().viewport(), {NamedMem("import.mem", {"X"})});
    User::ClickRow(List2(), 0);
    User::Retype(*d->findChild<QLineEdit*>("markField"), "05");
    User::Click(User::Button(*d, ">>"));
    ASSERT_EQ(book.GetCount(), 4);
    EXPECT_EQ(List3().GetItemText(0, RowRecord::name), QString("X"));  // before the selected point
    EXPECT_EQ(List3().GetItemText(0, RowRecord::mark), QString("5"));
    ExpectListsShowTheBook();
}

// ---- the file-import view

TEST_F(UserPathTest, ImportViewCommandsActOnWhatTheUserSees)
{
    StartWith({"P0", "P1", "P2", "P3", "P4"});
    User::ClickRow(List1(), 0);  // chosen in the edit view, then hidden
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::ClickRow(List3(), 2);
    ExpectListsInStep();
    User::Click(User::Button(*d, "削除"));
    EXPECT_EQ(Names(List3()), (QStringList{"P0", "P1", "P3", "P4"}));
    EXPECT_EQ(List3().GetNextSelected(-1), 2);
    ExpectListsInStep();

    // Moved with the keyboard, the selection is still the one the commands use.
    List3().setFocus();
    QTest::keyClick(&List3(), Qt::Key_Down);
    EXPECT_EQ(List3().GetNextSelected(-1), 3);
    ExpectListsInStep();
    InEditDialog([](PointEditDialog& e) {
        User::Type(e.NameField(), "A");
        ClickOK(e);
    });
    User::Click(User::Button(*d, "追加"));
    EXPECT_EQ(Names(List3()), (QStringList{"P0", "P1", "P3", "A", "P4"}));
    EXPECT_EQ(List3().GetNextSelected(-1), 3);

    // Ticks made in List3 are the ones the batch conversion and the tick commands see.
    User::ClickCheckBox(List3(), 1);
    User::ClickCheckBox(List3(), 4);
    ExpectListsInStep();
    InDialog<MarkDialog>([](MarkDialog& m) {
        User::Retype(m.MarkField(), "20");
        ClickOK(m);
    });
    User::Choose(*d, "変換", "一括変換");
    EXPECT_EQ(book.Entry(1).mark, 20);
    EXPECT_EQ(book.Entry(4).mark, 20);
    EXPECT_EQ(book.Entry(0).mark, 0);
    User::Choose(*d, "変換", "選択解除");
    EXPECT_FALSE(List3().GetCheck(1));
    ExpectListsInStep();
    ExpectListsShowTheBook();
    User::Choose(*d, "表示", "編集画面");
    EXPECT_EQ(List1().GetNextSelected(-1), 3);
}

TEST_F(UserPathTest, DraggingSelectedImportRowsTransfersExactlyThoseRows)
{
    StartWith({"A"});
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*List2().viewport(), {NamedMem("import.mem", {"X", "Y", "Z", "W"})});
    User::Click(*d->findChild<QCheckBox*>("markCheck"));  // each copy keeps its own mark
    QWidget* viewport = List2().viewport();
    const QPoint overList3 = viewport->mapFromGlobal(List3().mapToGlobal(List3().rect().center()));
    // A press on a selected row, a start in small steps, a release over List3.
    auto drag = [&](int row) {
        const QPoint start = User::RowCenter(List2(), row);
        User::Press(*viewport, start);
        for (int step = 1; step <= 6; ++step)
            User::Move(*viewport, start + QPoint(step, step * 3));
        User::Move(*viewport, overList3);
        User::Release(*viewport, overList3);
    };

    User::ClickRow(List2(), 0);
    User::ClickRow(List2(), 2, Qt::ControlModifier);
    drag(2);
    EXPECT_EQ(Names(List3()), (QStringList{"A", "X", "Z"}));

    User::ClickRow(List2(), 0);
    User::ClickRow(List2(), 2, Qt::ShiftModifier);
    drag(2);
    EXPECT_EQ(Names(List3()), (QStringList{"A", "X", "Z", "X", "Y", "Z"}));
    drag(0);
    EXPECT_EQ(book.GetCount(), 9);
    EXPECT_EQ(List2().GetSelectedCount(), 3);
    ExpectListsShowTheBook();
}

TEST_F(UserPathTest, ReorderingHitsOnlyRowsInsideTheList)
{
    StartWith({"P", "Q", "R", "S", "T"});
    QWidget* viewport = List1().viewport();
    const int besideX = List1().width() + 30;  // over the button column
    User::Press(*viewport, User::RowCenter(List1(), 0));
    User::Move(*viewport, User::RowCenter(List1(), 0) + QPoint(0, 12));
    User::Move(*viewport, User::RowCenter(List1(), 1));
    ASSERT_TRUE(List1().IsDragging());
    User::Move(*viewport, QPoint(besideX, User::RowCenter(List1(), 3).y()));
    EXPECT_EQ(List1().DropIndex(), 1);
    User::Release(*viewport, QPoint(besideX, User::RowCenter(List1(), 3).y()));
    // Nowhere over the list: after the row last passed over.
    EXPECT_EQ(Names(List1()), (QStringList{"Q", "P", "R", "S", "T"}));
    ExpectListsShowTheBook();

    // A pointer below a list that holds more rows than it shows does not scroll it.
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QString("R%1").arg(i);
    d.reset();
    StartWith(many);
    viewport = List1().viewport();
    User::Press(*viewport, User::RowCenter(List1(), 0));
    User::Move(*viewport, User::RowCenter(List1(), 0) + QPoint(0, 12));
    User::Move(*viewport, User::RowCenter(List1(), 1));
    ASSERT_TRUE(List1().IsDragging());
    User::Move(*viewport, QPoint(20, viewport->height() + 40));
    EXPECT_EQ(List1().verticalScrollBar()->value(), 0);
    EXPECT_EQ(List1().DropIndex(), 1);
    User::Release(*viewport, QPoint(20, viewport->height() + 40));
    EXPECT_EQ(Names(List1()).mid(0, 3), (QStringList{"R1", "R0", "R2"}));
}

// ---- file commands

TEST_F(UserPathTest, SaveAsMakesTheWrittenFileTheCurrentOne)
{
    StartWith({"P0", "P1"});
    const Bytes original = test::ReadBytes(dir.File("edited.mem"));
    prompter.saveNames = {File("copy.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_EQ(d->windowTitle(), File("copy.mem") + "         地点登録数  2");
    User::Click(User::Button(*d, "削除"));  // nothing selected: nothing happens
    User::ClickRow(List1(), 0);
    User::Click(User::Button(*d, "削除"));
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "上書き保存");
    EXPECT_EQ(test::ReadBytes(dir.File("edited.mem")), original);
    PointBook copy;
    ASSERT_EQ(copy.Load(dir.File("copy.mem")), Loaded::decoded);
    EXPECT_EQ(copy.GetCount(), 1);

    // A name of another kind gets the extension Tovik opens, and the question says so.
    prompter.saveNames = {File("y")};
    prompter.answers = {Prompter::Answer::yes};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_EQ(prompter.Texts().last(), QString("「y」は .mem で終わらないため、Tovik で開けません。「y.mem」として保存しますか？"));
    EXPECT_FALSE(QFileInfo::exists(File("y")));
    EXPECT_TRUE(QFileInfo::exists(File("y.mem")));
    EXPECT_EQ(d->windowTitle(), File("y.mem") + "         地点登録数  1");
    prompter.openNames = {File("y.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");  // Tovik opens what it saved
    EXPECT_EQ(Names(List1()), QStringList{"P1"});

    // A name that was never written never becomes the current file.
    prompter.saveNames = {File("z.bin")};
    prompter.answers = {Prompter::Answer::no};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_FALSE(QFileInfo::exists(File("z.bin")));
    EXPECT_FALSE(QFileInfo::exists(File("z.bin.mem")));
    prompter.saveNames = {File("no/such/folder.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_EQ(prompter.Texts().last(), QString("ファイルが見つかりませんでした。"));
    EXPECT_EQ(d->windowTitle(), File("y.mem") + "         地点登録数  1");
    EXPECT_EQ(d->Document().FilePath(), File("y.mem"));
    EXPECT_EQ(d->Document().SavePath(), File("y.mem"));
}

TEST_F(UserPathTest, FilesOfAnotherKindAreRefusedWithAMessage)
{
    StartWith({"P0", "P1"});
    User::ClickRow(List1(), 0);
    User::Click(User::Button(*d, "削除"));  // unsaved changes
    const QString title = d->windowTitle();
    test::WriteBytes(dir.File("notes.txt"), test::ImageWithOccupiedSlots({1}));
    const QString message = "「notes.txt」は .mem ファイルではないため開けません。";

    prompter.answers = {Prompter::Answer::no};  // discard the changes, then the file is refused
    prompter.openNames = {File("notes.txt")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    EXPECT_EQ(prompter.Texts().last(), message);
    EXPECT_EQ(d->windowTitle(), title);
    EXPECT_EQ(Names(List1()), QStringList{"P1"});

    User::DropFiles(*d, {File("notes.txt")});  // no question: nothing would be replaced
    EXPECT_EQ(prompter.Texts().last(), message);
    EXPECT_EQ(d->windowTitle(), title);
    EXPECT_TRUE(d->Document().IsModified());

    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*List2().viewport(), {NamedMem("import.mem", {"X"})});
    User::DropFiles(*List2().viewport(), {File("notes.txt")});
    EXPECT_EQ(prompter.Texts().last(),
              QString("「notes.txt」は取りこめる形式（.mem、GPX、KML、KMZ、CSV、GeoJSON）のファイルではありません。"));
    EXPECT_EQ(Names(List2()), QStringList{"X"});
    EXPECT_EQ(d->Document().FilePath(), File("edited.mem"));

    d.reset();
    book.SetModified(false);
    Start(File("notes.txt"));
    EXPECT_EQ(prompter.Texts().last(), message);
    EXPECT_EQ(d->Document().FilePath(), QString());
}

TEST_F(UserPathTest, AnotherFileReplacesEveryPointOfTheLastOne)
{
    const QString small = NamedMem("small.mem", {"S0", "S1"});
    const QString large = NamedMem("large.mem", {"L0", "L1", "L2", "L3", "L4"});
    Start(small);
    prompter.openNames = {large};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    prompter.saveNames = {File("out1.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    prompter.openNames = {small};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    ExpectListsShowTheBook();
    prompter.saveNames = {File("out2.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_EQ(test::ReadBytes(dir.File("out1.mem")), test::ReadBytes(dir.File("large.mem")));
    EXPECT_EQ(test::ReadBytes(dir.File("out2.mem")), test::ReadBytes(dir.File("small.mem")));
}

TEST_F(UserPathTest, TheCopiesOfAFieldThatDifferAreShownAndSavedAsRead)
{
    // Slot 0 holds mark 3 in its first copy and 7 in its second; its latitude copies differ
    // too. The point is what the first copies say, with the second copy's fraction.
    Bytes image = test::ImageWithOccupiedSlots({0, 1});
    image[5] = 3;
    image[9] = 7;
    const std::uint8_t first[] = {0x07, 0xD5, 0xCC, 0x11};   // 35°39'31", fraction 17
    const std::uint8_t second[] = {0x07, 0xD6, 0x00, 0x7D};  // another second, fraction 125
    std::copy(std::begin(first), std::end(first), image.begin() + 16);
    std::copy(std::begin(second), std::end(second), image.begin() + 24);
    test::FixTrailer(image);
    test::WriteBytes(dir.File("copies.mem"), image);
    Start(File("copies.mem"));
    EXPECT_EQ(List1().GetItemText(0, RowRecord::mark), QString("3"));
    EXPECT_EQ(List1().GetItemText(0, RowRecord::latitude), QString(" 35.39.31.500"));
    ExpectListsShowTheBook();

    prompter.saveNames = {File("saved.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    const Bytes saved = test::ReadBytes(dir.File("saved.mem"));
    EXPECT_EQ(saved[5], 3);
    EXPECT_EQ(saved[9], 3);
    const Bytes expected = {0x07, 0xD5, 0xCC, 0x7D};
    EXPECT_EQ(Bytes(saved.begin() + 16, saved.begin() + 20), expected);
    EXPECT_EQ(Bytes(saved.begin() + 24, saved.begin() + 28), expected);
}

TEST_F(UserPathTest, EachFileCauseShowsItsMessage)
{
    StartWith({"P0"});
    Bytes damaged = test::ImageWithOccupiedSlots({2});
    damaged[9603] ^= 1;
    test::WriteBytes(dir.File("damaged.mem"), damaged);
    prompter.openNames = {File("missing.mem"), File("damaged.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    EXPECT_EQ(prompter.Texts(), (QStringList{"ファイルが見つかりませんでした。", "認識できないフォーマットです。"}));
    EXPECT_EQ(d->Document().FilePath(), File("edited.mem"));

    int error = EACCES;
    book.Files().SetChunkWriter([&error](int, std::span<const std::uint8_t>, int& e) {
        e = error;
        return false;
    });
    User::ClickRow(List1(), 0);
    User::Click(User::Button(*d, "削除"));
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "上書き保存");
    error = EIO + 1000;
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "上書き保存");
    EXPECT_EQ(prompter.Texts().mid(2), (QStringList{"ファイル アクセス禁止", "書き込みに失敗しました。"}));
    EXPECT_TRUE(d->Document().IsModified());
    EXPECT_EQ(test::ReadBytes(dir.File("edited.mem")).size(), 9604u);
}

// ---- the keyboard and the wiring

TEST_F(UserPathTest, TabLeavesEveryList)
{
    StartWith({"P0", "P1"});
    auto tab = [](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    User::ClickRow(List1(), 1);
    ASSERT_EQ(QApplication::focusWidget(), &List1());
    EXPECT_EQ(tab(), &User::Button(*d, "追加"));
    User::ClickRow(List1(), 0);
    EXPECT_EQ(tab(Qt::ShiftModifier), &User::Button(*d, "終了"));

    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::ClickRow(List3(), 0);
    EXPECT_EQ(tab(), &User::Button(*d, ">>"));
    User::ClickRow(List3(), 0);
    EXPECT_EQ(tab(Qt::ShiftModifier), &List2());
    EXPECT_EQ(tab(Qt::ShiftModifier), &User::Button(*d, "変更"));
}

TEST_F(UserPathTest, EveryMenuItemAndButtonRunsItsCommand)
{
    StartWith({"P0", "P1", "P2"});
    auto editsOnce = [this](const char* name) {
        InEditDialog([name](PointEditDialog& e) {
            User::Retype(e.NameField(), name);
            ClickOK(e);
        });
    };
    const auto file = QStringLiteral("ﾌｧｲﾙ(&F)");
    const auto edit = QStringLiteral("編集");
    User::ClickRow(List1(), 0);
    editsOnce("menu");
    User::Choose(*d, edit, "変更");
    editsOnce("button");
    User::Click(User::Button(*d, "変更"));
    EXPECT_EQ(Names(List1()), (QStringList{"button", "P1", "P2"}));
    editsOnce("added");
    User::Choose(*d, edit, "追加");
    editsOnce("added2");
    User::Click(User::Button(*d, "追加"));
    EXPECT_EQ(Names(List1()), (QStringList{"added2", "added", "button", "P1", "P2"}));
    User::Choose(*d, edit, "削除");
    User::Click(User::Button(*d, "削除"));
    EXPECT_EQ(Names(List1()), (QStringList{"button", "P1", "P2"}));

    User::Choose(*d, "表示", "ファイル取りこみ画面");
    EXPECT_EQ(d->CurrentView(), MainLayout::View::import);
    User::DropFiles(*List2().viewport(), {NamedMem("import.mem", {"X"})});
    User::ClickRow(List2(), 0);
    User::ClickRow(List3(), 2);
    User::Choose(*d, edit, "移動");
    User::Click(User::Button(*d, ">>"));
    EXPECT_EQ(Names(List3()), (QStringList{"button", "P1", "X", "X", "P2"}));
    auto& markCheck = *d->findChild<QCheckBox*>("markCheck");
    User::Click(markCheck);
    EXPECT_TRUE(d->findChild<QLineEdit*>("markField")->isHidden());
    User::Choose(*d, "表示", "編集画面");
    EXPECT_EQ(d->CurrentView(), MainLayout::View::edit);

    User::Choose(*d, "変換", "全て選択");
    EXPECT_TRUE(List1().GetCheck(4));
    InDialog<MarkDialog>([](MarkDialog& m) {
        User::Retype(m.MarkField(), "11");
        ClickOK(m);
    });
    User::Choose(*d, "変換", "一括変換");
    EXPECT_EQ(book.Entry(4).mark, 11);
    User::Choose(*d, "変換", "選択解除");
    EXPECT_FALSE(List1().GetCheck(4));

    prompter.dialogs.push_back([](QDialog& about) {
        EXPECT_EQ(about.windowTitle(), QString("Tovikのﾊﾞｰｼﾞｮﾝ情報"));
        return 1;
    });
    User::Choose(*d, "ﾍﾙﾌﾟ", "ﾊﾞｰｼﾞｮﾝ情報(Tovik) ");
    EXPECT_TRUE(prompter.dialogs.empty());

    User::Choose(*d, file, "上書き保存");
    EXPECT_FALSE(d->Document().IsModified());
    PointBook saved;
    ASSERT_EQ(saved.Load(dir.File("edited.mem")), Loaded::decoded);
    EXPECT_EQ(saved.GetCount(), 5);
    prompter.openNames = {QString()};
    User::Choose(*d, file, "開く");
    prompter.saveNames = {QString()};
    User::Choose(*d, file, "名前を付けて保存");
    EXPECT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests.size(), 1u);

    User::Choose(*d, file, "ｱﾌﾟﾘｹｰｼｮﾝの終了");
    EXPECT_FALSE(d->isVisible());
    d.reset();
    StartWith({"P0"});
    User::Click(User::Button(*d, "終了"));
    EXPECT_FALSE(d->isVisible());
}

}  // namespace
}  // namespace tovik
