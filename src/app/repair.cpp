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
                 RepairReport& report) {
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
    // Copied under a temporary name first, so a failed copy leaves no half database.
    const QString temp = path + QStringLiteral(".restore");
    QFile::remove(temp);
    QString why;
    if (!QFile::copy(sound->path, temp)) {
        report.lines
            << QStringLiteral("The backup %1 could not be copied.").arg(native(sound->path));
        return;
    }
    QFile(temp).setPermissions(QFile(temp).permissions() | QFileDevice::WriteOwner);
    if (!moveFile(temp, path, &why)) {
        QFile::remove(temp);
        report.lines << QStringLiteral("The backup could not be put in place: %1").arg(why);
        return;
    }
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
        offerBackup(path, settings, dialogs, report);
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
        QString error;
        if (!c.openError().isEmpty()) {
            damaged = true;
            report.lines << QStringLiteral("The database cannot be opened: %1").arg(c.openError());
        } else {
            // Leaving WAL makes the file stand alone, and is refused while any
            // other program still has it open: that is the wait for Stokara to end.
            QElapsedTimer waited;
            waited.start();
            bool alone = false;
            while (true) {
                const QStringList mode =
                    c.run(QStringLiteral("PRAGMA journal_mode=DELETE"), &error);
                if (error.isEmpty() &&
                    mode.value(0).compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0) {
                    alone = true;
                    break;
                }
                const bool busy = error.isEmpty() || error.contains(QLatin1String("locked")) ||
                                  error.contains(QLatin1String("busy"));
                if (!busy) {
                    damaged = true;
                    report.lines << QStringLiteral("The database cannot be read: %1").arg(error);
                    break;
                }
                if (waited.elapsed() > settings.waitForExclusiveMs)
                    break;
                QThread::msleep(250);
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
    const QFileInfo info(path);
    const QString aside = info.dir().filePath(
        info.completeBaseName() + QStringLiteral("-damaged-") +
        clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QLatin1Char('.') +
        (info.suffix().isEmpty() ? QStringLiteral("db") : info.suffix()));
    QString why;
    if (!moveFile(path, aside, &why)) {
        report.outcome = RepairReport::Outcome::NothingToDo;
        report.lines << QStringLiteral("The damaged database could not be set aside (%1); nothing "
                                       "was restored.")
                            .arg(why);
        finish(dialogs, report);
        return report;
    }
    for (const char* extra : {"-wal", "-shm", "-journal"}) {
        const QString side = path + QLatin1String(extra);
        if (QFileInfo::exists(side))
            moveFile(side, aside + QLatin1String(extra), nullptr);
    }
    report.outcome = RepairReport::Outcome::SetAside;
    report.setAsideAs = aside;
    report.lines << QStringLiteral("The damaged database was moved to %1.").arg(native(aside));
    offerBackup(path, settings, dialogs, report);
    finish(dialogs, report);
    return report;
}

} // namespace stokara::app
