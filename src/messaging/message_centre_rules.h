#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

namespace stokara::messaging {

// The two request formats of the message centre's web gateway.
enum class GatewayFormat { A, B };

// How the message centre sends: the web gateway (with its own account) and/or
// a GSM modem on a serial port.
struct CentreSettings {
    bool webEnabled = false;
    GatewayFormat format = GatewayFormat::A;
    QString host; // "host", "host:port" or "http://host:port/prefix"
    QString account;
    QString password;
    QString senderId;
    bool modemEnabled = false;
    QString modemPort; // "/dev/ttyUSB0", "COM3"
};

// The web gateway takes a number of exactly 12 characters once trimmed
// (country code and subscriber number); the modem one of 10 or more.
bool webSendable(const QString& mobile);
bool modemSendable(const QString& mobile);

// The GET request of the chosen format, every value percent-encoded; invalid
// when the host is not usable.
//   A: <host>/WebSMS/SMSAPI.jsp?username=&password=&sendername=&mobileno=&message=
//   B: <host>/sendsms.jsp?user=&password=&mobiles=&sms=&senderid=&unicode=1
QUrl centreRequestUrl(const CentreSettings& settings, const QString& mobile,
                      const QString& message);

// Format A accepted when the answer says "success" (exact case); format B
// unless the answer says "error" in any case.
bool centreGatewayAccepted(GatewayFormat format, const QString& answer);

// What the modem is given to send: "Milk Amt Rs." + message, then the footer
// line. Characters that would end (Ctrl-Z) or cancel (Escape) the text early
// are left out.
QString modemText(const QString& message, const QString& footer);

// The bytes written to the modem, in order: four commands, then the text and
// Ctrl-Z. Characters a GSM text cannot carry become "?".
QList<QByteArray> modemCommands(const QString& mobile, const QString& text);

} // namespace stokara::messaging
