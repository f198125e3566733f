#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

// A small HTTP/1.1 server on the loopback interface for the download tests:
// each path answers with a canned response, sent whole, without a size, cut
// short by a stalled server, or sends the client elsewhere.
class LocalHttpServer
{
public:
    struct Response
    {
        enum class Mode {
            Complete,    // with Content-Length
            WithoutSize, // no Content-Length; the connection closes at the end
            StallAfter,  // headers with the full Content-Length, then `stallAfter` bytes, then nothing
            Redirect,    // `body` is the address of a Location header; no body
        };
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/octet-stream";
        Mode mode = Mode::Complete;
        qsizetype stallAfter = 0;
    };

    LocalHttpServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { accept(); });
    }

    // "http://127.0.0.1:PORT"
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()); }

    void setResponse(const QString& path, const Response& response) { responses.insert(path, response); }
    // Paths asked for, in order.
    const QStringList& requests() const { return requested; }

private:
    void accept()
    {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                buffer->append(socket->readAll());
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QList<QByteArray> requestLine = buffer->left(buffer->indexOf("\r\n")).split(' ');
                buffer->clear();
                answer(socket, QString::fromLatin1(requestLine.value(1)));
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void answer(QTcpSocket* socket, const QString& path)
    {
        requested << path;
        const Response response = responses.value(path, Response{404, "not found", "text/plain"});
        // The phrases of the statuses the tests use; the client shows them.
        const QHash<int, QByteArray> phrases{{200, "OK"}, {302, "Found"}, {403, "Forbidden"}, {404, "Not Found"}};
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' '
            + phrases.value(response.status, "Status") + "\r\n";
        head += "Content-Type: " + response.contentType + "\r\n";
        if (response.mode == Response::Mode::Redirect) {
            socket->write(head + "Location: " + response.body + "\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        if (response.mode != Response::Mode::WithoutSize)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        head += response.mode == Response::Mode::WithoutSize ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
        socket->write(head + "\r\n");
        if (response.mode == Response::Mode::StallAfter) {
            socket->write(response.body.left(response.stallAfter));
            return;
        }
        // In pieces, so the client reports progress more than once.
        const qsizetype piece = 16 * 1024;
        for (qsizetype at = 0; at < response.body.size(); at += piece)
            socket->write(response.body.mid(at, piece));
        if (response.mode == Response::Mode::WithoutSize)
            socket->disconnectFromHost();
    }

    QTcpServer server;
    QHash<QString, Response> responses;
    QStringList requested;
};
