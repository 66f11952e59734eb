#pragma once

#include <QDate>
#include <QString>

namespace stokara::core {
class Database;
}

namespace stokara::app {

struct CopyResult {
    bool ok = false;
    QString problem; // in words for the shop when !ok
};

// The program that dumps a PostgreSQL database; empty when none is installed.
QString findPgDump();

// A consistent copy of the live database at `target`, even while other
// counters write: SQLite through VACUUM INTO a temporary name that is then
// renamed over the target (so a failed copy never leaves half a file under
// the target's name); PostgreSQL through pg_dump (custom format, restorable
// with pg_restore) the same way.
CopyResult copyDatabase(core::Database& db, const QString& target,
                        const QString& pgDump = findPgDump());

// "Tarvex" and the day of the month as two digits: one file per day, each
// overwritten a month later.
QString backupFileName(const QDate& day);

// The start-up copy in the data folder: DairyBackup.db (SQLite) or
// DairyBackup.pgdump (a pg_dump file).
QString startupCopyPath(const core::Database& db, const QString& dataDir);

// Makes the folder when missing and proves it can be written by writing into it.
bool prepareWritableFolder(const QString& dir, QString* problem = nullptr);

// Chooses the backup folder at start-up and stores it in dairysetting.BackupPath:
// the preferred place (--backup-dir) when it can be made and written, else the
// data folder. Does nothing when there is no settings row. Returns the path in
// effect (empty without a settings row); `problem` tells why the preferred
// place was not used or the path could not be stored.
QString configureBackupPath(core::Database& db, const QString& preferred, const QString& dataDir,
                            QString* problem = nullptr);

// BackupPath of the settings row, empty when unset or without a row.
QString storedBackupPath(core::Database& db);

// True when the file is an SQLite database that passes integrity_check.
bool isSoundSqliteFile(const QString& path, QString* why = nullptr);

} // namespace stokara::app
