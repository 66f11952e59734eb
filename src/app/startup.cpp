#include "startup.h"

#include "core/caption_language.h"
#include "core/database.h"
#include "core/errors.h"

namespace stokara::app {

using core::Database;

void recreateTableDebug(Database& db) {
    db.tryExec(QStringLiteral("drop table tabledebug"));
    db.tryExec(
        QStringLiteral("create table TableDebug (ScreenName varchar(10),StepNo varchar(8))"));
}

void hindiCheck(core::Session& session) {
    core::guarded(session, core::ErrorKind::Show, QStringLiteral("HindiCheck"), [&] {
        Database& db = *session.db;
        if (!db.columnExists(QStringLiteral("dairysetting"), QStringLiteral("vendor")))
            db.tryExec(QStringLiteral("alter table dairysetting add vendor varchar(10)"));
        const core::Rows rows =
            db.query(QStringLiteral("select Dairylanguage,vendor from dairysetting"));
        session.languageFlags = {};
        if (rows.empty())
            return;
        session.languageFlags =
            core::languageFlagsFor(rows.front().text(QStringLiteral("Dairylanguage")));
    });
}

core::ShopInfo readShopInfo(Database& db) {
    core::ShopInfo shop;
    // A file not yet upgraded has no UPI columns: its bills carry no QR.
    const bool upi = db.columnExists(QStringLiteral("compmaster"), QStringLiteral("UpiId"));
    const core::Rows rows =
        db.query(upi ? QStringLiteral("select compName,address1,city,mobileno,tinno,UpiId,UpiPayee "
                                      "from compmaster where compname is not null")
                     : QStringLiteral("select compName,address1,city,mobileno,tinno from "
                                      "compmaster where compname is not null"));
    if (rows.empty())
        return shop;
    const core::Row& r = rows.front();
    shop.name = r.text(0);
    shop.address = r.text(1);
    shop.city = r.text(2);
    shop.mobile = r.text(3);
    shop.tinNo = r.text(4);
    if (upi) {
        shop.upiId = r.text(5);
        shop.upiPayee = r.text(6);
    }
    return shop;
}

QStringList companyNames(Database& db) {
    QStringList names;
    for (const core::Row& r : db.query(QStringLiteral(
             "select compName from compmaster where compname is not null order by compName")))
        names << r.text(0);
    return names;
}

} // namespace stokara::app
