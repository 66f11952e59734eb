#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace stokara::core {
class Dialogs;
class Clock;
} // namespace stokara::core

namespace stokara::app {

struct RepairReport {
    enum class Outcome {
        Rebuilt,       // sound (or mended by re-indexing) and rebuilt
        Restored,      // damaged, set aside, a backup restored
        SetAside,      // damaged, set aside, no backup restored
        NothingToDo,   // no file, and no backup restored
        InUse,         // another program kept the file open; nothing changed
        NotApplicable, // not an SQLite database
    };
    Outcome outcome = Outcome::NothingToDo;
    QString setAsideAs;   // where the damaged file went
    QString restoredFrom; // the backup that was restored
    QStringList lines;    // what was done, for the operator
};

struct RepairSettings {
    QString databaseUrl;
    QStringList backupFolders; // searched for Tarvex?? and DairyBackup.db
    int waitForExclusiveMs = 30000;
};

// stokara --repair: checks the SQLite database's integrity and rebuilds it
// (VACUUM INTO a new file that replaces the old one). When it is damaged
// beyond what re-indexing mends, the damaged file is moved aside (never
// deleted) and, after asking, the newest backup that passes the integrity
// check is restored. The report is shown at the end.
RepairReport repairDatabase(const RepairSettings& settings, core::Dialogs& dialogs,
                            const core::Clock& clock);

struct RestoreReport {
    bool restored = false;
    QString setAsideAs; // where the replaced database went, when there was one
    QStringList lines;  // what was done, for the operator
};

// stokara --restore FILE: puts a backup in place of the SQLite database file.
// The backup must pass the integrity check first; the current file (with its
// -wal and -shm, which would otherwise be replayed onto the restored file) is
// set aside, never deleted; nothing changes while another program has it open.
RestoreReport restoreDatabase(const QString& databasePath, const QString& backup,
                              const QDateTime& now, int waitForExclusiveMs = 30000);

} // namespace stokara::app
