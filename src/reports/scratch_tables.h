#pragma once

namespace stokara::core {
class Database;
}

namespace stokara::reports {

// The report screens' scratch tables (repled2, RepDaybook) as temporary tables
// of this connection: both engines look an unqualified name up among the
// connection's temporary tables first, so the statements keep the old names
// while two counters on one server never empty each other's rows. Made at the
// first use on a connection (and again after a reconnect); emptied by each run.
void prepareScratchTables(core::Database& db);

// Empties the three tables a party bill fills (repdaybook, repdaybook1,
// repdaybook2); inside the run's transaction.
void emptyBillTables(core::Database& db);

} // namespace stokara::reports
