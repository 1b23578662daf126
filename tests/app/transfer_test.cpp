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
#include "tests/support/scriptedprompter.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

QStringList Names(ListBase& list)
{
    QStringList names;
    for (int r = 0; r < list.GetItemCount(); ++r)
        names << list.GetItemText(r, 0);
    return names;
}

QStringList Names(const PointBook& book)
{
    QStringList names;
    for (int i = 0; i < book.GetCount(); ++i)
        names << QString::fromStdString(book.GetName(i));
    return names;
}

class ListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d = std::make_unique<MainDialog>(book, prompter, QString());
        d->show();
        QApplication::processEvents();
    }
    // Edited points with the given names and marks 0, 1, 2, ...
    void Fill(const QStringList& names)
    {
        for (int i = 0; i < names.size(); ++i)
            book.InsertEntry(i, test::SimplePoint(names[i].toStdString(), i));
        d->RefreshLists();
        book.SetModified(false);
    }
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
        EXPECT_TRUE(test::SavePoints(dir.File(file), entries));
        return QString::fromStdString(dir.File(file));
    }
    void SelectImportRows(const std::vector<int>& rows)
    {
        d->ImportList().clearSelection();
        for (int r : rows)
            d->ImportList().SelectItem(r);
    }
    QLineEdit& MarkField() { return *d->findChild<QLineEdit*>("markField"); }
    QCheckBox& MarkCheck() { return *d->findChild<QCheckBox*>("markCheck"); }
    QPoint RowCenter(ListBase& list, int row) { return list.visualRect(list.model()->index(row, 0)).center(); }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    PointBook book;
    std::unique_ptr<MainDialog> d;
};

// ---- reordering by dragging

class DragTest : public ListsTest {
protected:
    void SetUp() override
    {
        ListsTest::SetUp();
        Fill({"P", "Q", "R", "S", "T"});
    }
    // Drags row `from` over the rows `over`, then releases at `release` (viewport pixels).
    void Drag(PointListCtrl& list, int from, const std::vector<int>& over, QPoint release)
    {
        list.OnBeginDrag(from, RowCenter(list, from));
        for (int r : over)
            list.OnMouseMove(RowCenter(list, r));
        list.OnMouseMove(release);
        list.OnLButtonUp(release);
        EXPECT_FALSE(list.IsDragging());
    }
    void ExpectOrder(const QStringList& order)
    {
        EXPECT_EQ(Names(d->EditList()), order);
        EXPECT_EQ(Names(d->TargetList()), order);
        EXPECT_EQ(Names(book), order);
    }
};

TEST_F(DragTest, ReleaseOverARowPutsTheDraggedRowInFrontOfIt)
{
    auto& list = d->EditList();
    Drag(list, 0, {3}, RowCenter(list, 3));
    ExpectOrder({"Q", "R", "P", "S", "T"});
    EXPECT_TRUE(book.IsModified());
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
    EXPECT_FALSE(book.IsModified());
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
    d->SelectRow(3);
    list.SetCheck(3, true);
    list.SetCheck(1, true);
    Drag(list, 3, {0}, RowCenter(list, 0));
    ExpectOrder({"S", "P", "Q", "R", "T"});
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(2));  // Q keeps its tick
    EXPECT_FALSE(list.GetCheck(4));
    EXPECT_EQ(MainDialog::FirstSelectedRow(list), 0);
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
    list.OnBeginDrag(0, RowCenter(list, 0));
    list.OnMouseMove(QPoint(20, list.viewport()->height() - 2));
    EXPECT_EQ(list.DropIndex(), last);
    EXPECT_GT(list.verticalScrollBar()->value(), 0);
    EXPECT_LE(list.visualRect(list.model()->index(last, 0)).bottom(), list.viewport()->height());
    list.OnLButtonUp(RowCenter(list, last));
    EXPECT_EQ(Names(book)[last - 1], QString("R0"));
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
    EXPECT_EQ(d->FilePath(), QString());
    EXPECT_EQ(d->ImportList().GetImage(0), 7);
}

TEST_F(ListsTest, TransferIsAllOrNothingAtAHundredPoints)
{
    QStringList names;
    for (int i = 0; i < 98; ++i)
        names << QString("E%1").arg(i);
    Fill(names);
    d->ImportList().LoadFile(ImportFile("i.mem", {{"X", 0, 0, 0}, {"Y", 0, 0, 0}, {"Z", 0, 0, 0}}));
    SelectImportRows({0, 1, 2});
    d->OnTransfer();
    EXPECT_EQ(prompter.Texts(), QStringList{"１００地点以上は登録出来ません。"});
    EXPECT_EQ(book.GetCount(), 98);
    SelectImportRows({0, 2});
    d->OnTransfer();
    EXPECT_EQ(book.GetCount(), 100);
    EXPECT_TRUE(d->windowTitle().endsWith("地点登録数  100"));
}

TEST_F(ListsTest, CopiesLandInReverseOrderAtTheSelectedPlace)
{
    Fill({"A", "B", "C", "D"});
    d->ImportList().LoadFile(ImportFile("i.mem", {{"X", 0, 0, 0}, {"W", 0, 0, 0}, {"Y", 0, 0, 0}, {"Z", 0, 0, 0}}));
    SelectImportRows({0, 2, 3});
    d->OnTransfer();
    EXPECT_EQ(Names(book), (QStringList{"A", "B", "C", "D", "Z", "Y", "X"}));
    EXPECT_EQ(Names(d->TargetList()), Names(book));
    EXPECT_EQ(Names(d->EditList()), Names(book));

    d->SelectRow(2);
    SelectImportRows({1});
    d->OnTransfer();
    EXPECT_EQ(Names(book).mid(0, 4), (QStringList{"A", "B", "W", "C"}));
    EXPECT_EQ(MainDialog::FirstSelectedRow(d->EditList()), 3);  // the selection stays on C
    EXPECT_EQ(d->ImportList().GetSelectedCount(), 1);
}

TEST_F(ListsTest, TheMarkFieldGivesEveryCopyOneMark)
{
    Fill({"A"});
    d->ShowImportView();
    d->ImportList().LoadFile(ImportFile("i.mem", {{"X", 7, 9, 8}, {"Y", 2, 0, 0}}));
    const PointBook& importBook = d->ImportList().ImportBook();
    const PointEntry before = importBook.Entry(0);

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
    EXPECT_EQ(book.Entry(4).name, "Y");
    EXPECT_EQ(book.Entry(4).mark, 2);
    EXPECT_EQ(book.Entry(4).distance, 4);
    EXPECT_EQ(book.Entry(4).category, 2);
    EXPECT_EQ(book.Entry(5).mark, 7);
    EXPECT_EQ(book.Entry(5).distance, 9);
    EXPECT_FALSE(d->TargetList().GetCheck(5));

    EXPECT_EQ(importBook.Entry(0), before);
    EXPECT_EQ(importBook.GetCount(), 2);
    EXPECT_FALSE(importBook.IsModified());
}

TEST_F(ListsTest, AMarkOutOfRangeCopiesNothing)
{
    Fill({"A"});
    const QString title = d->windowTitle();
    d->ImportList().LoadFile(ImportFile("i.mem", {{"X", 1, 0, 0}, {"Y", 2, 0, 0}}));
    SelectImportRows({0, 1});
    for (const char* text : {"", "26", "ab"}) {
        MarkField().setText(text);
        d->OnTransfer();
        EXPECT_EQ(prompter.Texts().last(), QString("ＭＡＲＫの入力範囲は０～２５までです。")) << text;
        EXPECT_EQ(prompter.shown.back().icon, Prompter::Icon::none);
        EXPECT_EQ(book.GetCount(), 1);
        EXPECT_EQ(d->TargetList().GetItemCount(), 1);
        EXPECT_FALSE(book.IsModified());
        EXPECT_EQ(d->windowTitle(), title);
    }
}

TEST_F(ListsTest, DragCursorsFollowTheSelectionAndThePlace)
{
    Fill({"A"});
    d->ShowImportView();
    QApplication::processEvents();
    auto& import = d->ImportList();
    import.LoadFile(ImportFile("i.mem", {{"X", 0, 0, 0}, {"Y", 0, 0, 0}, {"Z", 0, 0, 0}}));
    auto overList3 = [&] {
        return import.viewport()->mapFromGlobal(d->TargetList().mapToGlobal(d->TargetList().rect().center()));
    };
    const QPoint overBackground =
        import.viewport()->mapFromGlobal(d->mapToGlobal(QPoint(d->TargetList().x() - 20, d->height() - 5)));

    SelectImportRows({1});
    import.OnBeginDrag();
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copyOne);
    import.OnMouseMove(overBackground);
    EXPECT_EQ(import.CurrentCursor(), DragCursor::forbidden);
    import.OnMouseMove(overList3());
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copyOne);
    import.OnLButtonUp(overBackground);  // nothing happens
    EXPECT_EQ(import.CurrentCursor(), DragCursor::arrow);
    EXPECT_EQ(book.GetCount(), 1);

    SelectImportRows({0, 1, 2});
    import.OnBeginDrag();
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copySeveral);
    import.OnMouseMove(RowCenter(import, 0));
    EXPECT_EQ(import.CurrentCursor(), DragCursor::copySeveral);
    import.OnLButtonUp(RowCenter(import, 0));  // over List2 itself: nothing
    EXPECT_EQ(book.GetCount(), 1);

    import.OnBeginDrag();
    import.OnLButtonUp(overList3());  // a drop on List3 transfers as ">>" does
    EXPECT_EQ(Names(book), (QStringList{"A", "Z", "Y", "X"}));
    EXPECT_EQ(import.CurrentCursor(), DragCursor::arrow);
}

TEST_F(ListsTest, TwoFilesTransferReorderSaveAndReadBack)
{
    PointBook edited;
    for (const char* n : {"A", "B", "C"})
        edited.InsertEntry(edited.GetCount(), test::SimplePoint(n, 1));
    ASSERT_TRUE(edited.Save(dir.File("edited.mem")));
    const QString importPath = ImportFile("import.mem", {{"X", 7, 9, 8}, {"Y", 8, 0, 0}, {"Z", 9, 0, 0}});

    prompter.openNames = {QString::fromStdString(dir.File("edited.mem"))};
    d->OnFileOpen();
    d->ShowImportView();
    d->ImportList().LoadFile(importPath);
    SelectImportRows({0, 1, 2});
    MarkField().setText("5");
    d->SelectRow(1);
    d->OnTransfer();  // A Z Y X B C
    auto& list = d->TargetList();
    list.OnBeginDrag(5, RowCenter(list, 5));
    list.OnMouseMove(RowCenter(list, 0));
    list.OnLButtonUp(RowCenter(list, 0));  // C to the front
    EXPECT_EQ(Names(d->EditList()), (QStringList{"C", "A", "Z", "Y", "X", "B"}));
    d->OnFileSave();
    EXPECT_FALSE(book.IsModified());

    QProcess cli;
    cli.start(QStringLiteral(TOVIK_CLI), {"show", "--json", QString::fromStdString(dir.File("edited.mem"))});
    ASSERT_TRUE(cli.waitForFinished(10000));
    ASSERT_EQ(cli.exitCode(), 0);
    const QJsonArray points = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
    QStringList names;
    for (const auto& p : points)
        names << p.toObject()["name"].toString();
    EXPECT_EQ(names, (QStringList{"C", "A", "Z", "Y", "X", "B"}));
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
