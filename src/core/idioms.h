#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::core {

// The leading number of a typed text: "12abc" is 12, "abc" and "" are 0,
// " 3.5" is 3.5.
double val(const QString& text);

// Rounds to two decimals, exact ties to the even digit, on the value as stored:
// 0.125 gives 0.12, 0.375 gives 0.38.
double round2(double value);

// Dates are shown and typed as dd/mm/yyyy whatever the computer's settings.
inline constexpr const char* kDateFormat = "dd/MM/yyyy";
// Text of an empty date field.
inline constexpr const char* kEmptyDate = "__/__/____";
// Input mask of a date field; its empty text is kEmptyDate.
inline constexpr const char* kDateMask = "99/99/9999;_";

QString formatDate(const QDate& date); // "dd/MM/yyyy"; an invalid date gives kEmptyDate
// A complete and valid dd/mm/yyyy text; std::nullopt for anything else
// (including the empty mask and 31/02/2024).
std::optional<QDate> parseDate(const QString& text);

// Amount text as the screens show it: two decimals, no grouping.
QString formatAmount(double value);

} // namespace stokara::core
