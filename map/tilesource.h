// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "map/tilefetcher.h"

namespace tovik {

// One tile of the XYZ scheme: zoom, column from the west, row from the north.
struct TileKey {
    int zoom = 0;
    int x = 0;
    int y = 0;

    friend bool operator==(const TileKey&, const TileKey&) = default;
};
size_t qHash(const TileKey& key, size_t seed = 0);

// Web-mercator map tiles of 256 pixels from the Geospatial Information Authority of Japan
// (or the server TOVIK_TILE_URL names), fetched in the background and kept in a disk cache
// under the user's cache folder, so that an area seen once shows again without a network.
// The network module is loaded when the first tile is asked for.
class TileSource : public QObject {
    Q_OBJECT
public:
    enum class Layer { standard, pale, photo };

    static constexpr int kMinZoom = 2;
    static constexpr int kMaxZoom = 18;
    // Requests on the network at once; the rest wait, and are dropped when out of view.
    static constexpr int kMaxInFlight = 6;

    explicit TileSource(QObject* parent = nullptr);
    ~TileSource() override;

    // 標準地図, 淡色地図, 写真
    static QString LayerName(Layer layer);
    // What the map must show while tiles of the server are on it.
    static QString Attribution();

    Layer CurrentLayer() const { return layer; }
    // Tiles of the previous layer no longer arrive; those of this one are asked for.
    void SetLayer(Layer layer);
    QUrl TileUrl(TileKey key) const;

    // The tiles a view shows now, the most wanted first. Those not yet here are fetched in
    // this order; tiles waiting for their turn that are no longer in the list are dropped.
    void Request(const QList<TileKey>& tiles);
    // The tile of the current layer once it has arrived; a null image until then, and for a
    // tile the server does not have.
    QImage Tile(TileKey key) const;

signals:
    // A tile arrived or the layer changed: what the view shows is out of date.
    void TilesChanged();

private:
    struct Failure {
        int attempts = 0;
        qint64 retryAt = 0;
    };

    TileFetcher* Fetcher();
    bool Due(TileKey key, qint64 now) const;
    void Pump();
    void Finished(TileKey key, const QUrl& url, int asked, const TileFetcher::Result& result);
    void Failed(TileKey key);
    void ScheduleRetry();

    Layer layer = Layer::standard;
    // TOVIK_TILE_URL, which replaces the server of every layer; empty when not set.
    QString serverTemplate;
    // Counts the layer changes; a reply of an earlier layer is thrown away.
    int generation = 0;
    QCache<TileKey, QImage> images;
    QList<TileKey> wanted;
    QList<TileKey> waiting;
    QSet<TileKey> loading;
    int running = 0;
    QHash<TileKey, Failure> failures;
    // Tiles the server answered with "not found": the plain background stays there.
    QSet<TileKey> missing;
    QTimer retryTimer;
    QElapsedTimer clock;
    bool fetcherLoaded = false;
    std::unique_ptr<TileFetcher> fetcher;
};

}  // namespace tovik
