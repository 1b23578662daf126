// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

namespace tovik {

// What the tiles need of the network. The implementation lives in the module tovik-tilenet
// (networktilefetcher.cpp), loaded when the first tile is asked for, so that Qt Network and
// what it brings along (Kerberos, proxy discovery, TLS) cost nothing to an editor whose map
// stays closed. Only this header is shared: no code of one side is linked into the other.
class TileFetcher {
public:
    struct Result {
        enum class Outcome { received, notFound, failed };
        Outcome outcome = Outcome::failed;
        // The body when received; when failed, the disk cache's copy however old (or nothing).
        QByteArray data;
    };
    using Done = std::function<void(const Result&)>;

    virtual ~TileFetcher() = default;
    // Asks for `url`, from the disk cache while its copy is fresh; `done` is called once,
    // from the event loop, unless the fetcher is destroyed first.
    virtual void Fetch(const QUrl& url, Done done) = 0;
    // Drops the cache's copy of `url`, which turned out to be no picture.
    virtual void Forget(const QUrl& url) = 0;
};

// The module's one entry point: a fetcher that keeps its disk cache in `cacheFolder` (none
// when empty) and names itself to servers as `userAgent`.
using CreateTileFetcher = TileFetcher* (*)(const QString& cacheFolder, const QByteArray& userAgent);
inline constexpr const char* kTileFetcherModule = "tovik-tilenet";
inline constexpr const char* kCreateTileFetcher = "tovik_create_tile_fetcher";

}  // namespace tovik
