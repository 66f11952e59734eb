#pragma once

// Rows the sale tests start from, written with bound values like the program's own.

#include "core/database.h"
#include "transactions/sale_finishing.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace stokara::test::sale {

inline void addParty(core::Database& db, const QString& code, const QString& name,
                     const QString& category = QStringLiteral("MilkMan"),
                     const QString& cardNo = {}, const QString& phone = {}) {
    db.exec(QStringLiteral("insert into masparty (party_code, party_name, category, CardNo, ph) "
                           "values (?, ?, ?, ?, ?)"),
            {code, name, category, cardNo.isEmpty() ? QVariant() : QVariant(cardNo),
             phone.isEmpty() ? QVariant() : QVariant(phone)});
}

inline void addItem(core::Database& db, const QString& name, const QString& unit, double rate) {
    db.exec(QStringLiteral("insert into masitem (item_name, unit, rate) values (?, ?, ?)"),
            {name, unit, rate});
}

inline void addVoucher(core::Database& db, const QVariant& when, const QString& head,
                       const QString& type, double amount, const QString& code,
                       const QString& category = QStringLiteral("MilkMan")) {
    db.exec(QStringLiteral("insert into daybook (dt, accounthead, v_type, net_amount, remark, "
                           "party_code, category) values (?, ?, ?, ?, ?, ?, ?)"),
            {when, head, type, amount, QStringLiteral("test"), code, category});
}

inline void addSale(core::Database& db, const QVariant& when, const QString& billNo,
                    const QString& code, const QString& item, double qty, double rate,
                    double amount) {
    db.exec(QStringLiteral("insert into itemsale (doc_dt, doc_no, party_code, item_name, unit, "
                           "qty, rate, net_amt, category) values (?, ?, ?, ?, 'Bag', ?, ?, ?, "
                           "'MilkMan')"),
            {when, billNo, code, item, qty, rate, amount});
}

// Records the memos and receipts of finished bills instead of printing and
// sending them; each memo may leave a notice, as a PDF written instead does.
struct RecordingFinishing : transactions::BillFinishing {
    QList<transactions::FinishedBill> memos;
    QList<transactions::FinishedBill> receipts;
    QString memoNotice;
    QString printMemo(const transactions::FinishedBill& bill) override {
        memos.append(bill);
        return memoNotice.isEmpty() ? QString() : memoNotice.arg(memos.size());
    }
    void sendReceipt(const transactions::FinishedBill& bill) override { receipts.append(bill); }
    void tell(const QString& text) { notice(text); }
};

} // namespace stokara::test::sale
