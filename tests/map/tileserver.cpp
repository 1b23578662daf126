// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/map/tileserver.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTcpSocket>

namespace tovik::test {

TileServer::TileServer()
    : TileServer([](int, int x, int y) {
          QImage tile(256, 256, QImage::Format_RGB32);
          tile.fill(KnownColor(x, y));
          return tile;
      })
{
}

TileServer::TileServer(std::function<QImage(int, int, int)> draw) : draw(std::move(draw))
{
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QColor TileServer::KnownColor(int x, int y) { return (x + y) % 2 ? QColor(160, 210, 160) : QColor(160, 180, 230); }

bool TileServer::Start()
{
    if (!server.listen(QHostAddress::LocalHost, port))
        return false;
    port = server.serverPort();
    return true;
}

void TileServer::Stop()
{
    server.close();
    for (QTcpSocket* socket : server.findChildren<QTcpSocket*>())
        socket->abort();
}

QString TileServer::UrlTemplate() const
{
    return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(port);
}

int TileServer::RequestsFor(int zoom, int x, int y) const
{
    return int(std::count_if(requests.cbegin(), requests.cend(),
                             [=](const Request& r) { return r.zoom == zoom && r.x == x && r.y == y; }));
}

void TileServer::Answer(QTcpSocket* socket)
{
    const QByteArray head = socket->peek(socket->bytesAvailable());
    if (!head.contains("\r\n\r\n"))
        return;
    socket->readAll();
    static const QRegularExpression line(QStringLiteral("^GET /(\\d+)/(\\d+)/(\\d+)\\.png "));
    static const QRegularExpression agent(QStringLiteral("\r\nUser-Agent: ([^\r]*)\r\n"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromLatin1(head);
    const auto tile = line.match(text);
    Request request;
    request.userAgent = agent.match(text).captured(1).toLatin1();
    QByteArray status = "200 OK";
    QByteArray body;
    if (!tile.hasMatch()) {
        status = "404 Not Found";
    } else {
        request.zoom = tile.captured(1).toInt();
        request.x = tile.captured(2).toInt();
        request.y = tile.captured(3).toInt();
        requests.append(request);
        if (failing) {
            status = "500 Internal Server Error";
        } else {
            QBuffer png(&body);
            png.open(QIODevice::WriteOnly);
            draw(request.zoom, request.x, request.y).save(&png, "PNG");
        }
    }
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: image/png\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

}  // namespace tovik::test
