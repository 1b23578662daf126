// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "platform/dialogunits.h"
#include "tests/support/qtprinters.h"
#include "platform/qtprompter.h"
#include "platform/spinbutton.h"
#include "platform/validation.h"

namespace tovik {
namespace {

TEST(SpinButtonTest, StepsWithinTheRangeWithoutWrapping)
{
    QWidget parent;
    QLineEdit field(&parent);
    field.setGeometry(10, 10, 60, 20);
    SpinButton spin(&parent);
    spin.resize(16, 20);
    spin.SetRange(0, 25);
    spin.SetBuddy(&field);
    EXPECT_EQ(field.width(), 44);
    EXPECT_EQ(spin.geometry(), QRect(54, 10, 16, 20));

    field.setText("7");
    spin.Step(1);
    EXPECT_EQ(field.text(), QString("8"));
    field.setText("25");
    spin.Step(1);
    EXPECT_EQ(field.text(), QString("25"));
    field.setText("0");
    spin.Step(-1);
    EXPECT_EQ(field.text(), QString("0"));

    // The arrow keys in the field step too.
    QTest::keyClick(&field, Qt::Key_Up);
    QTest::keyClick(&field, Qt::Key_Up);
    EXPECT_EQ(field.text(), QString("2"));
    QTest::keyClick(&field, Qt::Key_Down);
    EXPECT_EQ(field.text(), QString("1"));

    // Clicks on the upper and lower halves.
    QTest::mouseClick(&spin, Qt::LeftButton, Qt::NoModifier, QPoint(8, 3));
    EXPECT_EQ(field.text(), QString("2"));
    QTest::mouseClick(&spin, Qt::LeftButton, Qt::NoModifier, QPoint(8, 17));
    EXPECT_EQ(field.text(), QString("1"));
}

TEST(SpinButtonTest, PositionIsMissingWhenTheFieldHoldsNoNumberInRange)
{
    QLineEdit field;
    SpinButton spin;
    spin.SetRange(0, 25);
    spin.SetBuddy(&field);
    spin.SetPos(3);
    EXPECT_EQ(spin.GetPos(), 3);
    for (const char* text : {"", "26", "abc", "-1", "3x"}) {
        field.setText(text);
        EXPECT_FALSE(spin.GetPos().has_value()) << text;
    }
    field.setText(" 12 ");
    EXPECT_EQ(spin.GetPos(), 12);
    field.setText("abc");
    spin.Step(1);  // steps from the last good position
    EXPECT_EQ(field.text(), QString("13"));
}

TEST(DialogUnitsTest, ConvertsWithTheFontsBaseUnits)
{
    const DialogUnits du(QFont(QStringLiteral("Noto Sans CJK JP"), 10));
    ASSERT_GT(du.BaseX(), 0);
    ASSERT_GT(du.BaseY(), 0);
    EXPECT_EQ(du.X(4), du.BaseX());
    EXPECT_EQ(du.Y(8), du.BaseY());
    const QRect r = du.Rect(2, 0, 299, 205);
    EXPECT_EQ(r.x() + r.width(), du.X(301));
}

TEST(QtPrompterTest, FiltersKeepTheirDescriptions)
{
    EXPECT_EQ(QtPrompter::NameFilters("ノルダ ファイル(*.mem)|*.mem|すべてのファイル (*.*)|*.*||"),
              (QStringList{"ノルダ ファイル(*.mem) (*.mem)", "すべてのファイル (*.*) (*)"}));
}

TEST(QtPrompterTest, FileDialogsSayWhatTheyAreFor)
{
    QtPrompter prompter(QStringLiteral("Tovik"));
    QString title;
    QTimer::singleShot(0, [&title] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            title = dialog->windowTitle();
            dialog->close();
        }
    });
    const QString chosen = prompter.OpenFileName(nullptr, {QStringLiteral("すべてのファイル (*.*)|*.*||"), QString(),
                                                           QString(), false, QStringLiteral("取りこみファイルを開く")});
    EXPECT_EQ(chosen, QString());
    EXPECT_EQ(title, QStringLiteral("取りこみファイルを開く"));
}

TEST(ValidationTest, ReadsNumbersAsDialogFieldsDo)
{
    EXPECT_EQ(Validation::ParseInteger(" 12\t"), 12);
    EXPECT_EQ(Validation::ParseInteger("-3"), -3);
    EXPECT_FALSE(Validation::ParseInteger("").has_value());
    EXPECT_FALSE(Validation::ParseInteger("1 2").has_value());
    EXPECT_EQ(Validation::ParseUnsigned(" 12 "), 12u);
    EXPECT_FALSE(Validation::ParseUnsigned("-1").has_value());
    EXPECT_FALSE(Validation::ParseUnsigned("x").has_value());
    EXPECT_FALSE(Validation::ParseUnsigned("+0").has_value());  // a zero must start with 0
    EXPECT_EQ(Validation::ParseUnsigned(" +5"), 5u);
    EXPECT_EQ(Validation::ParseUnsigned("99999999999"), 0xFFFFFFFFu);  // too large: the largest
    EXPECT_EQ(Validation::IntegerRange(0, 25), QString("0 から 25 までの整数を入力してください。"));
    EXPECT_EQ(Validation::MaxChars(16), QString("16 文字以内で入力してください。"));
}

}  // namespace
}  // namespace tovik
