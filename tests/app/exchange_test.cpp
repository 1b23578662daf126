// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "platform/cp932.h"
#include "app/maindialog.h"
#include "core/pointbook.h"
#include "interop/pointexchange.h"
#include "tests/support/qtprinters.h"
#include "tests/support/editorfixture.h"
#include "tests/core/testimages.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

// Receives the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

class ExchangeEditorTest : public test::EditorFixture {
protected:
    void SetUp() override
    {
        // The datum setting goes to a folder of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QSettings().clear();
    }

    void ChooseDatum(const QString& item) { test::User::Choose(*d, "表示", "本体の測地系", item); }
    static QStringList Items(MainDialog& dialog, const QString& menuTitle)
    {
        QStringList items;
        for (QAction* a : dialog.findChild<QMenuBar*>()->actions()) {
            if (a->text().startsWith(menuTitle)) {
                for (QAction* item : a->menu()->actions())
                    items << (item->isSeparator() ? QStringLiteral("-") : item->text());
            }
        }
        return items;
    }
    // A file of the given format holding `count` points named W0, W1, ...
    QString ExchangeFile(const char* name, int count, ExchangeFormat::Format format = ExchangeFormat::gpx)
    {
        std::vector<PointEntry> entries;
        for (int i = 0; i < count; ++i)
            entries.push_back(test::SimplePoint("W" + std::to_string(i), i % 100));
        PointExchange::ExportOptions options;
        options.format = format;
        WriteFile(name, PointExchange::Export(entries, ExchangeConverter(DeviceDatum::tokyo), options).Value());
        return File(name);
    }
    void WriteFile(const char* name, const QByteArray& bytes)
    {
        QFile f(File(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void DropOnImportList(const QString& path) { test::User::DropFiles(*d->ImportList().viewport(), {path}); }
    static void ClickRow(ListBase& list, int row, Qt::KeyboardModifiers modifiers = {})
    {
        list.scrollTo(list.model()->index(row, 0));
        test::User::ClickRow(list, row, modifiers);
    }

    QTemporaryDir settingsDir;
};

TEST_F(ExchangeEditorTest, NewMenuItemsFollowTheDescribedOnes)
{
    Start();
    EXPECT_EQ(Items(*d, QStringLiteral("ﾌｧｲﾙ(&F)")),
              (QStringList{"開く", "上書き保存", "名前を付けて保存", "エクスポート...", "取りこみファイルを開く...", "-",
                           "ｱﾌﾟﾘｹｰｼｮﾝの終了"}));
    const QStringList edit = Items(*d, QStringLiteral("編集"));
    EXPECT_EQ(edit.mid(0, 5), (QStringList{"変更", "追加", "削除", "-", "移動"}));
    EXPECT_EQ(edit.mid(edit.size() - 4), (QStringList{"-", "地図で見る", "-", "検索"}));
    EXPECT_EQ(Items(*d, QStringLiteral("変換")),
              (QStringList{"一括変換", "-", "全て選択", "選択解除", "-", "並べ替え", "重複の確認..."}));
    EXPECT_EQ(Items(*d, QStringLiteral("表示")), (QStringList{"編集画面", "ファイル取りこみ画面", "-", "本体の測地系", "-", "地図"}));
}

TEST_F(ExchangeEditorTest, ExportWritesTheEditedPointsInTheChosenFormat)
{
    PointEntry empty = test::SimplePoint("empty");  // the device's empty coordinates
    empty.latitude = empty.longitude = 0;
    empty.latitudeFraction = empty.longitudeFraction = 0;
    StartWithPoints({test::TokyoTower(), test::SimplePoint("second", 5), empty});
    prompter.saveNames = {File("out.kmz")};
    test::User::Choose(*d, QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("エクスポート..."));
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_TRUE(prompter.saveRequests[0].filter.contains(QStringLiteral("KMZ ファイル (*.kmz)|*.kmz")));
    EXPECT_TRUE(prompter.saveRequests[0].overwritePrompt);
    EXPECT_EQ(prompter.saveRequests[0].title, QStringLiteral("エクスポート"));
    const PointExchange::Imported back =
        PointExchange::ImportFile(dir.File("out.kmz"), ExchangeFormat::kmz, ExchangeConverter(DeviceDatum::tokyo));
    ASSERT_EQ(back.error, QString());
    ASSERT_EQ(back.entries.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.entries[static_cast<std::size_t>(i)], book.Entry(i));
    // 0/0 lies outside the Tokyo datum's area: written as stored, and the user is told.
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.startsWith(QStringLiteral("「empty」 は日本測地系の変換範囲")))
        << prompter.shown[0].text.toStdString();
    EXPECT_FALSE(Modified());
    EXPECT_EQ(d->Document().FilePath(), File("edited.mem"));  // an export is no save: the current file stays

    // A name without a known extension exports nothing and says why.
    prompter.saveNames = {File("out.txt")};
    test::User::Choose(*d, QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("エクスポート..."));
    EXPECT_FALSE(QFile::exists(File("out.txt")));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_TRUE(prompter.shown[1].text.contains(QStringLiteral("拡張子")));
}

TEST_F(ExchangeEditorTest, TenThousandPointsInTheImportListAndASelectionTransferred)
{
    Start();
    prompter.openNames = {ExchangeFile("big.gpx", 10000)};
    test::User::Choose(*d, QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("取りこみファイルを開く..."));
    WaitForReading();
    EXPECT_EQ(d->CurrentView(), MainLayout::View::import);
    EXPECT_EQ(prompter.openRequests.at(0).title, QStringLiteral("取りこみファイルを開く"));
    ImportListCtrl& list = d->ImportList();
    ASSERT_EQ(list.GetItemCount(), 10000);
    EXPECT_EQ(list.GetItemText(9999, 0), QStringLiteral("W9999"));
    EXPECT_EQ(list.GetItemText(2, 3), QStringLiteral("2"));
    EXPECT_TRUE(prompter.shown.empty());

    // Rows 9997 to 9999 selected with the mouse go across with ">>", MARK unticked.
    d->findChild<QCheckBox*>("markCheck")->setChecked(false);
    ClickRow(list, 9997);
    ClickRow(list, 9999, Qt::ShiftModifier);
    EXPECT_EQ(list.GetSelectedCount(), 3);
    test::User::Click(test::User::Button(*d, QStringLiteral(">>")));
    ASSERT_EQ(book.GetCount(), 3);
    // The block lands in the order it had.
    EXPECT_EQ(book.GetName(0), "W9997");
    EXPECT_EQ(book.Entry(0).mark, 97 % 26);
    EXPECT_EQ(book.GetName(2), "W9999");

    // All of them, chosen with Home and Shift+End, would pass the device's hundred points:
    // nothing is copied.
    QTest::keyClick(&list, Qt::Key_Home);
    QTest::keyClick(&list, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(list.GetSelectedCount(), 10000);
    test::User::Click(test::User::Button(*d, QStringLiteral(">>")));
    EXPECT_EQ(book.GetCount(), 3);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("１００地点以上は登録出来ません。"));
}

TEST_F(ExchangeEditorTest, DroppedExchangeFilesFillTheImportListAndBadOnesLeaveIt)
{
    Start();
    d->ShowImportView();
    DropOnImportList(ExchangeFile("two.geojson", 2, ExchangeFormat::geojson));
    ASSERT_EQ(d->ImportList().GetItemCount(), 2);
    EXPECT_EQ(d->ImportList().GetItemText(1, 0), QStringLiteral("W1"));

    WriteFile("broken.gpx", "<gpx><wpt lat=\"35\" lon=\"139\">");
    DropOnImportList(File("broken.gpx"));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.startsWith(QStringLiteral("XML として読めません"))) << prompter.shown[0].text.toStdString();
    EXPECT_EQ(d->ImportList().GetItemCount(), 2);

    // Points that cannot be stored are named in one message; the others are shown.
    WriteFile("mixed.csv", "name,lat,lon\nLima,-12.05,-77.04\nNara,34.685,135.805\n");
    DropOnImportList(File("mixed.csv"));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_TRUE(prompter.shown[1].text.startsWith(QStringLiteral("「Lima」 は東経・北緯の範囲にないため")));
    ASSERT_EQ(d->ImportList().GetItemCount(), 1);
    EXPECT_EQ(d->ImportList().GetItemText(0, 0), QStringLiteral("Nara"));

    // A file that declares entities is refused whole, and a name of a million letters is
    // quoted short, as tovik-cli says them.
    WriteFile("entities.gpx", "<!DOCTYPE gpx [<!ENTITY a \"aaaa\">]><gpx><wpt lat=\"35\" lon=\"139\"><name>&a;</name></wpt></gpx>");
    DropOnImportList(File("entities.gpx"));
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_TRUE(prompter.shown[2].text.contains(QStringLiteral("DTD"))) << prompter.shown[2].text.toStdString();
    EXPECT_EQ(d->ImportList().GetItemText(0, 0), QStringLiteral("Nara"));
    WriteFile("long.gpx", "<gpx><wpt lat=\"35\" lon=\"139\"><name>" + QByteArray(1000000, 'n') + "</name></wpt></gpx>");
    DropOnImportList(File("long.gpx"));
    ASSERT_EQ(prompter.shown.size(), 4u);
    EXPECT_LT(prompter.shown[3].text.size(), 400) << prompter.shown[3].text.left(400).toStdString();
    EXPECT_EQ(d->ImportList().GetItemCount(), 1);
    EXPECT_EQ(book.GetCount(), 0);
}

TEST_F(ExchangeEditorTest, TheDeviceDatumIsChosenInTheViewMenuAndKept)
{
    Start();
    EXPECT_EQ(d->Exchange().Datum(), DeviceDatum::tokyo);
    ChooseDatum(QStringLiteral("世界測地系 (WGS 84)"));
    EXPECT_EQ(d->Exchange().Datum(), DeviceDatum::wgs84);

    // The next start has it, and reads exchange files without a shift.
    d.reset();
    d = std::make_unique<MainDialog>(book, prompter, QString());
    EXPECT_EQ(d->Exchange().Datum(), DeviceDatum::wgs84);
    WriteFile("one.csv", "name,lat,lon\nA,35.5,139.5\n");
    d->ShowImportView();
    DropOnImportList(File("one.csv"));
    EXPECT_EQ(d->ImportList().GetItemText(0, 1), QStringLiteral("139.30.00.0"));
    EXPECT_EQ(d->ImportList().GetItemText(0, 2), QStringLiteral(" 35.30.00.0"));
}

TEST_F(ExchangeEditorTest, ADatumChangeFitsTheImportFileAgainFromItsOwnPositions)
{
    StartWithPoints({test::SimplePoint("A", 1)});
    // Tokyo Tower in WGS 84, as a phone writes it.
    WriteFile("tower.gpx", "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"phone\" "
                           "xmlns=\"http://www.topografix.com/GPX/1/1\"><wpt lat=\"35.658581\" "
                           "lon=\"139.745433\"><name>T</name></wpt></gpx>");
    d->ShowImportView();
    DropOnImportList(File("tower.gpx"));
    auto readAs = [this](DeviceDatum datum) {
        const PointExchange::Imported read =
            PointExchange::ImportFile(dir.File("tower.gpx"), ExchangeFormat::gpx, ExchangeConverter(datum));
        EXPECT_EQ(read.entries.size(), 1u);
        return read.entries.at(0);
    };
    const PointEntry tokyo = readAs(DeviceDatum::tokyo);
    EXPECT_EQ(d->ImportList().GetItemText(0, 1), RowRecord::Text(tokyo, RowRecord::longitude));
    test::User::ClickRow(d->ImportList(), 0);

    ChooseDatum(QStringLiteral("世界測地系 (WGS 84)"));
    const PointEntry wgs84 = readAs(DeviceDatum::wgs84);
    ASSERT_NE(wgs84.longitude, tokyo.longitude);  // about 450 m apart
    EXPECT_EQ(d->ImportList().GetItemText(0, 1), RowRecord::Text(wgs84, RowRecord::longitude));
    EXPECT_EQ(d->ImportList().GetItemText(0, 2), RowRecord::Text(wgs84, RowRecord::latitude));
    EXPECT_EQ(d->ImportList().GetSelectedCount(), 1);  // the rows keep their selection
    test::User::Click(test::User::Button(*d, QStringLiteral(">>")));
    ASSERT_EQ(book.GetCount(), 2);
    EXPECT_EQ(book.Entry(1), wgs84);  // what is stored is what reading the file under WGS 84 gives
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ExchangeEditorTest, ALargeFileIsReadAsideWithProgressAndCancellingLeavesEverythingAsItWas)
{
    StartWithPoints({test::SimplePoint("A", 1)});
    WriteFile("small.csv", "name,lat,lon\nS1,35.5,139.5\nS2,35.6,139.6\n");
    d->ShowImportView();
    DropOnImportList(File("small.csv"));
    ASSERT_EQ(Names(List2()), (QStringList{"S1", "S2"}));
    // Waypoints as a phone writes them, far more than a moment's reading.
    QByteArray big = "<?xml version=\"1.0\"?><gpx version=\"1.1\" creator=\"phone\" xmlns=\"http://www.topografix.com/GPX/1/1\">";
    for (int i = 0; i < 300000; ++i)
        big += "<wpt lat=\"35." + QByteArray::number(100000 + i) + "\" lon=\"139.5\"><name>W" + QByteArray::number(i) +
               "</name></wpt>\n";
    WriteFile("big.gpx", big + "</gpx>");

    DropOnImportList(File("big.gpx"));
    ASSERT_TRUE(d->Exchange().Reading().Busy());  // the drop has returned: the window goes on
    QProgressDialog* progress = nullptr;
    for (int waited = 0; !(progress = d->Exchange().Reading().Dialog()) || !progress->isVisible(); waited += 10) {
        ASSERT_LT(waited, 20000) << "no progress shown";
        QTest::qWait(10);
    }
    EXPECT_EQ(progress->labelText(), QStringLiteral("ファイルを読んでいます…"));
    test::User::Click(test::User::Button(*progress, QStringLiteral("キャンセル")));
    WaitForReading();
    EXPECT_EQ(Names(List2()), (QStringList{"S1", "S2"}));
    EXPECT_EQ(BookNames(), QStringList{"A"});
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(prompter.shown.empty());

    // Read to its end, the file fills the list, and only then the warnings come.
    DropOnImportList(File("big.gpx"));
    WaitForReading();
    ASSERT_EQ(List2().GetItemCount(), 300000);
    EXPECT_EQ(List2().GetItemText(299999, 0), QStringLiteral("W299999"));
}

TEST_F(ExchangeEditorTest, ShowOnMapOpensTheGsiMapAtTheWgs84Position)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    StartWithPoints({test::TokyoTower()});
    QAction* showOnMap = nullptr;
    for (QAction* a : d->findChild<QMenuBar*>()->actions()) {
        for (QAction* item : a->menu()->actions())
            showOnMap = item->text() == QStringLiteral("地図で見る") ? item : showOnMap;
    }
    ASSERT_TRUE(showOnMap);
    EXPECT_FALSE(showOnMap->isEnabled());  // nothing selected: nothing to show
    ClickRow(d->EditList(), 0);
    EXPECT_TRUE(showOnMap->isEnabled());
    test::User::Choose(*d, QStringLiteral("編集"), QStringLiteral("地図で見る"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.urls.size(), 1);
    // The Tokyo datum's 35°39'31" N 139°44'45.5" E in WGS 84.
    EXPECT_EQ(catcher.urls[0].toString(), QStringLiteral("https://maps.gsi.go.jp/#17/35.661852/139.742741/"));
}

}  // namespace
}  // namespace tovik

#include "exchange_test.moc"
