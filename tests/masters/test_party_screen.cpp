// The party master: its screen, its card reader, and what its store must keep
// when two counters save at once or an old shop is upgraded.
#include "masters/deletion_password.h"
#include "masters/party_screen.h"
#include "screen_test_kit.h"

#include "card_poller.h"
#include "schema/schema.h"
#include "simulated_reader.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>

using namespace stokara;
using namespace stokara::test;
using masters::PartyFields;
using masters::PartyStore;

class TestPartyScreen : public QObject, ScreenFixture {
    Q_OBJECT

    QTemporaryDir photos;

    masters::PartyScreen* party() { return static_cast<masters::PartyScreen*>(screen.get()); }
    QString stored(const QString& column, const QString& code) {
        return row(QString("select %1 from masparty where party_code = ?").arg(column), {code});
    }
    void addParty(const QString& code, const QString& name, const QString& category = "MilkMan",
                  const QString& card = {}, const QString& photo = {}) {
        db().exec("insert into masparty (party_code, party_name, category, cardno, imagepath, "
                  "creditlimit, active) values (?, ?, ?, ?, ?, 2500, 'Y')",
                  {code, name, category, card, photo});
    }
    QString photo(const QString& name) {
        const QString path = photos.filePath(name);
        QImage(20, 30, QImage::Format_RGB32).save(path, "JPG");
        return path;
    }
    void open() {
        ScreenFixture::open("masparty");
        party()->cardPoller()->stop(); // ticks are driven by hand
    }
    void newName(const QString& name) {
        typeInto(f("TxtParty_name"), name);
        pressEnter(f("TxtParty_name"));
    }
    bool photoShown() { return !control<QLabel>(screen.get(), "Image1")->pixmap().isNull(); }

private slots:
    void initTestCase() { qputenv("STOKARA_READER", "simulated"); }
    void init() {
        STOKARA_REQUIRE_DATABASE();
        ts = std::make_unique<TestSession>();
    }
    void cleanup() {
        screen.reset();
        ts.reset();
    }

    // Through the keyboard; after the insert some fields empty and some stay,
    // but the photograph is never carried to the next party.
    void newPartiesOneAfterAnother() {
        ts->session.newAccountName = "D'Souza";
        addParty("9", "Nine");
        addParty("32767", "Past a 16-bit code", "VLCC");
        addParty("abc", "Not a number");
        addParty("40000", "Retail", "RetailMilk");
        open();
        QCOMPARE(column(grid(), 0), (QStringList{"32767", "9", "abc"})); // highest first
        for (const char* name : {"TxtPartyCode", "Text2", "TxtAcNo", "TxtBankName", "TxtPan"})
            QVERIFY2(!f(name)->isEnabled() && f(name)->isVisible(), name);
        QVERIFY(!f("Txtope_bal")->isVisible() && !list("LstCowRateType")->isVisible());
        QVERIFY(!control<QAbstractButton>(screen.get(), "CmdPhoto")->isEnabled());
        pressEnter(f("TxtParty_name"));
        QCOMPARE(f("TxtPartyCode")->text(), QString("32768"));
        pressEnter(f("txtadd1"));
        QCOMPARE(f("txtadd1")->text(), QString("."));
        typeInto(f("TxtCreditLimit"), "3000.5");
        typeInto(f("TxtFatherName"), "Mohan");
        ts->dialogs.answerFile(photo("new.jpg"));
        click("CmdPhoto");
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(row("select party_name, category, cowratetype, creditlimit, imagepath from "
                     "masparty where party_code = '32768'"),
                 "D'Souza/MilkMan/Fat Advance Rate/3000/" + photos.filePath("new.jpg"));
        QCOMPARE(column(grid(), 0).first(), QString("32768"));
        QVERIFY(f("TxtParty_name")->text().isEmpty() && f("TxtPartyCode")->text().isEmpty());
        QCOMPARE(list("LstActive")->currentText(), QString("Y"));
        QCOMPARE(f("TxtFatherName")->text(), QString("Mohan"));
        QVERIFY(!photoShown());
        newName("Suresh");
        click("Command8");
        QCOMPARE(row("select creditlimit, imagepath from masparty where party_code = '32769'"),
                 QString("3000/"));
        screen->close();
        QVERIFY(ts->session.newAccountName.isEmpty());
    }

    void loadedPartyIsCorrectedAndClearForgetsIt() {
        addParty("5", "Centre", "VLCC", "", photo("p.jpg"));
        addParty("6", "Other");
        addParty("7", "Gone", "MilkMan", "", "/no/such/folder/photo.jpg");
        open();
        clickRow(grid(), 0);
        QCOMPARE(ts->dialogs.lastText(), QString("Photo missing in system."));
        QCOMPARE(f("TxtParty_name")->text(), QString("Gone"));
        clickRow(grid(), 2);
        QCOMPARE(f("TxtCreditLimit")->text(), QString("2500"));
        QVERIFY(photoShown());
        leave(f("TxtParty_name"), f("txtcity")); // passing the name makes a MilkMan
        f("txtcity")->setText("Nadiad");
        click("Command8");
        f("txtph")->setText("98250"); // the fields still show party 5: saved again, still 5
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(count("select count(*) from masparty"), 3);
        QCOMPARE(row("select city, ph, category, imagepath from masparty where party_code = '5'"),
                 "Nadiad/98250/MilkMan/" + photos.filePath("p.jpg"));
        click("Command9");
        QVERIFY(party()->photoPath().isEmpty() && !photoShown());
        newName("Fresh");
        QCOMPARE(f("TxtPartyCode")->text(), QString("8"));
        click("Command8");
        QCOMPARE(stored("imagepath", "8"), QString());
        QCOMPARE(stored("party_name", "5"), QString("Centre"));
    }

    // A new party is never written over another one, and Save says so.
    void newPartyRefused_data() {
        QTest::addColumn<QStringList>("c"); // code, name, card, message
        QTest::newRow("typed code, existing name")
            << QStringList{"70", "Ramesh", "", "Duplicate Name."};
        QTest::newRow("typed code of another party")
            << QStringList{"5", "New", "", "Party Code already given to 5 - Ramesh."};
        QTest::newRow("card of another party")
            << QStringList{"70", "New", "0A1B2C3D", "Card No. already given to 5 - Ramesh."};
        QTest::newRow("no code") << QStringList{"", "", "", "Enter Code."};
    }
    void newPartyRefused() {
        QFETCH(QStringList, c);
        db().exec("update dairysetting set partycodemanual = '1'");
        addParty("5", "Ramesh", "VLCC", "0A1B2C3D");
        open();
        typeInto(f("TxtPartyCode"), c[0]);
        pressEnter(f("TxtPartyCode"));
        newName(c[1]);
        typeInto(f("TxtCardNo"), c[2]);
        click("Command8");
        QCOMPARE(ts->dialogs.texts(), QStringList{c[3]});
        QCOMPARE(row("select count(*), max(party_name) from masparty"), QString("1/Ramesh"));
    }

    void cardOfAnotherPartyRefusedOnCorrection() {
        addParty("5", "Mohan", "MilkMan", "0A1B2C3D");
        addParty("6", "Suresh", "MilkMan", "11112222");
        open();
        clickRow(grid(), 0); // party 6
        f("TxtCardNo")->setText("0A1B2C3D");
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Card No. already given to 5 - Mohan."));
        QVERIFY(f("TxtCardNo")->hasFocus());
        QCOMPARE(stored("cardno", "6"), QString("11112222"));
        f("TxtCardNo")->setText("11112222"); // its own card is no conflict
        f("txtcity")->setText("Anand");
        click("Command8");
        QCOMPARE(row("select cardno, city from masparty where party_code = '6'"),
                 QString("11112222/Anand"));
    }

    void deletion_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("daysOff"); // the day whose password is typed
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("message");
        QTest::newRow("the day's password") << true << 0 << ""
                                            << "All data has ben deleted.";
        QTest::newRow("yesterday's password") << true << -1 << ""
                                              << "Wrong Password.";
        QTest::newRow("with a blank") << true << 0 << " "
                                      << "Wrong Password.";
        QTest::newRow("cancelled") << false << 0 << ""
                                   << "";
    }
    void deletion() {
        QFETCH(bool, confirm);
        QFETCH(int, daysOff);
        QFETCH(QString, suffix);
        QFETCH(QString, message);
        addParty("5", "Mohan's");
        addParty("6", "Stays");
        const QStringList tables{"milk_col", "itemsale", "advance", "masrate", "masparty"};
        for (const QString& table : tables.mid(0, 4))
            db().exec(QString("insert into %1 (party_code) values ('5'), ('6')").arg(table));
        open();
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        doubleClickRow(grid(), 1);
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Are you sure to delete milk man account and all its data.?"));
        QCOMPARE(control<QGroupBox>(screen.get(), "Frame2")->isVisible(), confirm);
        if (confirm) {
            QVERIFY(f("TxtPassword")->hasFocus());
            typeInto(f("TxtPassword"),
                     masters::deletionPassword(ts->clock.today().addDays(daysOff)) + suffix);
            pressEnter(f("TxtPassword"));
            QCOMPARE(ts->dialogs.lastText(), message);
        }
        const bool gone = message == "All data has ben deleted.";
        for (const QString& table : tables)
            QCOMPARE(count("select count(*) from " + table), gone ? 1 : 2);
        QCOMPARE(row("select party_name from MasPartyDeleted"), QString(gone ? "Mohan's" : ""));
        QCOMPARE(f("TxtParty_name")->text().isEmpty(), gone); // not left to be saved again
    }

    // The reader's card lands in the card field of whatever party is shown, stays
    // when the card is taken away, and is saved with the party.
    void cardFromTheReader() {
        auto module = reader::SimulatedReaderModule::shared();
        module->setSilent(false);
        module->removeCard();
        addParty("5", "Mohan");
        open();
        reader::CardPoller* poller = party()->cardPoller();
        module->setPlugged(false);
        poller->connectTick();
        QCOMPARE(screen->windowTitle(), QString("Party Master"));
        module->setPlugged(true);
        poller->connectTick();
        QCOMPARE(screen->windowTitle(), QString("Item Sale - Reader Connected"));
        clickRow(grid(), 0);
        module->presentCard(reader::CardUid{0x0A, 0x1B, 0x2C, 0x3D});
        poller->pollTick();
        QCOMPARE(f("TxtParty_name")->text() + f("TxtCardNo")->text(), QString("Mohan0A1B2C3D"));
        module->removeCard();
        poller->pollTick();
        click("Command8");
        QCOMPARE(stored("cardno", "5"), QString("0A1B2C3D"));
        module->setPlugged(false);
        poller->pollTick();
        QCOMPARE(screen->windowTitle(), QString("Party Master"));
        QCOMPARE(ts->dialogs.texts(), QStringList{"Data Saved."});
    }

    // --- the store ---------------------------------------------------------

    // Each of the 32 columns gets its own value back, on insert and on update.
    void everyColumnKeepsItsOwnValue() {
        const QList<QString PartyFields::*> texts{
            &PartyFields::name,          &PartyFields::add1,         &PartyFields::ph,
            &PartyFields::vehCode,       &PartyFields::city,         &PartyFields::balDrCr,
            &PartyFields::commType,      &PartyFields::commTypeBuff, &PartyFields::commType1,
            &PartyFields::commTypeBuff1, &PartyFields::cowRateType,  &PartyFields::buffaloRateType,
            &PartyFields::acNo,          &PartyFields::ifsc,         &PartyFields::snfCircuit,
            &PartyFields::imagePath,     &PartyFields::accountName,  &PartyFields::fatherName,
            &PartyFields::bankName,      &PartyFields::bankBranch,   &PartyFields::pan,
            &PartyFields::cardNo,        &PartyFields::category,     &PartyFields::active};
        const QList<QString PartyFields::*> numbers{
            &PartyFields::opeBal,   &PartyFields::commPer,      &PartyFields::commPerBuff,
            &PartyFields::commPer1, &PartyFields::commPerBuff1, &PartyFields::interestRate};
        PartyStore store(db());
        for (const QString prefix : {"a", "b"}) {
            PartyFields f;
            f.code = "7";
            int i = 0;
            for (auto field : texts)
                f.*field = prefix + QString::number(++i);
            for (auto field : numbers)
                f.*field = QString::number(++i) + ".25";
            f.category = "MilkMan";
            f.active = prefix;      // one character wide
            f.creditLimit = "40.5"; // whole rupees, half to even
            const auto w = prefix == "a" ? store.insert(f, true) : store.update("7", f);
            QVERIFY(w.hit && !w.refused);
            const auto back = store.load("7");
            QVERIFY(back);
            for (auto field : texts + numbers)
                QCOMPARE((*back).*field, f.*field);
            QCOMPARE(back->creditLimit, QString("40"));
        }
        QCOMPARE(count("select count(*) from masparty"), 1);
        QVERIFY(!store.update("8", {}).hit);
    }

    // Two counters saving new parties one after the other.
    void anotherCounterWasFaster_data() {
        QTest::addColumn<QStringList>("c"); // their name, their card, refusal
        QTest::newRow("took the code shown") << QStringList{"Other", "", ""};
        QTest::newRow("saved the same name") << QStringList{"Mine", "", "Duplicate Name."};
        QTest::newRow("gave the same card")
            << QStringList{"Other", "0A1B2C3D", "Card No. already given to 1 - Other."};
    }
    void anotherCounterWasFaster() {
        QFETCH(QStringList, c);
        PartyStore store(db());
        PartyFields mine;
        mine.code = store.nextCode();
        mine.name = "Mine";
        mine.category = "MilkMan";
        mine.cardNo = "0A1B2C3D";
        ts->database.openAnother()->exec(
            "insert into masparty (party_code, party_name, category, cardno) values (?, ?, "
            "'VLCC', ?)",
            {mine.code, c[0], c[1]});
        const PartyStore::Written w = store.insert(mine, true);
        QCOMPARE(w.refused ? w.refused->message : QString(), c[2]);
        QCOMPARE(count("select count(*) from masparty"), c[2].isEmpty() ? 2 : 1);
        QCOMPARE(stored("party_name", "1"), c[0]);
        if (w.hit)
            QCOMPARE(stored("party_name", w.code), QString("Mine"));
    }

    void deletionFailingHalfWayChangesNothing() {
        addParty("5", "Mohan");
        db().exec("insert into itemsale (party_code) values ('5')");
        db().exec("drop table masrate"); // the last statement fails
        PartyStore store(db());
        QVERIFY_THROWS_EXCEPTION(core::DbError, store.deleteParty("5"));
        QCOMPARE(count("select count(*) from masparty"), 1);
        QCOMPARE(count("select count(*) from itemsale"), 1);
        QCOMPARE(count("select count(*) from MasPartyDeleted"), 0);
    }

    // An old shop whose cards repeat still upgrades; the card lookup names the
    // lowest code, and one card per party is enforced once the repeat is gone.
    void cardsOfAnOldShop() {
        db().exec("drop index ux_masparty_cardno");
        addParty("12", "Twelve", "MilkMan", "CAFE0001");
        addParty("9", "Nine", "VLCC", "CAFE0001");
        addParty("3", "Retail", "RetailMilk", "");
        addParty("4", "Retail too", "RetailMilk", "");
        PartyStore store(db());
        QCOMPARE(store.cardHolder("CAFE0001")->code, QString("9"));
        QCOMPARE(store.cardHolder("CAFE0001", "9")->code, QString("12"));
        QVERIFY(!store.cardHolder("CAFE0002"));
        QCOMPARE(schema::upgradeDatabase(db()).errors, 0);
        addParty("13", "Thirteen", "MilkMan", "CAFE0001"); // no index yet
        db().exec("update masparty set cardno = '' where party_code in ('12', '13')");
        QCOMPARE(schema::upgradeDatabase(db()).errors, 0);
        QVERIFY_THROWS_EXCEPTION(core::DbError, addParty("14", "Fourteen", "MilkMan", "CAFE0001"));
        addParty("15", "No card", "MilkMan", ""); // empty cards may repeat
    }
};

QTEST_MAIN(TestPartyScreen)
#include "test_party_screen.moc"
