#include "item_store.h"

#include "core/database.h"

namespace stokara::masters {

using core::Row;

QList<ItemGridRow> ItemStore::gridRows() {
    QList<ItemGridRow> list;
    const core::Rows rows = db_.query(QStringLiteral(
        "select item_name, unit, rate, autono, opebal, mainitem from masitem order by item_name"));
    list.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& r : rows)
        list.append({r.text(0), r.text(1), r.text(2), r.text(3), r.text(4), r.text(5)});
    return list;
}

bool ItemStore::exists(const QString& name) {
    return db_.scalar(QStringLiteral("select count(*) from masitem where item_name = ?"), {name})
               .toInt() > 0;
}

std::optional<core::Problem> ItemStore::validate(const ItemFields& f) {
    ItemWidths widths;
    widths.name = widths_.limit({{"masitem", "item_name"},
                                 {"itemsale", "item_name"},
                                 {"ItemPurchases", "item_name"},
                                 {"BOM", "MainItem"},
                                 {"BOM", "SubItem"}});
    widths.unit =
        widths_.limit({{"masitem", "unit"}, {"itemsale", "unit"}, {"ItemPurchases", "unit"}});
    widths.mainItem = widths_.width("masitem", "mainitem");
    return checkItem(f, widths);
}

void ItemStore::insert(const ItemFields& f) {
    const ItemNumbers n = itemNumbers(f);
    db_.exec(QStringLiteral("insert into masitem (item_name,unit,rate,OpeBal,mainitem) "
                            "values (?,?,?,?,?)"),
             {f.name, f.unit, n.rate, n.opeBal, f.mainItem});
}

bool ItemStore::update(qint64 entry, const ItemFields& f) {
    const ItemNumbers n = itemNumbers(f);
    return db_.exec(QStringLiteral("update masitem set item_name = ?, unit = ?, rate = ?, "
                                   "opebal = ?, mainitem = ? where autono = ?"),
                    {f.name, f.unit, n.rate, n.opeBal, f.mainItem, entry}) > 0;
}

bool ItemStore::remove(qint64 entry) {
    return db_.exec(QStringLiteral("delete from masitem where autono = ?"), {entry}) > 0;
}

} // namespace stokara::masters
