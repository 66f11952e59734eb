#include "day_book_rules.h"

#include "core/idioms.h"

namespace stokara::transactions {

QString categoryName(AccountCategory category) {
    switch (category) {
    case AccountCategory::MilkMan:
        return QStringLiteral("MilkMan");
    case AccountCategory::RetailMilk:
        return QStringLiteral("RetailMilk");
    case AccountCategory::AccountHead:
        return QStringLiteral("AccountHead");
    case AccountCategory::Vendor:
        return QStringLiteral("Vendor");
    case AccountCategory::BuyerProduct:
        return QStringLiteral("BuyerProduct");
    }
    return {};
}

VoucherCheck checkVoucher(const VoucherInput& in, const VoucherWidths& widths) {
    const QString proper = QStringLiteral("Please enter proper values.");
    auto refused = [&](const QString& field, const QString& message = {}) {
        return VoucherCheck{std::nullopt, {field, message.isEmpty() ? proper : message}};
    };
    const auto date = core::parseDate(in.dateText);
    if (!date)
        return refused(QStringLiteral("text2"));
    if (in.voucherType.isEmpty())
        return refused(QStringLiteral("List1"));
    if (in.accountText.isEmpty())
        return refused(in.accountField);
    const bool accountHead = in.category == categoryName(AccountCategory::AccountHead);
    // A party voucher whose name matches no entry of the list would belong to nobody.
    if (!accountHead && in.boundValue.trimmed().isEmpty())
        return refused(in.accountField);
    const auto typed = core::positiveNumber(in.amountText);
    const double amount = typed ? core::round2(*typed) : 0;
    // DayBook.net_amount is numeric(20,2); a larger figure is a typing slip.
    if (amount <= 0 || amount >= 1e15)
        return refused(QStringLiteral("TxtAmount"));

    const QString partyCode = accountHead ? QStringLiteral("NA") : in.boundValue;
    struct Text {
        QString field;
        const char* label;
        const QString& text;
        int width;
    };
    for (const Text& t : {Text{in.accountField, "Account Head", in.accountText, widths.accountHead},
                          Text{QStringLiteral("TxtRemark"), "Remark", in.remark, widths.remark},
                          Text{in.accountField, "Party code", partyCode, widths.partyCode}}) {
        const QString message = core::tooLongMessage(QString::fromLatin1(t.label), t.text, t.width);
        if (!message.isEmpty())
            return refused(t.field, message);
    }

    Voucher v;
    v.date = *date;
    v.accountHead = in.accountText;
    v.voucherType = in.voucherType;
    v.amount = amount;
    v.remark = in.remark;
    v.partyCode = partyCode;
    v.category = in.category;
    return {v, {}};
}

} // namespace stokara::transactions
