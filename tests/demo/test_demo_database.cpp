#include "core/database.h"
#include "demo/demo_database.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;

class TestDemoDatabase : public QObject {
    Q_OBJECT

    static QVariant value(core::Database& db, const char* sql) {
        return db.scalar(QString::fromLatin1(sql));
    }

private slots:
    // First use: a small shop with months of trade up to today, a bill of
    // materials, one shop record and no SMS account; only the finished file is left.
    // Later uses, even on another day, find the shop as the operator left it.
    void madeOnceThenReusedAsLeft() {
        QTemporaryDir data;
        const QString folder = QDir(data.path()).filePath(QString("demo"));
        const QDate today(2024, 4, 15);
        {
            demo::DemoDatabase d = demo::openDemoDatabase(folder, today);
            QVERIFY(d.created);
            QCOMPARE(d.url, "sqlite:" + demo::demoDatabasePath(folder));
            QCOMPARE(QDir(folder).entryList(QDir::Files).filter("building"), QStringList());
            core::Database& db = *d.db;
            QVERIFY(value(db, "select count(*) from masparty").toInt() >= 24);
            QCOMPARE(value(db, "select count(*) from masparty where CardNo is null or ph is null"),
                     QVariant(0));
            QVERIFY(value(db, "select count(*) from BOM").toInt() > 0);
            QCOMPARE(value(db, "select count(*) from compmaster").toInt(), 1);
            QCOMPARE(
                value(db, "select count(*) from dairysetting where SmsId <> '' or SmsPwd <> ''")
                    .toInt(),
                0);
            const core::Row span =
                db.query(QString("select min(Doc_dt), max(Doc_dt) from itemsale")).front();
            QVERIFY(span.date(0).daysTo(today) >= 60);
            QVERIFY(span.date(1) <= today && span.date(1) >= today.addDays(-3));
            db.exec(QString("update masparty set Party_name = ? where party_code = ?"),
                    {QString("Tried It Out"), QString("1")});
        }
        QCOMPARE(demo::ensureDemoDatabase(folder, QDate(2024, 9, 1)),
                 "sqlite:" + demo::demoDatabasePath(folder));
        demo::DemoDatabase again = demo::openDemoDatabase(folder, QDate(2024, 9, 1));
        QVERIFY(!again.created);
        QCOMPARE(value(*again.db, "select Party_name from masparty where party_code = '1'"),
                 QVariant(QString("Tried It Out")));
        QCOMPARE(again.db->query(QString("select max(Doc_dt) from itemsale")).front().date(0),
                 today);
    }
};

QTEST_GUILESS_MAIN(TestDemoDatabase)
#include "test_demo_database.moc"
