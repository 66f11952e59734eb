#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

// The closing balance of a party up to and including a date, as the sale
// screen shows it beside the party:
// - when the party has sales or "MilkMan" vouchers: its "Cr" vouchers minus its
//   sales and "Dr" vouchers of category "MilkMan" (positive means money left,
//   for instance from a recharged card);
// - otherwise, when vouchers of category "AccountHead" carry the code: "Dr"
//   minus "Cr" of the first such head by name;
// - otherwise no balance at all (nothing is shown).
// Vouchers of other categories do not count. Reads indexed aggregates only, so
// it is cheap enough to run on every key press of the party code.
std::optional<double> closingBalance(core::Database& db, const QString& partyCode,
                                     const QDate& upTo);

// The balance as the screen's label shows it: plain number text ("-250",
// "12.5"), empty when there is none.
QString balanceText(const std::optional<double>& balance);

} // namespace stokara::transactions
