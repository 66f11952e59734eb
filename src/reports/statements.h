#pragma once

#include "ledgers.h"

#include "books/accounts.h"

#include "core/session.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace stokara::reports {

// Told, without an icon, when a statement finds nothing to show.
inline const QString kNoRecords = QStringLiteral("Sorry! There is no any records.");
inline const QString kNoRecordsTitle = QStringLiteral("Tarvex Milvora Manager 4.01");

enum class StatementMode { Sale, Purchase };
// "itempurchase" is the purchase mode; anything else the sale mode.
StatementMode statementMode(const QString& statementKind);

// Items by name; parties ("code - name", bound to the code) or, in the purchase
// mode, vendors likewise, since a purchase names its vendor.
std::vector<ListEntry> statementItems(core::Database& db);
std::vector<ListEntry> statementAccounts(core::Database& db, StatementMode mode);
// A party (vendor in the purchase mode) by its code or, failing that, its name.
std::optional<ListEntry> findStatementAccount(core::Database& db, StatementMode mode,
                                              const QString& codeOrName);
// Account heads, bound to their name, and parties, "name - code" bound to itself.
std::vector<ListEntry> dayBookNames(core::Database& db);
// Parties by name, bound to the code.
std::vector<ListEntry> billParties(core::Database& db);

// What a statement shows besides its rows.
struct StatementTotals {
    double qty = 0;
    double amount = 0;
};

// Sales (or purchases) from `from` to `to`, optionally of one item and one
// party (vendor code in the purchase mode): RepItemPurchases. Nothing when no
// row matches. `company` is the company chosen at login.
std::optional<Report> itemStatement(core::Database& db, const ReportContext& context,
                                    const QString& company, StatementMode mode, const QDate& from,
                                    const QDate& to, const QString& item, const QString& account,
                                    StatementTotals* totals = nullptr);
// Sales per item: RepItemSaleSummary, titled "Item Sale Statement Summary"
// whichever statement was opened before.
std::optional<Report> itemSaleSummary(core::Database& db, const ReportContext& context,
                                      const QString& company, const QDate& from, const QDate& to,
                                      StatementTotals* totals = nullptr);

struct DayBookTotals {
    double debit = 0;
    double credit = 0;
    double net = 0; // debit - credit, printed with its side
};
// The account a day book statement is asked for: a head by its name, a party
// as the list shows it ("name - code") or by its name; none for the whole day
// book.
std::optional<books::Account> dayBookAccount(core::Database& db, const QString& chosen);
// The day book's debits and credits of a period; for a head or party, its
// entries in the books (a party's sales among them): RepDayBook.
std::optional<Report> dayBookStatement(core::Database& db, const ReportContext& context,
                                       const QDate& from, const QDate& to, const QString& name,
                                       DayBookTotals* totals = nullptr);

// Every party's (or one party's) bill for a period: opening balance, sales,
// receipts (negative) and payments, closing balance in figures and words.
// Fills repdaybook, repdaybook1 and repdaybook2; nothing when no party has
// anything to show.
std::optional<Report> partyBill(core::Database& db, const ReportContext& context,
                                const core::ShopInfo& shop, const QDate& from, const QDate& to,
                                const QString& partyCode);
// One bill of a party by its number (bills of one number on several dates
// together), with its total in words. Nothing when the party has no such bill.
std::optional<Report> partyBillInvoice(core::Database& db, const ReportContext& context,
                                       const core::ShopInfo& shop, const QString& partyCode,
                                       const QString& billNo);
// "Amount in Words: " and a bill's total in rupees and paise.
QString amountInWords(double total);
// "Amount in Words: " and a balance with the side it runs ("... due", "... advance").
QString balanceInWords(double drMinusCr);

} // namespace stokara::reports
