#pragma once

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

} // namespace stokara::app
