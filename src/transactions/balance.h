#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

// What a party has left with the shop up to and including a date (its
// receipts and card recharges less its sales and payments made to it), as the
// books count its entries; nothing when the party has no entry at all. The
// counter asks before a sale above it. Reads indexed aggregates only, so it is
// cheap enough for every key press of the party code.
std::optional<double> closingBalance(core::Database& db, const QString& partyCode,
                                     const QDate& upTo);

// The balance as the screen shows it, with its side: "895.00 due" when the
// party owes the shop, "120.00 advance" when it has money left; empty when
// there is none.
QString balanceText(const std::optional<double>& balance);

} // namespace stokara::transactions
