#include "card_recharge_store.h"

#include "core/database.h"

namespace stokara::transactions {

QList<AccountEntry> CardRechargeStore::milkSuppliers() {
    return DayBookStore(db_).accounts(AccountCategory::MilkMan);
}

std::optional<PartyRef> CardRechargeStore::partyByCode(const QString& code) {
    const auto rows = db_.query(QStringLiteral("select party_code, party_name from masparty "
                                               "where party_code = ? and category in (?, ?)"),
                                {code, QStringLiteral("MilkMan"), QStringLiteral("VLCC")});
    if (rows.empty())
        return std::nullopt;
    return PartyRef{rows.front().text(0), rows.front().text(1)};
}

std::optional<PartyRef> CardRechargeStore::partyByCard(const QString& cardNo) {
    // Should two parties carry one card, the lowest code wins every time.
    const auto rows = db_.query(QStringLiteral("select party_code, party_name from masparty "
                                               "where CardNo = ? "
                                               "order by val(party_code), party_code limit 1"),
                                {cardNo});
    if (rows.empty())
        return std::nullopt;
    return PartyRef{rows.front().text(0), rows.front().text(1)};
}

} // namespace stokara::transactions
