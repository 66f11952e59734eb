#pragma once

// Stock on top of the ledger shop: a sale of a main item to a VLCC party, a
// second main item whose BOM takes 1.5 of the sub-item, an item bought 100 and
// sold 30, and an item without any transaction.

#include "ledger_shop.h"

namespace stokara::test {

inline void seedStockShop(core::Database& db) {
    seedLedgerShop(db);
    db.exec("insert into masitem (item_name, unit, rate, MainItem) values ('CF PELLET', 'Bag', "
            "600, 'Y'), ('SALT LICK', 'Kg', 40, 'Y'), ('GHEE TIN', 'Tin', 900, 'Y')");
    db.exec("insert into BOM (MainItem, SubItem, Wt) values ('CF PELLET', 'MINERAL MIX', 1.5)");
    db.exec("insert into itempurchases (doc_dt, party_name, item_name, qty, unit, rate, "
            "net_amount) values (?, 'KISAN FEEDS', 'CF PELLET', 2, 'Bag', 500, 1000), "
            "(?, 'GREEN AGRO', 'SALT LICK', 100, 'Kg', 30, 3000)",
            {QDate(2026, 6, 1), QDate(2026, 5, 1)});
    db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, net_amt, "
            "doc_no, category) values (?, '2', 'CATTLE FEED', 2, 'Bag', 500, 1000, '8', "
            "'MilkMan'), (?, '1', 'SALT LICK', 30, 'Kg', 40, 1200, '9', 'MilkMan')",
            {QDate(2026, 6, 10), QDate(2026, 7, 1)});
}

} // namespace stokara::test
