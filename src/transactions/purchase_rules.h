#pragma once

#include "core/input_rules.h"

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::transactions {

// Quantity times rate, both by leading-number conversion, rounded to two decimals
// (a half to the even digit).
double purchaseAmount(const QString& qtyText, const QString& rateText);

// What the purchase screen holds when Save is pressed.
struct PurchaseInput {
    QString dateText;
    QString vendor;
    QString item;
    QString qtyText;
    QString unit;
    QString rateText;
};

// Characters the ItemPurchases text columns hold (0: no limit).
struct PurchaseWidths {
    int vendor = 0;
    int item = 0;
    int unit = 0;
};

struct Purchase {
    QDate date;
    QString vendor;
    QString item;
    double qty = 0;
    QString unit;
    double rate = 0;
    double amount = 0;
};

struct PurchaseCheck {
    std::optional<Purchase> purchase;
    core::Problem problem; // the refusal, when purchase is empty
};

// The save's checks in their order; the first failing one gives its message and
// the field to go back to. Quantity, rate and amount must be above 0 (returns are
// not entered as purchases).
PurchaseCheck checkPurchase(const PurchaseInput& input, const PurchaseWidths& widths);

} // namespace stokara::transactions
