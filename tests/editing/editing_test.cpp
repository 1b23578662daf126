// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include "widgets/colortextfield.h"
#include "app/maindialog.h"
#include "editing/markdialog.h"
#include "core/pointbook.h"
#include "editing/pointeditdialog.h"
#include "tests/support/qtprinters.h"
#include "tests/support/editorfixture.h"
#include "tests/support/scriptedprompter.h"
#include "tests/support/user.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Answer = Prompter::Answer;

// Types text into a field key by key, as an input method would deliver it.
void Type(QLineEdit& field, const QString& text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QApplication::sendEvent(&field, &press);
        i += n;
    }
}

struct Texts {
    QString name, reading, longitude, latitude, telephone, mark;
};

class EditingTest : public test::EditorFixture {
protected:
    // Starts the editor on points named P0, P1, ...
    void Fill(int n)
    {
        QStringList names;
        for (int i = 0; i < n; ++i)
            names << QString("P%1").arg(i);
        StartWith(names);
    }
    // The user's part in the edit dialog: change the fields given, then OK or CANCEL.
    void EditDialog(std::function<void(PointEditDialog&)> fill, bool ok = true)
    {
        prompter.dialogs.push_back([fill, ok, this](QDialog& dialog) {
            auto& e = dynamic_cast<PointEditDialog&>(dialog);
            e.show();
            opened = {e.name, e.reading, e.longitude, e.latitude, e.telephone, e.mark};
            fill(e);
            if (ok)
                e.OnOK();
            else
                e.reject();
            e.hide();
            return e.result();
        });
    }
    void EditTexts(const Texts& t)
    {
        EditDialog([t](PointEditDialog& e) {
            e.NameField().setText(t.name);
            e.ReadingField().setText(t.reading);
            e.LongitudeField().setText(t.longitude);
            e.LatitudeField().setText(t.latitude);
            e.TelephoneField().setText(t.telephone);
            e.MarkField().setText(t.mark);
        });
    }
    void MarkDialogAnswer(const QString& text)
    {
        prompter.dialogs.push_back([text](QDialog& dialog) {
            auto& m = dynamic_cast<MarkDialog&>(dialog);
            m.show();
            m.MarkField().setText(text);
            m.OnOK();
            m.hide();
            return m.result();
        });
    }
    Texts opened;
};

TEST_F(EditingTest, AddFillsTheBookUpToAHundredPoints)
{
    Fill(99);
    EditTexts({"last", "", "", "", "", "0"});
    d->OnAdd();
    EXPECT_EQ(book.GetCount(), 100);
    EXPECT_TRUE(d->windowTitle().endsWith("地点登録数  100"));
    d->OnAdd();  // no dialog: the script has none to play
    EXPECT_EQ(prompter.Texts(), QStringList{"１００地点以上は登録出来ません。"});
    EXPECT_EQ(prompter.shown.back().icon, Prompter::Icon::none);
    EXPECT_EQ(book.GetCount(), 100);
    EXPECT_EQ(d->EditList().GetItemCount(), 100);
}

TEST_F(EditingTest, AddGoesBeforeTheSelectedRowAndSelectsIt)
{
    Fill(4);
    test::User::ClickRow(List1(), 2);
    EditTexts({"新", "ｼﾝ", "139.45.30.500", "35.41.20", "03-1234-5678", "3"});
    d->OnAdd();
    EXPECT_EQ(opened.mark, QString("0"));
    EXPECT_EQ(opened.name, QString());
    EXPECT_EQ(Names(d->EditList()), (QStringList{"P0", "P1", "新", "P2", "P3"}));
    EXPECT_EQ(Names(d->TargetList()), Names(d->EditList()));
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 2);
    EXPECT_EQ(d->TargetList().GetNextSelected(-1), 2);
    EXPECT_EQ(d->EditList().GetImage(2), 3);
    EXPECT_EQ(d->EditList().GetItemText(2, 1), QString("139.45.30.500"));
    EXPECT_EQ(d->EditList().GetItemText(2, 2), QString(" 35.41.20.0"));  // as the book holds it
    EXPECT_EQ(book.GetName(2), "\x90\x56");
    EXPECT_EQ(book.Entry(2).longitude, 2012520);
    EXPECT_EQ(book.Entry(2).distance, 4);
    EXPECT_EQ(book.Entry(2).category, 3);
    EXPECT_EQ(book.GetTelephoneText(2), "0312345678");
    EXPECT_EQ(book.GetName(3), "P2");
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(d->windowTitle().endsWith("地点登録数  5"));
}

TEST_F(EditingTest, AddWithoutSelectionAppends)
{
    Fill(2);
    EditTexts({"end", "", "", "", "", "0"});
    d->OnAdd();
    EXPECT_EQ(Names(d->EditList()), (QStringList{"P0", "P1", "end"}));
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 2);
    EXPECT_EQ(book.Entry(2).distance, 0);
    EXPECT_EQ(book.Entry(2).category, 0);
}

TEST_F(EditingTest, CancelChangesNothing)
{
    Fill(3);
    test::User::ClickRow(List1(), 1);
    EditDialog([](PointEditDialog& e) { e.NameField().setText("gone"); }, false);
    d->OnChange();
    EditDialog([](PointEditDialog& e) { e.NameField().setText("gone"); }, false);
    d->OnAdd();
    EXPECT_FALSE(Modified());
    EXPECT_EQ(Names(d->EditList()), (QStringList{"P0", "P1", "P2"}));
    EXPECT_EQ(book.GetCount(), 3);
}

TEST_F(EditingTest, ChangeWritesChangedTextsAndTheMarkRule)
{
    PointEntry marked = test::SimplePoint("P1", 1);
    marked.mark = 2;
    marked.distance = 4;
    marked.category = 2;
    StartWithPoints({test::SimplePoint("P0", 0), marked, test::SimplePoint("P2", 2)});
    test::User::ClickRow(List1(), 1);
    const PointEntry before = book.Entry(1);

    EditDialog([](PointEditDialog& e) { e.NameField().setText("renamed"); });
    d->OnChange();
    EXPECT_EQ(opened.name, QString("P1"));
    EXPECT_EQ(opened.mark, QString("2"));
    EXPECT_EQ(opened.longitude, d->EditList().GetItemText(1, 1));
    EXPECT_EQ(book.GetName(1), "renamed");
    EXPECT_EQ(d->TargetList().GetItemText(1, 0), QString("renamed"));
    EXPECT_EQ(book.Entry(1).longitude, before.longitude);
    EXPECT_EQ(book.Entry(1).distance, 4);
    EXPECT_EQ(book.Entry(1).category, 2);
    EXPECT_TRUE(Modified());

    // Mark 2 to 8: distance and category drop to 0; the list shows the mark as stored.
    EditDialog([](PointEditDialog& e) { e.MarkField().setText("08"); });
    d->OnChange();
    EXPECT_EQ(book.Entry(1).mark, 8);
    EXPECT_EQ(book.Entry(1).distance, 0);
    EXPECT_EQ(book.Entry(1).category, 0);
    EXPECT_EQ(d->EditList().GetItemText(1, 3), QString("8"));
    EXPECT_EQ(d->EditList().GetImage(1), 8);
    EXPECT_EQ(d->TargetList().GetImage(1), 8);

    // OK without a change still writes distance and category.
    d->OnFileSave();
    ASSERT_FALSE(Modified());
    EditDialog([](PointEditDialog&) {});
    d->OnChange();
    EXPECT_TRUE(Modified());
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 1);
}

TEST_F(EditingTest, ChangeInTheImportViewWorksOnTheRightList)
{
    Fill(3);
    d->ShowImportView();
    d->EditList().SelectItem(0);
    d->TargetList().SelectItem(2);
    EditDialog([](PointEditDialog& e) { e.NameField().setText("right"); });
    d->OnChange();
    EXPECT_EQ(book.GetName(2), "right");
    EXPECT_EQ(d->EditList().GetItemText(2, 0), QString("right"));
    EXPECT_EQ(book.GetName(0), "P0");
}

TEST_F(EditingTest, DeleteSelectsTheFollowerAndNothingAfterTheLast)
{
    Fill(3);
    test::User::ClickRow(List1(), 1);
    d->OnDelete();
    EXPECT_EQ(Names(d->EditList()), (QStringList{"P0", "P2"}));
    EXPECT_EQ(Names(d->TargetList()), (QStringList{"P0", "P2"}));
    EXPECT_EQ(book.GetName(1), "P2");
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 1);
    EXPECT_TRUE(d->windowTitle().endsWith("地点登録数  2"));

    d->OnDelete();
    EXPECT_EQ(Names(d->EditList()), QStringList{"P0"});
    EXPECT_EQ(d->EditList().GetNextSelected(-1), -1);
    EXPECT_EQ(d->TargetList().GetNextSelected(-1), -1);
    d->OnDelete();  // nothing selected: nothing happens
    EXPECT_EQ(book.GetCount(), 1);
}

TEST_F(EditingTest, BatchConversionChangesOnlyTickedMarks)
{
    Fill(5);
    d->EditList().SetCheck(1, true);
    d->EditList().SetCheck(4, true);
    const PointEntry p1 = book.Entry(1);
    MarkDialogAnswer("3");
    d->OnBatchConvert();
    EXPECT_EQ(book.Entry(1).mark, 3);
    EXPECT_EQ(book.Entry(4).mark, 3);
    EXPECT_EQ(book.Entry(1).distance, p1.distance);
    EXPECT_EQ(book.Entry(1).category, p1.category);
    EXPECT_EQ(book.Entry(2).mark, 2);
    EXPECT_EQ(d->EditList().GetItemText(4, 3), QString("3"));
    EXPECT_EQ(d->TargetList().GetItemText(4, 3), QString("3"));
    EXPECT_EQ(d->TargetList().GetImage(4), 3);
    EXPECT_TRUE(d->TargetList().GetCheck(4));  // takes the state of List1's row
    EXPECT_TRUE(d->EditList().GetCheck(4));
    EXPECT_TRUE(Modified());
}

TEST_F(EditingTest, BatchConversionWithoutTicksOrPoints)
{
    Fill(3);
    MarkDialogAnswer("7");
    d->OnBatchConvert();
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(prompter.dialogs.empty());

    PointBook emptyBook;
    MainDialog empty(emptyBook, prompter, {});
    empty.OnBatchConvert();  // no dialog at all: the script has none
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(EditingTest, TickAllAndNoneTickBothListsAndChangeNoPoint)
{
    Fill(3);
    d->TargetList().SetCheck(0, true);
    EXPECT_TRUE(d->EditList().GetCheck(0));
    d->OnSelectAll();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(d->EditList().GetCheck(i));
        EXPECT_TRUE(d->TargetList().GetCheck(i));
    }
    d->OnDeselectAll();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(d->EditList().GetCheck(i));
        EXPECT_FALSE(d->TargetList().GetCheck(i));
    }
    EXPECT_FALSE(Modified());
}

TEST_F(EditingTest, MarkDialogRefusesWhatIsNotAMark)
{
    MarkDialog dialog(prompter);
    dialog.show();
    EXPECT_EQ(dialog.MarkField().text(), QString("0"));
    for (const char* text : {"26", "-1", "x", "", "+0", "12345678901234567890"}) {
        dialog.MarkField().setText(text);
        dialog.OnOK();
        EXPECT_EQ(dialog.result(), 0) << text;
    }
    EXPECT_EQ(prompter.Texts(), (QStringList{"0 から 25 までの整数を入力してください。", "正の整数を入力してください。",
                                             "正の整数を入力してください。", "正の整数を入力してください。",
                                             "正の整数を入力してください。",
                                             "0 から 25 までの整数を入力してください。"}));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::exclamation);
    EXPECT_EQ(prompter.shown[1].icon, Prompter::Icon::none);
    EXPECT_EQ(dialog.MarkField().selectedText(), QString("12345678901234567890"));
    dialog.MarkField().setText(" 12 ");
    QTest::keyClick(&dialog.MarkField(), Qt::Key_Return);  // Enter in the field is OK
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.mark, 12u);
}

TEST(PointEditDialogTest, TypingLimitsCountDeviceBytes)
{
    test::ScriptedPrompter prompter;
    PointEditDialog dialog(prompter);
    dialog.show();
    Type(dialog.NameField(), QString("東京タワー展望台北"));
    EXPECT_EQ(dialog.NameField().text(), QString("東京タワー展望台"));
    Type(dialog.ReadingField(), QString("ﾄｳｷｮｳﾀﾜｰﾃﾝﾎﾞｳﾀﾞｲﾎｸ"));
    EXPECT_EQ(dialog.ReadingField().text(), QString("ﾄｳｷｮｳﾀﾜｰﾃﾝﾎﾞｳﾀﾞｲ"));
    Type(dialog.TelephoneField(), QString("03-1234-5678-9012"));
    EXPECT_EQ(dialog.TelephoneField().text(), QString("03-1234-5678-9"));
    Type(dialog.MarkField(), QString("123"));
    EXPECT_EQ(dialog.MarkField().text(), QString("12"));
    Type(dialog.LongitudeField(), QString("é😀"));  // typed; refused on OK
    EXPECT_EQ(dialog.LongitudeField().text(), QString("é😀"));
}

TEST(PointEditDialogTest, RefusesLongAndUnstorableTextsOnOK)
{
    test::ScriptedPrompter prompter;
    PointEditDialog dialog(prompter);
    dialog.name = "ABCDEFGHIJKLMNOPQR";  // came in longer than the field
    dialog.mark = "3";
    dialog.show();
    EXPECT_EQ(dialog.NameField().text(), QString("ABCDEFGHIJKLMNOPQR"));
    QTest::keyClick(&dialog.NameField(), Qt::Key_End);
    QTest::keyClicks(&dialog.NameField(), "S");
    EXPECT_EQ(dialog.NameField().text(), QString("ABCDEFGHIJKLMNOPQR"));  // no longer
    QTest::keyClick(&dialog.NameField(), Qt::Key_Home);
    QTest::keyClick(&dialog.NameField(), Qt::Key_Delete);  // changed, but still too long
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(prompter.Texts(), QStringList{"16 文字以内で入力してください。"});
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::exclamation);

    EXPECT_EQ(dialog.NameField().selectedText(), QString("BCDEFGHIJKLMNOPQR"));  // ready to retype
    QTest::keyClick(&dialog.NameField(), Qt::Key_End);
    QTest::keyClick(&dialog.NameField(), Qt::Key_Backspace);  // shortening is allowed
    EXPECT_EQ(dialog.NameField().text(), QString("BCDEFGHIJKLMNOPQ"));
    // Each message names its field, as the coordinate and telephone messages do.
    Type(dialog.ReadingField(), QString("Café"));
    QTest::keyClick(&dialog.ReadingField(), Qt::Key_Return);
    EXPECT_EQ(prompter.Texts().last(), QString("「フリガナ」の「é」は本体に保存できない文字です。「e」なら保存できます。"));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.name, QString("ABCDEFGHIJKLMNOPQR"));  // nothing taken yet
    dialog.ReadingField().setText("ｶﾌｪ");
    QTest::keyClick(&dialog.MarkField(), Qt::Key_End);
    Type(dialog.MarkField(), QString("0"));  // 30
    QTest::keyClick(&dialog.MarkField(), Qt::Key_Return);
    EXPECT_EQ(prompter.Texts().last(), QString("「マーク」は 0 から 25 までの整数を入力してください。"));

    Type(dialog.MarkField(), QString("3"));  // over the selected text
    QTest::keyClick(&dialog.MarkField(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.name, QString("BCDEFGHIJKLMNOPQ"));
    EXPECT_EQ(dialog.reading, QString("ｶﾌｪ"));
}

TEST(PointEditDialogTest, OpensOnTheNameWithTheDistanceHidden)
{
    test::ScriptedPrompter prompter;
    PointEditDialog dialog(prompter);
    dialog.mark = "7";
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.windowTitle(), QString("編集"));
    EXPECT_EQ(dialog.focusWidget(), &dialog.NameField());
    EXPECT_TRUE(dialog.findChild<QComboBox*>()->isHidden());
    EXPECT_EQ(dialog.findChild<QComboBox*>()->count(), 10);

    std::vector<QWidget*> order{dialog.focusWidget()};
    for (int i = 0; i < 7; ++i)
        order.push_back(order.back()->nextInFocusChain());
    EXPECT_EQ(order[1], &dialog.ReadingField());
    EXPECT_EQ(order[2], &dialog.LongitudeField());
    EXPECT_EQ(order[3], &dialog.LatitudeField());
    EXPECT_EQ(order[4], &dialog.TelephoneField());
    EXPECT_EQ(order[5], &dialog.MarkField());

    dialog.MarkSpin().Step(1);
    EXPECT_EQ(dialog.MarkField().text(), QString("8"));
    dialog.MarkField().setText("25");
    dialog.MarkSpin().Step(1);
    EXPECT_EQ(dialog.MarkField().text(), QString("25"));
}

TEST(ColorTextFieldTest, CaptionsPaintTheirOwnColours)
{
    QWidget parent;
    ColorTextField plain(QStringLiteral("距離"), &parent);
    EXPECT_EQ(plain.TextColor(), parent.palette().color(QPalette::WindowText));
    EXPECT_EQ(plain.BackgroundColor(), parent.palette().color(QPalette::Button));

    ColorTextField caption(QStringLiteral("地点名称"), &parent);
    caption.resize(60, 20);
    EXPECT_EQ(caption.SetTextColor(Qt::white)->SetBackgroundColor(QColor(128, 128, 128)), &caption);
    const QImage image = caption.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(128, 128, 128));
    bool white = false;
    for (int x = 0; x < image.width(); ++x)
        white = white || image.pixelColor(x, image.height() / 2) == QColor(Qt::white);
    EXPECT_TRUE(white);
}

TEST_F(EditingTest, EditedFileReadsBackThroughTheCommandLine)
{
    Fill(2);
    EditTexts({"東京タワー", "ﾄｳｷｮｳﾀﾜｰ", "139.44.45.500", "35.39.31", "03-1234-5678", "3"});
    d->OnAdd();  // appended: nothing selected
    test::User::ClickRow(List1(), 0);
    EditDialog([](PointEditDialog& e) {
        e.NameField().setText("札幌");
        e.MarkField().setText("12");
        e.TelephoneField().setText("(011) 231-0838");
    });
    d->OnChange();
    prompter.saveNames = {File("edited.mem")};
    d->OnFileSaveAs();
    ASSERT_FALSE(Modified());

    QProcess cli;
    cli.start(QStringLiteral(TOVIK_CLI), {"show", "--json", File("edited.mem")});
    ASSERT_TRUE(cli.waitForFinished(10000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QJsonArray points = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
    ASSERT_EQ(points.size(), 3);
    const QJsonObject first = points[0].toObject();
    EXPECT_EQ(first["name"].toString(), QString("札幌"));
    EXPECT_EQ(first["mark"].toInt(), 12);
    EXPECT_EQ(first["distance"].toInt(), 0);
    EXPECT_EQ(first["category"].toInt(), 0);
    EXPECT_EQ(first["telephone"].toString(), QString("0112310838"));
    EXPECT_EQ(first["longitude"].toInt(), book.Entry(0).longitude);
    EXPECT_EQ(points[1].toObject()["name"].toString(), QString("P1"));
    const QJsonObject tower = points[2].toObject();
    EXPECT_EQ(tower["name"].toString(), QString("東京タワー"));
    EXPECT_EQ(tower["reading"].toString(), QString("ﾄｳｷｮｳﾀﾜｰ"));
    EXPECT_EQ(tower["longitude"].toInt(), 2012340);
    EXPECT_EQ(tower["longitudeFraction"].toInt(), 125);
    EXPECT_EQ(tower["latitude"].toInt(), 513484);
    EXPECT_EQ(tower["mark"].toInt(), 3);
    EXPECT_EQ(tower["distance"].toInt(), 4);
    EXPECT_EQ(tower["category"].toInt(), 3);
    EXPECT_EQ(tower["telephone"].toString(), QString("0312345678"));
}

}  // namespace
}  // namespace tovik
