#include "backup.h"

#include "core/database.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QUuid>

#include <filesystem>
#include <memory>
#include <system_error>

namespace stokara::app {

using core::Database;
using core::DbError;
using core::Engine;

namespace {

// Replaces `target` by `temp` in one step, so a reader never sees a half copy.
bool replaceFile(const QString& temp, const QString& target, QString* problem) {
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temp.toStdString()),
                            std::filesystem::path(target.toStdString()), ec);
    if (ec) {
        *problem = QString::fromStdString(ec.message());
        QFile::remove(temp);
        return false;
    }
    return true;
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

CopyResult copySqlite(const core::DatabaseUrl& url, const QString& target) {
    CopyResult result;
    const QFileInfo targetInfo(target);
    if (QFileInfo(url.path).canonicalFilePath() == targetInfo.canonicalFilePath() &&
        targetInfo.exists()) {
        result.problem = QStringLiteral("The backup %1 would overwrite the database itself.")
                             .arg(native(target));
        return result;
    }
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp); // VACUUM INTO refuses an existing file
    try {
        if (!QFileInfo(url.path).isFile())
            throw DbError(QStringLiteral("0"),
                          QStringLiteral("the database %1 is missing").arg(native(url.path)));
        // A connection of its own: the caller's belongs to the thread that opened it.
        Database::open(url)->exec(QStringLiteral("VACUUM INTO ?"), {temp});
    } catch (const DbError& e) {
        QFile::remove(temp);
        result.problem = QStringLiteral("The backup %1 could not be written: %2")
                             .arg(native(target), e.description());
        return result;
    }
    QString why;
    if (!replaceFile(temp, target, &why)) {
        result.problem =
            QStringLiteral("The backup %1 could not be written: %2").arg(native(target), why);
        return result;
    }
    result.ok = true;
    return result;
}

CopyResult copyPostgres(const core::DatabaseUrl& url, const QString& target,
                        const QString& pgDump) {
    CopyResult result;
    if (pgDump.isEmpty() || !QFileInfo(pgDump).isExecutable()) {
        result.problem = QStringLiteral("No backup was made: pg_dump (the PostgreSQL client "
                                        "tools) is not installed on this computer.");
        return result;
    }
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!url.password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), url.password);
    process.setProcessEnvironment(env);
    QStringList args{QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                     QStringLiteral("--host=") + url.host,
                     QStringLiteral("--port=") + QString::number(url.port),
                     QStringLiteral("--file=") + temp};
    if (!url.user.isEmpty())
        args << QStringLiteral("--username=") + url.user;
    args << url.database;
    process.start(pgDump, args);
    const bool finished = process.waitForStarted(10000) && process.waitForFinished(10 * 60 * 1000);
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        QString why = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        if (why.isEmpty())
            why = process.errorString();
        if (!finished)
            process.kill();
        QFile::remove(temp);
        result.problem =
            QStringLiteral("The backup %1 could not be written: %2").arg(native(target), why);
        return result;
    }
    QString why;
    if (!replaceFile(temp, target, &why)) {
        result.problem =
            QStringLiteral("The backup %1 could not be written: %2").arg(native(target), why);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace

QString findPgDump() {
    QString found = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    if (!found.isEmpty())
        return found;
    // Debian keeps the versioned tools outside PATH when the wrapper is missing.
    QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : versions) {
        const QString candidate = lib.filePath(v + QStringLiteral("/bin/pg_dump"));
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
}

CopyResult copyDatabase(const core::DatabaseUrl& url, const QString& target,
                        const QString& pgDump) {
    QString problem;
    if (!prepareWritableFolder(QFileInfo(target).absolutePath(), &problem))
        return {
            false,
            QStringLiteral("The backup %1 could not be written: %2").arg(native(target), problem)};
    return url.engine == Engine::Sqlite ? copySqlite(url, target)
                                        : copyPostgres(url, target, pgDump);
}

BackgroundCopy::BackgroundCopy(std::function<CopyResult()> copy, QObject* parent)
    : QObject(parent) {
    worker_.reset(QThread::create([this, copy = std::move(copy)] {
        try {
            result_ = copy();
        } catch (const std::exception& e) {
            result_ = {false, QString::fromLocal8Bit(e.what())};
        }
    }));
    // Queued to this object's thread: the result is read there only after the
    // worker has finished writing it.
    connect(worker_.get(), &QThread::finished, this, [this] { emit finished(result_); });
    worker_->start();
}

BackgroundCopy::~BackgroundCopy() {
    worker_->wait();
}

bool BackgroundCopy::isRunning() const {
    return !worker_->isFinished();
}

CopyResult BackgroundCopy::await(QWidget* parent) {
    QEventLoop loop;
    // Connected before the test below, so an end in between still stops the loop.
    connect(worker_.get(), &QThread::finished, &loop, &QEventLoop::quit);
    if (!worker_->isFinished()) {
        QProgressDialog progress(QStringLiteral("Backup in process please wait"), QString(), 0, 0,
                                 parent);
        progress.setWindowTitle(QStringLiteral("Tarvex Backup"));
        progress.setCancelButton(nullptr);
        // Modal: the window under it takes no input (OK cannot run twice) but still draws.
        progress.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
        progress.setMinimumDuration(0);
        progress.show();
        loop.exec();
    }
    worker_->wait();
    return result_;
}

CopyResult copyInBackground(QWidget* parent, const std::function<CopyResult()>& copy) {
    BackgroundCopy running(copy);
    return running.await(parent);
}

QString backupFileName(const QDate& day) {
    return QStringLiteral("Tarvex") + QStringLiteral("%1").arg(day.day(), 2, 10, QLatin1Char('0'));
}

QString startupCopyPath(const Database& db, const QString& dataDir) {
    return QDir(dataDir).filePath(db.engine() == Engine::Sqlite
                                      ? QStringLiteral("DairyBackup.db")
                                      : QStringLiteral("DairyBackup.pgdump"));
}

bool prepareWritableFolder(const QString& dir, QString* problem) {
    auto fail = [&](const QString& text) {
        if (problem)
            *problem = text;
        return false;
    };
    if (dir.isEmpty())
        return fail(QStringLiteral("No folder was given."));
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir())
        return fail(QStringLiteral("%1 is a file, not a folder.").arg(native(dir)));
    if (!info.exists() && !QDir().mkpath(dir))
        return fail(QStringLiteral("The folder %1 cannot be made.").arg(native(dir)));
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".stokara-write-test-XXXXXX")));
    if (!probe.open())
        return fail(QStringLiteral("The folder %1 cannot be written.").arg(native(dir)));
    return true;
}

QString chooseBackupFolder(const QString& preferred, const QString& dataDir, QString* problem) {
    QString why;
    if (!preferred.isEmpty() && prepareWritableFolder(preferred, &why))
        return native(QDir::cleanPath(preferred));
    if (!preferred.isEmpty() && problem)
        *problem = QStringLiteral("The backup place %1 cannot be used (%2); backups go to "
                                  "the data folder %3.")
                       .arg(native(preferred), why, native(dataDir));
    return native(QDir::cleanPath(dataDir));
}

void recordBackupFolder(Database& db, const QString& folder, QString* problem) {
    if (folder.size() > 200) {
        if (problem)
            *problem = QStringLiteral("The backup folder %1 is longer than 200 characters and "
                                      "cannot be stored.")
                           .arg(folder);
        return;
    }
    if (db.isSqlite())
        db.exec(QStringLiteral("update dairysetting set backuppath = ?"), {folder});
    else // one statement, so two counters starting together cannot both fill it
        db.exec(QStringLiteral("update dairysetting set backuppath = ? "
                               "where coalesce(trim(backuppath), '') = ''"),
                {folder});
}

bool isSoundSqliteFile(const QString& path, QString* why) {
    auto fail = [&](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0)
        return fail(QStringLiteral("no such file"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16))
        return fail(QStringLiteral("not an SQLite database"));
    f.close();
    // Opened read-only with Qt SQL directly: checking a backup must never change
    // it (the program's own connection would switch it to WAL).
    const QString name = QStringLiteral("stokara-check-") + QUuid::createUuid().toString();
    QString verdict;
    {
        QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        check.setDatabaseName(info.absoluteFilePath());
        check.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!check.open()) {
            verdict = check.lastError().text();
        } else {
            // The bill-number index is built on val(); without it every shop file
            // would fail its check.
            core::installSqliteFunctions(check);
            QSqlQuery q(check);
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
                verdict = q.lastError().databaseText();
            else if (q.next())
                verdict = q.value(0).toString();
            else
                verdict = QStringLiteral("integrity check gave no answer");
        }
        check.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (verdict == QLatin1String("ok"))
        return true;
    return fail(verdict.isEmpty() ? QStringLiteral("damaged") : verdict);
}

} // namespace stokara::app
