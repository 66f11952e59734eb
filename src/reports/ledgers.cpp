#include "ledgers.h"

#include "books/accounts.h"
#include "core/app_info.h"
#include "core/database.h"
#include "core/idioms.h"
#include "scratch_tables.h"

namespace stokara::reports {

namespace {

const QString kItemBook = QStringLiteral("RepItemBook.xml");
const QString kConsolidateFile = QStringLiteral("RptVorlk_DayBookLedgerConsolidate1.rpt");

// An account's entries as ledger lines (doc_dt, item_name, dr, cr): a party's
// receipts and payments read "Pmt Recd" and "Pmt Given", a vendor's vouchers
// their remark; the side an entry is not on stays empty.
core::Rows ledgerLines(const std::vector<books::Posting>& postings, bool vendor) {
    core::Rows rows;
    rows.columns = QStringList{QStringLiteral("doc_dt"), QStringLiteral("item_name"),
                               QStringLiteral("dr"), QStringLiteral("cr")};
    auto names = std::make_shared<const QStringList>(rows.columns);
    rows.reserve(postings.size());
    for (const books::Posting& p : postings) {
        QString text = p.item;
        if (p.source == books::Source::Voucher)
            text = vendor ? p.remark
                          : (p.voucherType == QLatin1String("Cr") ? QStringLiteral("Pmt Recd")
                                                                  : QStringLiteral("Pmt Given"));
        const bool debit =
            p.source == books::Source::Sale ||
            (p.source == books::Source::Voucher && p.voucherType == QLatin1String("Dr"));
        rows.push_back(core::Row(names, {p.date, text, debit ? QVariant(p.debit) : QVariant(),
                                         debit ? QVariant() : QVariant(p.credit)}));
    }
    return rows;
}

// RepItemBook over an account's lines. `f` runs the ledger's own way (a
// vendor's from the shop's debt); the printed balances say their side.
Report itemBook(const ReportContext& context, const QString& title, const QString& name,
                const QDate& from, const QDate& to, const LedgerFigures& f, bool vendor,
                core::Rows lines) {
    Report report(loadLayout(kItemBook, context.folders));
    const int sign = vendor ? -1 : 1; // to debit less credit
    const QString a = QStringLiteral("section2");
    report.setCaption(a, QStringLiteral("LABEL1"), context.shopName);
    report.setCaption(a, QStringLiteral("LABEL100"), title);
    report.setCaption(a, QStringLiteral("LABEL7"), formatValue(from, QStringLiteral("dd/mm/yy")));
    report.setCaption(a, QStringLiteral("LABEL29"), formatValue(to, QStringLiteral("dd/mm/yy")));
    report.setCaption(a, QStringLiteral("LABEL14"), books::sideText(sign * f.opening));
    report.setCaption(a, QStringLiteral("LABEL24"), name);
    // The fourth column carries the side that increases the balance.
    report.setCaption(a, QStringLiteral("LABEL8"),
                      vendor ? QStringLiteral("Debit") : QStringLiteral("Credit"));
    report.setCaption(a, QStringLiteral("LABEL9"),
                      vendor ? QStringLiteral("Credit") : QStringLiteral("Debit"));
    const QString d = QStringLiteral("SECTION1");
    report.setDataField(d, QStringLiteral("txtdoc_dt"), QStringLiteral("doc_dt"));
    report.setDataField(d, QStringLiteral("txthead"), QStringLiteral("item_name"));
    report.setDataField(d, QStringLiteral("txtvtype"),
                        vendor ? QStringLiteral("dr") : QStringLiteral("cr"));
    report.setDataField(d, QStringLiteral("txtamount"),
                        vendor ? QStringLiteral("cr") : QStringLiteral("dr"));
    const QString c = QStringLiteral("SECTION5");
    report.setCaption(c, QStringLiteral("LABEL4"), formatValue(f.debit, QStringLiteral(".00")));
    report.setCaption(c, QStringLiteral("LABEL26"), formatValue(f.credit, QStringLiteral(".00")));
    report.setCaption(c, QStringLiteral("LABEL12"), books::sideText(sign * f.closing));
    report.setData(std::move(lines));
    return report;
}

// The ledger of one party or vendor: its opening before `from`, its entries to
// `to` and their totals, all from the books.
Report accountLedger(core::Database& db, const ReportContext& context, const QString& title,
                     const books::Account& account, const QString& name, const QDate& from,
                     const QDate& to, LedgerFigures* figures) {
    const bool vendor = account.kind == books::AccountKind::Vendor;
    const int sign = vendor ? -1 : 1; // the ledger's own way
    const std::vector<books::Posting> entries = books::postings(db, account, from, to);
    LedgerFigures f;
    f.opening = sign * books::balanceBefore(db, account, from).net();
    double dr = 0, cr = 0;
    for (const books::Posting& p : entries) {
        dr += p.debit;
        cr += p.credit;
    }
    f.debit = core::round2(vendor ? cr : dr);
    f.credit = core::round2(vendor ? dr : cr);
    f.closing = core::round2(f.opening + f.debit - f.credit);
    if (figures)
        *figures = f;
    return itemBook(context, title, name, from, to, f, vendor, ledgerLines(entries, vendor));
}

} // namespace

std::vector<ListEntry> listEntries(const core::Rows& rows) {
    std::vector<ListEntry> list;
    list.reserve(rows.size());
    for (const core::Row& row : rows)
        list.push_back({row.text(0), row.text(1)});
    return list;
}

std::vector<ListEntry> ledgerParties(core::Database& db) {
    return listEntries(db.query(QStringLiteral(
        "select party_name, party_code from masparty order by val(party_code), party_code")));
}

std::vector<ListEntry> ledgerVendors(core::Database& db) {
    return listEntries(db.query(
        QStringLiteral("select coalesce(party_code, '') || ' - ' || coalesce(party_name, '') as "
                       "Party, party_name from masvendor order by val(party_code), party_code")));
}

std::optional<ListEntry> findParty(core::Database& db, const QString& codeOrName) {
    for (const char* column : {"party_code", "party_name"}) {
        const auto rows = db.query(QStringLiteral("select party_name, party_code from masparty "
                                                  "where %1 = ? order by val(party_code), "
                                                  "party_code")
                                       .arg(QLatin1String(column)),
                                   {codeOrName});
        if (!rows.empty())
            return ListEntry{rows.front().text(0), rows.front().text(1)};
    }
    return std::nullopt;
}

std::optional<ListEntry> findVendor(core::Database& db, const QString& nameOrCode) {
    for (const char* column : {"party_name", "party_code"}) {
        const auto rows = db.query(QStringLiteral("select party_code, party_name from masvendor "
                                                  "where %1 = ? order by val(party_code), "
                                                  "party_code")
                                       .arg(QLatin1String(column)),
                                   {nameOrCode});
        if (!rows.empty())
            return ListEntry{rows.front().text(0) + QStringLiteral(" - ") + rows.front().text(1),
                             rows.front().text(1)};
    }
    return std::nullopt;
}

Report partyLedger(core::Database& db, const ReportContext& context, const QString& partyCode,
                   const QString& partyName, const QDate& from, const QDate& to,
                   LedgerFigures* figures) {
    return accountLedger(db, context, QStringLiteral("Party Ledger"),
                         books::Account::party(partyCode, partyName), partyName, from, to, figures);
}

Report vendorLedger(core::Database& db, const ReportContext& context, const QString& vendorName,
                    const QDate& from, const QDate& to, LedgerFigures* figures) {
    // The list binds the vendor's name; its vouchers carry its code.
    const QVariant code = db.scalar(
        QStringLiteral("select min(party_code) from masvendor where party_name = ?"), {vendorName});
    return accountLedger(db, context, QStringLiteral("Vendor Ledger"),
                         books::Account::vendor(code.toString(), vendorName), vendorName, from, to,
                         figures);
}

Report ledgerConsolidate(core::Database& db, const ReportContext& context, const QDate& asOn) {
    const QDate after = asOn.addDays(1);
    // Read the file first: a missing one ends the run before any statement.
    Report report(loadLayout(kConsolidateFile, context.folders));
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyConsolidateLines(db);
    // Every account's balance from the books, kept where the report file reads
    // it. A vendor's balance is what the shop owes it, a party's or a head's
    // what it owes the shop; the side says which way either runs.
    const std::pair<books::AccountKind, const char*> kinds[] = {
        {books::AccountKind::Party, "coalesce(dr, 0) - coalesce(cr, 0)"},
        {books::AccountKind::Vendor, "coalesce(cr, 0) - coalesce(dr, 0)"},
        {books::AccountKind::Head, "coalesce(dr, 0) - coalesce(cr, 0)"}};
    for (const auto& [kind, balance] : kinds) {
        const books::Query q = books::accountBalancesBefore(kind, after);
        db.exec(QStringLiteral("insert into RepDaybook (party_code, party_name, category, dr, cr, "
                               "clbal, side) select party_code, party_name, cast(? as "
                               "varchar(25)), coalesce(dr, 0), coalesce(cr, 0), ") +
                    QLatin1String(balance) +
                    QStringLiteral(", case when coalesce(dr, 0) > coalesce(cr, 0) then 'Dr' "
                                   "when coalesce(dr, 0) < coalesce(cr, 0) then 'Cr' else '' end "
                                   "from (") +
                    q.sql + QStringLiteral(") b"),
                QVariantList{books::categoryOf(kind)} + q.values);
    }

    report.setFormula(QStringLiteral("dairyname"), context.shopName);
    report.setFormula(QStringLiteral("fromdate"), asOn.toString(QStringLiteral("dd/MM/yyyy")));
    report.setFormula(QStringLiteral("reporttitle"), QStringLiteral("Party Ledger Consolidate"));
    report.setFormula(QStringLiteral("partycode"), QStringLiteral("Code"));
    report.setFormula(QStringLiteral("partyname"), QStringLiteral("Party Name"));
    report.setFormula(QStringLiteral("creditline"), core::creditLine());
    report.fetch(db);
    t.commit();
    return report;
}

} // namespace stokara::reports
