#pragma once

#include <QString>

namespace stokara::core {

// Whether a text has the shape of a UPI ID (a virtual payment address):
// name@bank, letters, digits, dots, hyphens and underscores before the "@",
// letters after it.
bool isUpiId(const QString& text);

// The standard UPI payment link a phone's payment app opens from a QR code:
// upi://pay?pa=<id>&pn=<payee>&am=<amount, two decimals>&cu=INR&tn=<note>,
// every value percent-encoded. Empty where there is nothing to pay: no ID, or
// an amount that is not a due (zero or less, once rounded to paise).
QString upiPaymentLink(const QString& upiId, const QString& payee, double amount,
                       const QString& note);

} // namespace stokara::core
