#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::transactions {

// Widths of the DayBook columns a voucher writes; PostgreSQL refuses longer text.
inline constexpr int kVoucherAccountHeadWidth = 100;
inline constexpr int kVoucherRemarkWidth = 100;
inline constexpr int kVoucherPartyCodeWidth = 10; // widened from 5 like every code column

// A number as the operator may type it: blanks around, an optional sign, digits with
// at most one decimal point. Thousands separators and exponents are refused because
// the leading-number conversion would read "1,000" as 1.
bool isNumericText(const QString& text);

// Characters of a text as the database counts them (a Hindi letter is one).
int characterCount(const QString& text);

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
    QString message; // why it was refused, when voucher is empty
};

// The save's checks in order. Account-head vouchers carry the party code "NA".
VoucherCheck checkVoucher(const VoucherInput& input);

} // namespace stokara::transactions
