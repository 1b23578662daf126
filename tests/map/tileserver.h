// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <functional>

namespace tovik::test {

// A tile server on 127.0.0.1 that draws every tile it is asked for, answers with a PNG and
// writes down each request. Its URL template goes into TOVIK_TILE_URL.
class TileServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        int zoom = 0, x = 0, y = 0;
        QByteArray userAgent;
    };

    // Tiles of one colour each, alternating like a chess board: KnownColor(x, y).
    TileServer();
    explicit TileServer(std::function<QImage(int zoom, int x, int y)> draw);

    static QColor KnownColor(int x, int y);

    // Listens on the port of the last Start (or any free one the first time).
    bool Start();
    // Refuses connections from now on.
    void Stop();
    // Answers "500 Internal Server Error" instead of tiles.
    void SetFailing(bool fail) { failing = fail; }

    QString UrlTemplate() const;
    const QList<Request>& Requests() const { return requests; }
    int RequestsFor(int zoom, int x, int y) const;

private:
    void Answer(class QTcpSocket* socket);

    std::function<QImage(int, int, int)> draw;
    QTcpServer server;
    quint16 port = 0;
    bool failing = false;
    QList<Request> requests;
};

}  // namespace tovik::test
