#include "core/database.h"
#include "core/idioms.h"
#include "demo/shop_generator.h"
#include "support/test_database.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <stdexcept>

using namespace stokara;
using stokara::demo::GenerateOptions;
using stokara::test::TestDatabase;

namespace {

qint64 count(core::Database& db, const char* table) {
    return db.scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
        .toLongLong();
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
    static const char* const queries[] = {
        "select * from compmaster",
        "select * from vehicle order by val(veh_code)",
        "select * from masparty order by val(party_code)",
        "select * from masitem order by autono",
        "select * from BOM order by MainItem, SubItem",
        "select * from masvendor order by val(party_code)",
        "select AccountHead, AccountGroup from accounthead order by AccountHead",
        "select * from itemsale order by Auto_No",
        "select * from ItemPurchases order by Auto_No",
        "select * from daybook order by auto_No",
    };
    QStringList lines;
    for (const char* sql : queries) {
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
    void writesTheCountsAskedFor_data() {
        QTest::addColumn<int>("parties");
        QTest::addColumn<int>("vlccPercent");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("vendors");
        QTest::addColumn<int>("heads");
        QTest::addColumn<qint64>("sales");
        QTest::addColumn<qint64>("purchases");
        QTest::addColumn<qint64>("vouchers");
        QTest::addColumn<int>("days");
        QTest::addColumn<qint64>("commitEvery");
        QTest::newRow("demo sized") << 36 << 10 << 12 << 5 << 11 << qint64(900) << qint64(80)
                                    << qint64(200) << 180 << qint64(50000);
        QTest::newRow("commits every 7 rows") << 20 << 25 << 10 << 3 << 4 << qint64(333)
                                              << qint64(41) << qint64(97) << 30 << qint64(7);
        QTest::newRow("one item, one day")
            << 3 << 0 << 1 << 1 << 1 << qint64(25) << qint64(2) << qint64(5) << 1 << qint64(50000);
        QTest::newRow("all VLCC, branded items") << 8 << 100 << 45 << 12 << 2 << qint64(150)
                                                 << qint64(30) << qint64(40) << 20 << qint64(50000);
        QTest::newRow("masters only")
            << 5 << 10 << 4 << 2 << 3 << qint64(0) << qint64(0) << qint64(0) << 10 << qint64(50000);
        QTest::newRow("vouchers on heads only") << 0 << 10 << 0 << 0 << 5 << qint64(0) << qint64(0)
                                                << qint64(30) << 10 << qint64(50000);
    }
    void writesTheCountsAskedFor() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(int, parties);
        QFETCH(int, vlccPercent);
        QFETCH(int, items);
        QFETCH(int, vendors);
        QFETCH(int, heads);
        QFETCH(qint64, sales);
        QFETCH(qint64, purchases);
        QFETCH(qint64, vouchers);
        QFETCH(int, days);
        QFETCH(qint64, commitEvery);
        TestDatabase t;
        GenerateOptions o;
        o.parties = parties;
        o.vlccPercent = vlccPercent;
        o.items = items;
        o.vendors = vendors;
        o.accountHeads = heads;
        o.sales = sales;
        o.purchases = purchases;
        o.vouchers = vouchers;
        o.days = days;
        o.commitEvery = commitEvery;
        o.lastDay = QDate(2024, 4, 15);
        const demo::GenerateResult r = demo::generateShop(t.db(), o);
        core::Database& db = t.db();

        QCOMPARE(count(db, "masparty"), qint64(parties));
        QCOMPARE(count(db, "masitem"), qint64(items));
        QCOMPARE(count(db, "masvendor"), qint64(vendors));
        QCOMPARE(count(db, "accounthead"), qint64(heads));
        QCOMPARE(count(db, "itemsale"), sales);
        QCOMPARE(count(db, "ItemPurchases"), purchases);
        QCOMPARE(count(db, "daybook"), vouchers);
        QCOMPARE(count(db, "compmaster"), qint64(1));
        QCOMPARE(count(db, "BOM"), qint64(r.bomLines));
        QCOMPARE(r.sales, sales);
        QCOMPARE(r.purchases, purchases);
        QCOMPARE(r.vouchers, vouchers);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(distinct Doc_No) from itemsale")).toLongLong(),
            r.bills);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from masparty where category = ?"),
                           {QStringLiteral("VLCC")})
                     .toInt(),
                 int(std::lround(parties * vlccPercent / 100.0)));
        // Item names are the item master's upper case and unique.
        QCOMPARE(db.scalar(QStringLiteral("select count(distinct item_name) from masitem")).toInt(),
                 items);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from masitem where item_name <> "
                                          "upper(item_name) or MainItem not in ('Y','N')"))
                     .toInt(),
                 0);
        // Everything happens inside the span that ends on the last day.
        const QDate first = QDate(2024, 4, 15).addDays(-(days - 1));
        QCOMPARE(r.firstDay, first);
        for (const char* sql : {"select count(*) from itemsale where Doc_dt < ? or Doc_dt > ?",
                                "select count(*) from ItemPurchases where Doc_dt < ? or Doc_dt > ?",
                                "select count(*) from daybook where Dt < ? or Dt > ?"})
            QCOMPARE(db.scalar(QString::fromLatin1(sql), {first, QDate(2024, 4, 15)}).toInt(), 0);
    }

    void smallShopHasABillOfMaterials() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        demo::generateShop(t.db(), GenerateOptions::demoShop(QDate(2024, 4, 15)));
        core::Database& db = t.db();
        QVERIFY(count(db, "BOM") >= 5);
        // Main items are flagged "Y", the sub-items they are made of "N".
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from BOM b where not exists (select 1 "
                                          "from masitem m where m.item_name = b.MainItem and "
                                          "m.MainItem = 'Y') or not exists (select 1 from "
                                          "masitem s where s.item_name = b.SubItem and "
                                          "s.MainItem = 'N') or b.Wt <= 0"))
                     .toInt(),
                 0);
        QVERIFY(db.scalar(QStringLiteral("select count(*) from masparty")).toInt() >= 30);
        QVERIFY(db.scalar(QStringLiteral("select count(*) from itemsale where item_name in "
                                         "(select MainItem from BOM)"))
                    .toInt() > 0);
    }

    void everyRowNamesWhatExists() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        demo::generateShop(t.db(), small());
        core::Database& db = t.db();
        const struct {
            const char* what;
            const char* sql;
        } orphans[] = {
            {"sale of an unknown party",
             "select count(*) from itemsale i where not exists (select 1 from masparty m "
             "where m.party_code = i.Party_code)"},
            {"sale of an unknown item",
             "select count(*) from itemsale i where not exists (select 1 from masitem m "
             "where m.item_name = i.item_name)"},
            {"sale with another category than its party",
             "select count(*) from itemsale i, masparty m where m.party_code = i.Party_code "
             "and m.category <> i.category"},
            {"sale with the item's unit changed",
             "select count(*) from itemsale i, masitem m where m.item_name = i.item_name and "
             "m.unit <> i.unit"},
            {"sale without quantity or rate",
             "select count(*) from itemsale where Qty <= 0 or Rate <= 0 or Net_amt <= 0"},
            {"purchase from an unknown vendor",
             "select count(*) from ItemPurchases p where not exists (select 1 from masvendor v "
             "where v.Party_Name = p.Party_name)"},
            {"purchase of an unknown item",
             "select count(*) from ItemPurchases p where not exists (select 1 from masitem m "
             "where m.item_name = p.item_name)"},
            {"party voucher of an unknown party",
             "select count(*) from daybook d where Category = 'MilkMan' and not exists (select "
             "1 from masparty m where m.party_code = d.party_code and d.AccountHead = "
             "m.Party_name || ' - ' || m.party_code)"},
            {"vendor voucher of an unknown vendor",
             "select count(*) from daybook d where Category = 'Vendor' and not exists (select 1 "
             "from masvendor v where v.party_code = d.party_code and d.AccountHead = "
             "v.party_code || ' - ' || v.Party_Name)"},
            {"account head voucher of an unknown head or with a code",
             "select count(*) from daybook d where Category = 'AccountHead' and (party_code <> "
             "'NA' or not exists (select 1 from accounthead h where h.AccountHead = "
             "d.AccountHead))"},
            {"voucher of another type or category",
             "select count(*) from daybook where V_Type not in ('Cr','Dr') or Category not in "
             "('MilkMan','Vendor','AccountHead') or Net_Amount <= 0"},
            {"party in an unknown village",
             "select count(*) from masparty m where not exists (select 1 from vehicle v where "
             "v.veh_code = m.veh_code and v.veh_name = m.city)"},
        };
        for (const auto& o : orphans)
            QVERIFY2(db.scalar(QString::fromLatin1(o.sql)).toInt() == 0, o.what);
        // Every kind of voucher is there.
        QCOMPARE(db.scalar(QStringLiteral("select count(distinct Category) from daybook")).toInt(),
                 3);
        QVERIFY(
            db.scalar(QStringLiteral("select count(*) from daybook where V_Type = 'Dr'")).toInt() >
            0);

        // Amounts are quantity times rate, rounded as the sale screen rounds them.
        for (const core::Row& r :
             db.query(QStringLiteral("select Qty, Rate, Net_amt from itemsale"))) {
            QCOMPARE(r.number(2), core::round2(r.number(0) * r.number(1)));
        }
        for (const core::Row& r :
             db.query(QStringLiteral("select Qty, Rate, Net_amount from ItemPurchases")))
            QCOMPARE(r.number(2), core::round2(r.number(0) * r.number(1)));
    }

    void billsShareANumberAndNumbersFollowTheDates() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        const demo::GenerateResult result = demo::generateShop(t.db(), small());
        core::Database& db = t.db();
        // One bill: one party, one date, one to four different items.
        QCOMPARE(db.query(QStringLiteral("select Doc_No from itemsale group by Doc_No having "
                                         "count(distinct Party_code) > 1 or count(distinct "
                                         "Doc_dt) > 1 or count(*) > 4 or count(distinct "
                                         "item_name) < count(*)"))
                     .size(),
                 size_t(0));
        QVERIFY(db.scalar(QStringLiteral("select count(*) from itemsale")).toInt() >
                db.scalar(QStringLiteral("select count(distinct Doc_No) from itemsale")).toInt());
        // Numbers run 1, 2, 3 ... without gaps, and never go back in time.
        QCOMPARE(db.scalar(QStringLiteral("select max(val(Doc_No)) from itemsale")).toLongLong(),
                 result.bills);
        QDate previous;
        qint64 expected = 1;
        for (const core::Row& r : db.query(QStringLiteral(
                 "select distinct val(Doc_No) as n, Doc_dt from itemsale order by n"))) {
            QCOMPARE(qint64(r.number(0)), expected++);
            const QDate day = r.date(1);
            QVERIFY(day.isValid());
            QVERIFY(!previous.isValid() || previous <= day);
            previous = day;
        }
        QCOMPARE(expected - 1, result.bills);
    }

    void cardsAndMobilesLookReal() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        GenerateOptions o = small();
        o.parties = 400;
        demo::generateShop(t.db(), o);
        static const QRegularExpression card(QStringLiteral("^[0-9A-F]{8}$"));
        static const QRegularExpression mobile(QStringLiteral("^91[6-9][0-9]{9}$"));
        QSet<QString> cards;
        QSet<QString> names;
        const core::Rows rows = t.db().query(
            QStringLiteral("select party_code, Party_name, CardNo, ph, category from masparty"));
        QCOMPARE(rows.size(), size_t(400));
        for (const core::Row& r : rows) {
            QVERIFY2(card.match(r.text("CardNo")).hasMatch(), qPrintable(r.text("CardNo")));
            QVERIFY2(mobile.match(r.text("ph")).hasMatch(), qPrintable(r.text("ph")));
            QVERIFY(r.text("category") == QLatin1String("MilkMan") ||
                    r.text("category") == QLatin1String("VLCC"));
            QVERIFY(r.text("Party_name").size() <= 40);
            cards.insert(r.text("CardNo"));
            names.insert(r.text("Party_name"));
        }
        QCOMPARE(cards.size(), 400);
        // The party master refuses a second party of the same name.
        QCOMPARE(names.size(), 400);
        QCOMPARE(t.db().scalar(QStringLiteral("select max(val(party_code)) from masparty")).toInt(),
                 400);
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
        const QStringList first = dump(a.db());
        QVERIFY(first.size() > 600);
        QCOMPARE(dump(b.db()), first);
        QVERIFY(dump(c.db()) != first);
    }

    void refusesAShopThatHasData() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        demo::generateShop(t.db(), small());
        const QStringList before = dump(t.db());
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, demo::generateShop(t.db(), small(2)));
        QCOMPARE(dump(t.db()), before);
    }

    void refusesOptionsItCannotHonour_data() {
        QTest::addColumn<int>("parties");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("vendors");
        QTest::addColumn<qint64>("sales");
        QTest::addColumn<qint64>("purchases");
        QTest::addColumn<int>("days");
        QTest::newRow("sales without parties") << 0 << 5 << 2 << qint64(10) << qint64(0) << 10;
        QTest::newRow("sales without items") << 5 << 0 << 2 << qint64(10) << qint64(0) << 10;
        QTest::newRow("purchases without vendors") << 5 << 5 << 0 << qint64(0) << qint64(10) << 10;
        QTest::newRow("negative sales") << 5 << 5 << 2 << qint64(-1) << qint64(0) << 10;
        QTest::newRow("no days") << 5 << 5 << 2 << qint64(10) << qint64(0) << 0;
        QTest::newRow("party codes beyond 32767")
            << 32768 << 5 << 2 << qint64(0) << qint64(0) << 10;
        QTest::newRow("more items than the catalogue")
            << 5 << demo::maxItems() + 1 << 2 << qint64(0) << qint64(0) << 10;
        QTest::newRow("more vendors than the catalogue")
            << 5 << 5 << demo::maxVendors() + 1 << qint64(0) << qint64(0) << 10;
    }
    void refusesOptionsItCannotHonour() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(int, parties);
        QFETCH(int, items);
        QFETCH(int, vendors);
        QFETCH(qint64, sales);
        QFETCH(qint64, purchases);
        QFETCH(int, days);
        TestDatabase t;
        GenerateOptions o;
        o.parties = parties;
        o.items = items;
        o.vendors = vendors;
        o.sales = sales;
        o.purchases = purchases;
        o.vouchers = 0;
        o.days = days;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, demo::generateShop(t.db(), o));
        QCOMPARE(count(t.db(), "masparty"), qint64(0));
        QCOMPARE(count(t.db(), "compmaster"), qint64(0));
    }

    void reportsProgressToTheEnd() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        GenerateOptions o = small();
        o.sales = 25000;
        QStringList stages;
        qint64 lastSales = 0;
        demo::generateShop(t.db(), o, [&](const QString& stage, qint64 done, qint64 total) {
            if (stages.isEmpty() || stages.last() != stage)
                stages << stage;
            if (stage == QLatin1String("sales")) {
                QCOMPARE(total, qint64(25000));
                QVERIFY(done >= lastSales);
                lastSales = done;
            }
        });
        QCOMPARE(stages, QStringList({"parties", "sales", "purchases", "vouchers", "done"}));
        QCOMPARE(lastSales, qint64(20000));
    }

    void keepsAShopRecordThatExists() {
        STOKARA_REQUIRE_DATABASE();
        TestDatabase t;
        t.db().exec(QStringLiteral("insert into compmaster (CompName, City) values (?, ?)"),
                    {QStringLiteral("Ram's Dairy"), QStringLiteral("Kheri")});
        demo::generateShop(t.db(), small());
        QCOMPARE(count(t.db(), "compmaster"), qint64(1));
        QCOMPARE(t.db().scalar(QStringLiteral("select CompName from compmaster")).toString(),
                 QStringLiteral("Ram's Dairy"));
    }
};

QTEST_GUILESS_MAIN(TestShopGenerator)
#include "test_shop_generator.moc"
