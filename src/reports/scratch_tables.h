#pragma once

namespace stokara::core {
class Database;
}

namespace stokara::reports {

// The report screens' scratch tables (RepDaybook, repdaybook1, repdaybook2) as
// temporary tables of this connection: both engines look an unqualified name up among the
// connection's temporary tables first, so the statements keep the old names
// while two counters on one server never empty each other's rows. Made at the
// first use on a connection (and again after a reconnect); emptied by each run.
void prepareScratchTables(core::Database& db);

// Each empties its tables inside the run's transaction. PostgreSQL keeps a
// deleted row until a vacuum, which never visits a temporary table, so there a
// table is truncated: otherwise every run would read through the rows of all
// the runs before it.
// The three tables a party bill fills (repdaybook, repdaybook1, repdaybook2).
void emptyBillTables(core::Database& db);
// RepDaybook, of the consolidated reports.
void emptyConsolidateLines(core::Database& db);

} // namespace stokara::reports
