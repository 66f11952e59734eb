#include "repair.h"

#include "backup.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/idioms.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <filesystem>

namespace stokara::app {

namespace {

const QString kTitle = QStringLiteral("Repair Database");

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A plain Qt SQL connection: the repair needs to choose the journal mode
// itself, which the program's own connection would set to WAL.
class RawSqlite {
public:
    explicit RawSqlite(const QString& path)
        : name_(QStringLiteral("stokara-repair-") + QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
        if (!db.open())
            openError_ = db.lastError().text();
        else
            core::installSqliteFunctions(db); // indexes on val() need it to check and copy
    }
    ~RawSqlite() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    const QString& openError() const { return openError_; }

    // First value of every row; `error` is set when the statement fails.
    QStringList run(const QString& sql, QString* error, const QVariantList& values = {}) {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        bool ok = q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        ok = ok && q.exec();
        QStringList out;
        if (!ok) {
            *error = q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                            : q.lastError().databaseText();
            return out;
        }
        while (q.next())
            out << q.value(0).toString();
        error->clear();
        return out;
    }

private:
    QString name_;
    QString openError_;
};

bool moveFile(const QString& from, const QString& to, QString* why) {
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdString()),
                            std::filesystem::path(to.toStdString()), ec);
    if (ec && why)
        *why = QString::fromStdString(ec.message());
    return !ec;
}

QString integrityVerdict(RawSqlite& c) {
    QString error;
    const QStringList rows = c.run(QStringLiteral("PRAGMA integrity_check"), &error);
    if (!error.isEmpty())
        return error;
    if (rows.size() == 1 && rows.first() == QLatin1String("ok"))
        return QStringLiteral("ok");
    return rows.isEmpty() ? QStringLiteral("no answer") : rows.mid(0, 3).join(QStringLiteral("; "));
}

// Leaving WAL makes the file stand alone, and is refused while any other
// program still has it open: that is the wait for Stokara to end. False with
// `error` empty: still in use when the time ran out; with `error` set: the
// file cannot be read.
bool waitUntilAlone(RawSqlite& c, int waitMs, QString* error) {
    QElapsedTimer waited;
    waited.start();
    while (true) {
        const QStringList mode = c.run(QStringLiteral("PRAGMA journal_mode=DELETE"), error);
        if (error->isEmpty() &&
            mode.value(0).compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0)
            return true;
        const bool busy = error->isEmpty() || error->contains(QLatin1String("locked")) ||
                          error->contains(QLatin1String("busy"));
        if (!busy)
            return false;
        if (waited.elapsed() > waitMs) {
            error->clear();
            return false;
        }
        QThread::msleep(250);
    }
}

// Moves the file and the journal files beside it to `aside` (+ the same
// endings); a stale -wal left beside a restored file would be replayed onto it.
bool setAside(const QString& path, const QString& aside, QString* why) {
    if (QFileInfo::exists(path) && !moveFile(path, aside, why))
        return false;
    for (const char* extra : {"-wal", "-shm", "-journal"}) {
        const QString side = path + QLatin1String(extra);
        if (QFileInfo::exists(side))
            moveFile(side, aside + QLatin1String(extra), nullptr);
    }
    return true;
}

QString asideName(const QString& path, const QString& word, const QDateTime& now) {
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + word +
                               QLatin1Char('-') + now.toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                               QLatin1Char('.') +
                               (info.suffix().isEmpty() ? QStringLiteral("db") : info.suffix()));
}

// Puts a copy of `backup` at `path`, where no database file is (any journal
// files left there are set aside first).
bool putInPlace(const QString& path, const QString& backup, const QDateTime& now,
                QStringList& lines) {
    const bool sideFiles = QFileInfo::exists(path + QStringLiteral("-wal")) ||
                           QFileInfo::exists(path + QStringLiteral("-shm")) ||
                           QFileInfo::exists(path + QStringLiteral("-journal"));
    QString why;
    if (sideFiles) {
        const QString aside = asideName(path, QStringLiteral("stale"), now);
        setAside(path, aside, &why);
        lines << QStringLiteral("Journal files left beside the database were moved to %1-wal/-shm.")
                     .arg(native(aside));
    }
    // Copied under a temporary name first, so a failed copy leaves no half database.
    const QString temp = path + QStringLiteral(".restore");
    QFile::remove(temp);
    if (!QFile::copy(backup, temp)) {
        lines << QStringLiteral("The backup %1 could not be copied.").arg(native(backup));
        return false;
    }
    QFile(temp).setPermissions(QFile(temp).permissions() | QFileDevice::WriteOwner);
    if (!moveFile(temp, path, &why)) {
        QFile::remove(temp);
        lines << QStringLiteral("The backup could not be put in place: %1").arg(why);
        return false;
    }
    return true;
}

struct Candidate {
    QString path;
    QDateTime modified;
};

QList<Candidate> backupCandidates(const QStringList& folders, const QString& exclude) {
    static const QRegularExpression dayFile(QStringLiteral("^Tarvex\\d\\d$"));
    QList<Candidate> list;
    QStringList seen;
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files)) {
            const bool wanted = dayFile.match(f.fileName()).hasMatch() ||
                                f.fileName() == QLatin1String("DairyBackup.db");
            const QString canonical = f.canonicalFilePath();
            if (!wanted || seen.contains(canonical) || canonical == exclude)
                continue;
            seen << canonical;
            list.push_back({f.absoluteFilePath(), f.lastModified()});
        }
    }
    std::sort(list.begin(), list.end(),
              [](const Candidate& a, const Candidate& b) { return a.modified > b.modified; });
    return list;
}

void offerBackup(const QString& path, const RepairSettings& settings, core::Dialogs& dialogs,
                 const QDateTime& now, RepairReport& report) {
    const QList<Candidate> candidates =
        backupCandidates(settings.backupFolders, QFileInfo(report.setAsideAs).canonicalFilePath());
    const Candidate* sound = nullptr;
    for (const Candidate& c : candidates) {
        QString why;
        if (isSoundSqliteFile(c.path, &why)) {
            sound = &c;
            break;
        }
        report.lines << QStringLiteral("The backup %1 is not sound (%2).").arg(native(c.path), why);
    }
    if (!sound) {
        report.lines << QStringLiteral("No sound backup was found in %1. Stokara will start with "
                                       "a new, empty database; the damaged file is kept.")
                            .arg(settings.backupFolders.join(QStringLiteral(", ")));
        return;
    }
    const QString when = core::formatDate(sound->modified.date()) + QLatin1Char(' ') +
                         sound->modified.time().toString(QStringLiteral("HH:mm"));
    const bool yes = dialogs.yesNo(
        kTitle, QStringLiteral("The newest sound backup is %1, saved %2.\nRestore it as the "
                               "database now?")
                    .arg(native(sound->path), when));
    if (!yes) {
        report.lines << QStringLiteral("No backup was restored (the newest sound one is %1).")
                            .arg(native(sound->path));
        return;
    }
    if (!putInPlace(path, sound->path, now, report.lines))
        return;
    report.outcome = RepairReport::Outcome::Restored;
    report.restoredFrom = sound->path;
    report.lines << QStringLiteral("The backup %1 (saved %2) was restored as the database.")
                        .arg(native(sound->path), when);
}

void finish(core::Dialogs& dialogs, const RepairReport& report) {
    dialogs.information(kTitle, report.lines.join(QLatin1Char('\n')));
}

} // namespace

RepairReport repairDatabase(const RepairSettings& settings, core::Dialogs& dialogs,
                            const core::Clock& clock) {
    RepairReport report;
    const core::DatabaseUrl url = core::DatabaseUrl::parse(settings.databaseUrl);
    if (url.engine != core::Engine::Sqlite) {
        report.outcome = RepairReport::Outcome::NotApplicable;
        report.lines << QStringLiteral("Repair works on an SQLite database file; a PostgreSQL "
                                       "server checks its own databases.");
        finish(dialogs, report);
        return report;
    }
    const QString path = QFileInfo(url.path).absoluteFilePath();
    if (!QFileInfo::exists(path)) {
        report.lines << QStringLiteral("There is no database file at %1.").arg(native(path));
        offerBackup(path, settings, dialogs, clock.now(), report);
        finish(dialogs, report);
        return report;
    }

    // First a read-only look, so a damaged file is set aside exactly as it was.
    QStringList findings;
    {
        QString why;
        if (!isSoundSqliteFile(path, &why))
            findings << why;
    }
    // Damage confined to indexes is mended from the table rows without loss.
    const bool indexOnly = !findings.isEmpty() &&
                           findings.first().contains(QLatin1String("index")) &&
                           !findings.first().contains(QLatin1String("malformed")) &&
                           !findings.first().contains(QLatin1String("not a database"));
    bool damaged = !findings.isEmpty() && !indexOnly;
    if (!findings.isEmpty())
        report.lines << QStringLiteral("The integrity check found: %1").arg(findings.first());

    bool rebuiltReady = false;
    const QString rebuilt = path + QStringLiteral(".rebuild");
    if (!damaged) {
        RawSqlite c(path);
        if (!c.openError().isEmpty()) {
            damaged = true;
            report.lines << QStringLiteral("The database cannot be opened: %1").arg(c.openError());
        } else {
            QString error;
            const bool alone = waitUntilAlone(c, settings.waitForExclusiveMs, &error);
            if (!alone && !error.isEmpty()) {
                damaged = true;
                report.lines << QStringLiteral("The database cannot be read: %1").arg(error);
            }
            if (!alone && !damaged) {
                report.outcome = RepairReport::Outcome::InUse;
                report.lines << QStringLiteral("The database %1 is still open in another program. "
                                               "Close Stokara on this computer and run the repair "
                                               "again. Nothing was changed.")
                                    .arg(native(path));
                finish(dialogs, report);
                return report;
            }
        }
        QString error;
        if (!damaged && indexOnly) {
            c.run(QStringLiteral("REINDEX"), &error);
            const QString verdict = integrityVerdict(c);
            if (verdict == QLatin1String("ok")) {
                report.lines << QStringLiteral("The indexes were rebuilt; no data was lost.");
            } else {
                damaged = true;
                report.lines
                    << QStringLiteral("Rebuilding the indexes did not mend it: %1").arg(verdict);
            }
        }
        if (!damaged) {
            QFile::remove(rebuilt);
            c.run(QStringLiteral("VACUUM INTO ?"), &error, {rebuilt});
            if (error.isEmpty() && isSoundSqliteFile(rebuilt)) {
                rebuiltReady = true;
            } else {
                QFile::remove(rebuilt);
                report.lines << QStringLiteral("The database is sound but could not be rebuilt: %1")
                                    .arg(error.isEmpty()
                                             ? QStringLiteral("the copy failed its check")
                                             : error);
            }
        }
    }

    if (rebuiltReady) {
        QString why;
        if (moveFile(rebuilt, path, &why)) {
            report.outcome = RepairReport::Outcome::Rebuilt;
            report.lines << QStringLiteral("The database %1 passed its integrity check and was "
                                           "rebuilt.")
                                .arg(native(path));
        } else {
            QFile::remove(rebuilt);
            report.lines << QStringLiteral("The rebuilt database could not replace the old one "
                                           "(%1); the old one is unchanged.")
                                .arg(why);
        }
        finish(dialogs, report);
        return report;
    }
    if (!damaged) {
        finish(dialogs, report);
        return report;
    }

    // Damaged beyond mending: kept aside for whoever can still rescue rows from it.
    const QString aside = asideName(path, QStringLiteral("damaged"), clock.now());
    QString why;
    if (!setAside(path, aside, &why)) {
        report.outcome = RepairReport::Outcome::NothingToDo;
        report.lines << QStringLiteral("The damaged database could not be set aside (%1); nothing "
                                       "was restored.")
                            .arg(why);
        finish(dialogs, report);
        return report;
    }
    report.outcome = RepairReport::Outcome::SetAside;
    report.setAsideAs = aside;
    report.lines << QStringLiteral("The damaged database was moved to %1.").arg(native(aside));
    offerBackup(path, settings, dialogs, clock.now(), report);
    finish(dialogs, report);
    return report;
}

RestoreReport restoreDatabase(const QString& databasePath, const QString& backup,
                              const QDateTime& now, int waitForExclusiveMs) {
    RestoreReport report;
    const QString path = QFileInfo(databasePath).absoluteFilePath();
    QString why;
    if (!QFileInfo(backup).isFile()) {
        report.lines << QStringLiteral("There is no backup file at %1. Nothing was changed.")
                            .arg(native(backup));
        return report;
    }
    if (!isSoundSqliteFile(backup, &why)) {
        report.lines << QStringLiteral("The backup %1 is not sound (%2). Nothing was changed.")
                            .arg(native(backup), why);
        return report;
    }
    if (QFileInfo::exists(path)) {
        {
            RawSqlite c(path);
            QString error;
            if (c.openError().isEmpty() && !waitUntilAlone(c, waitForExclusiveMs, &error) &&
                error.isEmpty()) {
                report.lines << QStringLiteral("The database %1 is still open in another program. "
                                               "Close Stokara on this computer and try again. "
                                               "Nothing was changed.")
                                    .arg(native(path));
                return report;
            }
        }
        const QString aside = asideName(path, QStringLiteral("replaced"), now);
        if (!setAside(path, aside, &why)) {
            report.lines << QStringLiteral("The database could not be set aside (%1). Nothing was "
                                           "changed.")
                                .arg(why);
            return report;
        }
        report.setAsideAs = aside;
        report.lines << QStringLiteral("The database was moved to %1.").arg(native(aside));
    }
    if (!putInPlace(path, backup, now, report.lines))
        return report;
    report.restored = true;
    report.lines
        << QStringLiteral("The backup %1 was restored as %2.").arg(native(backup), native(path));
    return report;
}

} // namespace stokara::app
