#include "purchase_rules.h"

#include "core/idioms.h"
#include "transactions/day_book_rules.h"

#include <cmath>

namespace stokara::transactions {

double purchaseAmount(const QString& qtyText, const QString& rateText) {
    return core::round2(core::val(qtyText) * core::val(rateText));
}

qint64 expectedEntryNumber(std::optional<qint64> highest) {
    return highest ? *highest + 1 : 1;
}

PurchaseCheck checkPurchase(const PurchaseInput& in) {
    const auto date = core::parseDate(in.dateText);
    if (!date)
        return {std::nullopt, QStringLiteral("Enter proper date")};
    const QString badRate = QStringLiteral("Enter correct rate.");
    if (!isNumericText(in.rateText) || core::val(in.rateText) == 0)
        return {std::nullopt, badRate};
    if (in.vendor.trimmed().isEmpty())
        return {std::nullopt, QStringLiteral("Enter proper milk man")};
    const QString badQty = QStringLiteral("Enter proper weight value.");
    if (!isNumericText(in.qtyText) || core::val(in.qtyText) == 0)
        return {std::nullopt, badQty};
    if (in.item.isEmpty())
        return {std::nullopt, QStringLiteral("Enter proper Item Name.")};

    Purchase p;
    p.date = *date;
    p.vendor = in.vendor;
    p.item = in.item;
    p.unit = in.unit;
    p.qty = core::round2(core::val(in.qtyText));
    p.rate = core::round2(core::val(in.rateText));
    // The amount always follows the quantity and rate as saved, never a stale field.
    p.amount = purchaseAmount(in.qtyText, in.rateText);

    if (std::fabs(p.rate) >= kPurchaseNumberLimit)
        return {std::nullopt, badRate};
    if (std::fabs(p.qty) >= kPurchaseNumberLimit)
        return {std::nullopt, badQty};
    if (std::fabs(p.amount) >= kPurchaseNumberLimit)
        return {std::nullopt, QStringLiteral("Amount is too large.")};
    if (characterCount(p.vendor) > kPurchaseNameWidth)
        return {std::nullopt, QStringLiteral("Vendor name can't be longer than %1 characters.")
                                  .arg(kPurchaseNameWidth)};
    if (characterCount(p.item) > kPurchaseNameWidth)
        return {std::nullopt, QStringLiteral("Item name can't be longer than %1 characters.")
                                  .arg(kPurchaseNameWidth)};
    if (characterCount(p.unit) > kPurchaseUnitWidth)
        return {std::nullopt,
                QStringLiteral("Unit can't be longer than %1 characters.").arg(kPurchaseUnitWidth)};
    return {p, {}};
}

} // namespace stokara::transactions
