// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <map>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "tests/support/scriptedprompter.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

// Runs a test in a folder of its own, as the editor reads its icons from the current one.
class MarkIconsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.Path().string()));
    }
    void TearDown() override { QDir::setCurrent(previous); }
    void CopyIcons()
    {
        for (int k = 0; k < 26; ++k) {
            const QString name = QStringLiteral("mark%1.ico").arg(k, 2, 10, QChar(u'0'));
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOVIK_ICON_DIR "/") + name, name)) << name.toStdString();
        }
    }
    static bool IsPlaceholder(const QIcon& icon, int size)
    {
        const QImage image = icon.pixmap(size, size).toImage();
        return image.size() == QSize(size, size) && image.pixelColor(0, 0) == QColor(128, 128, 128) &&
               image.pixelColor(size / 2, size / 2) == QColor(128, 128, 128);
    }

    test::TempDir dir;
    QString previous;
    test::ScriptedPrompter prompter;
    PointBook book;
};

TEST_F(MarkIconsTest, EveryMarkHasItsOwnIcon)
{
    CopyIcons();
    MainDialog d(book, prompter, {});
    ASSERT_EQ(d.MarkImagesSmall().size(), 26);
    ASSERT_EQ(d.MarkImagesLarge().size(), 26);
    for (int k = 0; k < 26; ++k) {
        EXPECT_FALSE(IsPlaceholder(d.MarkImagesSmall()[k], 16)) << k;
        EXPECT_FALSE(IsPlaceholder(d.MarkImagesLarge()[k], 32)) << k;
    }
    EXPECT_NE(d.MarkImagesSmall()[1].pixmap(16, 16).toImage(), d.MarkImagesSmall()[2].pixmap(16, 16).toImage());

    // Each list takes the file's own picture of its size, not one scaled from the other.
    QImageReader reader(QStringLiteral("mark12.ico"));
    ASSERT_EQ(reader.imageCount(), 2);
    std::map<int, QImage> drawn;
    for (int i = 0; i < 2; ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        drawn[image.width()] = image;
    }
    EXPECT_EQ(d.MarkImagesSmall()[12].pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32), drawn[16]);
    EXPECT_EQ(d.MarkImagesLarge()[12].pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32), drawn[32]);
}

TEST_F(MarkIconsTest, MissingOrBrokenFilesGiveThePlaceholderInBothLists)
{
    CopyIcons();
    QFile::remove("mark07.ico");
    test::WriteBytes("mark09.ico", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'c', 'o', 'n'});
    MainDialog d(book, prompter, {});
    ASSERT_EQ(d.MarkImagesSmall().size(), 26);
    for (int k = 0; k < 26; ++k) {
        const bool expected = k == 7 || k == 9;
        EXPECT_EQ(IsPlaceholder(d.MarkImagesSmall()[k], 16), expected) << k;
        EXPECT_EQ(IsPlaceholder(d.MarkImagesLarge()[k], 32), expected) << k;
    }
}

// The icons installed with the program sit in "tovik" under a desktop data folder; the
// current folder still comes first, mark by mark.
TEST_F(MarkIconsTest, InstalledIconsFillInWhatTheCurrentFolderLacks)
{
    test::TempDir data;
    const QDir installed(QString::fromStdString(data.Path().string()) + QStringLiteral("/share/tovik"));
    ASSERT_TRUE(installed.mkpath(QStringLiteral(".")));
    for (int k = 0; k < 26; ++k) {
        const QString name = QStringLiteral("mark%1.ico").arg(k, 2, 10, QChar(u'0'));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TOVIK_ICON_DIR "/") + name, installed.filePath(name)));
    }
    // The user's own mark 3 (a plain red square), a broken mark 9 and nothing else.
    QImage own(16, 16, QImage::Format_ARGB32);
    own.fill(QColor(200, 0, 0));
    ASSERT_TRUE(QImageWriter(QStringLiteral("mark03.ico"), "ico").write(own));
    test::WriteBytes("mark09.ico", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'c', 'o', 'n'});

    const QByteArray previousDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(QDir(installed.filePath("..")).absolutePath()));
    MainDialog d(book, prompter, {});
    qputenv("XDG_DATA_DIRS", previousDirs);

    ASSERT_EQ(d.MarkImagesSmall().size(), 26);
    for (int k = 0; k < 26; ++k) {
        EXPECT_FALSE(IsPlaceholder(d.MarkImagesSmall()[k], 16)) << k;
        EXPECT_FALSE(IsPlaceholder(d.MarkImagesLarge()[k], 32)) << k;
    }
    EXPECT_EQ(d.MarkImagesSmall()[3].pixmap(16, 16).toImage().pixelColor(8, 8), QColor(200, 0, 0));
    EXPECT_EQ(d.MarkImagesLarge()[3].pixmap(32, 32).toImage().pixelColor(16, 16), QColor(200, 0, 0));
    QImageReader reader(installed.filePath(QStringLiteral("mark09.ico")));
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (image.width() == 16) {
            EXPECT_EQ(d.MarkImagesSmall()[9].pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32), image);
        }
    }
}

TEST_F(MarkIconsTest, NoFilesAtAllStillStarts)
{
    MainDialog d(book, prompter, {});
    ASSERT_EQ(d.MarkImagesLarge().size(), 26);
    for (int k = 0; k < 26; ++k)
        EXPECT_TRUE(IsPlaceholder(d.MarkImagesLarge()[k], 32)) << k;
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace tovik
