#pragma once

#include "core/database.h"

#include <QDate>
#include <QString>
#include <QVariantList>

#include <optional>
#include <vector>

namespace stokara::books {

// The masters an account can belong to. A party is every masparty code (milk
// supplier, collection centre, retail customer); a vendor is a masvendor row,
// whose purchases name it and whose vouchers carry its code; an account head
// is known by its name alone.
enum class AccountKind { Party, Vendor, Head };

// The category the consolidated ledger groups an account under.
QString categoryOf(AccountKind kind);

struct Account {
    AccountKind kind = AccountKind::Party;
    QString code; // party or vendor code; empty for a head
    QString name; // the vendor's or head's name; a party's for show only

    static Account party(const QString& code, const QString& name = {}) {
        return {AccountKind::Party, code, name};
    }
    static Account vendor(const QString& code, const QString& name) {
        return {AccountKind::Vendor, code, name};
    }
    static Account head(const QString& name) { return {AccountKind::Head, {}, name}; }
};

// The two sides of an account's postings. Debit is what a party or head owes
// the shop and what the shop paid a vendor; credit the other way round.
struct Balance {
    double debit = 0;
    double credit = 0;
    qint64 entries = 0;
    // Debit less credit, to two decimals: positive is "Dr" for every account.
    double net() const;
};

// A balance with the side it runs, as every report prints it: "895.00 Dr",
// "120.00 Cr", "0.00". `drMinusCr` is Balance::net().
QString sideText(double drMinusCr);
// The same as the counter says it to a party: "895.00 due", "120.00 advance".
QString partyText(double drMinusCr);

// Entries dated before `date` (the opening of a period starting then).
Balance balanceBefore(core::Database& db, const Account& account, const QDate& date);
// Entries up to and including `date`.
Balance balanceAsOn(core::Database& db, const Account& account, const QDate& date);

enum class Source { Sale, Purchase, Voucher };

// One entry of an account's ledger.
struct Posting {
    QDate date;
    Source source = Source::Voucher;
    QString item;        // a sale's or purchase's item
    QString accountHead; // a voucher's account text, as the day book stored it
    QString voucherType; // "Dr" or "Cr"
    QString remark;
    double debit = 0;
    double credit = 0;
    qint64 entry = 0; // auto_no of its table
};

// The account's entries from `from` to `to` (both included), in the order the
// ledgers print them: by date, then a party's sales, receipts and payments (a
// vendor's purchases, payments and receipts), then by entry.
std::vector<Posting> postings(core::Database& db, const Account& account, const QDate& from,
                              const QDate& to);

struct AccountBalance {
    Account account;
    Balance balance;
};
// Every account with an entry dated before `date`: parties by code, vendors,
// then heads, each named from its master where it has one.
std::vector<AccountBalance> balancesBefore(core::Database& db, const QDate& date);

// A statement with its bound values, for callers that keep rows in the
// database (a report's scratch tables) rather than carry them through C++.
struct Query {
    QString sql;
    QVariantList values;
};
// Every account of a kind with an entry before `date`: columns party_code
// (what a head's vouchers carry, "NA"), party_name (from its master; a head's own), dr, cr,
// entries.
Query accountBalancesBefore(AccountKind kind, const QDate& date);
// Every party's balance before `date` (one party's when `partyCode` is not
// empty): columns party_code, dr, cr, entries.
Query partyBalancesBefore(const QDate& date, const QString& partyCode = {});
// Every party's entries from `from` to `to` (both included; one party's when
// `partyCode` is not empty): columns party_code, doc_dt, item_name, qty,
// amount (debit positive, credit negative), sn (1 sale, 2 receipt, 3
// payment), auto_no.
Query partyEntries(const QDate& from, const QDate& to, const QString& partyCode = {});

} // namespace stokara::books
