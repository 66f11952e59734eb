#include "stock_reports.h"

#include "books/stock.h"
#include "core/app_info.h"
#include "core/database.h"
#include "ledgers.h"
#include "scratch_tables.h"

#include <functional>

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
    QString issuedHeading;
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
    report.setDataField(d, QStringLiteral("txtvtype"), QStringLiteral("received"));
    report.setDataField(d, QStringLiteral("txtamount"), QStringLiteral("issued"));
    const QString c = QStringLiteral("SECTION5");
    report.setCaption(c, QStringLiteral("LABEL4"), formatValue(m.issued, kAmount));
    report.setCaption(c, QStringLiteral("LABEL26"), formatValue(m.received, kAmount));
    report.setCaption(c, QStringLiteral("LABEL12"),
                      formatValue(m.opening + m.received - m.issued, kAmount));
    report.setData(std::move(lines));
    return report;
}

// The book's entries of an item for a period as RepItemBook lines (doc_dt,
// item_name, party_name, received, issued); `keep` says which are shown.
core::Rows stockLines(core::Database& db, const QString& item, const QDate& from, const QDate& to,
                      const std::function<bool(const core::Row&)>& keep) {
    const books::Query q = books::stockEntries(item, from, to);
    const core::Rows entries = db.query(q.sql, q.values);
    core::Rows rows;
    rows.columns = QStringList{QStringLiteral("doc_dt"), QStringLiteral("item_name"),
                               QStringLiteral("party_name"), QStringLiteral("received"),
                               QStringLiteral("issued")};
    auto names = std::make_shared<const QStringList>(rows.columns);
    rows.reserve(entries.size());
    for (const core::Row& e : entries) {
        if (!keep(e))
            continue;
        const bool in = e.at(6).toInt() == 1;
        rows.push_back(core::Row(names, {e.at(0), e.at(1), e.at(2), in ? e.at(4) : QVariant(),
                                         in ? QVariant() : e.at(5)}));
    }
    return rows;
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
    // Purchases received and sales issued to milk suppliers only are listed;
    // the figures take every entry.
    core::Rows lines = stockLines(db, item, from, to, [](const core::Row& e) {
        const int sn = e.at(6).toInt();
        return sn != 2 || e.text(3) == QLatin1String("MilkMan");
    });
    const books::StockFigures f = books::stockFigures(db, item, from, to);
    Movement m{QStringLiteral("Main Item Stock Statement"), item, from, to};
    m.opening = f.opening;
    m.received = f.received;
    m.issued = f.issued;
    m.issuedHeading = QStringLiteral("Issued");
    return itemBook(context, m, std::move(lines));
}

Report subItemStock(core::Database& db, const ReportContext& context, const QString& item,
                    const QDate& from, const QDate& to) {
    // Every entry: consumption by the main items bought, the sub-item's own
    // purchases and its own sales, so the columns add up to the closing.
    core::Rows lines = stockLines(db, item, from, to, [](const core::Row&) { return true; });
    const books::StockFigures f = books::stockFigures(db, item, from, to);
    Movement m{QStringLiteral("Sub Item Stock"), item, from, to};
    m.opening = f.opening;
    m.received = f.received;
    m.issued = f.issued;
    m.issuedHeading = QStringLiteral("Consumed");
    return itemBook(context, m, std::move(lines));
}

Report itemStockConsolidate(core::Database& db, const ReportContext& context, const QDate& asOn) {
    const QDate after = asOn.addDays(1);
    // Read the file first: a missing one ends the run before any statement.
    Report report(loadLayout(kConsolidateFile, context.folders));
    prepareScratchTables(db);
    core::Transaction t(db);
    emptyConsolidateLines(db);
    // Received (opening stock and purchases) less issued (sales and consumption).
    const books::Query q = books::itemStocksBefore(after);
    db.exec(QStringLiteral("insert into RepDaybook (category, party_code, party_name, dr, cr, "
                           "clbal, side) select '', '', item_name, coalesce(received, 0), "
                           "coalesce(issued, 0), coalesce(stock, 0), '' from (") +
                q.sql + QStringLiteral(") s"),
            q.values);
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
