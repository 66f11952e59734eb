#include "app_test_kit.h"

#include "app/backup.h"
#include "app/repair.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace stokara;
using Outcome = app::RepairReport::Outcome;

namespace {

// A small shop file with enough rows to span many pages.
void makeShop(const QString& path, const QString& marker) {
    auto db = core::Database::open("sqlite:" + path);
    db->exec("create table masitem (item_name varchar(40), rate numeric(9,2))");
    db->exec("create index idx_item on masitem (item_name)");
    // Like the shop's bill-number index: checking or copying needs val().
    db->exec("create index idx_item_rate on masitem (val(rate))");
    core::Transaction tx(*db);
    for (int i = 0; i < 3000; ++i)
        db->exec("insert into masitem (item_name, rate) values (?, ?)",
                 {QString("%1 ITEM %2").arg(marker).arg(i), i * 1.5});
    tx.commit();
    db->exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

// Overwrites table pages in the middle of the file.
void damage(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    for (qint64 at = 4096 * 2; at < size - 4096; at += 4096 * 3) {
        f.seek(at + 8);
        f.write(QByteArray(3000, char(0x5a)));
    }
}

void setMtime(const QString& path, int day, int hour) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime(QDate(2024, 4, day), QTime(hour, 0)),
                          QFileDevice::FileModificationTime));
}

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class RepairTest : public QObject {
    Q_OBJECT

    struct Fixture {
        QTemporaryDir root;
        QString data, backups, db;
        test::ScriptedDialogs dialogs;
        core::FixedClock clock{QDateTime(QDate(2024, 4, 15), QTime(10, 0))};
        app::RepairSettings settings;
        Fixture()
            : data(root.filePath("data")), backups(root.filePath("usb")), db(data + "/dairy.db") {
            QDir().mkpath(data);
            QDir().mkpath(backups);
            settings.databaseUrl = "sqlite:" + db;
            settings.backupFolders = {backups, data};
            settings.waitForExclusiveMs = 600;
        }
    };

private slots:
    void soundDatabaseIsRebuiltWithItsData() {
        Fixture f;
        makeShop(f.db, "LIVE");
        const app::RepairReport r = app::repairDatabase(f.settings, f.dialogs, f.clock);
        QCOMPARE(r.outcome, Outcome::Rebuilt);
        QVERIFY(test::sqliteIntegrityOk(f.db));
        auto db = core::Database::open("sqlite:" + f.db);
        QCOMPARE(db->scalar("select count(*) from masitem").toInt(), 3000);
        QCOMPARE(f.dialogs.shown.size(), 1); // the report, no question
        QCOMPARE(f.dialogs.shown.first().title, QStringLiteral("Repair Database"));
        QVERIFY(f.dialogs.shown.first().text.contains("rebuilt"));
        QCOMPARE(QDir(f.data).entryList(QStringList{"*damaged*"}, QDir::Files).size(), 0);
    }

    void damagedFileIsSetAsideAndNewestSoundBackupRestored_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("operator agrees") << true;
        QTest::newRow("operator declines") << false;
    }
    void damagedFileIsSetAsideAndNewestSoundBackupRestored() {
        QFETCH(bool, yes);
        Fixture f;
        makeShop(f.db, "LIVE");
        damage(f.db);
        const QByteArray damagedBytes = bytes(f.db);
        QVERIFY(!app::isSoundSqliteFile(f.db));
        // Backups: an older sound one, the newest one damaged, a start-up copy in between.
        makeShop(f.backups + "/Tarvex13", "OLDEST");
        makeShop(f.data + "/DairyBackup.db", "STARTUP");
        makeShop(f.backups + "/Tarvex14", "NEWEST");
        damage(f.backups + "/Tarvex14");
        setMtime(f.backups + "/Tarvex13", 13, 9);
        setMtime(f.data + "/DairyBackup.db", 14, 8);
        setMtime(f.backups + "/Tarvex14", 14, 9);
        f.dialogs.answer(yes ? core::Answer::Yes : core::Answer::No);

        const app::RepairReport r = app::repairDatabase(f.settings, f.dialogs, f.clock);

        // Set aside, byte for byte, never deleted.
        QVERIFY(!r.setAsideAs.isEmpty());
        QCOMPARE(bytes(r.setAsideAs), damagedBytes);
        QVERIFY(r.setAsideAs.contains("damaged"));
        // Asked first, then the report.
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown[0].buttons, core::Buttons::YesNo);
        QVERIFY(f.dialogs.shown[0].text.contains("DairyBackup.db"));
        QVERIFY(f.dialogs.shown[1].text.contains(QDir::toNativeSeparators(r.setAsideAs)));
        if (yes) {
            QCOMPARE(r.outcome, Outcome::Restored);
            QVERIFY(r.restoredFrom.endsWith("DairyBackup.db"));
            auto db = core::Database::open("sqlite:" + f.db);
            QCOMPARE(
                db->scalar("select count(*) from masitem where item_name like 'STARTUP%'").toInt(),
                3000);
            QVERIFY(test::sqliteIntegrityOk(f.db));
        } else {
            QCOMPARE(r.outcome, Outcome::SetAside);
            QVERIFY(!QFileInfo::exists(f.db));
        }
        // The backups themselves are untouched.
        QVERIFY(QFileInfo::exists(f.backups + "/Tarvex13"));
        QVERIFY(QFileInfo::exists(f.data + "/DairyBackup.db"));
    }

    // Damage confined to an index is mended in place: the rows all stay.
    void damagedIndexIsRebuiltWithoutLoss() {
        Fixture f;
        {
            auto db = core::Database::open("sqlite:" + f.db);
            db->exec("create table masparty (party_code varchar(10), party_name varchar(40))");
            db->exec("create index idx_party on masparty (party_code)");
            for (int i = 1; i <= 50; ++i)
                db->exec("insert into masparty values (?, ?)",
                         {QString::number(i), QString("Party %1").arg(i)});
            // The index's stored entries no longer match what it claims to index.
            db->exec("PRAGMA writable_schema=ON");
            db->exec(
                "update sqlite_master set sql = 'CREATE INDEX idx_party ON masparty (party_name)' "
                "where name = 'idx_party'");
            db->exec("PRAGMA wal_checkpoint(TRUNCATE)");
        }
        QVERIFY(!app::isSoundSqliteFile(f.db));
        const app::RepairReport r = app::repairDatabase(f.settings, f.dialogs, f.clock);
        QCOMPARE(r.outcome, Outcome::Rebuilt);
        QVERIFY(r.setAsideAs.isEmpty());
        QVERIFY(test::sqliteIntegrityOk(f.db));
        auto db = core::Database::open("sqlite:" + f.db);
        QCOMPARE(db->scalar("select count(*) from masparty").toInt(), 50);
        QVERIFY(f.dialogs.lastText().contains("indexes were rebuilt"));
    }

    void fileInUseIsLeftUnchanged() {
        Fixture f;
        makeShop(f.db, "LIVE");
        auto holder = core::Database::open("sqlite:" + f.db); // Stokara still running
        holder->scalar("select count(*) from masitem");
        const QByteArray before = bytes(f.db);
        const app::RepairReport r = app::repairDatabase(f.settings, f.dialogs, f.clock);
        QCOMPARE(r.outcome, Outcome::InUse);
        QCOMPARE(bytes(f.db), before);
        QVERIFY(f.dialogs.lastText().contains("Nothing was changed"));
    }
};

QTEST_MAIN(RepairTest)
#include "test_repair.moc"
