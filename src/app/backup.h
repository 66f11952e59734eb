#pragma once

#include "core/database.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QThread;
class QWidget;

namespace stokara::app {

struct CopyResult {
    bool ok = false;
    QString problem; // in words for the shop when !ok
};

// The program that dumps a PostgreSQL database; empty when none is installed.
QString findPgDump();

// A consistent copy of the database at `url` to `target`, even while other
// counters write: SQLite through VACUUM INTO a temporary name that is then
// renamed over the target (so a failed copy never leaves half a file under
// the target's name); PostgreSQL through pg_dump (custom format, restorable
// with pg_restore) the same way. Opens its own connection, so it may run on
// any thread.
CopyResult copyDatabase(const core::DatabaseUrl& url, const QString& target,
                        const QString& pgDump = findPgDump());

// A copy running on a worker thread from its construction while the program goes
// on. Destroying it waits for the copy to end: a copy is never cut off half-way,
// so the program cannot close while one is in progress.
class BackgroundCopy : public QObject {
    Q_OBJECT
public:
    explicit BackgroundCopy(std::function<CopyResult()> copy, QObject* parent = nullptr);
    ~BackgroundCopy() override;

    bool isRunning() const;
    // The copy's result; while it still runs, waits for it under a busy, modal
    // progress box over `parent` (null: over the whole program), so windows keep
    // drawing and take no input meanwhile.
    CopyResult await(QWidget* parent);

signals:
    // From the event loop, once the copy has ended.
    void finished(const stokara::app::CopyResult& result);

private:
    std::unique_ptr<QThread> worker_;
    CopyResult result_;
};

// Runs `copy` on a worker thread under a busy progress dialog over `parent`
// (null: over the whole program), so windows keep drawing while a large copy
// or pg_dump runs; returns once it has finished.
CopyResult copyInBackground(QWidget* parent, const std::function<CopyResult()>& copy);

// "Tarvex" and the day of the month as two digits: one file per day, each
// overwritten a month later.
QString backupFileName(const QDate& day);

// The start-up copy in the data folder: DairyBackup.db (SQLite) or
// DairyBackup.pgdump (a pg_dump file).
QString startupCopyPath(const core::Database& db, const QString& dataDir);

// Makes the folder when missing and proves it can be written by writing into it.
bool prepareWritableFolder(const QString& dir, QString* problem = nullptr);

// This counter's backup folder, chosen at its start: the preferred place
// (--backup-dir) when it can be made and written, else the data folder.
// `problem` tells why the preferred place was not used.
QString chooseBackupFolder(const QString& preferred, const QString& dataDir,
                           QString* problem = nullptr);

// Shows the counter's folder in dairysetting.BackupPath. An SQLite file has one
// counter, so its folder replaces what is there; the row of a PostgreSQL
// database is shared by every counter, so it is only filled when empty (each
// counter backs up into its own folder whatever the row says). Nothing without
// a settings row. `problem` tells why a folder could not be stored.
void recordBackupFolder(core::Database& db, const QString& folder, QString* problem = nullptr);

// True when the file is an SQLite database that passes integrity_check.
bool isSoundSqliteFile(const QString& path, QString* why = nullptr);

} // namespace stokara::app
