#include "vendor_store.h"

#include "core/database.h"

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

QVariant VendorStore::highestCode() {
    return db_.scalar(QStringLiteral("select max(val(party_code)) from MasVendor"));
}

std::optional<FieldProblem> VendorStore::validate(const VendorFields& f) {
    // Purchases name the vendor in ItemPurchases.Party_name.
    const struct {
        const char* column;
        const char* label;
        const QString* value;
        int limit;
    } texts[] = {
        {"party_name", "Vendor Name", &f.name,
         widths_.limit({{"MasVendor", "Party_Name"}, {"ItemPurchases", "Party_name"}})},
        {"add1", "Address", &f.add1,
         widths_.width(QStringLiteral("MasVendor"), QStringLiteral("Add1"))},
        {"ph", "Phone", &f.ph, widths_.width(QStringLiteral("MasVendor"), QStringLiteral("Ph"))},
        {"city", "City", &f.city,
         widths_.width(QStringLiteral("MasVendor"), QStringLiteral("city"))},
    };
    for (const auto& t : texts) {
        const QString m = core::tooLongMessage(QString::fromLatin1(t.label), *t.value, t.limit);
        if (!m.isEmpty())
            return FieldProblem{QString::fromLatin1(t.column), m};
    }
    return std::nullopt;
}

QString VendorStore::insertNew(const VendorFields& f) {
    core::Transaction t(db_, kVendorCodeLock);
    const QString code = nextPartyCode(highestCode());
    db_.exec(QStringLiteral("insert into MasVendor (party_code,Party_name,add1,ph,city) "
                            "values (?,?,?,?,?)"),
             {code, f.name, f.add1, f.ph, f.city});
    t.commit();
    return code;
}

void VendorStore::update(const VendorFields& f) {
    db_.exec(QStringLiteral("update MasVendor set party_name = ?, add1 = ?, ph = ?, city = ? "
                            "where party_code = ?"),
             {f.name, f.add1, f.ph, f.city, f.code});
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

void VendorStore::remove(const QString& code) {
    db_.exec(QStringLiteral("delete from MasVendor where party_code = ?"), {code});
}

void VendorStore::removeUncoded() {
    db_.exec(QStringLiteral("delete from MasVendor where party_code is null"));
}

} // namespace stokara::masters
