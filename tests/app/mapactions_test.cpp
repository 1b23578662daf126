// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include "editing/pointeditdialog.h"
#include "interop/exchangeconverter.h"
#include "interop/pointexchange.h"
#include "map/mapwindow.h"
#include "tests/map/tileserver.h"
#include "tests/support/editorfixture.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

using test::User;

// Near Tokyo Station, as the device keeps them in the Tokyo datum: a few hundred metres
// apart, and about 460 m from where the same numbers lie in WGS 84.
PointEntry At(const char* name, const char* longitude, const char* latitude, int mark)
{
    PointEntry e = test::SimplePoint(name, mark);
    const Coordinate lon = ParseCoordinate(longitude), lat = ParseCoordinate(latitude);
    e.longitude = lon.value;
    e.longitudeFraction = lon.fraction;
    e.latitude = lat.value;
    e.latitudeFraction = lat.fraction;
    return e;
}
const std::vector<PointEntry> kPoints{
    At("A", "139.46.12.300", "35.40.40.600", 1),
    At("B", "139.46.24.000", "35.40.47.000", 2),
    At("C", "139.46.30.000", "35.40.34.000", 3),
    At("nowhere", "0.00.00.0", "0.00.00.0", 4),
};
// The tests find no icon files: every mark is a grey square of 32 pixels.
const QColor kIconGrey(128, 128, 128);
const QColor kDotFill(230, 80, 20);

class MapEditorTest : public test::EditorFixture {
protected:
    void SetUp() override
    {
        // The map's place and view, the device datum and the tiles go to the test's folders.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
        QCoreApplication::addLibraryPath(QStringLiteral(TOVIK_MODULE_DIR));
        ASSERT_TRUE(server.Start());
        qputenv("TOVIK_TILE_URL", server.UrlTemplate().toUtf8());
        StartWithPoints(kPoints);
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, qEnvironmentVariable("XDG_CONFIG_HOME"));
    }

    MapWindow& OpenMap()
    {
        User::Choose(*d, "表示", "地図");
        MapWindow* map = d->Map().Window();
        EXPECT_TRUE(map && QTest::qWaitForWindowExposed(map));
        return *map;
    }
    MapView& View() { return d->Map().Window()->View(); }
    QAction& MapItem()
    {
        QAction* item = nullptr;
        for (QAction* title : d->findChild<QMenuBar*>()->actions()) {
            if (title->text().startsWith(QStringLiteral("表示")))
                item = title->menu()->actions().last();
        }
        return *item;
    }
    // The WGS 84 positions the GPX export gives the points, in their order.
    std::vector<GeoPoint> Exported()
    {
        prompter.saveNames = {File("out.gpx")};
        User::Choose(*d, "ﾌｧｲﾙ", "エクスポート...");
        QFile gpx(File("out.gpx"));
        EXPECT_TRUE(gpx.open(QIODevice::ReadOnly));
        std::vector<GeoPoint> at;
        QXmlStreamReader xml(&gpx);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"wpt")
                at.push_back({xml.attributes().value("lat").toDouble(), xml.attributes().value("lon").toDouble()});
        }
        return at;
    }
    // The middle of the pixels of `color` within 20 pixels of `near` on the map as shown.
    std::optional<QPointF> DrawnNear(QPointF near, QColor color)
    {
        const QImage shot = View().grab().toImage().convertToFormat(QImage::Format_RGB32);
        double x = 0, y = 0;
        int count = 0;
        for (int py = int(near.y()) - 20; py <= int(near.y()) + 20; ++py) {
            for (int px = int(near.x()) - 20; px <= int(near.x()) + 20; ++px) {
                if (shot.valid(px, py) && shot.pixelColor(px, py) == color) {
                    x += px + 0.5;
                    y += py + 0.5;
                    ++count;
                }
            }
        }
        return count >= 40 ? std::optional(QPointF(x / count, y / count)) : std::nullopt;
    }
    void ExpectDrawnAt(QPointF expected, QColor color = kIconGrey)
    {
        const auto drawn = DrawnNear(expected, color);
        ASSERT_TRUE(drawn) << "nothing drawn near " << expected.x() << "," << expected.y();
        EXPECT_NEAR(drawn->x(), expected.x(), 1.0);
        EXPECT_NEAR(drawn->y(), expected.y(), 1.0);
    }
    // Where the map shows a point whose stored coordinates are in `datum`.
    QPointF PixelOf(const PointEntry& e, DeviceDatum datum = DeviceDatum::tokyo)
    {
        const GeoPoint stored{DatumConverter::Degrees(e.latitude, e.latitudeFraction),
                              DatumConverter::Degrees(e.longitude, e.longitudeFraction)};
        return View().PixelOf(*DatumConverter(datum).ToWgs84(stored));
    }
    QPointF PixelOfRow(int row, DeviceDatum datum = DeviceDatum::tokyo) { return PixelOf(book.Entry(row), datum); }

    QTemporaryDir home;
    test::TileServer server;
};

TEST_F(MapEditorTest, TheItemOpensTheMapAndTheWindowManagerClosesIt)
{
    EXPECT_EQ(d->Map().Window(), nullptr) << "the map is made when it is first asked for";
    MapWindow& map = OpenMap();
    EXPECT_TRUE(MapItem().isChecked());
    EXPECT_EQ(map.windowTitle(), QStringLiteral("地図 — edited.mem"));
    prompter.saveNames = {File("renamed.mem")};
    User::Choose(*d, "ﾌｧｲﾙ", "名前を付けて保存");
    EXPECT_EQ(map.windowTitle(), QStringLiteral("地図 — renamed.mem"));

    QCloseEvent close;
    QCoreApplication::sendEvent(map.windowHandle(), &close);
    EXPECT_FALSE(map.isVisible());
    EXPECT_FALSE(MapItem().isChecked());
    QApplication::setActiveWindow(d.get());
    QTest::keyClick(d.get(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(map.isVisible());
    EXPECT_TRUE(MapItem().isChecked());
    QApplication::setActiveWindow(&map);
    QTest::keyClick(&map.View(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_FALSE(map.isVisible());
    EXPECT_FALSE(MapItem().isChecked());
}

TEST_F(MapEditorTest, TheMapTakesTheMouseWhileTheEditorRunsAsTheProgramRunsIt)
{
    d->hide();
    QTimer::singleShot(0, [&] {
        OpenMap();
        User::ClickAt(View(), PixelOfRow(2).toPoint());
        EXPECT_EQ(List1().SelectedRows(), std::vector<int>{2});
        d->done(QDialog::Rejected);
    });
    d->exec();
}

TEST_F(MapEditorTest, MarksStandWhereTheExportPutsThePointsAndFollowTheDatum)
{
    const std::vector<GeoPoint> exported = Exported();
    ASSERT_GE(exported.size(), 3u);
    OpenMap();
    EXPECT_EQ(View().Markers().size(), 3) << "a point at 0/0 has no place";
    // Zoomed out to where the datum's shift is some sixty pixels, the points tens apart.
    while (View().Zoom() > 14)
        QTest::keyClick(&View(), Qt::Key_Minus);
    for (int row = 0; row < 3; ++row)
        ExpectDrawnAt(View().PixelOf(exported[std::size_t(row)]));

    User::Choose(*d, "表示", "本体の測地系", "世界測地系 (WGS 84)");
    for (int row = 0; row < 3; ++row) {
        const QPointF shifted = PixelOfRow(row, DeviceDatum::wgs84);
        ExpectDrawnAt(shifted);
        EXPECT_GT(QLineF(shifted, View().PixelOf(exported[std::size_t(row)])).length(), 40);
    }
}

TEST_F(MapEditorTest, AClickSelectsARowAndADragMovesItsPointOneStepOfTheHistory)
{
    OpenMap();
    User::ClickAt(View(), PixelOfRow(2).toPoint());
    EXPECT_EQ(List1().SelectedRows(), std::vector<int>{2});

    const PointEntry before = book.Entry(1);
    const QPointF from = PixelOfRow(1), to = from + QPointF(45, 30);
    // Taken off its middle: the point moves by the pointer's movement.
    const QPoint grab = (from + QPointF(7, -5)).toPoint();
    User::Press(View(), grab);
    User::Move(View(), grab + QPoint(15, 10));
    User::Move(View(), grab + QPoint(45, 30));
    User::Release(View(), grab + QPoint(45, 30));
    ASSERT_EQ(d->Document().History().count(), 1);
    EXPECT_EQ(d->Document().History().undoText(), QStringLiteral("位置の変更"));
    ExpectDrawnAt(to);
    EXPECT_NEAR(PixelOfRow(1).x(), to.x(), 0.5);
    EXPECT_NEAR(PixelOfRow(1).y(), to.y(), 0.5);
    PointEntry moved = book.Entry(1);
    const std::string shown = FormatCoordinate(moved.longitude, moved.longitudeFraction);
    EXPECT_EQ(List1().GetItemText(1, RowRecord::longitude), QString::fromStdString(shown));
    EXPECT_EQ(List1().SelectedRows(), std::vector<int>{1});
    moved.longitude = before.longitude;
    moved.longitudeFraction = before.longitudeFraction;
    moved.latitude = before.latitude;
    moved.latitudeFraction = before.latitudeFraction;
    EXPECT_EQ(moved, before) << "only the position changes";

    User::Choose(*d, "編集", "元に戻す: 位置の変更");
    EXPECT_EQ(book.Entry(1), before);
    EXPECT_FALSE(Modified());
    ExpectDrawnAt(from);
    User::Choose(*d, "編集", "やり直し: 位置の変更");
    EXPECT_NEAR(PixelOfRow(1).x(), to.x(), 0.5);
    ExpectDrawnAt(to);
}

TEST_F(MapEditorTest, APointDraggedWhereTheDeviceHasNoPlaceStaysWhereItWas)
{
    OpenMap();
    while (View().Zoom() > 2)
        QTest::keyClick(&View(), Qt::Key_Minus);
    const QPoint from = PixelOfRow(0).toPoint(), south = from + QPoint(0, 200);
    User::Press(View(), from);
    User::Move(View(), from + QPoint(0, 20));
    User::Move(View(), south);
    User::Release(View(), south);
    EXPECT_EQ(book.Entry(0), kPoints[0]);
    EXPECT_EQ(d->Document().History().count(), 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.contains(QStringLiteral("本体に保存できません")));
    ExpectDrawnAt(from);
}

TEST_F(MapEditorTest, AddHereOpensTheAddDialogAtThatPlace)
{
    OpenMap();
    const QPointF here = PixelOfRow(0) + QPointF(40, 60);
    QString longitude, latitude;
    InDialog<PointEditDialog>([&](PointEditDialog& e) {
        longitude = e.LongitudeField().text();
        latitude = e.LatitudeField().text();
        User::Type(e.NameField(), QStringLiteral("here"));
        ClickOK(e);
    });
    QWindow* window = View().window()->windowHandle();
    const QPoint inWindow = View().mapTo(View().window(), here.toPoint());
    // The button comes up over the menu, then the item is clicked.
    QTimer::singleShot(0, [window, inWindow] {
        QTest::mouseRelease(window, Qt::RightButton, {}, inWindow);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* add = menu->actions().value(0);
        ASSERT_EQ(add->text(), QStringLiteral("ここに地点を追加"));
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(add).center());
    });
    QTest::mousePress(window, Qt::RightButton, {}, inWindow);
    QCoreApplication::processEvents();
    ASSERT_EQ(book.GetCount(), 5);
    EXPECT_EQ(List1().GetItemText(4, RowRecord::name), QStringLiteral("here"));
    EXPECT_EQ(List1().GetItemText(4, RowRecord::longitude), longitude);
    EXPECT_EQ(List1().GetItemText(4, RowRecord::latitude), latitude);
    EXPECT_NEAR(PixelOfRow(4).x(), here.x(), 1.0);
    EXPECT_NEAR(PixelOfRow(4).y(), here.y(), 1.0);
    ExpectDrawnAt(PixelOfRow(4));
    EXPECT_EQ(d->Document().History().count(), 1);
}

TEST_F(MapEditorTest, TheFileImportViewAddsItsPointsAsDotsThatSelectTheirRows)
{
    std::vector<PointEntry> imported{At("X", "139.46.00.000", "35.40.30.000", 0),
                                     At("Y", "139.46.06.000", "35.40.50.000", 0)};
    PointExchange::ExportOptions options;
    options.format = ExchangeFormat::gpx;
    QFile file(File("import.gpx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PointExchange::Export(imported, ExchangeConverter(DeviceDatum::tokyo), options).Value());
    file.close();
    User::Choose(*d, "表示", "ファイル取りこみ画面");
    User::DropFiles(*List2().viewport(), {File("import.gpx")});
    ASSERT_EQ(List2().GetItemCount(), 2);

    OpenMap();
    EXPECT_EQ(View().Markers().size(), 5);
    const QPointF x = PixelOf(imported[0]);
    ExpectDrawnAt(x, kDotFill);
    User::ClickAt(View(), x.toPoint());
    EXPECT_EQ(List2().SelectedRows(), std::vector<int>{0});
    User::ClickAt(View(), PixelOfRow(1).toPoint());
    EXPECT_EQ(List3().SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(View().SelectedMarker(), 1);

    User::Choose(*d, "表示", "編集画面");
    EXPECT_EQ(View().Markers().size(), 3);
}

}  // namespace
}  // namespace tovik
