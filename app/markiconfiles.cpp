// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/markiconfiles.h"

#include "core/markrule.h"
#include <QDir>
#include <QImageReader>
#include <QLoggingCategory>
#include <QPixmap>
#include <vector>

#include "platform/datafolders.h"

// Silent unless asked for (QT_LOGGING_RULES="tovik.markicons.info=true"): names the file
// each mark icon came from, or that the placeholder stands in.
Q_LOGGING_CATEGORY(lcMarkIcons, "tovik.markicons", QtWarningMsg)

namespace tovik {

namespace {

// The grey square that stands in for a mark whose file cannot be read.
QIcon Placeholder(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(QColor(128, 128, 128));
    return QIcon(pixmap);
}

// Every picture of an icon file; none when the file is missing or holds no image.
std::vector<QImage> IconImages(const QString& path)
{
    QImageReader reader(path);
    std::vector<QImage> images;
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        if (QImage image = reader.read(); !image.isNull())
            images.push_back(std::move(image));
    }
    return images;
}

// The picture nearest to `size`, scaled to it.
QIcon Nearest(const std::vector<QImage>& images, int size)
{
    const auto distance = [size](const QImage& m) { return std::abs(m.width() - size); };
    const QImage& best = *std::min_element(images.begin(), images.end(),
                                           [&](const QImage& a, const QImage& b) { return distance(a) < distance(b); });
    if (best.size() == QSize(size, size))
        return QIcon(QPixmap::fromImage(best));
    return QIcon(QPixmap::fromImage(best.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace

void MarkIconFiles::Load(QList<QIcon>& large, QList<QIcon>& small)
{
    large.clear();
    small.clear();
    // Each mark is taken from the first folder holding a readable file of its name, so a
    // user's own icon in the current folder replaces just that mark.
    const QStringList folders = DataFolders::Search();
    for (int k = 0; k < kMarkCount; ++k) {
        const QString name = QStringLiteral("mark%1.ico").arg(k, 2, 10, QChar(u'0'));
        std::vector<QImage> images;
        for (const QString& folder : folders) {
            const QString path = QDir(folder).filePath(name);
            images = IconImages(path);
            if (!images.empty()) {
                qCInfo(lcMarkIcons, "%s: %s", qUtf8Printable(name), qUtf8Printable(path));
                break;
            }
        }
        if (!images.empty()) {
            large << Nearest(images, 32);
            small << Nearest(images, 16);
        } else {
            qCInfo(lcMarkIcons, "%s: placeholder", qUtf8Printable(name));
            large << Placeholder(32);
            small << Placeholder(16);
        }
    }
}

}  // namespace tovik
