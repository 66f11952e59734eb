#include "app_test_kit.h"

#include "app/backup.h"
#include "schema/schema.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace stokara;
using stokara::test::TestSession;

class BackupTest : public QObject {
    Q_OBJECT

private slots:
    void backupFolderIsThePreferredPlaceWhenUsable_data() {
        QTest::addColumn<QString>("preferred"); // relative to a temp folder; "-" none
        QTest::addColumn<bool>("usable");
        QTest::newRow("no preferred place") << "-" << false;
        QTest::newRow("preferred place is made") << "usb/MilvoraBackup" << true;
        QTest::newRow("preferred place under a file") << "file/sub" << false;
    }
    void backupFolderIsThePreferredPlaceWhenUsable() {
        QFETCH(QString, preferred);
        QFETCH(bool, usable);
        QTemporaryDir root;
        QDir(root.path()).mkpath("usb");
        QFile file(root.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString place = preferred == "-" ? QString() : root.filePath(preferred);
        const QString dataDir = root.filePath("data");
        QString problem;
        QCOMPARE(app::chooseBackupFolder(place, dataDir, &problem),
                 QDir::toNativeSeparators(usable ? place : dataDir));
        if (usable)
            QVERIFY(QFileInfo(place).isDir());
        // An unusable place says so; no place given is not a problem.
        QCOMPARE(problem.isEmpty(), usable || place.isEmpty());
        if (!problem.isEmpty())
            QVERIFY(problem.contains(QDir::toNativeSeparators(place)));
    }

    // Another counter is in the middle of writing while the backup is taken:
    // the copy is a sound database holding what was committed, not the half.
    void backupWhileAnotherConnectionWritesIsSound() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        auto other = t.database.openAnother();
        other->exec("insert into masitem (item_name) values (?)", {"COMMITTED FEED"});
        QTemporaryDir out;
        const QString target = out.filePath("Tarvex15");
        QFile old(target); // last month's copy of the same day is overwritten
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last month's copy");
        old.close();
        {
            core::Transaction tx(*other);
            for (int i = 0; i < 200; ++i)
                other->exec("insert into masitem (item_name) values (?)",
                            {QString("PENDING %1").arg(i)});
            const app::CopyResult copy = app::copyDatabase(t.db().url(), target);
            QVERIFY2(copy.ok, qPrintable(copy.problem));
            tx.commit();
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{"Tarvex15"});
        if (t.db().isSqlite()) {
            QVERIFY(test::sqliteIntegrityOk(target));
            auto copy = core::Database::open("sqlite:" + target);
            QCOMPARE(
                copy->scalar("select count(*) from masitem where item_name = ?", {"COMMITTED FEED"})
                    .toInt(),
                1);
            QCOMPARE(copy->scalar("select count(*) from masitem where item_name like 'PENDING%'")
                         .toInt(),
                     0);
        } else {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.read(5), QByteArray("PGDMP"));
            f.close();
            const QString restore = QStandardPaths::findExecutable("pg_restore");
            if (!restore.isEmpty()) {
                QProcess p;
                p.start(restore, {"--list", target});
                QVERIFY(p.waitForFinished(60000));
                QCOMPARE(p.exitCode(), 0);
                QVERIFY(p.readAllStandardOutput().contains("masitem"));
            }
        }
    }

    void postgresWithoutPgDumpSaysSo() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        if (t.db().isSqlite())
            QSKIP("pg_dump only serves PostgreSQL");
        QTemporaryDir out;
        const app::CopyResult copy =
            app::copyDatabase(t.db().url(), out.filePath("Tarvex15"), "/nonexistent/pg_dump");
        QVERIFY(!copy.ok);
        QVERIFY(copy.problem.contains("pg_dump"));
        QVERIFY(!QFileInfo::exists(out.filePath("Tarvex15")));
    }
};

QTEST_MAIN(BackupTest)
#include "test_backup.moc"
