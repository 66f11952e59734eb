#include "input_rules.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace stokara::core {

bool isNumericText(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return number.match(text).hasMatch();
}

std::optional<double> positiveNumber(const QString& text) {
    if (!isNumericText(text))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

int characterCount(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

QString tooLongMessage(const QString& label, const QString& text, int limit) {
    if (limit <= 0 || characterCount(text) <= limit)
        return {};
    return QStringLiteral("%1 is too long: at most %2 characters are allowed.")
        .arg(label)
        .arg(limit);
}

QString tooLargeMessage(const QString& label, double value, int integerDigits) {
    if (std::abs(value) < std::pow(10.0, integerDigits))
        return {};
    return QStringLiteral("%1 is too large: at most %2 digits before the decimal point.")
        .arg(label)
        .arg(integerDigits);
}

QString numberMessage(const QString& label, const QString& text, double value, int integerDigits) {
    if (!text.trimmed().isEmpty() && !isNumericText(text))
        return QStringLiteral("%1 must be a number.").arg(label);
    return tooLargeMessage(label, value, integerDigits);
}

std::optional<Problem> firstTooLong(std::initializer_list<TextCheck> texts) {
    for (const TextCheck& t : texts) {
        const QString m = tooLongMessage(QString::fromLatin1(t.label), t.text, t.limit);
        if (!m.isEmpty())
            return Problem{QString::fromLatin1(t.field), m};
    }
    return std::nullopt;
}

} // namespace stokara::core
