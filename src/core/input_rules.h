#pragma once

#include <QString>

#include <initializer_list>
#include <optional>

namespace stokara::core {

// Why an entry was refused: the field to go back to (its object name, or empty
// when none is to blame) and the message for the operator.
struct Problem {
    QString field;
    QString message;
};

// A number as the operator may type it: blanks around, an optional sign,
// digits with at most one decimal point. Thousands separators, exponents,
// "inf" and "nan" are refused: the leading-number reading would take "1,000"
// for 1 and "1e308" for a figure no column holds.
bool isNumericText(const QString& text);

// The typed number when it is a plain number above 0; nothing otherwise
// (returns are not part of this program, so 0 and negative figures are refused).
std::optional<double> positiveNumber(const QString& text);

// Length of a text as the database counts it: characters, not UTF-16 units
// (a Hindi letter is one).
int characterCount(const QString& text);

// "" when the text fits; otherwise the message that says so, naming the field.
QString tooLongMessage(const QString& label, const QString& text, int limit);
// One text of a screen with its field, label and column width (0: no limit).
struct TextCheck {
    const char* field;
    const char* label;
    QString text;
    int limit;
};
// The first text too long for its column, as a problem at its field.
std::optional<Problem> firstTooLong(std::initializer_list<TextCheck> texts);
// "" when the number fits a column with that many digits before the decimal
// point (numeric(9,2) has 7, numeric(9) has 9); otherwise the message.
QString tooLargeMessage(const QString& label, double value, int integerDigits);

// A number field of a master: "" when it is empty, or a plain number that fits
// (its value as stored is `value`); otherwise the message. Letters never
// become a silent 0.
QString numberMessage(const QString& label, const QString& text, double value, int integerDigits);

// Digits before the decimal point of the number column types.
inline constexpr int kNumeric9_2Digits = 7;   // numeric(9,2): rates, commissions, weights
inline constexpr int kNumeric9Digits = 9;     // numeric(9): whole amounts
inline constexpr int kNumeric12_2Digits = 10; // numeric(12,2): party opening balances

} // namespace stokara::core
