#include "core/database.h"
#include "demo/demo_database.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;

class TestDemoDatabase : public QObject {
    Q_OBJECT

private slots:
    void firstUseMakesASmallShop() {
        QTemporaryDir data;
        const QString folder = QDir(data.path()).filePath(QStringLiteral("demo"));
        const QDate today(2024, 4, 15);
        demo::DemoDatabase d = demo::openDemoDatabase(folder, today);
        QVERIFY(d.created);
        QCOMPARE(d.url, QStringLiteral("sqlite:") + folder + QStringLiteral("/dairy.db"));
        QVERIFY(QFileInfo::exists(demo::demoDatabasePath(folder)));
        // Only the finished file is left in the folder.
        const QStringList files = QDir(folder).entryList(QDir::Files);
        QVERIFY2(!files.join(QLatin1Char(' ')).contains(QLatin1String("building")),
                 qPrintable(files.join(QLatin1Char(' '))));

        core::Database& db = *d.db;
        const int parties = db.scalar(QStringLiteral("select count(*) from masparty")).toInt();
        QVERIFY(parties >= 24 && parties <= 60);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from masparty where CardNo is null or "
                                          "ph is null"))
                     .toInt(),
                 0);
        const int items = db.scalar(QStringLiteral("select count(*) from masitem")).toInt();
        QVERIFY(items >= 8 && items <= 20);
        QVERIFY(db.scalar(QStringLiteral("select count(*) from BOM")).toInt() > 0);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from compmaster")).toInt(), 1);
        QVERIFY(!db.scalar(QStringLiteral("select CompName from compmaster")).toString().isEmpty());
        for (const char* table :
             {"itemsale", "ItemPurchases", "daybook", "masvendor", "accounthead"})
            QVERIFY2(db.scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
                             .toInt() > 0,
                     table);
        // Some months of trade, up to today.
        const QDate first =
            db.query(QStringLiteral("select min(Doc_dt) from itemsale")).front().date(0);
        const QDate last =
            db.query(QStringLiteral("select max(Doc_dt) from itemsale")).front().date(0);
        QVERIFY(last <= today && last >= today.addDays(-3));
        QVERIFY(first.daysTo(today) >= 60);
        // The login works with the installed password, and the SMS account is not set up.
        QVERIFY(db.tableExists(QStringLiteral("masspass")));
        if (db.tableExists(QStringLiteral("dairysetting")))
            QCOMPARE(db.scalar(QStringLiteral("select count(*) from dairysetting where SmsId <> "
                                              "'' or SmsPwd <> ''"))
                         .toInt(),
                     0);
    }

    void laterUsesReuseTheFileAsLeft() {
        QTemporaryDir data;
        const QString folder = data.path();
        {
            demo::DemoDatabase d = demo::openDemoDatabase(folder, QDate(2024, 4, 15));
            QVERIFY(d.created);
            d.db->exec(QStringLiteral("delete from itemsale where Doc_No = ?"),
                       {QStringLiteral("1")});
            d.db->exec(QStringLiteral("update masparty set Party_name = ? where party_code = ?"),
                       {QStringLiteral("Tried It Out"), QStringLiteral("1")});
        }
        // A later start, even on another day, finds the shop as it was left.
        const QString url = demo::ensureDemoDatabase(folder, QDate(2024, 9, 1));
        QCOMPARE(url, QStringLiteral("sqlite:") + demo::demoDatabasePath(folder));
        demo::DemoDatabase again = demo::openDemoDatabase(folder, QDate(2024, 9, 1));
        QVERIFY(!again.created);
        QCOMPARE(again.db
                     ->scalar(QStringLiteral("select Party_name from masparty where "
                                             "party_code = ?"),
                              {QStringLiteral("1")})
                     .toString(),
                 QStringLiteral("Tried It Out"));
        QCOMPARE(again.db
                     ->scalar(QStringLiteral("select count(*) from itemsale where Doc_No = ?"),
                              {QStringLiteral("1")})
                     .toInt(),
                 0);
        // Not made again for the later day.
        QCOMPARE(
            again.db->query(QStringLiteral("select max(Doc_dt) from itemsale")).front().date(0),
            QDate(2024, 4, 15));
    }

    void aFolderThatCannotBeMadeIsReported() {
        QTemporaryDir data;
        const QString blocker = QDir(data.path()).filePath(QStringLiteral("file"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        // A plain file where the folder should be.
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 demo::openDemoDatabase(QDir(blocker).filePath("demo")));
        QVERIFY(!QFileInfo::exists(QDir(blocker).filePath("demo")));
    }
};

QTEST_GUILESS_MAIN(TestDemoDatabase)
#include "test_demo_database.moc"
