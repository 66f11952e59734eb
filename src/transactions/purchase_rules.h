#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::transactions {

// Widths of the ItemPurchases text columns.
inline constexpr int kPurchaseNameWidth = 40; // Party_name, item_name
inline constexpr int kPurchaseUnitWidth = 10;
// numeric(9,2): the largest figure the columns hold is below ten million.
inline constexpr double kPurchaseNumberLimit = 1e7;

// Quantity times rate, both by leading-number conversion, rounded to two decimals
// (a half to the even digit).
double purchaseAmount(const QString& qtyText, const QString& rateText);

// The entry number the next purchase is expected to get: the highest plus one.
qint64 expectedEntryNumber(std::optional<qint64> highest);

// What the purchase screen holds when Save is pressed.
struct PurchaseInput {
    QString dateText;
    QString vendor;
    QString item;
    QString qtyText;
    QString unit;
    QString rateText;
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
    QString message; // the refusal, when purchase is empty
};

// The save's checks in their order; the first failing one gives its message.
PurchaseCheck checkPurchase(const PurchaseInput& input);

} // namespace stokara::transactions
