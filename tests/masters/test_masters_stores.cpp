#include "masters/account_head_store.h"
#include "masters/bom_store.h"
#include "masters/item_store.h"
#include "masters/party_store.h"
#include "masters/shop_store.h"
#include "masters/vendor_store.h"

#include "core/database.h"
#include "support/test_database.h"

#include <QTest>

using namespace stokara;
using namespace stokara::masters;
using test::TestDatabase;

namespace {

void addParty(core::Database& db, const QString& code, const QString& name,
              const QString& category = "MilkMan") {
    db.exec("insert into masparty (party_code, party_name, category) values (?, ?, ?)",
            {code, name, category});
}

PartyFields newParty(const QString& code, const QString& name) {
    PartyFields f;
    f.code = code;
    f.name = name;
    f.category = "MilkMan";
    f.active = "Y";
    return f;
}

int count(core::Database& db, const QString& sql, const QVariantList& values = {}) {
    return db.scalar(sql, values).toInt();
}

} // namespace

class TestMastersStores : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> t;
    core::Database& db() { return t->db(); }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<TestDatabase>();
    }
    void cleanup() { t.reset(); }

    // --- parties ---------------------------------------------------------

    void partyCodeAllocation_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("next");
        QTest::newRow("first party ever") << QStringList{} << "1";
        QTest::newRow("codes that are not numbers count as 0") << QStringList{"abc", "X1"} << "1";
        QTest::newRow("numeric order, not text order") << QStringList{"9", "10", "abc"} << "11";
        QTest::newRow("past 32767") << QStringList{"32767"} << "32768";
        QTest::newRow("far past 32767") << QStringList{"5", "123456"} << "123457";
    }
    void partyCodeAllocation() {
        QFETCH(QStringList, codes);
        int i = 0;
        for (const QString& c : codes)
            addParty(db(), c, QString("Party %1").arg(++i));
        // Parties of other categories and parties without a code do not count.
        addParty(db(), "900", "Retail", "RetailMilk");
        addParty(db(), "", "No code");
        PartyStore store(db());
        QTEST(store.nextCode(), "next");
    }

    void partySaveInsertsThenUpdates() {
        PartyStore store(db());
        PartyFields f = newParty("1", "D'Souza");
        f.creditLimit = "5000";
        f.imagePath = "/photos/a.jpg";
        f.commPer = "1.5x";
        auto r = store.save(f, true);
        QVERIFY(r.inserted);
        QCOMPARE(r.code, QString("1"));
        f.city = "Anand";
        r = store.save(f, false);
        QVERIFY(!r.inserted);
        QCOMPARE(count(db(), "select count(*) from masparty"), 1);
        const auto loaded = store.load("1");
        QVERIFY(loaded);
        QCOMPARE(loaded->name, QString("D'Souza"));
        QCOMPARE(loaded->city, QString("Anand"));
        QCOMPARE(loaded->creditLimit, QString("5000"));
        QCOMPARE(loaded->imagePath, QString("/photos/a.jpg"));
        QCOMPARE(loaded->commPer, QString("1.5"));
    }

    void partyManualCodeWithExistingNameChangesNothing() {
        addParty(db(), "1", "Ramesh");
        PartyStore store(db());
        // Typed code 7 with the name of party 1: a match, so an update of code 7,
        // which has no row.
        auto r = store.save(newParty("7", "Ramesh"), false);
        QVERIFY(!r.inserted);
        QCOMPARE(count(db(), "select count(*) from masparty"), 1);
        QCOMPARE(count(db(), "select count(*) from masparty where party_code = '7'"), 0);
    }

    void partyCodeTakenByAnotherCounterIsNotOverwritten() {
        PartyStore store(db());
        const QString shown = store.nextCode(); // shown to this counter
        auto other = t->openAnother();
        addParty(*other, shown, "Other counter's party");
        const auto r = store.save(newParty(shown, "Mine"), true);
        QVERIFY(r.inserted);
        QCOMPARE(r.code, QString("2"));
        QCOMPARE(store.load("1")->name, QString("Other counter's party"));
        QCOMPARE(store.load("2")->name, QString("Mine"));
    }

    void partyTextStoredAsTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophe") << "O'Brien's Dairy";
        QTest::newRow("hindi") << QString::fromUtf8("रामलाल शर्मा");
        QTest::newRow("sql text") << "x'); drop table masparty; --";
        QTest::newRow("fifty characters") << QString(50, QChar(0x0930));
    }
    void partyTextStoredAsTyped() {
        QFETCH(QString, name);
        PartyStore store(db());
        PartyFields f = newParty("1", name);
        f.add1 = name;
        QVERIFY(!store.validate(f));
        store.save(f, true);
        QCOMPARE(store.load("1")->name, name);
        QCOMPARE(store.load("1")->add1, name);
        QCOMPARE(store.countByName(name), 1);
    }

    void partyOverlongValuesRefused_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("message");
        QTest::newRow("party_name") << "party_name"
                                    << "Party Name is too long: at most 50 characters are allowed.";
        QTest::newRow("pan") << "pan"
                             << "PAN is too long: at most 10 characters are allowed.";
        QTest::newRow("cardno") << "cardno"
                                << "Card No. is too long: at most 20 characters are allowed.";
        QTest::newRow("creditlimit") << "creditlimit"
                                     << "Credit Limit is too large: at most 9 digits before the "
                                        "decimal point.";
        QTest::newRow("commper") << "commper"
                                 << "Commission (Cow) is too large: at most 7 digits before the "
                                    "decimal point.";
    }
    void partyOverlongValuesRefused() {
        QFETCH(QString, column);
        QFETCH(QString, message);
        PartyFields f = newParty("1", "Ok");
        if (column == "party_name")
            f.name = QString(51, 'n');
        else if (column == "pan")
            f.pan = "ABCDE12345X";
        else if (column == "cardno")
            f.cardNo = QString(21, 'A');
        else if (column == "creditlimit")
            f.creditLimit = "1000000000";
        else if (column == "commper")
            f.commPer = "10000000";
        PartyStore store(db());
        const auto problem = store.validate(f);
        QVERIFY(problem);
        QCOMPARE(problem->column, column);
        QCOMPARE(problem->message, message);
    }

    void partyDeletionRemovesEverything() {
        addParty(db(), "5", "Mohan's", "VLCC");
        addParty(db(), "6", "Stays");
        for (const char* code : {"5", "6"}) {
            db().exec("insert into milk_col (party_code, wt) values (?, 1)", {QString(code)});
            db().exec("insert into itemsale (party_code, item_name, qty) values (?, 'FEED', 1)",
                      {QString(code)});
            db().exec("insert into advance (party_code, amount) values (?, 10)", {QString(code)});
            db().exec("insert into masrate (party_code, rate) values (?, 30)", {QString(code)});
        }
        PartyStore store(db());
        store.deleteParty("5");
        for (const char* table : {"masparty", "milk_col", "itemsale", "advance", "masrate"}) {
            QCOMPARE(
                count(db(), QString("select count(*) from %1 where party_code = '5'").arg(table)),
                0);
            QCOMPARE(
                count(db(), QString("select count(*) from %1 where party_code = '6'").arg(table)),
                1);
        }
        const core::Rows copy =
            db().query("select party_code, party_name, category from MasPartyDeleted");
        QCOMPARE(copy.size(), size_t(1));
        QCOMPARE(copy.front().text(0), QString("5"));
        QCOMPARE(copy.front().text(1), QString("Mohan's"));
        QCOMPARE(copy.front().text(2), QString("VLCC"));
    }

    void partyDeletionFailingHalfWayChangesNothing() {
        addParty(db(), "5", "Mohan");
        db().exec("insert into milk_col (party_code, wt) values ('5', 1)");
        db().exec("insert into itemsale (party_code, item_name, qty) values ('5', 'FEED', 1)");
        db().exec("insert into advance (party_code, amount) values ('5', 10)");
        db().exec("drop table masrate"); // the last statement fails
        PartyStore store(db());
        QVERIFY_THROWS_EXCEPTION(core::DbError, store.deleteParty("5"));
        for (const char* table : {"masparty", "milk_col", "itemsale", "advance"})
            QCOMPARE(
                count(db(), QString("select count(*) from %1 where party_code = '5'").arg(table)),
                1);
        QCOMPARE(count(db(), "select count(*) from MasPartyDeleted"), 0);
    }

    // --- items and bills of materials -------------------------------------

    void itemSaveAndUpdate() {
        ItemStore store(db());
        QVERIFY(store.save({"CATTLE FEED", "Bags", "12abc", "7.4", "N", ""}));
        const auto rows = store.gridRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].rate, QString("12"));
        QCOMPARE(rows[0].opeBal, QString("7"));
        QVERIFY(rows[0].autoNo.toInt() > 0);
        QVERIFY(!store.save({"CATTLE FEED 50KG", "Bags", "", "", "Y", rows[0].autoNo}));
        QCOMPARE(store.gridRows().size(), 1);
        QCOMPARE(store.gridRows()[0].name, QString("CATTLE FEED 50KG"));
        QCOMPARE(store.gridRows()[0].rate, QString("0"));
        store.remove(rows[0].autoNo.toLongLong());
        QCOMPARE(store.gridRows().size(), 0);
    }

    void itemNameLimitFollowsSales() {
        ItemStore store(db());
        QVERIFY(!store.validate({QString(40, 'A'), "Pcs", "", "", "N", ""}));
        const auto problem = store.validate({QString(41, 'A'), "Pcs", "", "", "N", ""});
        QVERIFY(problem);
        QCOMPARE(problem->column, QString("item_name"));
        QVERIFY(store.validate({"X", "Kilogramme!", "", "", "N", ""})); // unit is 10 wide
        QVERIFY(store.validate({"X", "Pcs", "10000000", "", "N", ""}));
    }

    void bomPairIsReplaced() {
        db().exec("insert into masitem (item_name, mainitem) values ('MIX', 'Y')");
        db().exec("insert into masitem (item_name, mainitem) values ('BRAN', 'N')");
        db().exec("insert into masitem (item_name) values ('SALT')");
        BomStore store(db());
        QCOMPARE(store.mainItems(), QStringList{"MIX"});
        QCOMPARE(store.subItems(), (QStringList{"BRAN", "SALT"}));
        store.saveLine("MIX", "BRAN", 2.5);
        store.saveLine("MIX", "SALT", 0.25);
        store.saveLine("MIX", "BRAN", 3);
        const auto lines = store.lines("MIX");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].subItem, QString("BRAN"));
        QCOMPARE(lines[0].weight, QString("3"));
        QCOMPARE(store.find("MIX", "SALT")->weight, QString("0.25"));
        store.removeLine("MIX", "SALT");
        QCOMPARE(store.lines("MIX").size(), 1);
    }

    // --- vendors, account heads, shop -------------------------------------

    void vendorCodes() {
        VendorStore store(db());
        QCOMPARE(store.insertNew({"", "A'Vendor", ".", "", ""}), QString("1"));
        QCOMPARE(store.insertNew({"", "B", ".", "", ""}), QString("2"));
        QCOMPARE(store.insertNew({"", "C", ".", "", ""}), QString("3"));
        store.remove("3");
        // The highest code, once deleted, is given out again.
        QCOMPARE(store.insertNew({"", QString::fromUtf8("गोपाल"), ".", "", ""}), QString("3"));
        QCOMPARE(store.load("3")->name, QString::fromUtf8("गोपाल"));
        QCOMPARE(store.load("1")->name, QString("A'Vendor"));
        QCOMPARE(store.gridRows().first().code, QString("3"));
        store.update({"1", "A'Vendor & Sons", "Main Rd", "98", "Anand"});
        QCOMPARE(store.load("1")->city, QString("Anand"));
        QCOMPARE(store.countByName("B"), 1);
        QVERIFY(store.validate({"", QString(41, 'v'), "", "", ""})); // purchases keep 40
        QVERIFY(!store.validate({"", QString(40, 'v'), "", "", ""}));
    }

    void accountHeads() {
        AccountHeadStore store(db());
        QVERIFY(store.insertNew("Tea & Snacks", "Sundry Expenses"));
        QVERIFY(!store.insertNew("Tea & Snacks", "Sundry Income"));
        QCOMPARE(store.gridRows().size(), 1);
        const qint64 n = store.gridRows()[0].autoNo.toLongLong();
        store.update(n, "Ravi's Rent", "Sundry Expenses");
        QCOMPARE(store.load(n)->head, QString("Ravi's Rent"));
        // A head must fit the day book's column as well.
        QVERIFY(!store.validate(QString(100, 'h'), "Sundry Income"));
        QVERIFY(store.validate(QString(101, 'h'), "Sundry Income"));
        store.remove(n);
        QCOMPARE(store.gridRows().size(), 0);
    }

    void shopRecordStaysOne() {
        ShopStore store(db());
        QVERIFY(!store.first());
        store.save({"Amul Parlour", "Main Road", "Anand", "02692", "98250", "24AAA"});
        store.save({"Shree's Parlour", "Main Road", "Anand", "02692", "98250", "24AAA"});
        QCOMPARE(count(db(), "select count(*) from compmaster"), 1);
        QCOMPARE(store.first()->name, QString("Shree's Parlour"));
        QVERIFY(store.validate({"x", "y", "z", "t", "m", QString(21, 'g')}));
    }
};

QTEST_GUILESS_MAIN(TestMastersStores)
#include "test_masters_stores.moc"
