#pragma once

#include <QString>

#include <functional>

namespace stokara::core {
class Database;
}

namespace stokara::schema {

// The tables a new shop database starts with, before any upgrade: masparty,
// masitem, repled2, masspass (one row, password "kelbo") and adminsecurity (one row).
void createInitialDatabase(core::Database& db);

// Progress of the upgrade: statements done out of all, and which batch (1 or 2).
using UpgradeProgress = std::function<void(int done, int total, int batch)>;

struct UpgradeResult {
    int statements = 0; // statements run in both batches
    int failed = 0;     // of which failed because their work was done (or could not be done)
};

// "Update Database": both batches in order. Every statement runs on its own and
// may fail; the next one runs. Idempotent.
UpgradeResult upgradeDatabase(core::Database& db, const UpgradeProgress& progress = {});

// A database with no tables yet becomes the initial database and is upgraded at once.
// Does nothing when the database already has its tables.
void createNewDatabase(core::Database& db);

} // namespace stokara::schema
