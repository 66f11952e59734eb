#include "masters/party_store.h"

#include "core/database.h"
#include "schema/schema.h"
#include "support/test_database.h"

#include <QTest>

using namespace stokara;
using namespace stokara::masters;
using test::TestDatabase;

namespace {

void addParty(core::Database& db, const QString& code, const QString& name,
              const QString& category = "MilkMan", const QString& card = {}) {
    db.exec("insert into masparty (party_code, party_name, category, cardno) values (?, ?, ?, ?)",
            {code, name, category, card});
}

PartyFields party(const QString& code, const QString& name) {
    PartyFields f;
    f.code = code;
    f.name = name;
    f.category = "MilkMan";
    return f;
}

// The text fields of a party, to give each its own value.
QList<QString PartyFields::*> textFields() {
    return {&PartyFields::name,          &PartyFields::add1,         &PartyFields::ph,
            &PartyFields::vehCode,       &PartyFields::city,         &PartyFields::balDrCr,
            &PartyFields::commType,      &PartyFields::commTypeBuff, &PartyFields::commType1,
            &PartyFields::commTypeBuff1, &PartyFields::cowRateType,  &PartyFields::buffaloRateType,
            &PartyFields::acNo,          &PartyFields::active,       &PartyFields::ifsc,
            &PartyFields::snfCircuit,    &PartyFields::imagePath,    &PartyFields::accountName,
            &PartyFields::fatherName,    &PartyFields::bankName,     &PartyFields::bankBranch,
            &PartyFields::pan,           &PartyFields::cardNo};
}
QList<QString PartyFields::*> numberFields() {
    return {&PartyFields::opeBal,     &PartyFields::commPer,      &PartyFields::commPerBuff,
            &PartyFields::commPer1,   &PartyFields::commPerBuff1, &PartyFields::interestRate,
            &PartyFields::creditLimit};
}

} // namespace

class TestMastersStores : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> t;
    core::Database& db() { return t->db(); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<TestDatabase>();
    }
    void cleanup() { t.reset(); }

    void partyCodeAllocation_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("next");
        QTest::newRow("first party ever") << QStringList{} << "1";
        QTest::newRow("codes that are not numbers count as 0") << QStringList{"abc", "X1"} << "1";
        QTest::newRow("numeric order, not text order") << QStringList{"9", "10", "abc"} << "11";
        QTest::newRow("past 32767") << QStringList{"5", "123456"} << "123457";
    }
    void partyCodeAllocation() {
        QFETCH(QStringList, codes);
        for (const QString& c : codes)
            addParty(db(), c, "Party " + c);
        // Parties of other categories and parties without a code do not count.
        addParty(db(), "900", "Retail", "RetailMilk");
        addParty(db(), "", "No code");
        QTEST(PartyStore(db()).nextCode(), "next");
    }

    // Each of the 32 columns gets its own value back, on insert and on update.
    void everyColumnKeepsItsOwnValue() {
        PartyStore store(db());
        for (const QString prefix : {"a", "b"}) {
            PartyFields f = party("7", "");
            int i = 0;
            for (auto field : textFields())
                f.*field = prefix + QString::number(++i);
            for (auto field : numberFields())
                f.*field = QString::number(++i) + ".25";
            f.active = prefix;                         // one character wide
            f.creditLimit = QString::number(i) + ".5"; // whole rupees, half to even
            const PartyStore::Written w =
                prefix == "a" ? store.insert(f, true) : store.update("7", f);
            QVERIFY(w.hit && !w.refused);
            const auto back = store.load("7");
            QVERIFY(back);
            for (auto field : textFields())
                QCOMPARE((*back).*field, f.*field);
            for (auto field : numberFields().mid(0, 6))
                QCOMPARE((*back).*field, f.*field);
            QCOMPARE(back->creditLimit, QString::number(i));
        }
        QCOMPARE(count("select count(*) from masparty"), 1);
        QVERIFY(!store.update("8", party("8", "Nobody")).hit);
    }

    // Two counters saving new parties one after the other.
    void anotherCounterWasFaster_data() {
        QTest::addColumn<QString>("theirName");
        QTest::addColumn<QString>("theirCard");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("took the code shown") << "Other"
                                             << ""
                                             << "";
        QTest::newRow("saved the same name") << "Mine"
                                             << ""
                                             << "Duplicate Name.";
        QTest::newRow("gave the same card") << "Other"
                                            << "0A1B2C3D"
                                            << "Card No. already given to 1 - Other.";
    }
    void anotherCounterWasFaster() {
        QFETCH(QString, theirName);
        QFETCH(QString, theirCard);
        QFETCH(QString, refusal);
        PartyStore store(db());
        const QString shown = store.nextCode();
        addParty(*t->openAnother(), shown, theirName, "VLCC", theirCard);
        PartyFields mine = party(shown, "Mine");
        mine.cardNo = "0A1B2C3D";
        const PartyStore::Written w = store.insert(mine, true);
        QCOMPARE(w.refused ? w.refused->message : QString(), refusal);
        QCOMPARE(w.hit, refusal.isEmpty());
        QCOMPARE(count("select count(*) from masparty"), refusal.isEmpty() ? 2 : 1);
        QCOMPARE(store.load("1")->name, theirName);
        if (w.hit)
            QCOMPARE(store.load(w.code)->name, QString("Mine"));
    }

    void partyDeletionFailingHalfWayChangesNothing() {
        addParty(db(), "5", "Mohan");
        db().exec("insert into itemsale (party_code, item_name, qty) values ('5', 'FEED', 1)");
        db().exec("drop table masrate"); // the last statement fails
        PartyStore store(db());
        QVERIFY_THROWS_EXCEPTION(core::DbError, store.deleteParty("5"));
        QCOMPARE(count("select count(*) from masparty"), 1);
        QCOMPARE(count("select count(*) from itemsale"), 1);
        QCOMPARE(count("select count(*) from MasPartyDeleted"), 0);
        QVERIFY(!store.deleteParty("6"));
    }

    // An old shop whose cards repeat still upgrades; the card lookup names the
    // lowest code, and one card per party is enforced once the repeat is gone.
    void cardsOfAnOldShop() {
        db().exec("drop index ux_masparty_cardno");
        addParty(db(), "12", "Twelve", "MilkMan", "CAFE0001");
        addParty(db(), "9", "Nine", "VLCC", "CAFE0001");
        addParty(db(), "3", "Retail", "RetailMilk", "");
        addParty(db(), "4", "Retail too", "RetailMilk", "");
        PartyStore store(db());
        QCOMPARE(store.cardHolder("CAFE0001")->code, QString("9"));
        QCOMPARE(store.cardHolder("CAFE0001", "9")->code, QString("12"));
        QVERIFY(!store.cardHolder("CAFE0002"));
        QCOMPARE(schema::upgradeDatabase(db()).errors, 0);
        addParty(db(), "13", "Thirteen", "MilkMan", "CAFE0001"); // no index yet
        db().exec("update masparty set cardno = '' where party_code in ('12', '13')");
        QCOMPARE(schema::upgradeDatabase(db()).errors, 0);
        QVERIFY_THROWS_EXCEPTION(core::DbError,
                                 addParty(db(), "14", "Fourteen", "MilkMan", "CAFE0001"));
        addParty(db(), "15", "No card", "MilkMan", ""); // empty cards may repeat
    }
};

QTEST_GUILESS_MAIN(TestMastersStores)
#include "test_masters_stores.moc"
