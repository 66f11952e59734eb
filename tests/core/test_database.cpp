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
        db().exec(QStringLiteral("create table people (code varchar(10), name varchar(40), "
                                 "amount numeric(9,2), day date)"));
    }
    void cleanup() { t.reset(); }

    void boundTextIsStoredAsTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "D'Souza";
        QTest::newRow("quotes and semicolon") << "a'; drop table people; --";
        QTest::newRow("hindi") << QString::fromUtf8("रामलाल");
        QTest::newRow("empty") << "";
    }
    void boundTextIsStoredAsTyped() {
        QFETCH(QString, name);
        db().exec(QStringLiteral("insert into people (code, name) values (?, ?)"),
                  {QStringLiteral("1"), name});
        QCOMPARE(db().scalar(QStringLiteral("select name from people where code = ?"),
                             {QStringLiteral("1")})
                     .toString(),
                 name);
        QVERIFY(db().tableExists(QStringLiteral("people")));
    }

    void valOrdersCodesNumerically() {
        for (const char* code : {"10", "9", "abc", "100", "12abc"})
            db().exec(QStringLiteral("insert into people (code) values (?)"),
                      {QString::fromLatin1(code)});
        Rows rows = db().query(QStringLiteral("select code from people order by val(code)"));
        QStringList order;
        for (const Row& r : rows)
            order << r.text(0);
        QCOMPARE(order, QStringList({"abc", "9", "10", "12abc", "100"}));
        QCOMPARE(db().scalar(QStringLiteral("select max(val(code)) from people")).toDouble(),
                 100.0);
    }

    void datesRoundTrip() {
        db().exec(QStringLiteral("insert into people (code, day) values (?, ?)"),
                  {QStringLiteral("1"), QDate(2024, 4, 3)});
        Rows rows = db().query(QStringLiteral("select day from people where day <= ?"),
                               {QDate(2024, 4, 3)});
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].date(QStringLiteral("DAY")), QDate(2024, 4, 3));
        QCOMPARE(
            db().query(QStringLiteral("select day from people where day < ?"), {QDate(2024, 4, 3)})
                .size(),
            size_t(0));
    }

    void amountsReadBackAsNumbers() {
        db().exec(QStringLiteral("insert into people (code, amount) values (?, ?)"),
                  {QStringLiteral("1"), 12.5});
        Rows rows = db().query(QStringLiteral("select amount from people"));
        QCOMPARE(rows[0].number(QStringLiteral("Amount")), 12.5);
        QCOMPARE(rows[0].text(0), QStringLiteral("12.5"));
    }

    void transactionIsAllOrNothing() {
        try {
            Transaction tx(db());
            db().exec(QStringLiteral("insert into people (code) values ('1')"));
            db().exec(QStringLiteral("insert into nowhere values (1)"));
            tx.commit();
            QFAIL("the second statement should have failed");
        } catch (const DbError& e) {
            QVERIFY(!e.description().isEmpty());
        }
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from people")).toInt(), 0);
        QCOMPARE(db().transactionDepth(), 0);

        {
            Transaction tx(db());
            db().exec(QStringLiteral("insert into people (code) values ('2')"));
            tx.commit();
        }
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from people")).toInt(), 1);
    }

    void nestedTransactionRollsBackOnlyItsPart() {
        Transaction outer(db());
        db().exec(QStringLiteral("insert into people (code) values ('1')"));
        {
            Transaction inner(db());
            db().exec(QStringLiteral("insert into people (code) values ('2')"));
        } // not committed
        QVERIFY(!db().tryExec(QStringLiteral("insert into nowhere values (1)")));
        db().exec(QStringLiteral("insert into people (code) values ('3')"));
        outer.commit();
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from people")).toInt(), 2);
    }

    void exclusiveTransactionsSerialiseTwoCounters() {
        auto other = t->openAnother();
        {
            Transaction mine(db(), 42);
            db().exec(QStringLiteral("insert into people (code) values ('1')"));
            mine.commit();
        }
        Transaction theirs(*other, 42);
        other->exec(QStringLiteral("insert into people (code) values ('2')"));
        theirs.commit();
        QCOMPARE(db().scalar(QStringLiteral("select count(*) from people")).toInt(), 2);
    }

    void failureCarriesEngineCodeAndText() {
        try {
            db().query(QStringLiteral("select * from no_such_table"));
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY(!e.number().isEmpty());
            QVERIFY(e.description().contains(QStringLiteral("no_such_table")));
        }
    }

    void columnsAreFoundWithoutCase() {
        QVERIFY(db().columnExists(QStringLiteral("PEOPLE"), QStringLiteral("Name")));
        QVERIFY(!db().columnExists(QStringLiteral("people"), QStringLiteral("nothing")));
    }
};

QTEST_GUILESS_MAIN(TestCoreDatabase)
#include "test_database.moc"
