#include "messaging/message_centre_rules.h"

#include "messaging/sms_message.h"

namespace stokara::messaging {

bool webSendable(const QString& mobile) {
    return mobile.trimmed().size() == 12;
}

bool modemSendable(const QString& mobile) {
    return mobile.trimmed().size() >= 10;
}

QUrl centreRequestUrl(const CentreSettings& settings, const QString& mobile,
                      const QString& message) {
    QUrl url = gatewayBaseUrl(settings.host);
    if (!url.isValid())
        return {};
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    auto enc = [](const QString& value) {
        return QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    QString query;
    if (settings.format == GatewayFormat::A) {
        url.setPath(path + QStringLiteral("WebSMS/SMSAPI.jsp"));
        query = QStringLiteral("username=") + enc(settings.account) + QStringLiteral("&password=") +
                enc(settings.password) + QStringLiteral("&sendername=") + enc(settings.senderId) +
                QStringLiteral("&mobileno=") + enc(mobile) + QStringLiteral("&message=") +
                enc(QStringLiteral("We have recd Milk for Amount Rs. ") + message);
    } else {
        url.setPath(path + QStringLiteral("sendsms.jsp"));
        query = QStringLiteral("user=") + enc(settings.account) + QStringLiteral("&password=") +
                enc(settings.password) + QStringLiteral("&mobiles=") + enc(mobile) +
                QStringLiteral("&sms=") + enc(QStringLiteral("We have recd milk for ") + message) +
                QStringLiteral("&senderid=") + enc(settings.senderId) +
                QStringLiteral("&unicode=1");
    }
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

bool centreGatewayAccepted(GatewayFormat format, const QString& answer) {
    if (format == GatewayFormat::A)
        return answer.contains(QLatin1String("success"), Qt::CaseSensitive);
    return !answer.toUpper().contains(QLatin1String("ERROR"));
}

QString modemText(const QString& message, const QString& footer) {
    QString text = QStringLiteral("Milk Amt Rs.") + message + QLatin1Char('\r') + footer;
    text.remove(QChar(26));
    text.remove(QChar(27));
    return text;
}

QList<QByteArray> modemCommands(const QString& mobile, const QString& text) {
    return {QByteArrayLiteral("AT\r\n"), QByteArrayLiteral("AT+CMGF=1\r\n"),
            QByteArrayLiteral("AT+CSCS=\"GSM\"\r\n"),
            "AT+CMGS=\"" + QString(mobile).remove(QLatin1Char('"')).trimmed().toLatin1() + "\"\r\n",
            text.toLatin1() + char(26)};
}

} // namespace stokara::messaging
