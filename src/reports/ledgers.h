#pragma once

#include "engine/layout.h"
#include "engine/report.h"

#include <QDate>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace stokara::core {
class Database;
}

namespace stokara::reports {

inline const QString kEnterProperInformation =
    QStringLiteral("Enter proper information for report.");

// What every report needs besides its inputs.
struct ReportContext {
    ReportFolders folders;
    QString shopName; // dairyname
};

// One entry of a criteria list: the text shown and the value bound to it.
struct ListEntry {
    QString shown;
    QString bound;
};
// The rows' first two columns as list entries (shown, bound).
std::vector<ListEntry> listEntries(const core::Rows& rows);

// Parties by the numeric value of their code: the name, bound to the code.
std::vector<ListEntry> ledgerParties(core::Database& db);
// Vendors likewise: "code - name", bound to the name.
std::vector<ListEntry> ledgerVendors(core::Database& db);

// A party named by its code (or, failing that, its exact name), and a vendor by
// its name (or its code), as the command line names them; nothing when none is.
std::optional<ListEntry> findParty(core::Database& db, const QString& codeOrName);
std::optional<ListEntry> findVendor(core::Database& db, const QString& nameOrCode);

// The balances a single ledger shows beside its lines.
struct LedgerFigures {
    double opening = 0;
    double debit = 0;  // the side that increases the balance
    double credit = 0; // the side that reduces it
    double closing = 0;
};

// A party's sales and its own receipts and payments from `from` to `to`
// (both included): RepItemBook with the party's figures. Vouchers count by the
// party's code and a party category, so a vendor or account head booked under
// the same number never lands in a party's ledger.
Report partyLedger(core::Database& db, const ReportContext& context, const QString& partyCode,
                   const QString& partyName, const QDate& from, const QDate& to,
                   LedgerFigures* figures = nullptr);
// A vendor's purchases (by the vendor's name) and vouchers (by its code).
Report vendorLedger(core::Database& db, const ReportContext& context, const QString& vendorName,
                    const QDate& from, const QDate& to, LedgerFigures* figures = nullptr);
// Every party, vendor and account head with its closing balance on `asOn`:
// the report file RptVorlk_DayBookLedgerConsolidate1.rpt over RepDaybook.
Report ledgerConsolidate(core::Database& db, const ReportContext& context, const QDate& asOn);

} // namespace stokara::reports
