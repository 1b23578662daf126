#include "map/tilesource.h"

#include <QHashFunctions>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <algorithm>

namespace tovik {

namespace {

const QString kGsiServer = QStringLiteral("https://cyberjapandata.gsi.go.jp/xyz/");
// Decoded tiles kept in memory, about 256 KiB each: a full-screen view and its neighbours.
constexpr int kImagesKept = 200;
constexpr qint64 kDiskCacheBytes = 200 * 1024 * 1024;
// A failed tile is asked for again after 1, 2, 4, ... seconds, at most every five minutes.
constexpr qint64 kFirstRetryMs = 1000;
constexpr qint64 kLongestRetryMs = 5 * 60 * 1000;
// A server that accepts the connection and then says nothing frees its slot after this.
constexpr int kTransferTimeoutMs = 15000;

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
    // The replies go with the network manager after this body: none may call back into a
    // source that is half gone.
    if (network) {
        for (QNetworkReply* reply : network->findChildren<QNetworkReply*>())
            reply->disconnect(this);
    }
}

QList<TileSource::Layer> TileSource::Layers() { return {Layer::standard, Layer::pale, Layer::photo}; }

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

QNetworkAccessManager& TileSource::Network()
{
    if (!network) {
        network = std::make_unique<QNetworkAccessManager>();
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (!folder.isEmpty()) {
            auto* cache = new QNetworkDiskCache(network.get());
            cache->setCacheDirectory(folder + QStringLiteral("/tiles"));
            cache->setMaximumCacheSize(kDiskCacheBytes);
            network->setCache(cache);
        }
    }
    return *network;
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
    while (running < kMaxInFlight && !waiting.isEmpty()) {
        const TileKey key = waiting.takeFirst();
        QNetworkRequest request(TileUrl(key));
        request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tovik/" TOVIK_VERSION));
        // A fresh copy in the disk cache is taken as it is; a stale one is checked with the
        // server, and still shown when the server cannot be reached.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
        request.setTransferTimeout(kTransferTimeoutMs);
        QNetworkReply* reply = Network().get(request);
        loading.insert(key, reply);
        ++running;
        const int replyGeneration = generation;
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, key, replyGeneration] { Finished(reply, key, replyGeneration); });
    }
}

void TileSource::Finished(QNetworkReply* reply, TileKey key, int replyGeneration)
{
    reply->deleteLater();
    --running;
    if (replyGeneration == generation && loading.value(key) == reply) {
        loading.remove(key);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        QImage image;
        if (reply->error() == QNetworkReply::NoError) {
            // Whatever came is no picture: the cache must not offer it again.
            if (!image.loadFromData(reply->readAll()) && network->cache())
                network->cache()->remove(reply->url());
        } else if (status == 404 || status == 410) {
            missing.insert(key);
        } else {
            // The server cannot be reached, or fails: a copy in the cache, however old, is
            // better than none.
            image = CachedImage(reply->url());
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

QImage TileSource::CachedImage(const QUrl& url) const
{
    QImage image;
    if (QAbstractNetworkCache* cache = network->cache()) {
        const std::unique_ptr<QIODevice> data(cache->data(url));
        if (data)
            image.loadFromData(data->readAll());
    }
    return image;
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
