#include "amount_words.h"

#include "core/idioms.h"

#include <cmath>
#include <limits>

namespace stokara::books {

namespace {

const char* const kUnits[] = {"",        "one",     "two",       "three",    "four",
                              "five",    "six",     "seven",     "eight",    "nine",
                              "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
                              "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
const char* const kTens[] = {"",      "",      "twenty",  "thirty", "forty",
                             "fifty", "sixty", "seventy", "eighty", "ninety"};

struct Scale {
    const char* name;
    qint64 value;
};
const Scale kScales[] = {{"trillion", 1000000000000LL},
                         {"billion", 1000000000LL},
                         {"million", 1000000LL},
                         {"thousand", 1000LL},
                         {"", 1LL}};

QString withUnit(const QString& words, const char* one, const char* many) {
    const QString said = words.isEmpty() ? QStringLiteral("zero") : words;
    return said + QLatin1Char(' ') + QLatin1String(said == QLatin1String("one") ? one : many);
}

} // namespace

Amount Amount::whole(double value) {
    // The largest whole number 64-bit units of 1/10000 hold: 922,337,203,685,477.
    const qint64 limit = std::numeric_limits<qint64>::max() / kScale;
    if (!std::isfinite(value) || std::fabs(value) > double(limit) + 0.5)
        throw AmountOverflow();
    return whole(qint64(value));
}

QString unitsWord(qint64 n) {
    return n >= 1 && n <= 19 ? QLatin1String(kUnits[n]) : QString();
}

QString tensWords(qint64 n) {
    const qint64 t = n / 10;
    if (t < 2)
        return unitsWord(n);
    const QString tens = t <= 9 ? QLatin1String(kTens[t]) : QString();
    return (tens + QLatin1Char(' ') + unitsWord(n - 10 * t)).trimmed();
}

QString hundredsWords(qint64 n) {
    const qint64 h = n / 100;
    const qint64 r = n - 100 * h;
    QString result;
    if (h > 0)
        result = unitsWord(h) + QStringLiteral(" hundred ");
    if (r > 0)
        result += tensWords(r);
    return result.trimmed();
}

QString numberWords(Amount amount) {
    QString result;
    qint64 remaining = amount.units();
    for (const Scale& scale : kScales) {
        const qint64 value = scale.value * Amount::kScale;
        if (remaining >= value) {
            const qint64 q = remaining / value;
            if (!result.isEmpty())
                result += QStringLiteral(", ");
            result += hundredsWords(q) + QLatin1Char(' ') + QLatin1String(scale.name);
            remaining -= q * value;
        }
    }
    return result.trimmed();
}

QString moneyWords(Amount amount) {
    // The whole part rounded down, also for a negative amount.
    qint64 whole = amount.units() / Amount::kScale;
    if (amount.units() < 0 && amount.units() % Amount::kScale != 0)
        --whole;
    const qint64 fraction = amount.units() - whole * Amount::kScale; // 0..9999
    // Cents to the nearest whole, an exact half to even.
    qint64 cents = fraction / 100;
    const qint64 rest = fraction % 100;
    if (rest > 50 || (rest == 50 && cents % 2 == 1))
        ++cents;
    return withUnit(numberWords(Amount::whole(whole)), "dollar", "dollars") +
           QStringLiteral(" and ") + withUnit(numberWords(Amount::whole(cents)), "cent", "cents");
}

QString rupeeWords(double amount) {
    // Paise to two decimals, an exact half to even, on the value as stored.
    const qint64 paise = qint64(std::llround(core::round2(std::fabs(amount)) * 100));
    if (paise == 0)
        return QStringLiteral("zero");
    const QString rupees = numberWords(Amount::whole(paise / 100));
    if (paise % 100 == 0)
        return rupees;
    const QString small = numberWords(Amount::whole(paise % 100)) + QStringLiteral(" paise");
    if (rupees.isEmpty())
        return small;
    return withUnit(rupees, "rupee", "rupees") + QStringLiteral(" and ") + small;
}

QString balanceWords(double drMinusCr) {
    const QString words = rupeeWords(drMinusCr);
    if (core::round2(drMinusCr) == 0)
        return words;
    return words + (drMinusCr > 0 ? QStringLiteral(" due") : QStringLiteral(" advance"));
}

ConvertedValue convertValue(const QString& text) {
    // nearbyint rounds an exact half to the even whole number.
    const Amount value = Amount::whole(std::nearbyint(core::val(text)));
    return {numberWords(value), moneyWords(value)};
}

} // namespace stokara::books
