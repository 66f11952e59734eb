#include "messaging/sms_sender.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/errors.h"
#include "core/session.h"
#include "messaging/message_log_store.h"
#include "messaging/sms_message.h"
#include "messaging/sms_settings_store.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace stokara::messaging {

namespace {
const QString kProcedure = QStringLiteral("SendSMS");
}

struct SmsSender::Impl {
    explicit Impl(core::Session& s) : session(s) {}
    core::Session& session;
    QNetworkAccessManager network;
    int timeoutMs = kDefaultTimeoutMs;
    // What each request in flight will log when its answer comes.
    QHash<QNetworkReply*, MessageLogEntry> pending;
};

SmsSender::SmsSender(core::Session& session, QObject* parent)
    : QObject(parent), d(new Impl(session)) {}

SmsSender::~SmsSender() {
    // The counter is closing before the gateway answered: keep those messages
    // as outstanding so that the message centre can send them again.
    const auto pending = d->pending;
    d->pending.clear();
    for (auto it = pending.begin(); it != pending.end(); ++it) {
        it.key()->disconnect(this);
        it.key()->abort();
        MessageLogEntry entry = it.value();
        entry.status = QStringLiteral("O");
        entry.returnText = QStringLiteral("No answer before the sale screen was closed.");
        try {
            SmsReceiptStore(*d->session.db).addLogEntry(entry);
        } catch (...) {
            if (d->session.db && d->session.clock)
                core::logError(*d->session.db, kProcedure, core::ErrorInfo::current(),
                               d->session.clock->now());
        }
        delete it.key();
    }
    delete d;
}

void SmsSender::setTimeout(int milliseconds) {
    d->timeoutMs = milliseconds;
}

int SmsSender::timeout() const {
    return d->timeoutMs;
}

int SmsSender::pending() const {
    return static_cast<int>(d->pending.size());
}

bool SmsSender::sendSaleReceipt(const SaleReceipt& receipt) {
    core::Database& db = *d->session.db;
    SmsReceiptStore store(db);
    // A party that cannot be found has no number; the receipt never goes to
    // the number of an earlier party.
    const QString mobile = store.partyMobile(receipt.partyCode, receipt.category);
    const std::vector<SmsReceiptStore::BillRow> rows = store.billRows(receipt.billNo);
    if (rows.empty())
        return false;

    ReceiptBill bill;
    bill.date = rows.front().docDate;
    bill.billNo = rows.front().docNo;
    for (const auto& row : rows)
        bill.items.push_back({row.itemName, row.qty, row.rate, row.netAmount});
    const QString message = composeReceiptMessage(bill, d->session.shop.name, d->session.shop.city);
    if (!isSendableMobile(mobile))
        return false;

    // Read at each bill so that a change on the settings screen counts at once.
    const SmsSettings settings = SmsSettingsStore(db).load();
    MessageLogEntry entry{receipt.entryDate, receipt.partyCode, receipt.partyName, message, {}, {}};

    const QUrl url = gatewayRequestUrl(settings, mobile, message);
    if (!url.isValid()) {
        entry.status = QStringLiteral("O");
        entry.returnText = QStringLiteral("No SMS gateway address is set.");
        SmsReceiptStore(db).addLogEntry(entry);
        emit logged(entry.status);
        emit notice(QStringLiteral("SMS of bill %1 not sent: no gateway address is set in SMS "
                                   "Settings. It waits in the Out Box.")
                        .arg(receipt.billNo));
        return true;
    }

    QNetworkRequest request(url);
    request.setTransferTimeout(d->timeoutMs);
    QNetworkReply* reply = d->network.get(request);
    d->pending.insert(reply, entry);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
    return true;
}

void SmsSender::finished(QNetworkReply* reply) {
    if (!d->pending.contains(reply))
        return;
    MessageLogEntry entry = d->pending.take(reply);
    reply->deleteLater();

    QString problem;
    if (reply->error() == QNetworkReply::NoError) {
        const QString answer = QString::fromUtf8(reply->readAll());
        entry.status = gatewayAccepted(answer) ? QStringLiteral("S") : QStringLiteral("O");
        entry.returnText = answer.trimmed();
    } else {
        // Not delivered for a reason of the network: outstanding, to be sent again.
        entry.status = QStringLiteral("O");
        problem = reply->error() == QNetworkReply::OperationCanceledError
                      ? QStringLiteral("the gateway did not answer within %1 s")
                            .arg(d->timeoutMs / 1000.0)
                      : reply->errorString();
        entry.returnText = problem;
    }
    if (!log(entry))
        return;
    if (!problem.isEmpty())
        emit notice(QStringLiteral("SMS to %1 not sent (%2). It waits in the Out Box.")
                        .arg(entry.partyName, problem));
}

bool SmsSender::log(const MessageLogEntry& entry) {
    try {
        SmsReceiptStore(*d->session.db).addLogEntry(entry);
    } catch (...) {
        core::showError(*d->session.dialogs, kProcedure, core::ErrorInfo::current());
        return false;
    }
    emit logged(entry.status);
    return true;
}

} // namespace stokara::messaging
