// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "tests/support/qtprinters.h"
#include "tests/support/editorfixture.h"
#include "tests/support/user.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using test::User;

class ListsTest : public test::EditorFixture {
protected:
    // The editor started on points with the given names and marks 0, 1, 2, ...
    void Fill(const QStringList& names) { StartWith(names); }
    // A .mem file of points with the given names, marks, distances and categories.
    QString ImportFile(const char* file, const std::vector<std::tuple<std::string, int, int, int>>& points)
    {
        std::vector<PointEntry> entries;
        for (const auto& [name, mark, distance, category] : points) {
            PointEntry e = test::SimplePoint(name, 7);
            e.mark = static_cast<std::uint8_t>(mark);
            e.distance = static_cast<std::uint8_t>(distance);
            e.category = static_cast<std::uint8_t>(category);
            entries.push_back(e);
        }
        return Mem(file, entries);
    }
    // The file-import view with a file dropped on its left list.
    void ShowImport(const QString& file)
    {
        User::Choose(*d, "表示", "ファイル取りこみ画面");
        User::DropFiles(*List2().viewport(), {file});
    }
    void SelectImportRows(const std::vector<int>& rows)
    {
        List2().clearSelection();
        for (int r : rows)
            List2().SelectItem(r);
    }
    QLineEdit& MarkField() { return *d->findChild<QLineEdit*>("markField"); }
    QCheckBox& MarkCheck() { return *d->findChild<QCheckBox*>("markCheck"); }
    QPoint RowCenter(ListBase& list, int row) { return list.visualRect(list.model()->index(row, 0)).center(); }
    // The left button pressed on a row and moved just far enough to start a drag.
    void BeginDrag(ListBase& list, int row)
    {
        User::Press(*list.viewport(), RowCenter(list, row));
        User::Move(*list.viewport(), RowCenter(list, row) + QPoint(QApplication::startDragDistance(), 0));
    }
};

// ---- reordering by dragging

class DragTest : public ListsTest {
protected:
    void SetUp() override { Fill({"P", "Q", "R", "S", "T"}); }
    // Drags row `from` over the rows `over`, then releases at `release` (viewport pixels).
    void Drag(PointListCtrl& list, int from, const std::vector<int>& over, QPoint release)
    {
        BeginDrag(list, from);
        for (int r : over)
            User::Move(*list.viewport(), RowCenter(list, r));
        User::Move(*list.viewport(), release);
        User::Release(*list.viewport(), release);
        EXPECT_FALSE(list.IsDragging());
    }
    void ExpectOrder(const QStringList& order)
    {
        EXPECT_EQ(Names(d->EditList()), order);
        EXPECT_EQ(Names(d->TargetList()), order);
        EXPECT_EQ(BookNames(), order);
    }
};

TEST_F(DragTest, ReleaseOverARowPutsTheDraggedRowInFrontOfIt)
{
    auto& list = d->EditList();
    Drag(list, 0, {3}, RowCenter(list, 3));
    ExpectOrder({"Q", "R", "P", "S", "T"});
    EXPECT_TRUE(Modified());
    Drag(list, 3, {1}, RowCenter(list, 1));  // S onto R
    ExpectOrder({"Q", "S", "R", "P", "T"});
}

TEST_F(DragTest, SOntoQInTheRightList)
{
    d->ShowImportView();
    auto& list = d->TargetList();
    Drag(list, 3, {1}, RowCenter(list, 1));
    ExpectOrder({"P", "S", "Q", "R", "T"});
}

TEST_F(DragTest, DropsOntoTheOwnPlaceChangeNothing)
{
    auto& list = d->EditList();
    Drag(list, 0, {1}, RowCenter(list, 1));  // P onto Q: target 1 = 0 + 1
    Drag(list, 2, {}, RowCenter(list, 2));   // R onto itself
    ExpectOrder({"P", "Q", "R", "S", "T"});
    EXPECT_FALSE(Modified());
}

TEST_F(DragTest, ReleaseBelowTheLastRowPutsItLast)
{
    auto& list = d->EditList();
    const QPoint below(RowCenter(list, 4).x(), list.visualRect(list.model()->index(4, 0)).bottom() + 30);
    ASSERT_LT(below.y(), list.viewport()->height());
    Drag(list, 1, {4}, below);
    ExpectOrder({"P", "R", "S", "T", "Q"});
}

TEST_F(DragTest, ReleaseAboveTheTopPutsItInFrontOfTheLastRowPassed)
{
    auto& list = d->EditList();
    const int listTop = -list.viewport()->mapTo(&list, QPoint(0, 0)).y() + list.frameWidth();
    Drag(list, 2, {0}, QPoint(20, listTop - 3));
    ExpectOrder({"R", "P", "Q", "S", "T"});
}

TEST_F(DragTest, AMovedRowKeepsItsCheckSelectionAndFocus)
{
    auto& list = d->EditList();
    User::ClickRow(list, 3);
    User::ClickCheckBox(list, 3);
    User::ClickCheckBox(list, 1);
    Drag(list, 3, {0}, RowCenter(list, 0));
    ExpectOrder({"S", "P", "Q", "R", "T"});
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(2));  // Q keeps its tick
    EXPECT_FALSE(list.GetCheck(4));
    EXPECT_EQ(list.GetNextSelected(-1), 0);
    EXPECT_EQ(list.currentIndex().row(), 0);
    EXPECT_EQ(list.GetImage(0), 3);
    EXPECT_EQ(list.GetItemText(0, 3), QString("3"));
}

TEST_F(ListsTest, HoveringOverAPartlyVisibleRowScrollsItIntoView)
{
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names << QString("R%1").arg(i);
    Fill(names);
    auto& list = d->EditList();
    // Ten and a half rows fit: row 10 is partly visible.
    const int rowHeight = list.rowHeight(0);
    list.resize(list.width(), list.height() - list.viewport()->height() + rowHeight * 10 + rowHeight / 2);
    QApplication::processEvents();
    const int last = list.rowAt(list.viewport()->height() - 1);
    ASSERT_EQ(last, 10);
    ASSERT_GT(list.visualRect(list.model()->index(last, 0)).bottom(), list.viewport()->height());
    BeginDrag(list, 0);
    User::Move(*list.viewport(), QPoint(20, list.viewport()->height() - 2));
    EXPECT_EQ(list.DropIndex(), last);
    EXPECT_GT(list.verticalScrollBar()->value(), 0);
    EXPECT_LE(list.visualRect(list.model()->index(last, 0)).bottom(), list.viewport()->height());
    User::Release(*list.viewport(), RowCenter(list, last));
    EXPECT_EQ(BookNames()[last - 1], QString("R0"));
}

TEST_F(DragTest, RealMouseDragThroughTheViewport)
{
    auto& list = d->EditList();
    QWidget* viewport = list.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, RowCenter(list, 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(RowCenter(list, 2)), viewport->mapToGlobal(QPointF(RowCenter(list, 2))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QApplication::sendEvent(viewport, &move);
    EXPECT_TRUE(list.IsDragging());
    EXPECT_EQ(list.DropIndex(), 2);
    const QImage during = viewport->grab().toImage();
    EXPECT_EQ(during.pixelColor(RowCenter(list, 2)), list.palette().color(QPalette::Highlight));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, RowCenter(list, 2));
    ExpectOrder({"Q", "P", "R", "S", "T"});
}

// ---- the import list and the transfer

TEST_F(ListsTest, ADroppedFileFillsTheImportListAndATextFileLeavesIt)
{
    Start();
    d->ShowImportView();
    const QString first = ImportFile("a.mem", {{"A1", 0, 0, 0}, {"A2", 0, 0, 0}});
    const QString second = ImportFile("b.mem", {{"B1", 7, 0, 0}, {"B2", 0, 0, 0}, {"B3", 0, 0, 0}});
    test::WriteBytes(dir.File("notes.txt"), {'h', 'i'});
    auto drop = [&](const QStringList& files) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& f : files)
            urls << QUrl::fromLocalFile(f);
        mime.setUrls(urls);
        QWidget* target = d->ImportList().viewport();
        const QPoint middle(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(middle, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
    };
    drop({first});
    EXPECT_EQ(Names(d->ImportList()), (QStringList{"A1", "A2"}));
    drop({first, second});
    EXPECT_EQ(Names(d->ImportList()), (QStringList{"B1", "B2", "B3"}));
    drop({QString::fromStdString(dir.File("notes.txt"))});
    EXPECT_EQ(Names(d->ImportList()), (QStringList{"B1", "B2", "B3"}));
    EXPECT_EQ(d->EditList().GetItemCount(), 0);  // the edited book is not touched
    EXPECT_EQ(d->Document().FilePath(), QString());
    EXPECT_EQ(d->ImportList().GetImage(0), 7);
}

TEST_F(ListsTest, TransferIsAllOrNothingAtAHundredPoints)
{
    QStringList names;
    for (int i = 0; i < 98; ++i)
        names << QString("E%1").arg(i);
    Fill(names);
    ShowImport(ImportFile("i.mem", {{"X", 0, 0, 0}, {"Y", 0, 0, 0}, {"Z", 0, 0, 0}}));
    SelectImportRows({0, 1, 2});
    d->OnTransfer();
    EXPECT_EQ(prompter.Texts(), QStringList{"１００地点以上は登録出来ません。"});
    EXPECT_EQ(book.GetCount(), 98);
    SelectImportRows({0, 2});
    d->OnTransfer();
    EXPECT_EQ(book.GetCount(), 100);
    EXPECT_TRUE(d->windowTitle().endsWith("地点登録数  100"));
}

TEST_F(ListsTest, CopiesLandInTheirOrderAtTheSelectedPlace)
{
    Fill({"A", "B", "C", "D"});
    ShowImport(ImportFile("i.mem", {{"X", 0, 0, 0}, {"W", 0, 0, 0}, {"Y", 0, 0, 0}, {"Z", 0, 0, 0}}));
    SelectImportRows({0, 2, 3});
    User::Click(User::Button(*d, ">>"));
    EXPECT_EQ(BookNames(), (QStringList{"A", "B", "C", "D", "X", "Y", "Z"}));
    EXPECT_EQ(Names(d->TargetList()), BookNames());
    EXPECT_EQ(Names(d->EditList()), BookNames());

    User::ClickRow(List3(), 2);
    SelectImportRows({1});
    d->OnTransfer();
    EXPECT_EQ(BookNames().mid(0, 4), (QStringList{"A", "B", "W", "C"}));
    EXPECT_EQ(d->EditList().GetNextSelected(-1), 3);  // the selection stays on C
    EXPECT_EQ(d->ImportList().GetSelectedCount(), 1);
}

TEST_F(ListsTest, TheMarkFieldGivesEveryCopyOneMark)
{
    Fill({"A"});
    const QString importPath = ImportFile("i.mem", {{"X", 7, 9, 8}, {"Y", 2, 0, 0}});
    const std::vector<std::uint8_t> importBytes = test::ReadBytes(importPath.toStdString());
    ShowImport(importPath);

    SelectImportRows({0, 1});
    MarkField().setText("3");
    d->OnTransfer();
    for (int i : {1, 2}) {
        EXPECT_EQ(book.Entry(i).mark, 3);
        EXPECT_EQ(book.Entry(i).distance, 4);
        EXPECT_EQ(book.Entry(i).category, 3);
        EXPECT_EQ(d->TargetList().GetItemText(i, 3), QString("3"));
        EXPECT_EQ(d->TargetList().GetImage(i), 3);
    }

    MarkField().setText("0");
    SelectImportRows({0});
    d->OnTransfer();
    EXPECT_EQ(book.Entry(3).mark, 0);
    EXPECT_EQ(book.Entry(3).distance, 9);
    EXPECT_EQ(book.Entry(3).category, 8);

    MarkCheck().click();  // unchecked: each point keeps its own mark
    SelectImportRows({0, 1});
    d->OnTransfer();
    EXPECT_EQ(book.Entry(5).name, "Y");
    EXPECT_EQ(book.Entry(5).mark, 2);
    EXPECT_EQ(book.Entry(5).distance, 4);
    EXPECT_EQ(book.Entry(5).category, 2);
    EXPECT_EQ(book.Entry(4).mark, 7);
    EXPECT_EQ(book.Entry(4).distance, 9);
    EXPECT_FALSE(d->TargetList().GetCheck(4));

    EXPECT_EQ(Names(List2()), (QStringList{"X", "Y"}));
    EXPECT_EQ(List2().GetItemText(0, 3), QString("7"));
    EXPECT_EQ(test::ReadBytes(importPath.toStdString()), importBytes);
}

TEST_F(ListsTest, AMarkOutOfRangeCopiesNothing)
{
    Fill({"A"});
    const QString title = d->windowTitle();
    ShowImport(ImportFile("i.mem", {{"X", 1, 0, 0}, {"Y", 2, 0, 0}}));
    SelectImportRows({0, 1});
    for (const char* text : {"", "26", "ab"}) {
        MarkField().setText(text);
        d->OnTransfer();
        EXPECT_EQ(prompter.Texts().last(), QString("ＭＡＲＫの入力範囲は０～２５までです。")) << text;
        EXPECT_EQ(prompter.shown.back().icon, Prompter::Icon::none);
        EXPECT_EQ(book.GetCount(), 1);
        EXPECT_EQ(d->TargetList().GetItemCount(), 1);
        EXPECT_FALSE(Modified());
        EXPECT_EQ(d->windowTitle(), title);
    }
}

TEST_F(ListsTest, DragCursorsFollowTheSelectionAndThePlace)
{
    Fill({"A"});
    ShowImport(ImportFile("i.mem", {{"X", 0, 0, 0}, {"Y", 0, 0, 0}, {"Z", 0, 0, 0}}));
    auto& import = d->ImportList();
    QWidget& viewport = *import.viewport();
    auto overList3 = [&] {
        return import.viewport()->mapFromGlobal(d->TargetList().mapToGlobal(d->TargetList().rect().center()));
    };
    const QPoint overBackground =
        import.viewport()->mapFromGlobal(d->mapToGlobal(QPoint(d->TargetList().x() - 20, d->height() - 5)));

    SelectImportRows({1});
    BeginDrag(import, 1);
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copyOne);
    User::Move(viewport, overBackground);
    EXPECT_EQ(import.CurrentCursor(), DragCursor::forbidden);
    User::Move(viewport, overList3());
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copyOne);
    User::Release(viewport, overBackground);  // nothing happens
    EXPECT_EQ(import.CurrentCursor(), DragCursor::arrow);
    EXPECT_EQ(book.GetCount(), 1);

    SelectImportRows({0, 1, 2});
    BeginDrag(import, 1);
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copySeveral);
    User::Move(viewport, RowCenter(import, 0));
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copySeveral);
    User::Release(viewport, RowCenter(import, 0));  // over List2 itself: nothing
    EXPECT_EQ(book.GetCount(), 1);

    BeginDrag(import, 1);
    User::Release(viewport, overList3());  // a drop on List3 transfers as ">>" does
    EXPECT_EQ(BookNames(), (QStringList{"A", "X", "Y", "Z"}));
    EXPECT_EQ(import.CurrentCursor(), DragCursor::arrow);
}

TEST_F(ListsTest, TwoFilesTransferReorderSaveAndReadBack)
{
    PointBook edited;
    for (const char* n : {"A", "B", "C"})
        edited.InsertEntry(edited.GetCount(), test::SimplePoint(n, 1));
    ASSERT_TRUE(edited.Save(dir.File("edited.mem")));
    const QString importPath = ImportFile("import.mem", {{"X", 7, 9, 8}, {"Y", 8, 0, 0}, {"Z", 9, 0, 0}});

    Start();
    prompter.openNames = {QString::fromStdString(dir.File("edited.mem"))};
    d->OnFileOpen();
    ShowImport(importPath);
    SelectImportRows({0, 1, 2});
    MarkField().setText("5");
    User::ClickRow(List3(), 1);
    d->OnTransfer();  // A X Y Z B C
    auto& list = d->TargetList();
    BeginDrag(list, 5);
    User::Move(*list.viewport(), RowCenter(list, 0));
    User::Release(*list.viewport(), RowCenter(list, 0));  // C to the front
    EXPECT_EQ(Names(d->EditList()), (QStringList{"C", "A", "X", "Y", "Z", "B"}));
    d->OnFileSave();
    EXPECT_FALSE(Modified());

    QProcess cli;
    cli.start(QStringLiteral(TOVIK_CLI), {"show", "--json", QString::fromStdString(dir.File("edited.mem"))});
    ASSERT_TRUE(cli.waitForFinished(10000));
    ASSERT_EQ(cli.exitCode(), 0);
    const QJsonArray points = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
    QStringList names;
    for (const auto& p : points)
        names << p.toObject()["name"].toString();
    EXPECT_EQ(names, (QStringList{"C", "A", "X", "Y", "Z", "B"}));
    for (int i : {2, 3, 4}) {
        const QJsonObject p = points[i].toObject();
        EXPECT_EQ(p["mark"].toInt(), 5);
        EXPECT_EQ(p["distance"].toInt(), 4);
        EXPECT_EQ(p["category"].toInt(), 5);
        EXPECT_EQ(p["markText"].toString(), QString("5"));
        EXPECT_EQ(p["longitude"].toInt(), test::SimplePoint("X", 7).longitude);
    }
    EXPECT_EQ(points[0].toObject()["mark"].toInt(), 1);
}

}  // namespace
}  // namespace tovik
