#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace stokara::test {

// A small HTTP/1.1 server on loopback for gateway tests: it records each
// request's target (path and raw query) and answers every GET with the
// configured status and body, or never answers at all.
class HttpTestServer : public QObject {
    Q_OBJECT
public:
    explicit HttpTestServer(QObject* parent = nullptr);
    // "http://127.0.0.1:<port>"
    QString address() const;

    int status = 200;
    QByteArray body = "success";
    bool answer = true; // false: read the request and keep silent

    struct Request {
        QByteArray method;
        QByteArray target; // "/submitsms.jsp?user=..." exactly as sent
        QByteArray path() const;
        QByteArray rawQuery() const;
        // Keys in the order sent, and their percent-decoded values.
        QList<QPair<QString, QString>> query() const;
    };
    QList<Request> requests;

signals:
    void requestReceived();

private:
    void readFrom(QTcpSocket* socket);
    QTcpServer server_;
};

} // namespace stokara::test
