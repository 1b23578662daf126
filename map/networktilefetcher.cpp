// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/networktilefetcher.h"

#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <memory>

namespace tovik {

namespace {
constexpr qint64 kDiskCacheBytes = 200 * 1024 * 1024;
// A server that accepts the connection and then says nothing frees its slot after this.
constexpr int kTransferTimeoutMs = 15000;
}  // namespace

NetworkTileFetcher::NetworkTileFetcher(const QString& cacheFolder, const QByteArray& userAgent)
    : userAgent(userAgent)
{
    if (!cacheFolder.isEmpty()) {
        auto* cache = new QNetworkDiskCache(&network);
        cache->setCacheDirectory(cacheFolder);
        cache->setMaximumCacheSize(kDiskCacheBytes);
        network.setCache(cache);
    }
}

NetworkTileFetcher::~NetworkTileFetcher()
{
    // The replies still on their way go with the manager, without a word to their owner.
    for (QNetworkReply* reply : network.findChildren<QNetworkReply*>())
        reply->disconnect();
}

void NetworkTileFetcher::Fetch(const QUrl& url, Done done)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    // A fresh copy in the disk cache is taken as it is; a stale one is checked with the
    // server, and still shown when the server cannot be reached.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply* reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, url, done = std::move(done)] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        Result result;
        if (reply->error() == QNetworkReply::NoError) {
            result.outcome = Result::Outcome::received;
            result.data = reply->readAll();
        } else if (status == 404 || status == 410) {
            result.outcome = Result::Outcome::notFound;
        } else if (network.cache()) {
            const std::unique_ptr<QIODevice> copy(network.cache()->data(url));
            if (copy)
                result.data = copy->readAll();
        }
        done(result);
    });
}

void NetworkTileFetcher::Forget(const QUrl& url)
{
    if (network.cache())
        network.cache()->remove(url);
}

}  // namespace tovik

extern "C" Q_DECL_EXPORT tovik::TileFetcher* tovik_create_tile_fetcher(const QString& cacheFolder,
                                                                        const QByteArray& userAgent)
{
    return new tovik::NetworkTileFetcher(cacheFolder, userAgent);
}
