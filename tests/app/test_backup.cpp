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

    static QString stored(core::Database& db) {
        return db.scalar("select BackupPath from dairysetting").toString();
    }

private slots:
    void fileNameIsTarvexAndTwoDigitDay_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("name");
        QTest::newRow("31st") << QDate(2024, 3, 31) << "Tarvex31";
        QTest::newRow("1st") << QDate(2024, 4, 1) << "Tarvex01";
        QTest::newRow("29 February") << QDate(2024, 2, 29) << "Tarvex29";
    }
    void fileNameIsTarvexAndTwoDigitDay() {
        QFETCH(QDate, day);
        QFETCH(QString, name);
        QCOMPARE(app::backupFileName(day), name);
    }

    void backupPathFollowsPreferredPlace_data() {
        QTest::addColumn<QString>("preferred"); // relative to a temp folder; "-" none
        QTest::addColumn<bool>("usable");
        QTest::newRow("no preferred place") << "-" << false;
        QTest::newRow("preferred place exists") << "usb" << true;
        QTest::newRow("preferred place is made") << "usb/MilvoraBackup" << true;
        QTest::newRow("preferred place under a file") << "file/sub" << false;
    }
    void backupPathFollowsPreferredPlace() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, preferred);
        QFETCH(bool, usable);
        TestSession t;
        QTemporaryDir root;
        QDir(root.path()).mkpath("usb");
        QFile file(root.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString place = preferred == "-" ? QString() : root.filePath(preferred);
        const QString dataDir = root.filePath("data");
        QDir().mkpath(dataDir);
        t.db().exec("update dairysetting set backuppath = ?", {"/elsewhere/chosen/by/hand"});

        QString problem;
        const QString inEffect = app::configureBackupPath(t.db(), place, dataDir, &problem);
        const QString expected = QDir::toNativeSeparators(usable ? place : dataDir);
        QCOMPARE(inEffect, expected);
        QCOMPARE(stored(t.db()), expected);
        if (usable)
            QVERIFY(QFileInfo(place).isDir());
        // An unusable place says so; no place given is not a problem.
        QCOMPARE(problem.isEmpty(), usable || place.isEmpty());
        if (!problem.isEmpty())
            QVERIFY(problem.contains(QDir::toNativeSeparators(place)));
    }

    void backupPathWithoutSettingsRowDoesNothing() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        t.db().exec("delete from dairysetting");
        QCOMPARE(app::configureBackupPath(t.db(), {}, t.dataDir.path()), QString());
        QCOMPARE(t.db().scalar("select count(*) from dairysetting").toInt(), 0);
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
        {
            core::Transaction tx(*other);
            for (int i = 0; i < 200; ++i)
                other->exec("insert into masitem (item_name) values (?)",
                            {QString("PENDING %1").arg(i)});
            const app::CopyResult copy = app::copyDatabase(t.db(), target);
            QVERIFY2(copy.ok, qPrintable(copy.problem));
            tx.commit();
        }
        QVERIFY(!QFileInfo::exists(target + ".part"));
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

    void backupOverwritesYesterdaysFileOfTheSameDay() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        QTemporaryDir out;
        const QString target = out.filePath("Tarvex15");
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last month's copy");
        old.close();
        QVERIFY(app::copyDatabase(t.db(), target).ok);
        QVERIFY(QFileInfo(target).size() > 100);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{"Tarvex15"});
    }

    void unwritableTargetIsReportedAndNothingIsLeft() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        QTemporaryDir out;
        QFile blocker(out.filePath("disk"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const app::CopyResult copy = app::copyDatabase(t.db(), out.filePath("disk/Tarvex15"));
        QVERIFY(!copy.ok);
        // Says that the backup failed, and why.
        QVERIFY2(copy.problem.startsWith("The backup " +
                                         QDir::toNativeSeparators(out.filePath("disk/Tarvex15")) +
                                         " could not be written"),
                 qPrintable(copy.problem));
        QVERIFY(copy.problem.contains("is a file, not a folder"));
    }

    void postgresWithoutPgDumpSaysSo() {
        STOKARA_REQUIRE_DATABASE();
        TestSession t;
        if (t.db().isSqlite())
            QSKIP("pg_dump only serves PostgreSQL");
        QTemporaryDir out;
        const app::CopyResult copy =
            app::copyDatabase(t.db(), out.filePath("Tarvex15"), "/nonexistent/pg_dump");
        QVERIFY(!copy.ok);
        QVERIFY(copy.problem.contains("pg_dump"));
        QVERIFY(!QFileInfo::exists(out.filePath("Tarvex15")));
    }

    void soundnessCheckTellsGoodFromBad() {
        QTemporaryDir dir;
        QFile junk(dir.filePath("Tarvex02"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, 'x'));
        junk.close();
        QVERIFY(!app::isSoundSqliteFile(junk.fileName()));
        QVERIFY(!app::isSoundSqliteFile(dir.filePath("missing")));
        {
            auto db = core::Database::open("sqlite:" + dir.filePath("good.db"));
            db->exec("create table t (a int)");
        }
        QVERIFY(app::isSoundSqliteFile(dir.filePath("good.db")));
        // A whole shop, indexes on val() included, and its backup copy.
        {
            auto db = core::Database::open("sqlite:" + dir.filePath("shop.db"));
            schema::createNewDatabase(*db);
            QVERIFY(app::copyDatabase(*db, dir.filePath("Tarvex03")).ok);
        }
        QString why;
        QVERIFY2(app::isSoundSqliteFile(dir.filePath("shop.db"), &why), qPrintable(why));
        QVERIFY2(app::isSoundSqliteFile(dir.filePath("Tarvex03"), &why), qPrintable(why));
    }
};

QTEST_MAIN(BackupTest)
#include "test_backup.moc"
