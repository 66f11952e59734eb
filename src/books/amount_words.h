#pragma once

#include <QString>
#include <QtGlobal>

#include <stdexcept>

namespace stokara::books {

// A value beyond the fixed-point amount's range.
class AmountOverflow : public std::overflow_error {
public:
    AmountOverflow() : std::overflow_error("Overflow") {}
};

// A fixed-point amount with four decimal places, as the converter holds it.
class Amount {
public:
    static constexpr qint64 kScale = 10000;
    // A whole number; throws AmountOverflow when it does not fit (or is not a number).
    static Amount whole(double value);
    static Amount whole(qint64 value) { return Amount(value * kScale); }
    static Amount fromUnits(qint64 units) { return Amount(units); } // 1/10000 each
    qint64 units() const { return units_; }

private:
    explicit Amount(qint64 units) : units_(units) {}
    qint64 units_;
};

// 1..19 in words; anything else "".
QString unitsWord(qint64 n);
// 0..99: "twenty", "twenty one" (no hyphen).
QString tensWords(qint64 n);
// 0..999: "one hundred five", "two hundred".
QString hundredsWords(qint64 n);
// The whole amount in words without currency, groups joined by ", "; "" for 0.
QString numberWords(Amount amount);
// "<words> dollars and <words> cents" ("one dollar", "one cent", "zero ...").
QString moneyWords(Amount amount);

// An amount of money as a bill prints it: the whole rupees in words
// ("one thousand, five hundred"), with its paise where it has some ("twelve
// rupees and fifty paise", "fifty paise"), "zero" for nothing. The sign is
// left out: balanceWords says it.
QString rupeeWords(double amount);
// A balance (debit less credit) in words with the side it runs: "... due"
// when the party owes the shop, "... advance" when it has money left; "zero".
QString balanceWords(double drMinusCr);

// What the convert button shows for a typed value: its leading number rounded
// to a whole number (half to even). Throws AmountOverflow beyond the range.
struct ConvertedValue {
    QString words;
    QString money;
};
ConvertedValue convertValue(const QString& text);

} // namespace stokara::books
