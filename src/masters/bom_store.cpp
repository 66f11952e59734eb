#include "bom_store.h"

#include "core/database.h"
#include "core/idioms.h"

namespace stokara::masters {

using core::Row;

QStringList BomStore::mainItems() {
    QStringList list;
    for (const Row& r : db_.query(QStringLiteral(
             "select item_name from masitem where mainitem = 'Y' order by item_name")))
        list << r.text(0);
    return list;
}

QStringList BomStore::subItems() {
    QStringList list;
    for (const Row& r : db_.query(QStringLiteral("select item_name from masitem where (mainitem "
                                                 "<> 'Y' or mainitem is null) order by item_name")))
        list << r.text(0);
    return list;
}

QList<BomLine> BomStore::lines(const QString& mainItem) {
    QList<BomLine> list;
    for (const Row& r : db_.query(QStringLiteral("select mainitem, subitem, wt from bom where "
                                                 "mainitem = ? order by mainitem, subitem"),
                                  {mainItem}))
        list.append({r.text(0), r.text(1), r.text(2)});
    return list;
}

std::optional<BomLine> BomStore::find(const QString& mainItem, const QString& subItem) {
    const core::Rows rows = db_.query(
        QStringLiteral("select mainitem, subitem, wt from bom where mainitem = ? and subitem = ?"),
        {mainItem, subItem});
    if (rows.empty())
        return std::nullopt;
    const Row& r = rows.front();
    return BomLine{r.text(0), r.text(1), r.text(2)};
}

std::optional<core::Problem> BomStore::validate(const QString& mainItem, const QString& subItem) {
    BomWidths widths;
    widths.mainItem = widths_.width(QStringLiteral("bom"), QStringLiteral("mainitem"));
    widths.subItem = widths_.width(QStringLiteral("bom"), QStringLiteral("subitem"));
    return checkBomLine(mainItem, subItem, widths);
}

void BomStore::saveLine(const QString& mainItem, const QString& subItem, double weight) {
    core::Transaction t(db_);
    db_.exec(QStringLiteral("delete from bom where mainitem = ? and subitem = ?"),
             {mainItem, subItem});
    db_.exec(QStringLiteral("insert into bom (mainitem,subitem,wt) values (?,?,?)"),
             {mainItem, subItem, weight});
    t.commit();
}

bool BomStore::removeLine(const QString& mainItem, const QString& subItem) {
    return db_.exec(QStringLiteral("delete from bom where mainitem = ? and subitem = ?"),
                    {mainItem, subItem}) > 0;
}

void BomStore::removeBlankVehicles() {
    db_.exec(QStringLiteral("delete from vehicle where veh_code is null"));
}

} // namespace stokara::masters
