#pragma once

// A small fixed shop over two years: parties (one with an apostrophe), vendors
// (one renamed since its first purchase), account heads, items with a BOM,
// sales (one on the from date, one late on the to date), purchases and vouchers.

#include "core/database.h"

#include <QDateTime>

namespace stokara::test {

inline void seedLedgerShop(core::Database& db) {
    db.exec("insert into compmaster (CompName, Address1, City) values "
            "('SHIV DAIRY SHOP', 'Main Road', 'Karnal')");
    db.exec("insert into masparty (party_code, party_name, category) values ('1', 'RAM SINGH', "
            "'MilkMan'), ('2', 'D''SOUZA DAIRY', 'VLCC'), ('3', 'GOPAL', 'MilkMan')");
    db.exec("insert into masvendor (party_code, party_name) values ('1', 'GREEN AGRO'), "
            "('2', 'KISAN FEEDS')");
    db.exec("insert into accounthead (AccountGroup, AccountHead) values ('Expenses', "
            "'ELECTRICITY'), ('Expenses', 'RENT')");
    db.exec("insert into masitem (item_name, unit, rate, MainItem) values ('CATTLE FEED', 'Bag', "
            "500, 'Y'), ('MINERAL MIX', 'Kg', 80, 'N')");
    db.exec("insert into BOM (MainItem, SubItem, Wt) values ('CATTLE FEED', 'MINERAL MIX', 0.5)");
    const QVariant lateOnLastDay = QDateTime(QDate(2027, 3, 31), QTime(18, 30));
    const QVariantList sales[] = {
        {QDate(2026, 3, 15), "1", "CATTLE FEED", 2, 500, 1000}, // before: opening
        {QDate(2026, 4, 1), "1", "CATTLE FEED", 1, 500, 500},   // on the from date
        {QDate(2026, 5, 10), "1", "MINERAL MIX", 3, 80, 240},
        {lateOnLastDay, "1", "CATTLE FEED", 1, 520, 520},
        {QDate(2027, 4, 1), "1", "CATTLE FEED", 1, 520, 520}, // after
        {QDate(2026, 4, 5), "2", "MINERAL MIX", 10, 80, 800},
        {QDate(2026, 1, 10), "3", "CATTLE FEED", 1, 450, 450},
    };
    int bill = 0;
    for (const QVariantList& s : sales)
        db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, net_amt, "
                "doc_no, category) values (?, ?, ?, ?, 'Bag', ?, ?, ?, 'MilkMan')",
                s + QVariantList{QString::number(++bill)});
    const QVariantList vouchers[] = {
        {QDate(2026, 2, 1), "RAM SINGH", "Cr", 300, "Cash", "1", "MilkMan"},
        {QDate(2026, 6, 15), "RAM SINGH", "Cr", 400, "Cash", "1", "MilkMan"},
        {QDate(2026, 7, 20), "RAM SINGH", "Dr", 100, "Advance", "1", "MilkMan"},
        {QDate(2026, 4, 6), "D'SOUZA DAIRY", "Cr", 500, "Card recharge", "2", "MilkMan"},
        // A vendor's voucher under the same number as party 2.
        {QDate(2026, 4, 7), "KISAN FEEDS", "Dr", 1000, "Cheque 2201", "2", "Vendor"},
        {QDate(2026, 3, 25), "GREEN AGRO", "Dr", 2000, "Cash paid", "1", "Vendor"},
        {QDate(2026, 4, 30), "GREEN AGRO", "Dr", 3000, "Cheque 1123", "1", "Vendor"},
        {QDate(2026, 5, 5), "GREEN AGRO", "Cr", 250, "Refund, short supply", "1", "Vendor"},
        {QDate(2026, 4, 10), "ELECTRICITY", "Dr", 1200, "April bill", "NA", "AccountHead"},
        {QDate(2026, 9, 10), "RENT", "Dr", 5000, "Shop rent", "NA", "AccountHead"},
        {QDate(2026, 10, 1), "RENT", "Cr", 1000, "Sublet", "NA", "AccountHead"},
        {QDate(2027, 4, 2), "ELECTRICITY", "Dr", 999, "After the date", "NA", "AccountHead"},
    };
    for (const QVariantList& v : vouchers)
        db.exec("insert into daybook (dt, accounthead, v_type, net_amount, remark, party_code, "
                "category) values (?, ?, ?, ?, ?, ?, ?)",
                v);
    const QVariantList purchases[] = {
        {QDate(2026, 3, 20), "GREEN AGRO", "CATTLE FEED", 10, 400, 4000},
        {QDate(2026, 4, 1), "GREEN AGRO", "CATTLE FEED", 5, 400, 2000},
        {QDate(2026, 8, 15), "GREEN AGRO", "MINERAL MIX", 20, 60, 1200},
        {QDate(2026, 4, 10), "KISAN FEEDS", "MINERAL MIX", 10, 60, 600},
        {QDate(2026, 5, 1), "OLD AGRO", "CATTLE FEED", 1, 400, 400}, // GREEN AGRO's old name
    };
    for (const QVariantList& p : purchases)
        db.exec("insert into itempurchases (doc_dt, party_name, item_name, qty, unit, rate, "
                "net_amount) values (?, ?, ?, ?, 'Bag', ?, ?)",
                p);
}

} // namespace stokara::test
