#include "ledgers.h"

#include "core/app_info.h"
#include "core/database.h"
#include "scratch_tables.h"

namespace stokara::reports {

namespace {

const QString kItemBook = QStringLiteral("RepItemBook.xml");
const QString kConsolidateFile = QStringLiteral("RptVorlk_DayBookLedgerConsolidate1.rpt");

// Vouchers of the party master's accounts; vendors, account heads and product
// buyers have codes of their own that may repeat a party's.
const char* const kPartyVoucher = "(category is null or category in ('MilkMan', 'RetailMilk'))";

// RepItemBook with the lines now in repled2: the period's totals are theirs (a
// vendor's sides the other way round), added to `f`'s opening for the closing.
Report itemBook(core::Database& db, const ReportContext& context, const QString& title,
                const QString& name, const QDate& from, const QDate& to, LedgerFigures& f,
                bool vendor) {
    const double dr = sumOrZero(db, QStringLiteral("select sum(dr) from repled2"));
    const double cr = sumOrZero(db, QStringLiteral("select sum(cr) from repled2"));
    f.debit = vendor ? cr : dr;
    f.credit = vendor ? dr : cr;
    f.closing = f.opening + f.debit - f.credit;
    Report report(loadLayout(kItemBook, context.folders));
    const QString a = QStringLiteral("section2");
    report.setCaption(a, QStringLiteral("LABEL1"), context.shopName);
    report.setCaption(a, QStringLiteral("LABEL100"), title);
    report.setCaption(a, QStringLiteral("LABEL7"), formatValue(from, QStringLiteral("dd/mm/yy")));
    report.setCaption(a, QStringLiteral("LABEL29"), formatValue(to, QStringLiteral("dd/mm/yy")));
    report.setCaption(a, QStringLiteral("LABEL14"), formatValue(f.opening, QStringLiteral(".00")));
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
    report.setCaption(c, QStringLiteral("LABEL12"), formatValue(f.closing, QStringLiteral(".00")));
    report.setData(db.query(QStringLiteral(
        "select doc_dt, item_name, dr, cr from repled2 order by doc_dt, sn, autono")));
    return report;
}

} // namespace

std::vector<ListEntry> listEntries(const core::Rows& rows) {
    std::vector<ListEntry> list;
    list.reserve(rows.size());
    for (const core::Row& row : rows)
        list.push_back({row.text(0), row.text(1)});
    return list;
}

double sumOrZero(core::Database& db, const QString& sql, const QVariantList& values) {
    const QVariant v = db.scalar(sql, values);
    return v.isNull() ? 0.0 : v.toDouble();
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
    const QDate after = to.addDays(1); // a sale stored with a time of day on `to` counts
    const QString voucher = QString::fromLatin1(kPartyVoucher);
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyLedgerLines(db);
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, dr, sn, autono) "
                           "select doc_dt, item_name, net_amt, 1, auto_no from itemsale "
                           "where party_code = ? and doc_dt >= ? and doc_dt < ?"),
            {partyCode, from, after});
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, cr, sn, autono) "
                           "select dt, 'Pmt Recd', net_amount, 2, auto_no from daybook "
                           "where party_code = ? and v_type = 'Cr' and dt >= ? and dt < ? and ") +
                voucher,
            {partyCode, from, after});
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, dr, sn, autono) "
                           "select dt, 'Pmt Given', net_amount, 3, auto_no from daybook "
                           "where party_code = ? and v_type = 'Dr' and dt >= ? and dt < ? and ") +
                voucher,
            {partyCode, from, after});

    LedgerFigures f;
    const double sales = sumOrZero(
        db, QStringLiteral("select sum(net_amt) from itemsale where party_code = ? and doc_dt < ?"),
        {partyCode, from});
    const double given =
        sumOrZero(db,
                  QStringLiteral("select sum(net_amount) from daybook where party_code "
                                 "= ? and v_type = 'Dr' and dt < ? and ") +
                      voucher,
                  {partyCode, from});
    const double received =
        sumOrZero(db,
                  QStringLiteral("select sum(net_amount) from daybook where "
                                 "party_code = ? and v_type = 'Cr' and dt < ? and ") +
                      voucher,
                  {partyCode, from});
    f.opening = sales + given - received;
    Report report =
        itemBook(db, context, QStringLiteral("Party Ledger"), partyName, from, to, f, false);
    t.commit();
    if (figures)
        *figures = f;
    return report;
}

Report vendorLedger(core::Database& db, const ReportContext& context, const QString& vendorName,
                    const QDate& from, const QDate& to, LedgerFigures* figures) {
    const QDate after = to.addDays(1);
    // A vendor's vouchers carry its code; the list binds its name.
    const QString vouchers = QStringLiteral(
        "from daybook i inner join masvendor m on i.party_code = m.party_code where i.category = "
        "'Vendor' and m.party_name = ? and i.v_type = ");
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyLedgerLines(db);
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, cr, sn, autono) "
                           "select doc_dt, item_name, net_amount, 1, auto_no from itempurchases "
                           "where party_name = ? and doc_dt >= ? and doc_dt < ?"),
            {vendorName, from, after});
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, dr, sn, autono) "
                           "select i.dt, i.remark, i.net_amount, 2, i.auto_no ") +
                vouchers + QStringLiteral("'Dr' and i.dt >= ? and i.dt < ?"),
            {vendorName, from, after});
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, cr, sn, autono) "
                           "select i.dt, i.remark, i.net_amount, 3, i.auto_no ") +
                vouchers + QStringLiteral("'Cr' and i.dt >= ? and i.dt < ?"),
            {vendorName, from, after});

    LedgerFigures f;
    const double purchases = sumOrZero(
        db,
        QStringLiteral(
            "select sum(net_amount) from itempurchases where party_name = ? and doc_dt < ?"),
        {vendorName, from});
    const double received = sumOrZero(db,
                                      QStringLiteral("select sum(i.net_amount) ") + vouchers +
                                          QStringLiteral("'Cr' and i.dt < ?"),
                                      {vendorName, from});
    const double paid = sumOrZero(db,
                                  QStringLiteral("select sum(i.net_amount) ") + vouchers +
                                      QStringLiteral("'Dr' and i.dt < ?"),
                                  {vendorName, from});
    f.opening = purchases + received - paid;
    Report report =
        itemBook(db, context, QStringLiteral("Vendor Ledger"), vendorName, from, to, f, true);
    t.commit();
    if (figures)
        *figures = f;
    return report;
}

Report ledgerConsolidate(core::Database& db, const ReportContext& context, const QDate& asOn) {
    const QDate after = asOn.addDays(1);
    // Read the file first: a missing one ends the run before any statement.
    Report report(loadLayout(kConsolidateFile, context.folders));
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyLedgerLines(db);
    // One line per account and source, already summed: the balances below
    // group them again, so the result is that of one line per entry, at a
    // fraction of the rows.
    db.exec(QStringLiteral("insert into repled2 (party_code, category, dr) "
                           "select party_code, 'MilkMan', sum(net_amt) from itemsale "
                           "where doc_dt < ? group by party_code"),
            {after});
    // Both sides of the vouchers in one pass.
    db.exec(QStringLiteral("insert into repled2 (party_name, party_code, category, dr, cr, remark) "
                           "select accounthead, party_code, category, "
                           "sum(case when v_type = 'Dr' then net_amount end), "
                           "sum(case when v_type = 'Cr' then net_amount end), 'DAYBOOK' "
                           "from daybook where v_type in ('Cr', 'Dr') and dt < ? "
                           "group by accounthead, party_code, category"),
            {after});
    db.exec(QStringLiteral("insert into repled2 (party_name, category, cr, remark) "
                           "select party_name, 'Vendor', sum(net_amount), 'Vendor' "
                           "from itempurchases where doc_dt < ? group by party_name"),
            {after});
    // Names from the masters by code, and a purchase's vendor code by its name.
    const std::pair<const char*, const char*> masters[] = {{"masparty", "MilkMan"},
                                                           {"masvendor", "Vendor"}};
    for (const auto& [table, category] : masters)
        db.exec(QStringLiteral("update repled2 set party_name = coalesce((select "
                               "min(m.party_name) from %1 m where m.party_code = "
                               "repled2.party_code), party_name) where category = ?")
                    .arg(QLatin1String(table)),
                {QString::fromLatin1(category)});
    db.exec(QStringLiteral(
        "update repled2 set party_code = coalesce((select min(m.party_code) from masvendor m "
        "where m.party_name = repled2.party_name), party_code) where category = 'Vendor'"));
    emptyConsolidateLines(db);
    // A vendor's balance is what the shop owes it; a party's or a head's what it owes the shop.
    // A side with no entries counts as 0.
    const QString group = QStringLiteral(
        "insert into RepDaybook (party_code, party_name, category, dr, cr, clbal) "
        "select party_code, party_name, category, coalesce(sum(dr), 0), coalesce(sum(cr), 0), %1 "
        "from repled2 where category = ? group by party_code, party_name, category");
    db.exec(group.arg(QStringLiteral("coalesce(sum(cr), 0) - coalesce(sum(dr), 0)")),
            {QStringLiteral("Vendor")});
    for (const char* category : {"MilkMan", "AccountHead"})
        db.exec(group.arg(QStringLiteral("coalesce(sum(dr), 0) - coalesce(sum(cr), 0)")),
                {QString::fromLatin1(category)});

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
