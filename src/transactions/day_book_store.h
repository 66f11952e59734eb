#pragma once

#include "transactions/day_book_rules.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

// One entry of an account list: the value stored as party_code and the text shown
// (and stored as accounthead).
struct AccountEntry {
    QString bound;
    QString shown;
};

struct StoredVoucher {
    qint64 autoNo = 0;
    QDate date; // invalid when the stored date is null
    QString accountHead;
    QString voucherType;
    double amount = 0; // 0 when null
    QString remark;
    QString partyCode;
    QString category;
};

// The DayBook statements of the day book and card recharge screens.
class DayBookStore {
public:
    explicit DayBookStore(core::Database& db) : db_(db) {}

    // The list of a category, in the order its screen shows it.
    QList<AccountEntry> accounts(AccountCategory category);

    // Vouchers of one date, newest entry first.
    std::vector<StoredVoucher> vouchersOn(const QDate& date);
    std::optional<StoredVoucher> voucher(qint64 autoNo);

    // Returns the entry number the database gave the voucher.
    qint64 insert(const Voucher& voucher);
    // Corrects a voucher. With setPartyAndCategory false (an account-head correction)
    // party_code and category keep their stored values. Returns whether the voucher
    // still existed.
    bool update(qint64 autoNo, const Voucher& voucher, bool setPartyAndCategory);
    // Returns whether a voucher was deleted.
    bool remove(qint64 autoNo);

private:
    core::Database& db_;
};

} // namespace stokara::transactions
