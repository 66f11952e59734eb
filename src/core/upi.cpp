#include "upi.h"

#include "idioms.h"

#include <QRegularExpression>
#include <QUrl>

namespace stokara::core {

bool isUpiId(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^[A-Za-z0-9._-]{2,256}@[A-Za-z][A-Za-z0-9]{1,63}$"));
    return shape.match(text).hasMatch();
}

QString upiPaymentLink(const QString& upiId, const QString& payee, double amount,
                       const QString& note) {
    const double due = round2(amount);
    if (!isUpiId(upiId.trimmed()) || due <= 0)
        return {};
    auto encoded = [](const QString& value) {
        return QString::fromLatin1(QUrl::toPercentEncoding(value.trimmed()));
    };
    QString link = QStringLiteral("upi://pay?pa=") + encoded(upiId);
    if (!payee.trimmed().isEmpty())
        link += QStringLiteral("&pn=") + encoded(payee);
    link += QStringLiteral("&am=") + QString::number(due, 'f', 2) + QStringLiteral("&cu=INR");
    if (!note.trimmed().isEmpty())
        link += QStringLiteral("&tn=") + encoded(note);
    return link;
}

} // namespace stokara::core
