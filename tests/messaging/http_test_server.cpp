#include "http_test_server.h"

#include <QTcpSocket>
#include <QUrl>

namespace stokara::test {

HttpTestServer::HttpTestServer(QObject* parent) : QObject(parent) {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        }
    });
}

QString HttpTestServer::address() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void HttpTestServer::readFrom(QTcpSocket* socket) {
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    socket->setProperty("buffer", buffer.mid(end + 4));
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    Request request;
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    requests << request;
    emit requestReceived();
    if (!answer)
        return;
    const QByteArray reason = status == 200 ? "OK" : "Error";
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    response += "Content-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
    socket->write(response);
    socket->disconnectFromHost();
}

QByteArray HttpTestServer::Request::path() const {
    const int q = target.indexOf('?');
    return q < 0 ? target : target.left(q);
}

QByteArray HttpTestServer::Request::rawQuery() const {
    const int q = target.indexOf('?');
    return q < 0 ? QByteArray() : target.mid(q + 1);
}

QList<QPair<QString, QString>> HttpTestServer::Request::query() const {
    QList<QPair<QString, QString>> items;
    for (const QByteArray& part : rawQuery().split('&')) {
        const int eq = part.indexOf('=');
        const QByteArray key = eq < 0 ? part : part.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : part.mid(eq + 1);
        items.append({QString::fromUtf8(QByteArray::fromPercentEncoding(key)),
                      QString::fromUtf8(QByteArray::fromPercentEncoding(value))});
    }
    return items;
}

} // namespace stokara::test
