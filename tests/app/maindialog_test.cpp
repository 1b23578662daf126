// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "tests/support/qtprinters.h"
#include "tests/core/testimages.h"
#include "tests/support/editorfixture.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

using Answer = Prompter::Answer;
using Bytes = std::vector<std::uint8_t>;

const QString kCount = QStringLiteral("         地点登録数  ");

class MainDialogTest : public test::EditorFixture {
protected:
    // A .mem file with the given points in slot order.
    QString MemFile(const char* name, const std::vector<std::string>& names)
    {
        std::vector<int> used;
        for (std::size_t i = 0; i < names.size(); ++i)
            used.push_back(static_cast<int>(i));
        Bytes bytes = test::ImageWithOccupiedSlots(used);
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::fill_n(bytes.begin() + static_cast<long>(i * 96 + 28), 16, 0);
            std::copy(names[i].begin(), names[i].end(), bytes.begin() + static_cast<long>(i * 96 + 28));
        }
        test::FixTrailer(bytes);
        test::WriteBytes(dir.File(name), bytes);
        return File(name);
    }
    template <typename T>
    static T& Child(MainDialog& d, const char* name)
    {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return *w;
    }
    static bool Shown(MainDialog& d, const char* name) { return !Child<QWidget>(d, name).isHidden(); }
};

TEST_F(MainDialogTest, StartsEmptyInTheEditView)
{
    Start();
    EXPECT_EQ(d->windowTitle(), QString("RQ-42用地点編集エディター"));
    EXPECT_EQ(d->EditList().GetItemCount(), 0);
    EXPECT_EQ(d->TargetList().GetItemCount(), 0);
    EXPECT_TRUE(Child<QCheckBox>(*d, "markCheck").isChecked());
    EXPECT_EQ(Child<QLineEdit>(*d, "markField").text(), QString("0"));
    EXPECT_EQ(d->CurrentView(), MainLayout::View::edit);
    EXPECT_TRUE(Shown(*d, "List1"));
    for (const char* hidden : {"List2", "List3", "transferButton", "markCheck", "markField", "Spin1"})
        EXPECT_FALSE(Shown(*d, hidden)) << hidden;
    EXPECT_EQ(d->EditList().GetColumnCount(), 6);
    EXPECT_EQ(d->EditList().model()->headerData(3, Qt::Horizontal).toString(), QString("マーク"));
    EXPECT_EQ(d->EditList().columnWidth(0), 150);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainDialogTest, LoadsTheCommandLineFileBeforeShowing)
{
    const QString path = MemFile("start.mem", {"A", "B", "C"});
    Start(path);
    EXPECT_EQ(Names(d->EditList()), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(Names(d->TargetList()), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(d->ImportList().GetItemCount(), 0);
    EXPECT_EQ(d->windowTitle(), path + kCount + "3");
    EXPECT_EQ(d->Document().SavePath(), path);
    EXPECT_EQ(d->Document().FileDialogDir(), QString::fromStdString(dir.Path().string()) + "/");
    EXPECT_EQ(d->EditList().GetItemText(0, 1), QString("131.56.40.0"));
}

TEST_F(MainDialogTest, CommandLineFileThatFailsIsNotTheSaveTarget)
{
    Bytes bad = test::ImageWithOccupiedSlots({0});
    bad[9603] ^= 1;
    test::WriteBytes(dir.File("bad.mem"), bad);
    Start(File("bad.mem"));
    EXPECT_EQ(prompter.Texts(), QStringList{"認識できないフォーマットです。"});
    EXPECT_EQ(d->Document().SavePath(), QString());
    EXPECT_EQ(d->windowTitle(), QString("RQ-40 地点編集エディター") + kCount + "0");
}

TEST_F(MainDialogTest, RowsShowTheMarkImageAndCheckBoxes)
{
    StartWithPoints({test::SimplePoint("x", 0), test::TokyoTower(), test::SimplePoint("y", 25)});
    EXPECT_EQ(List1().GetImage(1), 3);
    EXPECT_EQ(List1().GetImage(2), 25);
    EXPECT_EQ(List3().GetImage(0), 0);
    EXPECT_FALSE(List1().GetCheck(1));
    test::User::ClickRow(List1(), 1);
    EXPECT_EQ(List1().GetNextSelected(-1), 1);
    EXPECT_EQ(List3().GetNextSelected(-1), 1);
    test::User::ClickCheckBox(List1(), 1);
    EXPECT_TRUE(List3().GetCheck(1));
}

TEST_F(MainDialogTest, SaveWritesOnlyChangesAndClearsTheFlagAfterWriting)
{
    const QString path = MemFile("a.mem", {"A", "B"});
    Start(path);
    d->OnFileSave();  // nothing changed: nothing asked, nothing written
    EXPECT_TRUE(prompter.saveRequests.empty());

    DeleteRow(0);
    d->OnFileSave();
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(prompter.saveRequests.empty());
    PointBook check;
    ASSERT_EQ(check.Load(path.toStdString()), Loaded::decoded);
    EXPECT_EQ(check.GetCount(), 1);
    EXPECT_EQ(check.GetName(0), "B");
}

TEST_F(MainDialogTest, SaveWithoutAFileAsksForOne)
{
    Start();
    AddPoint("T");
    prompter.saveNames = {""};
    d->OnFileSave();
    EXPECT_TRUE(Modified());
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].filter, QString("ノルダファイル (*.mem)|*.mem|すべてのファイル (*.*)|*.*||"));
    EXPECT_EQ(prompter.saveRequests[0].defaultExtension, QString("mem"));

    prompter.saveNames = {File("new.mem")};
    d->OnFileSave();
    EXPECT_FALSE(Modified());
    EXPECT_EQ(d->Document().FilePath(), File("new.mem"));
    EXPECT_EQ(d->Document().SavePath(), File("new.mem"));
    EXPECT_EQ(test::ReadBytes(dir.File("new.mem")).size(), 9604u);
    EXPECT_EQ(d->windowTitle(), File("new.mem") + kCount + "1");  // the file written is named
}

TEST_F(MainDialogTest, FailedSaveKeepsTheChangesUnsaved)
{
    Start();
    AddPoint("T");
    prompter.saveNames = {File("missing/dir/x.mem")};
    d->OnFileSave();
    EXPECT_EQ(prompter.Texts(), QStringList{"ファイルが見つかりませんでした。"});
    EXPECT_TRUE(Modified());
}

TEST_F(MainDialogTest, SaveAsWritesEvenWithoutChanges)
{
    const QString path = MemFile("a.mem", {"A", "B"});
    Start(path);
    prompter.saveNames = {""};
    d->OnFileSaveAs();
    EXPECT_FALSE(std::filesystem::exists(dir.File("copy.mem")));
    EXPECT_TRUE(prompter.saveRequests[0].overwritePrompt);
    prompter.saveNames = {File("copy.mem")};
    d->OnFileSaveAs();
    EXPECT_EQ(d->Document().FilePath(), File("copy.mem"));
    PointBook check;
    ASSERT_EQ(check.Load(dir.File("copy.mem")), Loaded::decoded);
    EXPECT_EQ(check.GetCount(), 2);
}

TEST_F(MainDialogTest, ClosePromptNamesTheFileAndSavesOnYes)
{
    const QString path = MemFile("home.mem", {"A"});
    Start(path);
    AddPoint("Q");
    prompter.answers = {Answer::cancel};
    d->OnCancel();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, path + "は変更されています。保存しますか？");
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::yesNoCancel);
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::exclamation);
    EXPECT_TRUE(Modified());

    prompter.answers = {Answer::yes};
    d->OnCancel();
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(Modified());
    PointBook check;
    ASSERT_EQ(check.Load(path.toStdString()), Loaded::decoded);
    EXPECT_EQ(check.GetName(1), "Q");
}

TEST_F(MainDialogTest, ClosePromptForANewFileAndNo)
{
    Start();
    AddPoint("T");
    prompter.answers = {Answer::no};
    d->show();
    d->OnCancel();
    EXPECT_EQ(prompter.Texts(), QStringList{"新規ファイルです。保存しますか？"});
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(dir.Names().empty());
}

TEST_F(MainDialogTest, WindowStaysOpenWhenTheSaveOnCloseFailsOrIsCancelled)
{
    Start();
    AddPoint("T");
    prompter.answers = {Answer::yes};
    prompter.saveNames = {""};
    d->OnCancel();
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(Modified());

    prompter.answers = {Answer::yes};
    prompter.saveNames = {File("no/such/dir.mem")};
    d->OnCancel();
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(Modified());
    EXPECT_EQ(prompter.Texts().last(), QString("ファイルが見つかりませんでした。"));
}

TEST_F(MainDialogTest, EscapeAndTheCloseBoxGoThroughThePrompt)
{
    Start();
    AddPoint("T");
    prompter.answers = {Answer::cancel, Answer::cancel};
    QTest::keyClick(d.get(), Qt::Key_Escape);
    d->close();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(MainDialogTest, EnterDoesNotCloseTheWindow)
{
    Start();
    d->EditList().setFocus();
    QTest::keyClick(d.get(), Qt::Key_Return);
    QTest::keyClick(d.get(), Qt::Key_Enter);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainDialogTest, OpenReplacesThePointsAndNamesTheFile)
{
    const QString first = MemFile("first.mem", {"A"});
    const QString second = MemFile("SECOND.MEM", {"X", "Y"});
    Start(first);
    prompter.openNames = {second};
    d->OnFileOpen();
    EXPECT_EQ(prompter.openRequests[0].filter, QString("ノルダ ファイル(*.mem)|*.mem|すべてのファイル (*.*)|*.*||"));
    EXPECT_EQ(prompter.openRequests[0].directory, QString::fromStdString(dir.Path().string()) + "/");
    EXPECT_EQ(Names(d->EditList()), (QStringList{"X", "Y"}));
    EXPECT_EQ(d->windowTitle(), second + kCount + "2");
    EXPECT_EQ(d->Document().SavePath(), second);
}

TEST_F(MainDialogTest, AFileThatFailsItsCheckLeavesTheCurrentFile)
{
    const QString first = MemFile("first.mem", {"A"});
    Bytes bad = test::ImageWithOccupiedSlots({0, 1});
    bad[9600] = 0;
    std::filesystem::create_directory(dir.Path() / "other");
    test::WriteBytes(dir.File("other/bad.mem"), bad);
    Start(first);
    const QString titleBefore = d->windowTitle();
    for (const QString& path : {File("other/bad.mem"), File("other/missing.mem")}) {
        prompter.openNames = {path};
        d->OnFileOpen();
        d->OnDropFiles(path);
        EXPECT_EQ(d->Document().FilePath(), first);
        EXPECT_EQ(d->Document().SavePath(), first);
        EXPECT_EQ(d->Document().FileDialogDir(), QString::fromStdString(dir.Path().string()) + "/");
        EXPECT_EQ(d->windowTitle(), titleBefore);
        EXPECT_EQ(Names(d->EditList()), QStringList{"A"});
    }
    EXPECT_EQ(prompter.Texts(), (QStringList{"認識できないフォーマットです。", "認識できないフォーマットです。",
                                             "ファイルが見つかりませんでした。", "ファイルが見つかりませんでした。"}));
}

TEST_F(MainDialogTest, OpenAndDropAskBeforeDiscardingChanges)
{
    const QString first = MemFile("first.mem", {"A"});
    const QString second = MemFile("second.mem", {"B"});
    Start(first);
    AddPoint("changed");

    prompter.answers = {Answer::cancel, Answer::cancel};
    d->OnFileOpen();  // cancelled before the file dialog
    d->OnDropFiles(second);
    EXPECT_EQ(d->Document().FilePath(), first);
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(prompter.openRequests.empty());

    prompter.answers = {Answer::no};
    d->OnDropFiles(second);
    EXPECT_EQ(Names(d->EditList()), QStringList{"B"});
    EXPECT_FALSE(Modified());
    PointBook check;
    ASSERT_EQ(check.Load(first.toStdString()), Loaded::decoded);
    EXPECT_EQ(check.GetName(0), "A");

    EXPECT_EQ(check.GetCount(), 1);
    AddPoint("changed");
    prompter.answers = {Answer::yes};
    prompter.openNames = {first};
    d->OnFileOpen();
    ASSERT_EQ(check.Load(second.toStdString()), Loaded::decoded);
    EXPECT_EQ(check.GetName(1), "changed");
    EXPECT_EQ(Names(d->EditList()), QStringList{"A"});
}

TEST_F(MainDialogTest, DropLoadsTheLastFileWithItsWholePath)
{
    const std::string longDir = std::string(120, 'd') + "/" + std::string(120, 'e');
    std::filesystem::create_directories(dir.Path() / longDir);
    MemFile("one.mem", {"1"});
    const QString last = MemFile((longDir + "/last.mem").c_str(), {"L1", "L2"});
    ASSERT_GT(last.size(), 255);
    Start();
    d->show();

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(File("one.mem")), QUrl::fromLocalFile(last)});
    const QPoint middle(d->width() / 2, d->height() / 2);
    QDragEnterEvent enter(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(d.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(d.get(), &drop);
    EXPECT_EQ(Names(d->EditList()), (QStringList{"L1", "L2"}));
    EXPECT_EQ(d->Document().FilePath(), last);
    EXPECT_EQ(d->windowTitle(), last + kCount + "2");
}

TEST_F(MainDialogTest, ViewsShowTheirControls)
{
    Start();
    d->ShowImportView();
    EXPECT_EQ(d->CurrentView(), MainLayout::View::import);
    EXPECT_FALSE(Shown(*d, "List1"));
    for (const char* shown : {"List2", "List3", "transferButton", "markCheck", "markField", "Spin1",
                              "changeButton", "addButton", "deleteButton", "exitButton"})
        EXPECT_TRUE(Shown(*d, shown)) << shown;
    auto& field = Child<QLineEdit>(*d, "markField");
    auto& spin = Child<QWidget>(*d, "Spin1");
    EXPECT_EQ(field.width() + spin.width(), Child<QWidget>(*d, "transferButton").width());
    EXPECT_EQ(spin.x(), field.x() + field.width());

    Child<QCheckBox>(*d, "markCheck").click();
    EXPECT_FALSE(Shown(*d, "markField"));
    EXPECT_FALSE(Shown(*d, "Spin1"));
    EXPECT_TRUE(Shown(*d, "transferButton"));

    d->ShowEditView();
    EXPECT_TRUE(Shown(*d, "List1"));
    for (const char* hidden : {"List2", "List3", "transferButton", "markCheck", "markField", "Spin1"})
        EXPECT_FALSE(Shown(*d, hidden)) << hidden;

    d->ShowImportView();  // MARK unchecked: the field stays hidden
    EXPECT_TRUE(Shown(*d, "markCheck"));
    EXPECT_TRUE(Shown(*d, "transferButton"));
    EXPECT_FALSE(Shown(*d, "markField"));
    Child<QCheckBox>(*d, "markCheck").click();
    EXPECT_TRUE(Shown(*d, "markField"));
    EXPECT_TRUE(Shown(*d, "Spin1"));
}

class LayoutTest : public MainDialogTest {
protected:
    void SetUp() override
    {
        d = std::make_unique<MainDialog>(book, prompter, QString());
        auto& list = d->EditList();
        auto& client = d->Client();
        rightMargin = client.width() - (list.x() + list.width());
        bottomMargin = client.height() - (list.y() + list.height());
        gap = Child<QWidget>(*d, "changeButton").x() - (list.x() + list.width());
        for (const char* b : {"changeButton", "addButton", "deleteButton", "exitButton"}) {
            const QWidget& w = Child<QWidget>(*d, b);
            spacing.push_back(w.y() - previousBottom);
            previousBottom = w.y() + w.height();
        }
        initialHeight = client.height();
        d->show();
        QApplication::processEvents();
    }
    void ResizeClient(int w, int h)
    {
        d->resize(w, h + d->Client().y());
        QApplication::processEvents();
        ASSERT_EQ(d->Client().size(), QSize(w, h));
    }
    int Right(const char* name) { const QWidget& w = Child<QWidget>(*d, name); return w.x() + w.width(); }
    int Bottom(const char* name) { const QWidget& w = Child<QWidget>(*d, name); return w.y() + w.height(); }

    int rightMargin = 0, bottomMargin = 0, gap = 0, previousBottom = 0, initialHeight = 0;
    std::vector<int> spacing;
};

TEST_F(LayoutTest, FirstSizeNotificationKeepsTheTemplatePlaces)
{
    EXPECT_EQ(Child<QWidget>(*d, "List2").width(), d->ImportList().width());
    const QRect before = Child<QWidget>(*d, "List3").geometry();
    EXPECT_EQ(before, d->TargetList().geometry());
    EXPECT_NE(Child<QWidget>(*d, "List2").height(), d->EditList().height());
}

TEST_F(LayoutTest, ListsSplitAroundTheMiddleOfTheListRectangle)
{
    ResizeClient(601 + rightMargin, initialHeight);
    EXPECT_EQ(Right("List1"), 601);
    EXPECT_EQ(Right("List2"), 260);
    EXPECT_EQ(Child<QWidget>(*d, "List3").x(), 340);
    EXPECT_EQ(Right("List3"), 601);
    EXPECT_EQ(Child<QWidget>(*d, "List2").height(), d->EditList().height());
    const int w = Child<QWidget>(*d, "transferButton").width();
    EXPECT_EQ(Child<QWidget>(*d, "transferButton").x(), 300 - w / 2);
    EXPECT_EQ(Child<QWidget>(*d, "markCheck").x(), 300 - w / 2);
    EXPECT_EQ(Child<QWidget>(*d, "changeButton").x(), 601 + gap);
    EXPECT_EQ(Child<QWidget>(*d, "exitButton").x(), 601 + gap);
}

TEST_F(LayoutTest, DoubledHeightDoublesTheSpacingsAndKeepsExitAtTheBottom)
{
    ResizeClient(d->Client().width(), initialHeight * 2);
    int y = 0;
    int k = 0;
    for (const char* b : {"changeButton", "addButton", "deleteButton"}) {
        EXPECT_EQ(Child<QWidget>(*d, b).y(), y + spacing[static_cast<std::size_t>(k++)] * 2) << b;
        y = Bottom(b);
    }
    const int listBottom = initialHeight * 2 - bottomMargin;
    EXPECT_GE(Bottom("exitButton"), listBottom - 1);
    EXPECT_LE(Bottom("exitButton"), listBottom);
    EXPECT_EQ(Bottom("List1"), listBottom);
}

TEST_F(LayoutTest, LowWindowPutsExitDirectlyBelowDelete)
{
    // Three buttons take more than the 100 pixels' list height.
    ResizeClient(d->Client().width(), 100);
    const int deleteBottom = Bottom("deleteButton");
    ASSERT_LT(Bottom("List1") - Child<QWidget>(*d, "exitButton").height(), deleteBottom);
    EXPECT_GE(Child<QWidget>(*d, "exitButton").y(), deleteBottom - 1);
    EXPECT_LE(Child<QWidget>(*d, "exitButton").y(), deleteBottom);
}

TEST_F(LayoutTest, HiddenViewIsLaidOutToo)
{
    ResizeClient(d->Client().width() + 100, initialHeight + 50);
    const QRect list2 = Child<QWidget>(*d, "List2").geometry();
    d->ShowImportView();
    EXPECT_EQ(Child<QWidget>(*d, "List2").geometry(), list2);
    EXPECT_EQ(Bottom("List3"), initialHeight + 50 - bottomMargin);

    Child<QCheckBox>(*d, "markCheck").click();
    ResizeClient(d->Client().width() + 30, initialHeight + 20);
    EXPECT_FALSE(Shown(*d, "markField"));
    EXPECT_FALSE(Shown(*d, "Spin1"));
    EXPECT_TRUE(Shown(*d, "transferButton"));
    EXPECT_TRUE(Shown(*d, "List2"));
    EXPECT_FALSE(Shown(*d, "List1"));
}

}  // namespace
}  // namespace tovik
