// SPDX-License-Identifier: GPL-3.0-or-later
// 変換 → 重複の確認... on points placed at known distances, what it ticks and selects, and
// the file-import view's points marked where the edited book already has them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "app/duplicatedialog.h"
#include "core/pointbook.h"
#include "editing/markdialog.h"
#include "platform/cp932.h"
#include "tests/support/editorfixture.h"
#include "tests/support/qtprinters.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

using test::User;

// A point `north` seconds of latitude north of 35° N on 139°45' E in the device's Tokyo
// datum: a second of latitude on its Bessel ellipsoid is 30.813 m there (30.817 m on WGS 84).
PointEntry Place(const char* name, double north)
{
    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    e.name = Cp932::Checked(QString::fromUtf8(name));
    e.latitude = 35 * 14400 + static_cast<std::int32_t>(north * 4);
    e.longitude = 139 * 14400 + 45 * 240;
    return e;
}

class DuplicatesTest : public test::EditorFixture {
protected:
    void SetUp() override
    {
        // A and B 30.8 m apart, C 61.6 m beyond B, E alone, and "Ａ", A's name folded,
        // 3 km away.
        StartWithPoints({Place("A", 0), Place("B", 1), Place("C", 3), Place("E", 200), Place("Ａ", 100)});
    }
    static QStringList Texts(const QTreeWidgetItem& item)
    {
        QStringList texts;
        for (int c = 0; c < item.columnCount(); ++c)
            texts << item.text(c);
        return texts;
    }
    static void Click(QTreeWidget& list, const QTreeWidgetItem* item)
    {
        User::ClickAt(*list.viewport(), list.visualItemRect(item).center());
    }
    bool Marked(int row) { return List2().model()->index(row, 2).data(Qt::BackgroundRole).isValid(); }
};

TEST_F(DuplicatesTest, GroupsByDistanceAndNameAndTicksAllButTheFirst)
{
    InDialog<DuplicateDialog>([](DuplicateDialog& dialog) {
        QTreeWidget& list = dialog.GroupList();
        ASSERT_EQ(list.topLevelItemCount(), 1);
        const QTreeWidgetItem& group = *list.topLevelItem(0);
        ASSERT_EQ(group.childCount(), 3);
        EXPECT_EQ(Texts(*group.child(0)), (QStringList{"1", "A", "", ""}));
        EXPECT_EQ(Texts(*group.child(1)), (QStringList{"2", "B", "", "30.8"}));
        EXPECT_EQ(Texts(*group.child(2)), (QStringList{"5", "Ａ", "", "3081.3"}));
        EXPECT_EQ(group.text(3), QString("最大 3081.3"));

        // At 70 m, C joins through B; E stays alone.
        User::Retype(*dialog.DistanceField().findChild<QLineEdit*>(), "70");
        ASSERT_EQ(list.topLevelItemCount(), 1);
        EXPECT_EQ(list.topLevelItem(0)->childCount(), 4);
        User::Click(User::Button(dialog, "先頭以外にチェック"));
    });
    User::Choose(*d, "変換", "重複の確認...");
    const std::vector<bool> ticked{false, true, true, false, true};
    for (int r = 0; r < book.GetCount(); ++r) {
        EXPECT_EQ(List1().GetCheck(r), ticked[static_cast<std::size_t>(r)]) << r;
        EXPECT_EQ(List3().GetCheck(r), ticked[static_cast<std::size_t>(r)]) << r;
    }
    // 一括変換 then takes the duplicates as it takes every ticked point.
    prompter.dialogs.push_back([](QDialog& dialog) {
        auto& m = dynamic_cast<MarkDialog&>(dialog);
        m.show();
        User::Retype(m.MarkField(), "25");
        User::Click(User::Button(m, "OK"));
        return m.result();
    });
    User::Choose(*d, "変換", "一括変換");
    for (int r = 0; r < book.GetCount(); ++r)
        EXPECT_EQ(book.Entry(r).mark, ticked[static_cast<std::size_t>(r)] ? 25 : 0) << r;

    // The distance chosen is the one the dialog opens with next time.
    InDialog<DuplicateDialog>([](DuplicateDialog& dialog) { EXPECT_EQ(dialog.DistanceField().value(), 70); });
    User::Choose(*d, "変換", "重複の確認...");
}

TEST_F(DuplicatesTest, AGroupChosenIsTickedAndItsPointSelected)
{
    User::ClickCheckBox(List1(), 3);
    InDialog<DuplicateDialog>([](DuplicateDialog& dialog) {
        QTreeWidget& list = dialog.GroupList();
        Click(list, list.topLevelItem(0)->child(1));
        User::Click(User::Button(dialog, "一覧で選択"));
    });
    User::Choose(*d, "変換", "重複の確認...");
    EXPECT_EQ(d->Document().Model().TickedRows(), (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(List1().GetNextSelected(-1), 1);
    // 削除 acts on the selected point only, as ever.
    User::Click(User::Button(*d, "削除"));
    EXPECT_EQ(BookNames(), (QStringList{"A", "C", "E", "Ａ"}));
}

TEST_F(DuplicatesTest, TheImportFilesPointsAlreadyInTheBookAreMarked)
{
    const QString file = Mem("import.mem", {Place("near A", 0.5), Place("E", 50), Place("new", 150)});
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*List2().viewport(), {file});
    QApplication::processEvents();
    EXPECT_TRUE(Marked(0));   // 15 m from A and B
    EXPECT_TRUE(Marked(1));   // E by its name
    EXPECT_FALSE(Marked(2));
    EXPECT_EQ(List2().model()->index(0, 0).data(Qt::ToolTipRole).toString(),
              QString("編集中の地点 1、2 番と同じ地点です（15.4 m）。"));

    // The marks follow the book: A and B deleted, "new" transferred.
    User::ClickRow(List3(), 0);
    User::Click(User::Button(*d, "削除"));
    User::Click(User::Button(*d, "削除"));
    User::ClickRow(List2(), 2);
    User::Click(User::Button(*d, ">>"));
    QApplication::processEvents();
    EXPECT_FALSE(Marked(0));
    EXPECT_TRUE(Marked(1));
    EXPECT_TRUE(Marked(2));
}

}  // namespace
}  // namespace tovik
