#pragma once

#include "ledger_shop.h"

namespace stokara::test {

// The ledger shop, a VLCC sale of a main item, a BOM of 1.5 and items in and out.
inline void seedStockShop(core::Database& db) {
    seedLedgerShop(db);
    db.exec("insert into masitem (item_name, unit, rate, MainItem) values ('CF PELLET', 'Bag', "
            "600, 'Y'), ('SALT LICK', 'Kg', 40, 'Y'), ('GHEE TIN', 'Tin', 900, 'Y')");
    db.exec("insert into BOM (MainItem, SubItem, Wt) values ('CF PELLET', 'MINERAL MIX', 1.5)");
    db.exec("insert into itempurchases (doc_dt, party_name, item_name, qty) values "
            "(?, 'KISAN FEEDS', 'CF PELLET', 2), (?, 'GREEN AGRO', 'SALT LICK', 100)",
            {QDate(2026, 6, 1), QDate(2026, 5, 1)});
    db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, doc_no) values "
            "(?, '2', 'CATTLE FEED', 2, '8'), (?, '1', 'SALT LICK', 30, '9')",
            {QDate(2026, 6, 10), QDate(2026, 7, 1)});
}

} // namespace stokara::test
