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
    // Sales, purchases and bills of materials store the name (and unit) too.
    const int nameLimit = widths_.limit({{"masitem", "item_name"},
                                         {"itemsale", "item_name"},
                                         {"ItemPurchases", "item_name"},
                                         {"BOM", "MainItem"},
                                         {"BOM", "SubItem"}});
    const int unitLimit =
        widths_.limit({{"masitem", "unit"}, {"itemsale", "unit"}, {"ItemPurchases", "unit"}});
    QString m = core::tooLongMessage(QStringLiteral("Item Name"), f.name, nameLimit);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("txtitem_name"), m};
    m = core::tooLongMessage(QStringLiteral("Unit"), f.unit, unitLimit);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("LstUnit"), m};
    m = core::tooLongMessage(QStringLiteral("Main Item"), f.mainItem,
                             widths_.width("masitem", "mainitem"));
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("LstMainItem"), m};
    const ItemNumbers n = itemNumbers(f);
    m = core::numberMessage(QStringLiteral("Rate"), f.rate, n.rate, 7);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("txtrate"), m};
    m = core::numberMessage(QStringLiteral("Opening Balance"), f.opeBal, n.opeBal, 9);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("TxtOpeBal"), m};
    return std::nullopt;
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
