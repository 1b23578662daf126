// SPDX-License-Identifier: GPL-3.0-or-later
// 変換 → 並べ替え and 編集 → 検索 in the real window: the order a sort leaves in the book and
// both lists, its one step of the history, and the rows the find field leaves in sight.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "core/pointbook.h"
#include "editing/markdialog.h"
#include "platform/cp932.h"
#include "tests/support/editorfixture.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

using test::User;

// A point `north` seconds of latitude north of 35° N on 139°45' E (a second is 30.8 m).
PointEntry Place(const char* name, const char* reading, double north, int mark = 0)
{
    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    e.name = Cp932::Checked(QString::fromUtf8(name));
    e.reading = Cp932::Checked(QString::fromUtf8(reading));
    e.latitude = 35 * 14400 + static_cast<std::int32_t>(north * 4);
    e.longitude = 139 * 14400 + 45 * 240;
    e.mark = static_cast<std::uint8_t>(mark);
    return e;
}

class SortFindTest : public test::EditorFixture {
protected:
    QAction* MenuItem(const QString& menu, const QString& prefix)
    {
        for (QAction* a : d->findChild<QMenuBar*>()->actions()) {
            if (!a->text().startsWith(menu))
                continue;
            for (QAction* item : a->menu()->actions()) {
                if (item->text().startsWith(prefix))
                    return item;
                for (QAction* sub : item->menu() ? item->menu()->actions() : QList<QAction*>()) {
                    if (sub->text().startsWith(prefix))
                        return sub;
                }
            }
        }
        ADD_FAILURE() << "no item " << prefix.toStdString();
        return nullptr;
    }
    void Undo() { User::Choose(*d, "編集", MenuItem("編集", "元に戻す")->text()); }
    QLineEdit& FindField() { return d->Finder().Field(); }
    // Ctrl+F where the focus is, then each character as a keyboard sends it.
    void Find(const QString& text)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(FindField().hasFocus());
        User::Type(FindField(), text);
    }
    QStringList ShownNames(const ListBase& list)
    {
        QStringList names;
        for (int r = 0; r < list.GetItemCount(); ++r) {
            if (!list.isRowHidden(r))
                names << list.GetItemText(r, 0);
        }
        return names;
    }
};

TEST_F(SortFindTest, SortsAreOneStepTheSelectionFollowsAndTicksLimitThem)
{
    StartWithPoints({Place("札幌", "ｻｯﾎﾟﾛ", 0, 12), Place("秋葉原", "あきはばら", 1, 3), Place("金閣寺", "ｷﾝｶｸｼﾞ", 2, 1),
                     Place("ABC", "", 3, 0)});
    const QStringList loaded = BookNames();
    User::ClickRow(List1(), 2);
    User::Choose(*d, "変換", "並べ替え", "読み順");
    const QStringList byReading{"秋葉原", "金閣寺", "札幌", "ABC"};
    EXPECT_EQ(BookNames(), byReading);
    EXPECT_EQ(Names(List1()), byReading);
    EXPECT_EQ(Names(List3()), byReading);
    EXPECT_EQ(List1().GetNextSelected(-1), 1);  // 金閣寺, where it went
    EXPECT_EQ(List3().GetNextSelected(-1), 1);
    EXPECT_EQ(d->Document().History().count(), 1);

    // The same order again is no step.
    User::Choose(*d, "変換", "並べ替え", "読み順");
    EXPECT_EQ(d->Document().History().count(), 1);

    Undo();
    EXPECT_EQ(BookNames(), loaded);
    EXPECT_EQ(Names(List3()), loaded);
    EXPECT_EQ(List1().GetNextSelected(-1), 2);
    EXPECT_FALSE(Modified());

    // Only the ticked points move, among their own places: 札幌 (12) and ABC (0) by mark.
    User::ClickCheckBox(List1(), 0);
    User::ClickCheckBox(List1(), 3);
    User::Choose(*d, "変換", "並べ替え", "マーク順");
    EXPECT_EQ(BookNames(), (QStringList{"ABC", "秋葉原", "金閣寺", "札幌"}));
    EXPECT_TRUE(List1().GetCheck(0));
    EXPECT_TRUE(List1().GetCheck(3));
    EXPECT_FALSE(List3().GetCheck(1));
}

TEST_F(SortFindTest, NearestFirstMeasuresFromTheSelectedPoint)
{
    StartWithPoints({Place("P0", "", 0), Place("P100", "", 100), Place("P30", "", 30), Place("P55", "", 55)});
    QAction* nearest = MenuItem("変換", "選択した地点から近い順");
    EXPECT_FALSE(nearest->isEnabled());
    User::ClickRow(List1(), 2);
    EXPECT_TRUE(nearest->isEnabled());
    User::Choose(*d, "変換", "並べ替え", "選択した地点から近い順");
    EXPECT_EQ(BookNames(), (QStringList{"P30", "P55", "P0", "P100"}));
    EXPECT_EQ(List1().GetNextSelected(-1), 0);
    EXPECT_EQ(MenuItem("編集", "元に戻す")->text(), QString("元に戻す: 並べ替え (選択した地点から近い順)"));
}

TEST_F(SortFindTest, TypedTextShowsTheMatchingRowsAndEscapeShowsAllAgain)
{
    StartWithPoints({Place("札幌", "ｻｯﾎﾟﾛ", 0), Place("東京タワー", "ﾄｳｷｮｳﾀﾜｰ", 1), Place("京都", "ｷｮｳﾄ", 2),
                     Place("ﾄｳｷｮｳ駅", "", 3)});
    const QRect listPlace = List1().geometry();
    User::ClickRow(List1(), 0);
    Find("とうきょう");
    EXPECT_EQ(ShownNames(List1()), (QStringList{"東京タワー", "ﾄｳｷｮｳ駅"}));
    EXPECT_EQ(ShownNames(List3()), ShownNames(List1()));
    // The field takes a strip above the list, whose bottom stays.
    EXPECT_TRUE(FindField().isVisible());
    EXPECT_EQ(FindField().x(), listPlace.x());
    EXPECT_EQ(FindField().width(), listPlace.width());
    EXPECT_GE(List1().y(), FindField().y() + FindField().height());
    EXPECT_EQ(List1().geometry().bottom(), listPlace.bottom());
    EXPECT_EQ(FindField().accessibleName(), QString("検索"));
    // 札幌 went out of sight, and so did its selection.
    EXPECT_EQ(List1().GetNextSelected(-1), -1);

    User::Type(FindField(), "た");
    EXPECT_EQ(ShownNames(List1()), QStringList{"東京タワー"});
    QTest::keyClick(&FindField(), Qt::Key_Backspace);
    // Another file opened is looked through for the same text.
    prompter.openNames = {Mem("other.mem", {Place("ﾄｳｷｮｳ", "", 0), Place("大阪", "", 1)})};
    User::Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    EXPECT_EQ(ShownNames(List1()), QStringList{"ﾄｳｷｮｳ"});
    QTest::keyClick(&FindField(), Qt::Key_Escape);
    EXPECT_EQ(ShownNames(List1()), BookNames());
    EXPECT_FALSE(FindField().isVisible());
    EXPECT_EQ(List1().geometry(), listPlace);
    EXPECT_TRUE(List1().hasFocus());
    EXPECT_TRUE(d->isVisible());  // Escape ended the find, not the window
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SortFindTest, CommandsActOnTheRowsShown)
{
    StartWithPoints({Place("東京A", "", 0), Place("札幌", "", 1), Place("東京B", "", 2), Place("京都", "", 3),
                     Place("東京C", "", 4)});
    User::ClickCheckBox(List1(), 1);  // 札幌, ticked before it goes out of sight
    Find("東京");
    User::ClickRow(List1(), 2);
    // Alt+↓ passes over the hidden 京都.
    QTest::keyClick(&List1(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(BookNames(), (QStringList{"東京A", "札幌", "京都", "東京C", "東京B"}));
    EXPECT_EQ(ShownNames(List1()), (QStringList{"東京A", "東京C", "東京B"}));

    User::Choose(*d, "変換", "全て選択");
    EXPECT_EQ(d->Document().Model().TickedRows(), (std::vector<int>{0, 1, 3, 4}));
    prompter.dialogs.push_back([](QDialog& dialog) {
        auto& m = dynamic_cast<MarkDialog&>(dialog);
        m.show();
        User::Retype(m.MarkField(), "9");
        User::Click(User::Button(m, "OK"));
        return m.result();
    });
    User::Choose(*d, "変換", "一括変換");
    for (int r = 0; r < book.GetCount(); ++r)
        EXPECT_EQ(book.Entry(r).mark, List1().isRowHidden(r) ? 0 : 9) << r;

    // With no shown row ticked, the shown rows are sorted among their places; the hidden
    // ones, 札幌's tick and all, stay.
    User::Choose(*d, "変換", "選択解除");
    User::Choose(*d, "変換", "並べ替え", "名称順");
    EXPECT_EQ(BookNames(), (QStringList{"東京A", "札幌", "京都", "東京B", "東京C"}));
    EXPECT_EQ(ShownNames(List3()), (QStringList{"東京A", "東京B", "東京C"}));
    EXPECT_EQ(d->Document().Model().TickedRows(), std::vector<int>{1});

    // 削除 takes the selected row shown; row numbers stay the book's.
    User::ClickRow(List1(), 4);
    User::Click(User::Button(*d, "削除"));
    EXPECT_EQ(BookNames(), (QStringList{"東京A", "札幌", "京都", "東京B"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(&FindField(), Qt::Key_Escape);
    EXPECT_EQ(ShownNames(List1()), BookNames());
}

TEST_F(SortFindTest, TheFieldSitsAboveTheEditedPointsInTheFileImportViewAndTabReachesIt)
{
    StartWith(QStringList{"A1", "B2", "A3"});
    d->resize(d->width() + 60, d->height() + 40);
    QApplication::processEvents();
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    const QRect target = List3().geometry();
    const QRect imports = d->ImportList().geometry();
    d->ImportList().setFocus();
    Find("a");
    EXPECT_EQ(ShownNames(List3()), (QStringList{"A1", "A3"}));
    EXPECT_EQ(FindField().x(), target.x());
    EXPECT_EQ(FindField().width(), target.width());
    EXPECT_EQ(List3().geometry().bottom(), target.bottom());
    EXPECT_EQ(d->ImportList().geometry(), imports);
    // Tab goes from the import list to the field, then to the list it looks in.
    d->ImportList().setFocus();
    QTest::keyClick(&d->ImportList(), Qt::Key_Tab);
    EXPECT_TRUE(FindField().hasFocus());
    QTest::keyClick(&FindField(), Qt::Key_Tab);
    EXPECT_TRUE(List3().hasFocus());

    // A resize keeps the strip; the edit view has it above its own list.
    d->resize(d->width() + 30, d->height() + 30);
    QApplication::processEvents();
    EXPECT_GE(List3().y(), FindField().y() + FindField().height());
    EXPECT_EQ(FindField().width(), List3().width());
    User::Choose(*d, "表示", "編集画面");
    EXPECT_EQ(FindField().x(), List1().x());
    EXPECT_GT(List1().y(), FindField().y());
    QTest::keyClick(&FindField(), Qt::Key_Escape);
    EXPECT_EQ(List3().y(), d->ImportList().y());
}

}  // namespace
}  // namespace tovik
