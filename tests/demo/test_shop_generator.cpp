#include "core/database.h"
#include "core/idioms.h"
#include "demo/shop_generator.h"
#include "support/test_database.h"

#include <QTest>

#include <stdexcept>

using namespace stokara;
using stokara::demo::GenerateOptions;
using stokara::test::TestDatabase;

namespace {

qint64 count(core::Database& db, const char* table) {
    return db.scalar(QString("select count(*) from ") + QString::fromLatin1(table)).toLongLong();
}

GenerateOptions small(quint64 seed = 1) {
    GenerateOptions o;
    o.parties = 30;
    o.vlccPercent = 20;
    o.items = 12;
    o.vendors = 4;
    o.accountHeads = 6;
    o.sales = 400;
    o.purchases = 60;
    o.vouchers = 150;
    o.days = 90;
    o.lastDay = QDate(2024, 4, 15);
    o.seed = seed;
    return o;
}

// Every row of the shop's tables, as text, in a fixed order.
QStringList dump(core::Database& db) {
    QStringList lines;
    for (const char* sql :
         {"select * from compmaster", "select * from masparty order by val(party_code)",
          "select * from masitem order by autono", "select * from BOM order by MainItem, SubItem",
          "select * from masvendor order by val(party_code)",
          "select AccountHead, AccountGroup from accounthead order by AccountHead",
          "select * from itemsale order by Auto_No", "select * from ItemPurchases order by Auto_No",
          "select * from daybook order by auto_No"}) {
        for (const core::Row& r : db.query(QString::fromLatin1(sql))) {
            QStringList cells;
            for (int i = 0; i < r.size(); ++i)
                cells << r.text(i);
            lines << cells.join(QLatin1Char('|'));
        }
    }
    return lines;
}

} // namespace

class TestShopGenerator : public QObject {
    Q_OBJECT

private slots:
    // The shop holds together as the screens would have written it: each query
    // counts rows that break a rule.
    void everyRowNamesWhatExists() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        const demo::GenerateResult result = demo::generateShop(t.db(), small());
        core::Database& db = t.db();
        const struct {
            const char* what;
            const char* sql;
        } broken[] = {
            {"sale of an unknown party or item, or in another category",
             "select count(*) from itemsale i where not exists (select 1 from masparty m where "
             "m.party_code = i.Party_code and m.category = i.category) or not exists (select 1 "
             "from masitem m where m.item_name = i.item_name and m.unit = i.unit)"},
            {"a row outside the 90 days up to the last day",
             "select (select count(*) from itemsale where Doc_dt not between '2024-01-17' and "
             "'2024-04-15') + (select count(*) from ItemPurchases where Doc_dt not between "
             "'2024-01-17' and '2024-04-15') + (select count(*) from daybook where Dt not between "
             "'2024-01-17' and '2024-04-15')"},
            {"sale without quantity or rate",
             "select count(*) from itemsale where Qty <= 0 or Rate <= 0 or Net_amt <= 0"},
            {"bill of several parties or days, or of one item twice",
             "select count(*) from (select Doc_No from itemsale group by Doc_No having "
             "count(distinct Party_code) > 1 or count(distinct Doc_dt) > 1 or count(*) > 4 or "
             "count(distinct item_name) < count(*)) x"},
            {"bill numbered before an earlier day's bill",
             "select count(*) from itemsale a, itemsale b where val(a.Doc_No) < val(b.Doc_No) and "
             "a.Doc_dt > b.Doc_dt"},
            {"purchase from an unknown vendor",
             "select count(*) from ItemPurchases p where not exists (select 1 from masvendor v "
             "where v.Party_Name = p.Party_name)"},
            {"party voucher of an unknown party",
             "select count(*) from daybook d where Category = 'MilkMan' and not exists (select "
             "1 from masparty m where m.party_code = d.party_code and d.AccountHead = "
             "m.Party_name || ' - ' || m.party_code)"},
            {"vendor voucher of an unknown vendor",
             "select count(*) from daybook d where Category = 'Vendor' and not exists (select 1 "
             "from masvendor v where v.party_code = d.party_code and d.AccountHead = "
             "v.party_code || ' - ' || v.Party_Name)"},
            {"voucher of another type or category",
             "select count(*) from daybook where V_Type not in ('Cr','Dr') or Category not in "
             "('MilkMan','Vendor','AccountHead') or Net_Amount <= 0"},
            {"two parties with one card or one name",
             "select count(*) from masparty a, masparty b where a.party_code < b.party_code and "
             "(a.CardNo = b.CardNo or a.Party_name = b.Party_name)"},
            {"BOM of a sub-item or of nothing",
             "select count(*) from BOM b where b.Wt <= 0 or not exists (select 1 from masitem m "
             "where m.item_name = b.MainItem and m.MainItem = 'Y')"},
        };
        for (const auto& b : broken)
            QVERIFY2(db.scalar(QString::fromLatin1(b.sql)).toInt() == 0, b.what);
        // Numbers run 1, 2, 3 ... without gaps.
        QCOMPARE(db.scalar(QString("select max(val(Doc_No)) from itemsale")).toLongLong(),
                 result.bills);
        QCOMPARE(db.scalar(QString("select count(distinct Category) from daybook")).toInt(), 3);
        // Amounts are quantity times rate, rounded as the sale screen rounds them.
        for (const core::Row& r : db.query(QString("select Qty, Rate, Net_amt from itemsale")))
            QCOMPARE(r.number(2), core::round2(r.number(0) * r.number(1)));
    }

    // A shop whose bill numbers pass 99999 keeps them whole on either engine.
    void billNumbersPastFiveDigits() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        GenerateOptions o = small();
        o.sales = 80;
        o.firstBill = 99990;
        const demo::GenerateResult result = demo::generateShop(t.db(), o);
        core::Database& db = t.db();
        QVERIFY(result.bills > 10);
        QCOMPARE(db.scalar(QString("select min(val(Doc_No)) from itemsale")).toLongLong(), 99990);
        QCOMPARE(db.scalar(QString("select max(val(Doc_No)) from itemsale")).toLongLong(),
                 99989 + result.bills);
        QCOMPARE(db.scalar(QString("select count(distinct Doc_No) from itemsale")).toLongLong(),
                 result.bills);
        QVERIFY(
            db.scalar(QString("select count(*) from itemsale where Doc_No = '100000'")).toInt() >
            0);
    }

    void sameSeedSameShop() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase a;
        TestDatabase b;
        TestDatabase c;
        demo::generateShop(a.db(), small(42));
        GenerateOptions chunked = small(42);
        chunked.commitEvery = 13; // transactions of any size write the same rows
        demo::generateShop(b.db(), chunked);
        demo::generateShop(c.db(), small(43));
        // The counts asked for, whatever the transaction size.
        for (const auto& [table, rows] : {std::pair{"masparty", 30},
                                          {"masitem", 12},
                                          {"itemsale", 400},
                                          {"ItemPurchases", 60},
                                          {"daybook", 150},
                                          {"compmaster", 1}})
            QCOMPARE(count(b.db(), table), qint64(rows));
        const QStringList first = dump(a.db());
        QCOMPARE(dump(b.db()), first);
        QVERIFY(dump(c.db()) != first);
    }

    // Nothing is written over a shop that has data, nor for options it cannot honour;
    // a shop record that exists is kept.
    void refusesWhatItCannotDo_data() {
        QTest::addColumn<int>("parties");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("days");
        QTest::newRow("a shop with data") << 30 << 12 << 90;
        QTest::newRow("sales without parties") << 0 << 5 << 10;
        QTest::newRow("party codes beyond 32767") << 32768 << 5 << 10;
        QTest::newRow("more items than the catalogue") << 5 << demo::maxItems() + 1 << 10;
        QTest::newRow("bill numbers beyond ten characters") << 30 << 12 << 90;
    }
    void refusesWhatItCannotDo() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(int, parties);
        QFETCH(int, items);
        QFETCH(int, days);
        TestDatabase t;
        t.db().exec(QString("insert into compmaster (CompName, City) values (?, ?)"),
                    {QString("Ram's Dairy"), QString("Kheri")});
        const bool hasData = QByteArray(QTest::currentDataTag()) == "a shop with data";
        if (hasData)
            demo::generateShop(t.db(), small());
        const QStringList before = dump(t.db());
        GenerateOptions o = small(2);
        o.parties = parties;
        o.items = items;
        o.days = days;
        if (QByteArray(QTest::currentDataTag()) == "bill numbers beyond ten characters")
            o.firstBill = 9999999990LL;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, demo::generateShop(t.db(), o));
        QCOMPARE(dump(t.db()), before);
        QCOMPARE(t.db().scalar(QString("select CompName from compmaster")).toString(),
                 QString("Ram's Dairy"));
    }
};

QTEST_GUILESS_MAIN(TestShopGenerator)
#include "test_shop_generator.moc"
