#include "day_book_rules.h"

#include "core/idioms.h"

#include <QRegularExpression>

#include <cmath>

namespace stokara::transactions {

bool isNumericText(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return number.match(text).hasMatch();
}

int characterCount(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

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

VoucherCheck checkVoucher(const VoucherInput& input) {
    const QString proper = QStringLiteral("Please enter proper values.");
    const auto date = core::parseDate(input.dateText);
    if (input.accountText.isEmpty() || input.voucherType.isEmpty() ||
        !isNumericText(input.amountText) || !date)
        return {std::nullopt, proper};
    const double amount = core::round2(core::val(input.amountText));
    // DayBook.net_amount is numeric(20,2); a larger figure is a typing slip.
    if (std::fabs(amount) >= 1e15)
        return {std::nullopt, proper};

    const bool accountHead = input.category == categoryName(AccountCategory::AccountHead);
    // A party voucher whose name matches no entry of the list would belong to nobody.
    if (!accountHead && input.boundValue.trimmed().isEmpty())
        return {std::nullopt, proper};
    if (characterCount(input.accountText) > kVoucherAccountHeadWidth)
        return {std::nullopt, QStringLiteral("Account Head can't be longer than %1 characters.")
                                  .arg(kVoucherAccountHeadWidth)};
    if (characterCount(input.remark) > kVoucherRemarkWidth)
        return {
            std::nullopt,
            QStringLiteral("Remark can't be longer than %1 characters.").arg(kVoucherRemarkWidth)};
    const QString partyCode = accountHead ? QStringLiteral("NA") : input.boundValue;
    if (characterCount(partyCode) > kVoucherPartyCodeWidth)
        return {std::nullopt, QStringLiteral("Party code can't be longer than %1 characters.")
                                  .arg(kVoucherPartyCodeWidth)};

    Voucher v;
    v.date = *date;
    v.accountHead = input.accountText;
    v.voucherType = input.voucherType;
    v.amount = amount;
    v.remark = input.remark;
    v.partyCode = partyCode;
    v.category = input.category;
    return {v, {}};
}

} // namespace stokara::transactions
