#include "stock_reports.h"

#include "core/app_info.h"
#include "core/database.h"
#include "ledgers.h"
#include "scratch_tables.h"

namespace stokara::reports {

namespace {

const QString kItemBook = QStringLiteral("RepItemBook.xml");
const QString kConsolidateFile = QStringLiteral("RptVorlk_DayBookLedgerConsolidate1.rpt");
const QString kAmount = QStringLiteral(".00");

QStringList names(core::Database& db, const QString& mainItem) {
    QStringList list;
    for (const core::Row& row : db.query(QStringLiteral("select item_name as itemname from masitem "
                                                        "where mainitem = ? order by item_name"),
                                         {mainItem}))
        list << row.text(0);
    return list;
}

// The movement of one item between two dates, as RepItemBook shows it.
struct Movement {
    QString title;
    QString item;
    QDate from, to;
    double opening = 0;
    double received = 0; // the third column's total
    double issued = 0;   // the fourth column's total
    QString receivedColumn, issuedColumn, issuedHeading;
};

// RepItemBook over its lines (doc_dt, item_name, party_name, dr, cr).
Report itemBook(const ReportContext& context, const Movement& m, core::Rows lines) {
    Report report(loadLayout(kItemBook, context.folders));
    const QString a = QStringLiteral("section2");
    report.setCaption(a, QStringLiteral("LABEL1"), context.shopName);
    report.setCaption(a, QStringLiteral("LABEL100"), m.title);
    report.setCaption(a, QStringLiteral("LABEL7"), formatValue(m.from, QStringLiteral("dd/mm/yy")));
    report.setCaption(a, QStringLiteral("LABEL29"), formatValue(m.to, QStringLiteral("dd/mm/yy")));
    report.setCaption(a, QStringLiteral("LABEL14"), formatValue(m.opening, kAmount));
    report.setCaption(a, QStringLiteral("LABEL21"), QStringLiteral("Item Name: "));
    report.setCaption(a, QStringLiteral("LABEL25"), m.item);
    report.setCaption(a, QStringLiteral("LABEL8"), QStringLiteral("Received"));
    report.setCaption(a, QStringLiteral("LABEL9"), m.issuedHeading);
    const QString d = QStringLiteral("SECTION1");
    report.setDataField(d, QStringLiteral("txtdoc_dt"), QStringLiteral("doc_dt"));
    report.setDataField(d, QStringLiteral("txthead"), QStringLiteral("party_name"));
    report.setDataField(d, QStringLiteral("txtvtype"), m.receivedColumn);
    report.setDataField(d, QStringLiteral("txtamount"), m.issuedColumn);
    const QString c = QStringLiteral("SECTION5");
    report.setCaption(c, QStringLiteral("LABEL4"), formatValue(m.issued, kAmount));
    report.setCaption(c, QStringLiteral("LABEL26"), formatValue(m.received, kAmount));
    report.setCaption(c, QStringLiteral("LABEL12"),
                      formatValue(m.opening + m.received - m.issued, kAmount));
    report.setData(std::move(lines));
    return report;
}

// Direct purchases less sales (every party) of the item before `from`.
double openingStock(core::Database& db, const QString& item, const QDate& from) {
    return sumOrZero(db,
                     QStringLiteral(
                         "select sum(qty) from itempurchases where doc_dt < ? and item_name = ?"),
                     {from, item}) -
           sumOrZero(
               db,
               QStringLiteral("select sum(qty) from itemsale where doc_dt < ? and item_name = ?"),
               {from, item});
}

} // namespace

QStringList mainItems(core::Database& db) {
    return names(db, QStringLiteral("Y"));
}

QStringList subItems(core::Database& db) {
    return names(db, QStringLiteral("N"));
}

Report itemStock(core::Database& db, const ReportContext& context, const QString& item,
                 const QDate& from, const QDate& to) {
    const QDate after = to.addDays(1); // a sale stored with a time of day on `to` counts
    const QVariantList period{item, from, after};
    // Purchases received, and sales issued to milk suppliers only; the totals
    // below take every sale. Read straight from the entries (a busy item has
    // tens of thousands of lines a year): each sale looks its party up in the
    // index of code, category and name, and a code kept twice gives one line.
    core::Rows lines = db.query(
        QStringLiteral(
            "select doc_dt, item_name, party_name, dr, cr from (select doc_dt, item_name, "
            "party_name, null as dr, qty as cr, 1 as sn, auto_no as autono from itempurchases "
            "where item_name = ? and doc_dt >= ? and doc_dt < ? union all select i.doc_dt, "
            "i.item_name, (select min(m.party_name) from masparty m where m.party_code = "
            "i.party_code and m.category = 'MilkMan'), i.qty, null, 2, i.auto_no from itemsale i "
            "where i.item_name = ? and i.doc_dt >= ? and i.doc_dt < ? and exists (select 1 from "
            "masparty m where m.party_code = i.party_code and m.category = 'MilkMan')) a "
            "order by doc_dt, sn, autono"),
        period + period);
    Movement m{QStringLiteral("Main Item Stock Statement"), item, from, to};
    m.opening = openingStock(db, item, from);
    m.received =
        sumOrZero(db,
                  QStringLiteral("select sum(qty) from itempurchases where item_name = ? and "
                                 "doc_dt >= ? and doc_dt < ?"),
                  period);
    m.issued = sumOrZero(db,
                         QStringLiteral("select sum(qty) from itemsale where item_name = ? and "
                                        "doc_dt >= ? and doc_dt < ?"),
                         period);
    m.receivedColumn = QStringLiteral("cr");
    m.issuedColumn = QStringLiteral("dr");
    m.issuedHeading = QStringLiteral("Issued");
    return itemBook(context, m, std::move(lines));
}

Report subItemStock(core::Database& db, const ReportContext& context, const QString& item,
                    const QDate& from, const QDate& to) {
    const QDate after = to.addDays(1);
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyLedgerLines(db);
    // One consumption line per purchase of a main item that contains the sub-item.
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, party_name, cr, subitem, sn, "
                           "autono) select doc_dt, item_name, coalesce(party_name, '') || ' - ' "
                           "|| coalesce(item_name, ''), qty, ?, 1, auto_no from itempurchases "
                           "where doc_dt >= ? and doc_dt < ? and item_name in (select mainitem "
                           "from bom where subitem = ?)"),
            {item, from, after, item});
    // The sub-item's weight per unit of the main item; a pair listed twice in
    // the BOM takes its larger weight rather than one line per listing.
    db.exec(QStringLiteral("update repled2 set subitemwt = (select max(b.wt) from bom b where "
                           "b.mainitem = repled2.item_name and b.subitem = ?)"),
            {item});
    // Consumption is kept to the two decimals of its column on both engines.
    db.exec(QStringLiteral("update repled2 set subitemcons = round(subitemwt * cr, 2)"));
    db.exec(QStringLiteral("update repled2 set cr = subitemcons, item_name = subitem, dr = 0"));
    db.exec(QStringLiteral("insert into repled2 (doc_dt, item_name, party_name, dr, subitem, sn, "
                           "autono) select doc_dt, item_name, party_name, qty, ?, 2, auto_no "
                           "from itempurchases where item_name = ? and doc_dt >= ? and doc_dt < ?"),
            {item, item, from, after});
    Movement m{QStringLiteral("Sub Item Stock"), item, from, to};
    // Consumption before the period is not in the opening stock, nor are the
    // sub-item's own sales of the period in the closing one: the shop's figures
    // have always been read this way.
    m.opening = openingStock(db, item, from);
    m.received =
        sumOrZero(db,
                  QStringLiteral("select sum(qty) from itempurchases where item_name = ? and "
                                 "doc_dt >= ? and doc_dt < ?"),
                  {item, from, after});
    m.issued = sumOrZero(db, QStringLiteral("select sum(cr) from repled2"), {});
    m.receivedColumn = QStringLiteral("dr");
    m.issuedColumn = QStringLiteral("cr");
    m.issuedHeading = QStringLiteral("Consumed");
    Report report =
        itemBook(context, m,
                 db.query(QStringLiteral("select doc_dt, item_name, party_name, dr, "
                                         "cr from repled2 order by doc_dt, sn, autono")));
    t.commit();
    return report;
}

Report itemStockConsolidate(core::Database& db, const ReportContext& context, const QDate& asOn) {
    const QDate after = asOn.addDays(1);
    // Read the file first: a missing one ends the run before any statement.
    Report report(loadLayout(kConsolidateFile, context.folders));
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyLedgerLines(db);
    // One line per item and side, already summed: a million sales become a few
    // hundred lines. Purchases are the debit of the stock, sales its credit.
    db.exec(QStringLiteral("insert into repled2 (party_name, dr) select item_name, sum(qty) "
                           "from itempurchases where doc_dt < ? group by item_name"),
            {after});
    db.exec(QStringLiteral("insert into repled2 (party_name, cr) select item_name, sum(qty) "
                           "from itemsale where doc_dt < ? group by item_name"),
            {after});
    emptyConsolidateLines(db);
    db.exec(QStringLiteral("insert into RepDaybook (category, party_code, party_name, dr, cr, "
                           "clbal) select '', '', party_name, coalesce(sum(dr), 0), "
                           "coalesce(sum(cr), 0), coalesce(sum(dr), 0) - coalesce(sum(cr), 0) "
                           "from repled2 group by party_name"));
    report.setFormula(QStringLiteral("dairyname"), context.shopName);
    report.setFormula(QStringLiteral("fromdate"), asOn.toString(QStringLiteral("dd/MM/yyyy")));
    report.setFormula(QStringLiteral("reporttitle"), QStringLiteral("Item Ledger Consolidate"));
    report.setFormula(QStringLiteral("partycode"), QStringLiteral("Code"));
    report.setFormula(QStringLiteral("partyname"), QStringLiteral("Item Name"));
    report.setFormula(QStringLiteral("creditline"), core::creditLine());
    report.fetch(db);
    t.commit();
    return report;
}

} // namespace stokara::reports
