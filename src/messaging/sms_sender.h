#pragma once

#include <QDate>
#include <QObject>
#include <QString>

class QNetworkReply;

namespace stokara::core {
struct Session;
}

namespace stokara::messaging {

struct MessageLogEntry;

// The bill an SMS receipt is sent for, as the sale screen has it.
struct SaleReceipt {
    QString partyCode;
    QString billNo;
    QDate entryDate;
    QString partyName;
    // The sale's party category: a code kept by two parties reaches the one
    // of this category (any when empty).
    QString category;
};

// Sends the SMS receipt of a finished bill through the shop's gateway and logs
// it in MessageLog. The request runs in the background with a time-out; the
// log row is written when the answer (or the time-out) comes, so the counter
// never waits for the network.
class SmsSender : public QObject {
    Q_OBJECT
public:
    explicit SmsSender(core::Session& session, QObject* parent = nullptr);
    ~SmsSender() override;

    // Composes and sends; returns false when there is nothing to send (no such
    // bill, mobile number not 12 characters once trimmed): then nothing is sent
    // and nothing logged. When the gateway address is not set the message is
    // logged as outstanding at once, with a notice. Database failures while
    // composing throw core::DbError; a failure to write the log row when the
    // answer comes is shown as the "SendSMS" error.
    bool sendSaleReceipt(const SaleReceipt& receipt);

    // Requests still waiting for their answer.
    int pending() const;

    // How long to wait for the gateway's answer (10 s unless changed).
    static constexpr int kDefaultTimeoutMs = 10000;
    void setTimeout(int milliseconds);
    int timeout() const;

signals:
    // One line for the operator when a message could not be delivered
    // (it stays in the log as outstanding).
    void notice(const QString& text);
    // A message's outcome was logged: status "S" or "O".
    void logged(const QString& status);

private:
    void finished(QNetworkReply* reply);
    bool log(const MessageLogEntry& entry);

    struct Impl;
    Impl* d;
};

} // namespace stokara::messaging
