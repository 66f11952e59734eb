// A shop's SQLite file is an ordinary database: the sqlite3 shell, with none
// of the program's functions, can write, check, vacuum and recover it,
// and the program opens it with trusted_schema off.
#include "core/database.h"
#include "reliability.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace stokara;

namespace {

// Runs statements through the sqlite3 shell, which knows none of the program's
// functions; "" when they ran, else what the shell said. The first value of the
// first row goes to *firstValue.
QString plainExec(const QString& file, const QString& sql, QString* firstValue = nullptr) {
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), file, sql});
    if (!shell.waitForFinished(60000))
        return QStringLiteral("the sqlite3 shell did not run");
    if (firstValue)
        *firstValue = QString::fromUtf8(shell.readAllStandardOutput()).section('\n', 0, 0);
    const QString error = QString::fromUtf8(shell.readAllStandardError()).trimmed();
    return shell.exitCode() == 0 && error.isEmpty() ? QString() : error + QStringLiteral(" ");
}

// Whether the shell's .recover works on a file it made itself: some builds of
// the shell lack what .recover needs, whatever the file.
bool shellCanRecover(const QString& shell, const QTemporaryDir& dir) {
    const QString control = dir.filePath(QStringLiteral("control.db"));
    QFile::remove(control);
    QProcess make;
    make.start(shell, {control, QStringLiteral("create table t (x); insert into t values (1);")});
    make.waitForFinished(30000);
    QProcess recover;
    recover.start(shell, {control, QStringLiteral(".recover")});
    recover.waitForFinished(30000);
    const bool works = recover.exitCode() == 0 && recover.readAllStandardError().isEmpty();
    if (!works)
        std::printf("  outside_tools: this sqlite3 shell cannot .recover even a file it made "
                    "itself; .dump reads the file instead\n");
    return works;
}

// A database as an earlier version made it: the bill-number index on val().
void makeOldStyleIndex(core::Database& db) {
    db.exec(QStringLiteral("DROP INDEX idx_itemsale_valdocno"));
    db.exec(QStringLiteral("CREATE INDEX idx_itemsale_valdocno ON itemsale (val(doc_no))"));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    reliability::Tally tally(QStringLiteral("outside_tools"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dairy.db"));

    for (const bool upgradedFromOld : {false, true}) {
        QFile::remove(file);
        const QString how =
            upgradedFromOld ? QStringLiteral("upgraded file") : QStringLiteral("new file");
        try {
            auto db = core::Database::open(QStringLiteral("sqlite:") + file);
            schema::createNewDatabase(*db);
            if (upgradedFromOld) {
                makeOldStyleIndex(*db);
                schema::upgradeDatabase(*db);
            }
            for (int bill = 1; bill <= 30; ++bill)
                db->exec(
                    QStringLiteral("insert into itemsale (Doc_No, Doc_dt, Party_code, "
                                   "item_name, qty, rate, net_amt) values (?, ?, ?, ?, ?, ?, ?)"),
                    {QString::number(bill), QDate(2026, 4, 1), QStringLiteral("1"),
                     QStringLiteral("CF PELLET"), 2, 450, 900});
        } catch (const core::DbError& e) {
            tally.attempt(false, how + QStringLiteral(": the program could not make it: ") +
                                     e.description());
            continue;
        }

        const struct {
            const char* what;
            const char* sql;
        } statements[] = {
            {"insert into itemsale",
             "insert into itemsale (Doc_No, Party_code, item_name, qty) values ('31', '2', "
             "'MINERAL MIX', 1)"},
            {"update itemsale", "update itemsale set qty = 3 where Doc_No = '31'"},
            {"delete from itemsale", "delete from itemsale where Doc_No = '31'"},
            {"REINDEX", "REINDEX"},
            {"VACUUM", "VACUUM"},
            {"insert with trusted_schema=OFF",
             "PRAGMA trusted_schema=OFF; insert into itemsale (Doc_No, item_name) values ('32', "
             "'GHEE')"},
        };
        for (const auto& s : statements) {
            const QString why = plainExec(file, QString::fromLatin1(s.sql));
            tally.attempt(why.isEmpty(), how + QLatin1Char(' ') + QLatin1String(s.what) +
                                             QStringLiteral(": ") + why);
        }
        QString verdict;
        const QString why = plainExec(file, QStringLiteral("PRAGMA integrity_check"), &verdict);
        tally.attempt(why.isEmpty() && verdict == QLatin1String("ok"),
                      how + QStringLiteral(" integrity_check: ") + why + verdict);

        // The highest bill number read through the index agrees with val().
        try {
            auto db = core::Database::open(QStringLiteral("sqlite:") + file);
            const int viaCast =
                db->scalar(QStringLiteral("select max(CAST(doc_no AS INTEGER)) from itemsale"))
                    .toInt();
            const int viaVal =
                db->scalar(QStringLiteral("select max(val(doc_no)) from itemsale")).toInt();
            tally.attempt(viaCast == 32 && viaVal == 32,
                          how + QStringLiteral(": highest bill %1 by CAST, %2 by val()")
                                    .arg(viaCast)
                                    .arg(viaVal));
        } catch (const core::DbError& e) {
            tally.attempt(false, how + QStringLiteral(": the program could not reopen it: ") +
                                     e.description());
        }

        // The shell's .recover (or, where this shell cannot recover even a file it
        // made itself, its .dump) writes a database that holds every row.
        const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (shell.isEmpty()) {
            tally.attempt(false, QStringLiteral("no sqlite3 shell on this machine"));
            continue;
        }
        const QString command =
            shellCanRecover(shell, dir) ? QStringLiteral(".recover") : QStringLiteral(".dump");
        QProcess recover;
        recover.start(shell, {file, command});
        recover.waitForFinished(60000);
        const QByteArray dump = recover.readAllStandardOutput();
        const QString recovered = dir.filePath(QStringLiteral("recovered.db"));
        QFile::remove(recovered);
        QProcess load;
        load.start(shell, {recovered});
        load.write(dump);
        load.closeWriteChannel();
        load.waitForFinished(60000);
        QString count;
        const QString loadWhy =
            plainExec(recovered, QStringLiteral("select count(*) from itemsale"), &count);
        tally.attempt(recover.exitCode() == 0 && load.exitCode() == 0 && loadWhy.isEmpty() &&
                          count == QLatin1String("31"),
                      how + QLatin1Char(' ') + command + QStringLiteral(": ") +
                          QString::fromUtf8(recover.readAllStandardError()) + loadWhy +
                          QStringLiteral(" rows ") + count);
    }
    return tally.finish();
}
