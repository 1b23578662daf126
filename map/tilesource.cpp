// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/tilesource.h"

#include <QCoreApplication>
#include <QHashFunctions>
#include <QLibrary>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <algorithm>

namespace tovik {

namespace {

const QString kGsiServer = QStringLiteral("https://cyberjapandata.gsi.go.jp/xyz/");
// Decoded tiles kept in memory, about 256 KiB each: a full-screen view and its neighbours.
constexpr int kImagesKept = 200;
// A failed tile is asked for again after 1, 2, 4, ... seconds, at most every five minutes.
constexpr qint64 kFirstRetryMs = 1000;
constexpr qint64 kLongestRetryMs = 5 * 60 * 1000;
Q_LOGGING_CATEGORY(lcTiles, "tovik.map.tiles")

// The network module, looked for beside the program (the build), where the installation
// puts it, and in Qt's library paths.
CreateTileFetcher LoadFetcherModule()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders{programFolder, programFolder + QStringLiteral("/" TOVIK_MAP_MODULE_FROM_BIN)};
    folders += QCoreApplication::libraryPaths();
    for (const QString& folder : std::as_const(folders)) {
        QLibrary module(folder + u'/' + QLatin1String(kTileFetcherModule));
        if (const auto create = reinterpret_cast<CreateTileFetcher>(module.resolve(kCreateTileFetcher)))
            return create;
    }
    qCWarning(lcTiles) << "no" << kTileFetcherModule << "module in" << folders << ": the map shows no tiles";
    return nullptr;
}

}  // namespace

size_t qHash(const TileKey& key, size_t seed) { return qHashMulti(seed, key.zoom, key.x, key.y); }

TileSource::TileSource(QObject* parent)
    : QObject(parent), serverTemplate(qEnvironmentVariable("TOVIK_TILE_URL")), images(kImagesKept)
{
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, [this] { Request(wanted); });
    clock.start();
}

TileSource::~TileSource()
{
    // No answer may reach a source that is half gone.
    fetcher.reset();
}

QString TileSource::LayerName(Layer layer)
{
    switch (layer) {
    case Layer::pale:
        return QStringLiteral("淡色地図");
    case Layer::photo:
        return QStringLiteral("写真");
    case Layer::standard:
        break;
    }
    return QStringLiteral("標準地図");
}

QString TileSource::Attribution() { return QStringLiteral("地理院タイル"); }

void TileSource::SetLayer(Layer newLayer)
{
    if (newLayer == layer)
        return;
    layer = newLayer;
    ++generation;
    images.clear();
    loading.clear();
    failures.clear();
    missing.clear();
    Request(wanted);
    emit TilesChanged();
}

QUrl TileSource::TileUrl(TileKey key) const
{
    QString url = serverTemplate;
    if (url.isEmpty()) {
        switch (layer) {
        case Layer::standard:
            url = kGsiServer + QStringLiteral("std/{z}/{x}/{y}.png");
            break;
        case Layer::pale:
            url = kGsiServer + QStringLiteral("pale/{z}/{x}/{y}.png");
            break;
        case Layer::photo:
            url = kGsiServer + QStringLiteral("seamlessphoto/{z}/{x}/{y}.jpg");
            break;
        }
    }
    url.replace(QStringLiteral("{z}"), QString::number(key.zoom));
    url.replace(QStringLiteral("{x}"), QString::number(key.x));
    url.replace(QStringLiteral("{y}"), QString::number(key.y));
    return QUrl(url);
}

QImage TileSource::Tile(TileKey key) const
{
    const QImage* image = images.object(key);
    return image ? *image : QImage();
}

TileFetcher* TileSource::Fetcher()
{
    if (!fetcherLoaded) {
        fetcherLoaded = true;
        static const CreateTileFetcher create = LoadFetcherModule();
        if (create) {
            const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
            fetcher.reset(create(cache.isEmpty() ? cache : cache + QStringLiteral("/tiles"), "Tovik/" TOVIK_VERSION));
        }
    }
    return fetcher.get();
}

bool TileSource::Due(TileKey key, qint64 now) const
{
    if (images.contains(key) || loading.contains(key) || missing.contains(key))
        return false;
    const auto failure = failures.constFind(key);
    return failure == failures.cend() || failure->retryAt <= now;
}

void TileSource::Request(const QList<TileKey>& tiles)
{
    wanted = tiles;
    waiting.clear();
    const qint64 now = clock.elapsed();
    for (const TileKey& key : tiles) {
        if (Due(key, now))
            waiting.append(key);
    }
    Pump();
    ScheduleRetry();
}

void TileSource::Pump()
{
    while (running < kMaxInFlight && !waiting.isEmpty() && Fetcher()) {
        const TileKey key = waiting.takeFirst();
        const QUrl url = TileUrl(key);
        loading.insert(key);
        ++running;
        fetcher->Fetch(url, [this, key, url, asked = generation](const TileFetcher::Result& result) {
            Finished(key, url, asked, result);
        });
    }
}

void TileSource::Finished(TileKey key, const QUrl& url, int asked, const TileFetcher::Result& result)
{
    --running;
    if (asked == generation && loading.remove(key)) {
        QImage image;
        switch (result.outcome) {
        case TileFetcher::Result::Outcome::received:
            // Whatever came is no picture: the cache must not offer it again.
            if (!image.loadFromData(result.data))
                fetcher->Forget(url);
            break;
        case TileFetcher::Result::Outcome::notFound:
            missing.insert(key);
            break;
        case TileFetcher::Result::Outcome::failed:
            // The server cannot be reached, or fails: a copy from the cache, however old,
            // is better than none.
            image.loadFromData(result.data);
            break;
        }
        if (!image.isNull()) {
            failures.remove(key);
            images.insert(key, new QImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
            emit TilesChanged();
        } else if (!missing.contains(key)) {
            Failed(key);
        }
    }
    Pump();
    ScheduleRetry();
}

void TileSource::Failed(TileKey key)
{
    Failure& failure = failures[key];
    ++failure.attempts;
    const qint64 delay = std::min(kLongestRetryMs, kFirstRetryMs << std::min(failure.attempts - 1, 20));
    failure.retryAt = clock.elapsed() + delay;
}

void TileSource::ScheduleRetry()
{
    // Tiles already due wait for a free slot; the timer is for the next one to become due.
    const qint64 now = clock.elapsed();
    qint64 next = -1;
    for (const TileKey& key : std::as_const(wanted)) {
        const auto failure = failures.constFind(key);
        if (failure != failures.cend() && failure->retryAt > now && (next < 0 || failure->retryAt < next))
            next = failure->retryAt;
    }
    if (next < 0)
        retryTimer.stop();
    else
        retryTimer.start(int(next - now));
}

}  // namespace tovik
