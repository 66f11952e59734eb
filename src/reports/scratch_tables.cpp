#include "scratch_tables.h"

#include "core/database.h"
#include "core/dialect.h"

namespace stokara::reports {

void prepareScratchTables(core::Database& db) {
    const QString dt = core::dialect::dateTimeType(db.engine());
    // sn orders the kinds of line of one date (sale, receipt, payment) and
    // autono keeps the source entry's number, so the line order is the same on
    // both engines.
    // RepDaybook is also the party bills' repdaybook (one name to both
    // engines), so it has the bill lines' columns too; repdaybook1 and
    // repdaybook2 hold the bills' openings or copies of their lines.
    for (const char* table : {"RepDaybook", "repdaybook1", "repdaybook2"})
        db.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS %1 (party_code varchar(100), "
                               "party_name varchar(100), category varchar(25), dr numeric(20,2), "
                               "cr numeric(20,2), clbal numeric(20,2), side varchar(2), doc_dt %2, "
                               "item_name varchar(100), qty numeric(20,3), net_amt numeric(20,2), "
                               "doc_no varchar(20), rate numeric(20,2), sn integer, "
                               "autono integer)")
                    .arg(QLatin1String(table), dt));
    // The bills find a party's lines and opening by its code.
    for (const char* table : {"RepDaybook", "repdaybook1"})
        db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1_party ON %1 (party_code)")
                    .arg(QLatin1String(table)));
}

namespace {

bool postgres(const core::Database& db) {
    return db.engine() == core::Engine::Postgres;
}

} // namespace

void emptyBillTables(core::Database& db) {
    if (postgres(db)) {
        db.exec(QStringLiteral("truncate repdaybook, repdaybook1, repdaybook2"));
        return;
    }
    db.exec(QStringLiteral("delete from repdaybook"));
    db.exec(QStringLiteral("delete from repdaybook1"));
    db.exec(QStringLiteral("delete from repdaybook2"));
}

void emptyConsolidateLines(core::Database& db) {
    db.exec(postgres(db) ? QStringLiteral("truncate RepDaybook")
                         : QStringLiteral("delete from RepDaybook"));
}

} // namespace stokara::reports
