#include "balance.h"

#include "books/accounts.h"

namespace stokara::transactions {

std::optional<double> closingBalance(core::Database& db, const QString& partyCode,
                                     const QDate& upTo) {
    const books::Balance b = books::balanceAsOn(db, books::Account::party(partyCode), upTo);
    if (b.entries == 0)
        return std::nullopt;
    return -b.net();
}

QString balanceText(const std::optional<double>& balance) {
    if (!balance)
        return {};
    return books::partyText(-*balance);
}

} // namespace stokara::transactions
