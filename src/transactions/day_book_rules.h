#pragma once

#include "core/input_rules.h"

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::transactions {

// The account lists of the day book, switched with function keys.
enum class AccountCategory { MilkMan, RetailMilk, AccountHead, Vendor, BuyerProduct };

// "MilkMan", "RetailMilk", "AccountHead", "Vendor", "BuyerProduct" as stored in DayBook.
QString categoryName(AccountCategory category);

// What the day book (and the card recharge) screen holds when Save is pressed.
struct VoucherInput {
    QString dateText;    // text of the date field
    QString voucherType; // "Dr", "Cr" or empty
    QString accountText; // shown text of the account picker
    QString boundValue;  // bound value of the account picker (party or vendor code)
    QString amountText;
    QString remark;
    QString category;
    QString accountField; // object name of the screen's account picker
};

// Characters the DayBook text columns hold (0: no limit).
struct VoucherWidths {
    int accountHead = 0;
    int remark = 0;
    int partyCode = 0;
};

// One voucher as it is written.
struct Voucher {
    QDate date;
    QString accountHead;
    QString voucherType;
    double amount = 0;
    QString remark;
    QString partyCode;
    QString category;
};

struct VoucherCheck {
    std::optional<Voucher> voucher;
    core::Problem problem; // why it was refused, when voucher is empty
};

// The save's checks in the order of the fields. The amount must be above 0.
// Account-head vouchers carry the party code "NA".
VoucherCheck checkVoucher(const VoucherInput& input, const VoucherWidths& widths);

} // namespace stokara::transactions
