#pragma once

#include "transactions/day_book_store.h"

#include <QString>

#include <optional>

namespace stokara::transactions {

// Party found by code or card.
struct PartyRef {
    QString code;
    QString name;
};

// The party look-ups of the card recharge screen; its vouchers go through DayBookStore.
class CardRechargeStore {
public:
    explicit CardRechargeStore(core::Database& db) : db_(db) {}

    // The picker's list: milk suppliers, "name - code", by the code's numeric value.
    QList<AccountEntry> milkSuppliers();
    // A "MilkMan" or "VLCC" party by its code.
    std::optional<PartyRef> partyByCode(const QString& code);
    // The party carrying a card (the lowest code, should several carry it); the
    // number is compared exactly as given.
    std::optional<PartyRef> partyByCard(const QString& cardNo);

private:
    core::Database& db_;
};

} // namespace stokara::transactions
