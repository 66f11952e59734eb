#include "transactions/memo_store.h"

#include "core/database.h"

namespace stokara::transactions {

std::vector<MemoStore::Row> MemoStore::billRows(const QString& billNo, const QDate& date) {
    const core::Rows rows = db_.query(
        // One party row per line: a code kept by parties of two categories is
        // the one of the sale's category (else the first by name), so no line
        // prints twice.
        QStringLiteral("select i.doc_dt, i.doc_no, i.party_code, coalesce((select "
                       "min(m.party_name) from masparty m where m.party_code = i.party_code and "
                       "m.category = i.category), (select min(m.party_name) from masparty m "
                       "where m.party_code = i.party_code)) as party_name, i.qty, i.rate, "
                       "i.item_name, i.net_amt from itemsale i where i.doc_no = ? and i.doc_dt = "
                       "? and exists (select 1 from masparty m where m.party_code = "
                       "i.party_code) order by i.auto_no"),
        {billNo, date});
    std::vector<Row> result;
    result.reserve(rows.size());
    for (const core::Row& r : rows) {
        result.push_back({r.date(QStringLiteral("doc_dt")), r.text(QStringLiteral("doc_no")),
                          r.text(QStringLiteral("party_code")),
                          r.text(QStringLiteral("party_name")), r.number(QStringLiteral("qty")),
                          r.number(QStringLiteral("rate")), r.text(QStringLiteral("item_name")),
                          r.number(QStringLiteral("net_amt"))});
    }
    return result;
}

double MemoStore::billTotal(const QString& billNo, const QDate& date) {
    return db_
        .scalar(QStringLiteral("select sum(net_amt) as net_amt from itemsale i "
                               "where doc_no = ? and doc_dt = ?"),
                {billNo, date})
        .toDouble();
}

} // namespace stokara::transactions
