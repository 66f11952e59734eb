#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace stokara::core {
class Database;
}

namespace stokara::schema {

// Texts of the two messages the main window shows after each batch.
inline QString upgradeTitle() {
    return QStringLiteral("Tarvex Milvora");
}
inline QString firstBatchDoneText() {
    return QStringLiteral("Data Repair 1 Done.");
}
inline QString secondBatchDoneText() {
    return QStringLiteral("Data Repair 2 Done.");
}

// The tables a new shop database starts with, before any upgrade: masparty,
// masitem, repled2, masspass (one row, password "kelbo") and adminsecurity (one row).
void createInitialDatabase(core::Database& db);

// Progress of the upgrade: statements done out of all, and which batch (1 or 2).
using UpgradeProgress = std::function<void(int done, int total, int batch)>;

struct UpgradeResult {
    int statements = 0; // statements run in both batches
    int failed = 0;     // of which failed because their work was done (or could not be done)
    // Of those, the ones the engine refused (the rest were found already done
    // before running). Each entry is the statement and the engine's message.
    int errors = 0;
    QStringList errorTexts;
};

struct UpgradeOptions {
    // The program's data folder: the settings row's BackupPath when none is
    // set. Empty: the folder of an SQLite database file, else the user's
    // application data folder.
    QString dataFolder;
    // "Now" for the error-log pruning; invalid means the current time.
    QDateTime now;
    // Called after each batch (1, then 2), before the next starts, so the caller
    // can show that batch's message.
    std::function<void(int batch)> batchDone;
};

// "Update Database": both batches in order. Every statement runs on its own and
// may fail; the next one runs. Idempotent.
UpgradeResult upgradeDatabase(core::Database& db, const UpgradeProgress& progress = {});
UpgradeResult upgradeDatabase(core::Database& db, const UpgradeOptions& options,
                              const UpgradeProgress& progress = {});

// A database with no tables yet becomes the initial database and is upgraded at once.
// Does nothing when the database already has its tables.
void createNewDatabase(core::Database& db);
void createNewDatabase(core::Database& db, const UpgradeOptions& options);

} // namespace stokara::schema
