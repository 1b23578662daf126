// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QNetworkAccessManager>

#include "map/tilefetcher.h"

namespace tovik {

// Tiles over HTTP(S) with QNetworkAccessManager and a QNetworkDiskCache: the module
// tovik-tilenet.
class NetworkTileFetcher : public TileFetcher {
public:
    NetworkTileFetcher(const QString& cacheFolder, const QByteArray& userAgent);
    ~NetworkTileFetcher() override;

    void Fetch(const QUrl& url, Done done) override;
    void Forget(const QUrl& url) override;

private:
    QNetworkAccessManager network;
    QByteArray userAgent;
};

}  // namespace tovik
