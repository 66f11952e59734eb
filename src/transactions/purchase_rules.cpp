#include "purchase_rules.h"

#include "core/idioms.h"

namespace stokara::transactions {

namespace {

// Qty, Rate and Net_amount are numeric(9,2).
constexpr int kFigureDigits = 7;

PurchaseCheck refused(const char* field, const QString& message) {
    return {std::nullopt, {QString::fromLatin1(field), message}};
}

} // namespace

double purchaseAmount(const QString& qtyText, const QString& rateText) {
    return core::round2(core::val(qtyText) * core::val(rateText));
}

PurchaseCheck checkPurchase(const PurchaseInput& in, const PurchaseWidths& widths) {
    const auto date = core::parseDate(in.dateText);
    if (!date)
        return refused("text2", QStringLiteral("Enter proper date"));
    const QString badRate = QStringLiteral("Enter correct rate.");
    const auto rate = core::positiveNumber(in.rateText);
    if (!rate)
        return refused("txtrate", badRate);
    if (in.vendor.trimmed().isEmpty())
        return refused("DcParty", QStringLiteral("Enter proper milk man"));
    const QString badQty = QStringLiteral("Enter proper weight value.");
    const auto qty = core::positiveNumber(in.qtyText);
    if (!qty)
        return refused("TxtQty", badQty);
    if (in.item.isEmpty())
        return refused("Item_name", QStringLiteral("Enter proper Item Name."));

    Purchase p;
    p.date = *date;
    p.vendor = in.vendor;
    p.item = in.item;
    p.unit = in.unit;
    p.qty = core::round2(*qty);
    p.rate = core::round2(*rate);
    // The amount always follows the quantity and rate as saved, never a stale field.
    p.amount = core::round2(*qty * *rate);

    // Figures that round to nothing in two decimals would be stored as 0.
    if (p.rate <= 0)
        return refused("txtrate", badRate);
    if (p.qty <= 0)
        return refused("TxtQty", badQty);
    if (p.amount <= 0)
        return refused("TxtQty", QStringLiteral("Invalid Entry."));
    struct Figure {
        const char* field;
        const char* label;
        double value;
    };
    for (const Figure& f : {Figure{"txtrate", "Rate", p.rate}, Figure{"TxtQty", "Quantity", p.qty},
                            Figure{"TxtQty", "Amount", p.amount}}) {
        const QString message =
            core::tooLargeMessage(QString::fromLatin1(f.label), f.value, kFigureDigits);
        if (!message.isEmpty())
            return refused(f.field, message);
    }
    struct Text {
        const char* field;
        const char* label;
        const QString& text;
        int width;
    };
    for (const Text& t : {Text{"DcParty", "Vendor name", p.vendor, widths.vendor},
                          Text{"Item_name", "Item name", p.item, widths.item},
                          Text{"Item_name", "Unit", p.unit, widths.unit}}) {
        const QString message = core::tooLongMessage(QString::fromLatin1(t.label), t.text, t.width);
        if (!message.isEmpty())
            return refused(t.field, message);
    }
    return {p, {}};
}

} // namespace stokara::transactions
