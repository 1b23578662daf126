// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPointF>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <optional>

namespace tovik::test {

// Every map test has a cache and settings of its own, and a tile server that is never on
// the internet: a local port where nothing listens until a test starts its own server.
class MapTest : public ::testing::Test {
protected:
    MapTest()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Tovik"));
        // The network module is built beside the editor, not beside the tests.
        QCoreApplication::addLibraryPath(QStringLiteral(TOVIK_MODULE_DIR));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
        qputenv("TOVIK_TILE_URL", "http://127.0.0.1:9/{z}/{x}/{y}.png");
    }

    QTemporaryDir home;
};

// The mouse as the window system delivers it, at a point of `widget`.
inline QPoint InWindow(QWidget& widget, QPointF pos) { return widget.mapTo(widget.window(), pos.toPoint()); }
inline void Press(QWidget& widget, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(widget.window()->windowHandle(), button, {}, InWindow(widget, pos));
}
inline void Move(QWidget& widget, QPointF pos) { QTest::mouseMove(widget.window()->windowHandle(), InWindow(widget, pos)); }
inline void Release(QWidget& widget, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(widget.window()->windowHandle(), button, {}, InWindow(widget, pos));
}

// The middle of the pixels of exactly this colour in `image`, if there are any.
inline std::optional<QPointF> CentreOf(const QImage& image, QColor color)
{
    double sumX = 0, sumY = 0;
    int count = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            if (rgb.pixelColor(x, y) == color) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    if (count == 0)
        return std::nullopt;
    return QPointF(sumX / count + 0.5, sumY / count + 0.5);
}

}  // namespace tovik::test
