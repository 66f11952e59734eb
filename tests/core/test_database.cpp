#include "support/test_database.h"
#include "core/database.h"

#include <QTest>

using namespace stokara::core;
using stokara::test::TestDatabase;

class TestCoreDatabase : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> t;
    Database& db() { return t->db(); }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<TestDatabase>(TestDatabase::Content::Empty);
        db().exec(QString("create table people (code varchar(10), name varchar(40), "
                          "amount numeric(9,2), day date)"));
    }
    void cleanup() { t.reset(); }

    void valOrdersCodesNumerically() {
        for (const char* code : {"10", "9", "abc", "100", "12abc"})
            db().exec(QString("insert into people (code) values (?)"), {QString::fromLatin1(code)});
        Rows rows = db().query(QString("select code from people order by val(code)"));
        QStringList order;
        for (const Row& r : rows)
            order << r.text(0);
        QCOMPARE(order, QStringList({"abc", "9", "10", "12abc", "100"}));
        QCOMPARE(db().scalar(QString("select max(val(code)) from people")).toDouble(), 100.0);
    }

    void datesAndAmountsRoundTrip() {
        db().exec(QString("insert into people (code, day, amount) values (?, ?, ?)"),
                  {QString("1"), QDate(2024, 4, 3), 12.5});
        Rows rows = db().query(QString("select day, amount from people where day <= ?"),
                               {QDate(2024, 4, 3)});
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].date(QString("DAY")), QDate(2024, 4, 3));
        QCOMPARE(rows[0].number(QString("Amount")), 12.5);
        QCOMPARE(rows[0].text(1), QString("12.5"));
        QCOMPARE(
            db().scalar(QString("select count(*) from people where day < ?"), {QDate(2024, 4, 3)})
                .toInt(),
            0);
    }

    void nestedTransactionRollsBackOnlyItsPart() {
        Transaction outer(db());
        db().exec(QString("insert into people (code) values ('1')"));
        {
            Transaction inner(db());
            db().exec(QString("insert into people (code) values ('2')"));
        } // not committed
        QVERIFY(!db().tryExec(QString("insert into nowhere values (1)")));
        db().exec(QString("insert into people (code) values ('3')"));
        outer.commit();
        QCOMPARE(db().scalar(QString("select count(*) from people")).toInt(), 2);
    }

    void failureCarriesEngineCodeAndText() {
        try {
            db().query(QString("select * from no_such_table"));
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY(!e.number().isEmpty());
            QVERIFY(e.description().contains(QString("no_such_table")));
        }
    }
};

QTEST_GUILESS_MAIN(TestCoreDatabase)
#include "test_database.moc"
