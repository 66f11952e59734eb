#pragma once

#include <QDate>
#include <QString>
#include <QUrl>

#include <vector>

namespace stokara::messaging {

// One row of a bill as the receipt lists it.
struct ReceiptItem {
    QString itemName;
    double qty = 0;
    double rate = 0;
    double amount = 0;
};

struct ReceiptBill {
    QDate date;
    QString billNo;
    std::vector<ReceiptItem> items;
};

// The gateway account of the shop.
struct SmsSettings {
    QString userId;     // SmsId
    QString key;        // SmsPwd
    QString senderName; // SmsSenderName
    QString gateway;    // SmsGateway: scheme, host and port, e.g. "http://sms.example.in:8080"
};

// Widths of the settings columns.
inline constexpr int kSmsIdWidth = 20;
inline constexpr int kSmsPwdWidth = 20;
inline constexpr int kSmsSenderNameWidth = 6;
inline constexpr int kSmsGatewayWidth = 200;
// The log keeps this much of a message.
inline constexpr int kLoggedMessageLength = 160;

// A number as the receipt writes it: 2.5, 100, 0.5 (no fixed decimals).
QString plainNumber(double value);

// "Your Item Sale Receipt For Date:05/03/2018 Bill No.:7  FEED-A Wt/Qty:2 ..."
QString composeReceiptMessage(const ReceiptBill& bill, const QString& shopName,
                              const QString& shopCity);

// Only a number of exactly 12 characters once trimmed (country code and
// subscriber number) gets a message.
bool isSendableMobile(const QString& mobile);

// The gateway accepted the message when its answer says "success" (exact case).
bool gatewayAccepted(const QString& answer);

// The gateway address as stored, made into a base URL: "host:port" means
// http. Invalid (or empty) addresses give an invalid QUrl.
QUrl gatewayBaseUrl(const QString& address);

// GET <gateway>/submitsms.jsp?user=..&key=..&mobile=..&message=..&senderid=..&accusage=1
// with every value percent-encoded (a "+" or "&" in a message stays itself).
// Invalid when the gateway address is.
QUrl gatewayRequestUrl(const SmsSettings& settings, const QString& mobile, const QString& message);

} // namespace stokara::messaging
