#include "shop_store.h"

#include "core/database.h"

namespace stokara::masters {

bool ShopStore::hasUpi() {
    // A file not yet upgraded has no UPI columns; its other details still save.
    if (!hasUpi_)
        hasUpi_ = db_.columnExists(QStringLiteral("compmaster"), QStringLiteral("UpiId"));
    return *hasUpi_;
}

std::optional<ShopFields> ShopStore::first() {
    const bool upi = hasUpi();
    const core::Rows rows = db_.query(
        upi ? QStringLiteral("select compname, address1, city, telno, mobileno, tinno, UpiId, "
                             "UpiPayee from compmaster limit 1")
            : QStringLiteral("select compname, address1, city, telno, mobileno, tinno from "
                             "compmaster limit 1"));
    if (rows.empty())
        return std::nullopt;
    const core::Row& r = rows.front();
    ShopFields f{r.text(0), r.text(1), r.text(2), r.text(3), r.text(4), r.text(5)};
    if (upi) {
        f.upiId = r.text(6);
        f.upiPayee = r.text(7);
    }
    return f;
}

std::optional<core::Problem> ShopStore::validate(const ShopFields& f) {
    auto w = [this](const char* column) { return widths_.width("compmaster", column); };
    ShopWidths widths;
    widths.name = w("CompName");
    widths.address = w("Address1");
    widths.city = w("City");
    widths.telNo = w("TelNo");
    widths.mobile = w("Mobileno");
    widths.gstNo = w("TinNo");
    widths.upiId = w("UpiId");
    widths.upiPayee = w("UpiPayee");
    return checkShop(f, widths);
}

void ShopStore::save(const ShopFields& f) {
    core::Transaction t(db_, kShopRecordLock);
    const int rows = db_.scalar(QStringLiteral("select count(*) from compmaster")).toInt();
    if (rows == 0) {
        db_.exec(QStringLiteral("insert into compmaster (compname,address1,city,telno,mobileno,"
                                "tinno) values (?,?,?,?,?,?)"),
                 {f.name, f.address, f.city, f.telNo, f.mobile, f.gstNo});
    } else {
        db_.exec(QStringLiteral("update compmaster set compname = ?, address1 = ?, city = ?, "
                                "telno = ?, mobileno = ?, tinno = ?"),
                 {f.name, f.address, f.city, f.telNo, f.mobile, f.gstNo});
    }
    if (hasUpi())
        db_.exec(QStringLiteral("update compmaster set UpiId = ?, UpiPayee = ?"),
                 {f.upiId.trimmed(), f.upiPayee});
    t.commit();
}

} // namespace stokara::masters
