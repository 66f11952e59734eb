#include "vendor_store.h"

#include "core/database.h"
#include "party_rules.h"

namespace stokara::masters {

using core::Row;

QList<VendorFields> VendorStore::gridRows() {
    QList<VendorFields> list;
    for (const Row& r : db_.query(QStringLiteral("select party_code, party_name, add1, ph, city "
                                                 "from MasVendor order by val(party_code) desc")))
        list.append({r.text(0), r.text(1), r.text(2), r.text(3), r.text(4)});
    return list;
}

int VendorStore::countByName(const QString& name) {
    return db_.scalar(QStringLiteral("select count(*) from MasVendor where party_name = ?"), {name})
        .toInt();
}

std::optional<core::Problem> VendorStore::validate(const VendorFields& f) {
    VendorWidths widths;
    widths.name = widths_.limit({{"MasVendor", "Party_Name"}, {"ItemPurchases", "Party_name"}});
    widths.add1 = widths_.width(QStringLiteral("MasVendor"), QStringLiteral("Add1"));
    widths.ph = widths_.width(QStringLiteral("MasVendor"), QStringLiteral("Ph"));
    widths.city = widths_.width(QStringLiteral("MasVendor"), QStringLiteral("city"));
    return checkVendor(f, widths);
}

QString VendorStore::insertNew(const VendorFields& f) {
    core::Transaction t(db_, kVendorCodeLock);
    const QString code =
        nextPartyCode(db_.scalar(QStringLiteral("select max(val(party_code)) from MasVendor")));
    db_.exec(QStringLiteral("insert into MasVendor (party_code,Party_name,add1,ph,city) "
                            "values (?,?,?,?,?)"),
             {code, f.name, f.add1, f.ph, f.city});
    t.commit();
    return code;
}

bool VendorStore::update(const QString& code, const VendorFields& f) {
    return db_.exec(
               QStringLiteral("update MasVendor set party_name = ?, add1 = ?, ph = ?, city = ? "
                              "where party_code = ?"),
               {f.name, f.add1, f.ph, f.city, code}) > 0;
}

std::optional<VendorFields> VendorStore::load(const QString& code) {
    const core::Rows rows = db_.query(
        QStringLiteral("select party_code, party_name, add1, ph, city from MasVendor where "
                       "party_code = ?"),
        {code});
    if (rows.empty())
        return std::nullopt;
    const Row& r = rows.front();
    return VendorFields{r.text(0), r.text(1), r.text(2), r.text(3), r.text(4)};
}

bool VendorStore::remove(const QString& code) {
    return db_.exec(QStringLiteral("delete from MasVendor where party_code = ?"), {code}) > 0;
}

void VendorStore::removeUncoded() {
    db_.exec(QStringLiteral("delete from MasVendor where party_code is null"));
}

} // namespace stokara::masters
