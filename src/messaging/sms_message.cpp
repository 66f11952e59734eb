#include "messaging/sms_message.h"

#include "core/idioms.h"

#include <cmath>

namespace stokara::messaging {

QString plainNumber(double value) {
    // Stored amounts have two decimals; drop binary noise before printing.
    const double cleaned = std::round(value * 1e6) / 1e6;
    if (cleaned == 0)
        return QStringLiteral("0");
    return QString::number(cleaned, 'g', 15);
}

QString composeReceiptMessage(const ReceiptBill& bill, const QString& shopName,
                              const QString& shopCity) {
    QString message = QStringLiteral("Your Item Sale Receipt For Date:") +
                      core::formatDate(bill.date) + QStringLiteral(" Bill No.:") + bill.billNo;
    for (const ReceiptItem& item : bill.items) {
        message += QStringLiteral("  ") + item.itemName + QStringLiteral(" Wt/Qty:") +
                   plainNumber(item.qty) + QStringLiteral(" Rate:") + plainNumber(item.rate) +
                   QStringLiteral(" Amount:") + plainNumber(item.amount) + QLatin1Char(',');
    }
    message += QStringLiteral("  ") + shopName + QLatin1Char(' ') + shopCity;
    return message;
}

bool isSendableMobile(const QString& mobile) {
    return mobile.trimmed().size() == 12;
}

bool gatewayAccepted(const QString& answer) {
    return answer.contains(QLatin1String("success"), Qt::CaseSensitive);
}

QUrl gatewayBaseUrl(const QString& address) {
    QString text = address.trimmed();
    if (text.isEmpty())
        return {};
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("http://"));
    QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.hasQuery() ||
        url.hasFragment())
        return {};
    return url;
}

QUrl gatewayRequestUrl(const SmsSettings& settings, const QString& mobile, const QString& message) {
    QUrl url = gatewayBaseUrl(settings.gateway);
    if (!url.isValid())
        return {};
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + QStringLiteral("submitsms.jsp"));

    auto encoded = [](const QString& value) {
        return QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    const QString query =
        QStringLiteral("user=") + encoded(settings.userId) + QStringLiteral("&key=") +
        encoded(settings.key) + QStringLiteral("&mobile=") + encoded(mobile) +
        QStringLiteral("&message=") + encoded(message) + QStringLiteral("&senderid=") +
        encoded(settings.senderName) + QStringLiteral("&accusage=1");
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

} // namespace stokara::messaging
