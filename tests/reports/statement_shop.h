#pragma once

// Added on top of the ledger shop: a second bill numbered 2 for RAM SINGH
// on another date, printed with the first on his invoice bill.

#include "ledger_shop.h"

namespace stokara::test {

inline void seedStatementShop(core::Database& db) {
    seedLedgerShop(db);
    db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, net_amt, "
            "doc_no, category) values (?, '1', 'MINERAL MIX', 1, 'Kg', 80, 80, '2', 'MilkMan')",
            {QDate(2026, 6, 1)});
}

} // namespace stokara::test
