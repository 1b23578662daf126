// SPDX-License-Identifier: GPL-3.0-or-later
// The history of the edited book: every change a step that can be taken back and again,
// through the menu and the shortcuts, with the modified flag following it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <random>

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

// Everything a step may change and undo must give back: the book's points and both
// lists' rows with their texts, images, ticks and selection, and the title.
struct Snapshot {
    std::vector<PointEntry> points;
    std::vector<QStringList> rows;  // List1 rows, then List3 rows
    std::vector<int> images;
    std::vector<bool> ticks;
    int selected1 = -1;
    int selected3 = -1;
    QString title;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os)
{
    *os << s.points.size() << " points, selected " << s.selected1 << "/" << s.selected3 << ", rows:";
    for (const QStringList& row : s.rows)
        *os << " [" << row.join('|').toStdString() << "]";
}

class UndoTest : public test::EditorFixture {
protected:
    void SetUp() override
    {
        Mem("import.mem", {test::SimplePoint("X", 3), test::SimplePoint("Y", 3), test::SimplePoint("Z", 3)});
        StartWith(QStringList{"P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7"});
    }

    Snapshot Take()
    {
        Snapshot s;
        for (int i = 0; i < book.GetCount(); ++i)
            s.points.push_back(book.Entry(i));
        for (ListBase* list : {static_cast<ListBase*>(&List1()), static_cast<ListBase*>(&List3())}) {
            for (int r = 0; r < list->GetItemCount(); ++r) {
                QStringList row;
                for (int c = 0; c < RowRecord::kColumns; ++c)
                    row << list->GetItemText(r, c);
                s.rows.push_back(row);
                s.images.push_back(list->GetImage(r));
                s.ticks.push_back(list->GetCheck(r));
            }
        }
        s.selected1 = List1().GetNextSelected(-1);
        s.selected3 = List3().GetNextSelected(-1);
        s.title = d->windowTitle();
        return s;
    }
    QAction* EditMenuItem(const QString& prefix)
    {
        for (QAction* a : d->findChild<QMenuBar*>()->actions()) {
            if (!a->text().startsWith("編集"))
                continue;
            for (QAction* item : a->menu()->actions()) {
                if (item->text().startsWith(prefix))
                    return item;
            }
        }
        ADD_FAILURE() << "no item " << prefix.toStdString();
        return nullptr;
    }
    void Undo() { User::Choose(*d, "編集", EditMenuItem("元に戻す")->text()); }
    void Redo() { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : d.get(), Qt::Key_Y, Qt::ControlModifier); }
    void EditDialog(const QString& name, const QString& mark)
    {
        prompter.dialogs.push_back([name, mark](QDialog& dialog) {
            auto& e = dynamic_cast<PointEditDialog&>(dialog);
            e.show();
            QApplication::setActiveWindow(&e);
            User::Retype(e.NameField(), name);
            User::Retype(e.MarkField(), mark);
            User::Click(User::Button(e, "OK"));
            const int result = e.result();
            e.hide();
            return result;
        });
    }
    void MarkDialogAnswer(const QString& mark)
    {
        prompter.dialogs.push_back([mark](QDialog& dialog) {
            auto& m = dynamic_cast<MarkDialog&>(dialog);
            m.show();
            QApplication::setActiveWindow(&m);
            User::Retype(m.MarkField(), mark);
            User::Click(User::Button(m, "OK"));
            const int result = m.result();
            m.hide();
            return result;
        });
    }
    void Drag(PointListCtrl& list, int from, int over)
    {
        QWidget* viewport = list.viewport();
        User::Press(*viewport, User::RowCenter(list, from));
        User::Move(*viewport, User::RowCenter(list, from) + QPoint(0, 12));
        User::Move(*viewport, User::RowCenter(list, over));
        User::Release(*viewport, User::RowCenter(list, over));
    }
    // Gets ready (selects, ticks), does `step`, then checks that undo gives back the state
    // before the step and redo the one after it.
    void ExpectUndoable(const char* what, const std::function<void()>& prepare, const std::function<void()>& step)
    {
        SCOPED_TRACE(what);
        prepare();
        const Snapshot before = Take();
        step();
        const Snapshot after = Take();
        ASSERT_NE(after, before) << "the step changed nothing";
        EXPECT_TRUE(Modified());
        Undo();
        EXPECT_EQ(Take(), before);
        Redo();
        EXPECT_EQ(Take(), after);
        Undo();
        Redo();
        EXPECT_EQ(Take(), after);
    }

};

TEST_F(UndoTest, EveryChangeOfTheBookIsOneStepBackAndForth)
{
    User::ClickCheckBox(List1(), 3);  // a tick travels with its row
    ExpectUndoable("change", [&] { User::ClickRow(List1(), 2); }, [&] {
        EditDialog("renamed", "4");
        User::DoubleClickRow(List1(), 2);
    });
    ExpectUndoable("add", [&] { User::ClickRow(List1(), 5); }, [&] {
        EditDialog("new", "12");
        User::Click(User::Button(*d, "追加"));
    });
    ExpectUndoable("delete", [&] { User::ClickRow(List1(), 3); }, [&] { User::Click(User::Button(*d, "削除")); });
    // A drag starts with a press that selects its row.
    ExpectUndoable("drag", [&] { User::ClickRow(List1(), 1); }, [&] { Drag(List1(), 1, 6); });
    ExpectUndoable("keyboard move", [&] { User::ClickRow(List1(), 0); },
                   [&] { QTest::keyClick(&List1(), Qt::Key_Down, Qt::AltModifier); });
    ExpectUndoable("batch conversion", [&] { User::ClickCheckBox(List1(), 5); }, [&] {
        MarkDialogAnswer("20");
        User::Choose(*d, "変換", "一括変換");
    });
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*d->ImportList().viewport(), {File("import.mem")});
    ExpectUndoable(
        "transfer",
        [&] {
            User::ClickRow(List3(), 4);
            User::ClickRow(d->ImportList(), 0);
            User::ClickRow(d->ImportList(), 2, Qt::ShiftModifier);
        },
        [&] { User::Click(User::Button(*d, ">>")); });
    ExpectUndoable("drag in the right list", [&] { User::ClickRow(List3(), 7); }, [&] { Drag(List3(), 7, 2); });
}

TEST_F(UndoTest, TwoHundredRandomStepsUndoToTheLoadedFileAndRedoToTheLast)
{
    const Bytes loaded = test::ReadBytes(dir.File("edited.mem"));
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*d->ImportList().viewport(), {File("import.mem")});
    std::mt19937 random(20261207);
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int steps = 0;
    for (int attempt = 0; steps < 200; ++attempt) {
        ASSERT_LT(attempt, 2000);
        const int count = book.GetCount();
        const int before = d->Document().History().index();
        User::ClickRow(List3(), pick(std::min(count, 10)));
        switch (pick(7)) {
        case 0:
            if (count > 2)
                User::Click(User::Button(*d, "削除"));
            break;
        case 1:
            if (count < 95) {
                EditDialog(QString("N%1").arg(steps), QString::number(pick(26)));
                User::Click(User::Button(*d, "追加"));
            }
            break;
        case 2:
            EditDialog(QString("C%1").arg(steps), QString::number(pick(26)));
            User::Click(User::Button(*d, "変更"));
            break;
        case 3:
            QTest::keyClick(&List3(), pick(2) ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
            break;
        case 4:
            Drag(List3(), List3().GetNextSelected(-1), pick(std::min(count, 10)));
            break;
        case 5:
            if (count < 95) {
                User::ClickRow(d->ImportList(), pick(3));
                User::Click(User::Button(*d, ">>"));
            }
            break;
        default:
            User::ClickCheckBox(List3(), pick(std::min(count, 10)));
            MarkDialogAnswer(QString::number(pick(26)));
            User::Choose(*d, "変換", "一括変換");
            break;
        }
        steps += d->Document().History().index() - before;
    }
    ASSERT_EQ(d->Document().History().count(), 200);
    prompter.saveNames = {File("last.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    const Bytes last = test::ReadBytes(dir.File("last.mem"));

    while (d->Document().History().canUndo())
        QTest::keyClick(&List3(), Qt::Key_Z, Qt::ControlModifier);
    prompter.saveNames = {File("first.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_EQ(test::ReadBytes(dir.File("first.mem")), loaded);

    while (d->Document().History().canRedo())
        QTest::keyClick(&List3(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    prompter.saveNames = {File("again.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");
    EXPECT_EQ(test::ReadBytes(dir.File("again.mem")), last);
}

TEST_F(UndoTest, TheModifiedFlagFollowsTheHistory)
{
    User::ClickRow(List1(), 0);
    User::Click(User::Button(*d, "削除"));
    EXPECT_TRUE(Modified());
    Undo();
    EXPECT_FALSE(Modified());
    Redo();
    EXPECT_TRUE(Modified());
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "上書き保存");
    EXPECT_FALSE(Modified());
    Undo();  // past the save
    EXPECT_TRUE(Modified());
    Redo();  // back where it was saved
    EXPECT_FALSE(Modified());
    Undo();
    EXPECT_TRUE(Modified());

    // Undone back to the state on disk, closing asks nothing: the script has no answer.
    Redo();
    User::Click(User::Button(*d, "終了"));
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(UndoTest, TheMenuItemsNameTheirStepAndAreThereOnlyWhenThereIsOne)
{
    QAction* undo = EditMenuItem("元に戻す");
    QAction* redo = EditMenuItem("やり直し");
    EXPECT_EQ(undo->text(), QString("元に戻す"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence("Ctrl+Y")));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));

    User::ClickRow(List1(), 1);
    User::Click(User::Button(*d, "削除"));
    EXPECT_EQ(undo->text(), QString("元に戻す: 削除"));
    EXPECT_TRUE(undo->isEnabled());
    QTest::keyClick(&List1(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(undo->text(), QString("元に戻す: 並べ替え"));
    QTest::keyClick(&List1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(redo->text(), QString("やり直し: 並べ替え"));
    EXPECT_TRUE(redo->isEnabled());
    User::Choose(*d, "編集", "元に戻す: 削除");
    EXPECT_EQ(book.GetCount(), 8);
    EXPECT_FALSE(undo->isEnabled());

    // Ticks are not changes of the book.
    User::Choose(*d, "変換", "全て選択");
    User::Choose(*d, "変換", "選択解除");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), QString("やり直し: 削除"));

    // A file opened anew starts with nothing to take back.
    User::Click(User::Button(*d, "削除"));
    prompter.answers = {Prompter::Answer::no};
    prompter.openNames = {File("import.mem")};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->text(), QString("元に戻す"));
}

}  // namespace
}  // namespace tovik
