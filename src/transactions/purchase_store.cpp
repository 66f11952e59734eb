#include "purchase_store.h"

#include "core/database.h"

namespace stokara::transactions {

namespace {

StoredPurchase toPurchase(const core::Row& row) {
    StoredPurchase p;
    p.autoNo = row.value(QStringLiteral("auto_no")).toLongLong();
    p.date = row.date(QStringLiteral("doc_dt"));
    p.vendor = row.text(QStringLiteral("party_name"));
    p.item = row.text(QStringLiteral("item_name"));
    p.qty = row.number(QStringLiteral("qty"));
    p.unit = row.text(QStringLiteral("unit"));
    p.rate = row.number(QStringLiteral("rate"));
    p.amount = row.number(QStringLiteral("net_amount"));
    return p;
}

const char* const kPurchaseColumns =
    "select doc_dt, party_name, item_name, qty, unit, rate, net_amount, auto_no "
    "from ItemPurchases ";

QStringList firstColumn(const core::Rows& rows) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows)
        list.append(row.text(0));
    return list;
}

} // namespace

QStringList PurchaseStore::vendorNames() {
    return firstColumn(db_.query(QStringLiteral("select party_name from masvendor "
                                                "order by party_name")));
}

QStringList PurchaseStore::itemNames() {
    return firstColumn(
        db_.query(QStringLiteral("select item_name from masitem order by item_name")));
}

std::optional<QString> PurchaseStore::itemUnit(const QString& item) {
    const auto rows =
        db_.query(QStringLiteral("select unit, rate from masitem where item_name = ?"), {item});
    if (rows.empty())
        return std::nullopt;
    return rows.front().text(0);
}

int PurchaseStore::countSame(const QString& vendor, const QString& item, const QDate& date) {
    return db_
        .scalar(QStringLiteral("select count(*) from ItemPurchases where party_name = ? and "
                               "item_name = ? and doc_dt = ?"),
                {vendor, item, date})
        .toInt();
}

qint64 PurchaseStore::insert(const Purchase& p) {
    db_.exec(QStringLiteral("insert into ItemPurchases (doc_dt, party_name, qty, rate, "
                            "net_amount, unit, item_name) values (?, ?, ?, ?, ?, ?, ?)"),
             {p.date, p.vendor, p.qty, p.rate, p.amount, p.unit, p.item});
    return db_.lastInsertId(QStringLiteral("ItemPurchases"), QStringLiteral("auto_no"));
}

bool PurchaseStore::update(qint64 autoNo, const Purchase& p) {
    return db_.exec(QStringLiteral("update ItemPurchases set doc_dt = ?, party_name = ?, qty = ?, "
                                   "rate = ?, net_amount = ?, item_name = ?, unit = ? "
                                   "where auto_no = ?"),
                    {p.date, p.vendor, p.qty, p.rate, p.amount, p.item, p.unit, autoNo}) > 0;
}

bool PurchaseStore::remove(qint64 autoNo) {
    return db_.exec(QStringLiteral("delete from ItemPurchases where auto_no = ?"), {autoNo}) > 0;
}

std::vector<StoredPurchase> PurchaseStore::list(const QDate& date, const QString& vendor,
                                                std::optional<qint64> entry) {
    QString sql = QString::fromLatin1(kPurchaseColumns) +
                  QStringLiteral("where doc_dt = ? and party_name = ?");
    QVariantList values{date, vendor};
    if (entry) {
        sql += QStringLiteral(" and auto_no = ?");
        values.append(*entry);
    }
    sql += QStringLiteral(" order by auto_no desc");
    std::vector<StoredPurchase> list;
    const auto rows = db_.query(sql, values);
    list.reserve(rows.size());
    for (const auto& row : rows)
        list.push_back(toPurchase(row));
    return list;
}

std::optional<StoredPurchase> PurchaseStore::purchase(qint64 autoNo) {
    const auto rows = db_.query(
        QString::fromLatin1(kPurchaseColumns) + QStringLiteral("where auto_no = ?"), {autoNo});
    if (rows.empty())
        return std::nullopt;
    return toPurchase(rows.front());
}

std::optional<qint64> PurchaseStore::highestEntry() {
    const QVariant v = db_.scalar(QStringLiteral("select max(auto_no) from ItemPurchases"));
    if (v.isNull())
        return std::nullopt;
    return v.toLongLong();
}

} // namespace stokara::transactions
