#include "idioms.h"

#include <cfenv>
#include <cmath>

namespace stokara::core {

double val(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    return text.mid(start, i - start).toDouble();
}

double round2(double value) {
    if (!std::isfinite(value))
        return 0.0;
    // The product is rounded; fma gives its exact error. Only when the rounded
    // product lands exactly on a half can the error decide the direction, so
    // 2.675 (stored just below) gives 2.67 while 0.125 (exact) ties to even.
    const double scaled = value * 100.0;
    const double error = std::fma(value, 100.0, -scaled);
    const double floor = std::floor(scaled);
    if (scaled - floor == 0.5 && error != 0.0)
        return (error > 0 ? floor + 1.0 : floor) / 100.0;
    // nearbyint rounds exact halves to even under the default rounding mode.
    return std::nearbyint(scaled) / 100.0;
}

QString formatDate(const QDate& date) {
    if (!date.isValid())
        return QString::fromLatin1(kEmptyDate);
    return date.toString(QString::fromLatin1(kDateFormat));
}

std::optional<QDate> parseDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() != 10 || t[2] != QLatin1Char('/') || t[5] != QLatin1Char('/'))
        return std::nullopt;
    bool okDay = false, okMonth = false, okYear = false;
    const int day = t.left(2).toInt(&okDay);
    const int month = t.mid(3, 2).toInt(&okMonth);
    const int year = t.mid(6, 4).toInt(&okYear);
    if (!okDay || !okMonth || !okYear)
        return std::nullopt;
    QDate d(year, month, day);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString formatAmount(double value) {
    return QString::number(round2(value), 'f', 2);
}

} // namespace stokara::core
