#include "stock.h"

#include "core/idioms.h"

namespace stokara::books {

namespace {

// The main items whose purchases use up a sub-item, with the weight per unit.
const char* const kUsedBy = "(select mainitem, subitem, max(wt) as wt from bom group by mainitem, "
                            "subitem) b on b.mainitem = p.item_name";

struct Moves {
    double bought = 0, sold = 0, consumed = 0;
};

// Purchases, sales and consumption of the item dated in [from, before); an
// invalid `from` reads from the first entry.
Moves moves(core::Database& db, const QString& item, const QDate& from, const QDate& before) {
    const QDate start = from.isValid() ? from : QDate(1, 1, 1);
    const core::Rows rows = db.query(
        QStringLiteral("select (select sum(qty) from itempurchases where item_name = ? and doc_dt "
                       ">= ? and doc_dt < ?), (select sum(qty) from itemsale where item_name = ? "
                       "and doc_dt >= ? and doc_dt < ?), (select sum(round(p.qty * b.wt, 2)) "
                       "from itempurchases p inner join ") +
            QString::fromLatin1(kUsedBy) +
            QStringLiteral(" where b.subitem = ? and p.doc_dt >= ? and p.doc_dt < ?)"),
        {item, start, before, item, start, before, item, start, before});
    const core::Row& r = rows.front();
    return {r.number(0), r.number(1), r.number(2)};
}

double openingStock(core::Database& db, const QString& item) {
    const QVariant v =
        db.scalar(QStringLiteral("select max(OpeBal) from masitem where item_name = ?"), {item});
    return v.isNull() ? 0.0 : v.toDouble();
}

} // namespace

double stockBefore(core::Database& db, const QString& item, const QDate& date) {
    const Moves m = moves(db, item, {}, date);
    return core::round2(openingStock(db, item) + m.bought - m.sold - m.consumed);
}

double StockFigures::closing() const {
    return core::round2(opening + received - issued);
}

StockFigures stockFigures(core::Database& db, const QString& item, const QDate& from,
                          const QDate& to) {
    StockFigures f;
    f.opening = stockBefore(db, item, from);
    const Moves m = moves(db, item, from, to.addDays(1));
    f.received = core::round2(m.bought);
    f.issued = core::round2(m.sold + m.consumed);
    return f;
}

Query stockEntries(const QString& item, const QDate& from, const QDate& to) {
    const QDate after = to.addDays(1); // an entry stored with a time of day on `to` counts
    // A sale looks its party up in the index of code, category and name, so a
    // busy item's year is read without walking every party.
    return {QStringLiteral(
                "select doc_dt, item_name, party_name, category, received, issued, sn, auto_no "
                "from (select doc_dt, item_name, party_name, '' as category, qty as received, 0 "
                "as issued, 1 as sn, auto_no from itempurchases where item_name = ? and doc_dt "
                ">= ? and doc_dt < ? union all select i.doc_dt, i.item_name, (select "
                "min(m.party_name) from masparty m where m.party_code = i.party_code), (select "
                "min(m.category) from masparty m where m.party_code = i.party_code and "
                "m.category = 'MilkMan'), 0, i.qty, 2, i.auto_no from itemsale i where "
                "i.item_name = ? and i.doc_dt >= ? and i.doc_dt < ? union all select p.doc_dt, "
                "b.subitem, coalesce(p.party_name, '') || ' - ' || coalesce(p.item_name, ''), "
                "'', 0, round(p.qty * b.wt, 2), 3, p.auto_no from itempurchases p inner join ") +
                QString::fromLatin1(kUsedBy) +
                QStringLiteral(" where b.subitem = ? and p.doc_dt >= ? and p.doc_dt < ?) e "
                               "order by doc_dt, sn, auto_no"),
            {item, from, after, item, from, after, item, from, after}};
}

Query itemStocksBefore(const QDate& date) {
    return {QStringLiteral(
                "select item_name, sum(received) as received, sum(issued) as issued, "
                "sum(received) - sum(issued) as stock from (select item_name, OpeBal as "
                "received, 0 as issued from masitem where coalesce(OpeBal, 0) <> 0 union all "
                "select item_name, sum(qty), 0 from itempurchases where doc_dt < ? group by "
                "item_name union all select item_name, 0, sum(qty) from itemsale where doc_dt < "
                "? group by item_name union all select b.subitem, 0, sum(round(p.qty * b.wt, 2)) "
                "from itempurchases p inner join ") +
                QString::fromLatin1(kUsedBy) +
                QStringLiteral(" where p.doc_dt < ? group by b.subitem) s group by item_name"),
            {date, date, date}};
}

} // namespace stokara::books
