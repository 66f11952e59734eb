#include "masters/deletion_password.h"
#include "masters/party_screen.h"
#include "screen_test_kit.h"

#include "card_poller.h"
#include "core/database.h"
#include "simulated_reader.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>

using namespace stokara;
using namespace stokara::test;
using masters::PartyScreen;

class TestPartyScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<PartyScreen> screen;
    QTemporaryDir photos;

    core::Database& db() { return ts->db(); }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableWidget* grid() { return control<QTableWidget>(screen.get(), "VsGrid"); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    QString stored(const QString& column, const QString& code) {
        return db()
            .scalar(QString("select %1 from masparty where party_code = ?").arg(column), {code})
            .toString();
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
        screen = std::make_unique<PartyScreen>(ts->session);
        screen->cardPoller()->stop(); // no reader in these tests
        activate(screen.get());
    }
    void newName(const QString& name) {
        typeInto(f("TxtParty_name"), name);
        pressEnter(f("TxtParty_name"));
    }
    void save() { clickButton(screen.get(), "Command8"); }

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

    void opensWithThisEditionsFieldStates() {
        addParty("9", "Nine");
        addParty("10", "Ten", "VLCC");
        addParty("3", "Retail", "RetailMilk");
        open();
        QCOMPARE(screen->windowTitle(), QString("Party Master"));
        QCOMPARE(column(grid(), 0), (QStringList{"10", "9"})); // newest first, no retail
        for (const char* name : {"TxtParty_name", "txtadd1", "TxtCardNo", "TxtCreditLimit",
                                 "TxtComm", "Text3", "TxtIFSC", "TxtAccountName"})
            QVERIFY2(f(name)->isEnabled() && f(name)->isVisible(), name);
        for (const char* name : {"TxtPartyCode", "Text2", "TxtAcNo", "TxtBankName", "TxtPan"})
            QVERIFY2(!f(name)->isEnabled() && f(name)->isVisible(), name);
        QVERIFY(!list("ListCategory")->isEnabled());
        QVERIFY(!f("Txtope_bal")->isVisible());
        QVERIFY(!list("LstCowRateType")->isVisible());
        QVERIFY(!control<QGroupBox>(screen.get(), "Frame2")->isVisible());
        QVERIFY(!control<QAbstractButton>(screen.get(), "CmdPhoto")->isEnabled());
    }

    // Through the keyboard; after the insert some fields empty and some stay,
    // but the photograph is never carried to the next party.
    void newPartiesOneAfterAnother() {
        addParty("41", "Old");
        open();
        newName("D'Souza");
        QCOMPARE(f("TxtPartyCode")->text(), QString("42"));
        QVERIFY(f("txtadd1")->hasFocus());
        pressEnter(f("txtadd1"));
        QCOMPARE(f("txtadd1")->text(), QString("."));
        typeInto(f("TxtCreditLimit"), "3000.5");
        typeInto(f("TxtFatherName"), "Mohan");
        ts->dialogs.answerFile(photo("new.jpg"));
        clickButton(screen.get(), "CmdPhoto");
        save();
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(stored("party_name", "42"), QString("D'Souza"));
        QCOMPARE(stored("category", "42"), QString("MilkMan"));
        QCOMPARE(stored("cowratetype", "42"), QString("Fat Advance Rate"));
        QCOMPARE(stored("creditlimit", "42"), QString("3000")); // whole rupees, half to even
        QCOMPARE(stored("imagepath", "42"), photos.filePath("new.jpg"));
        QCOMPARE(column(grid(), 0).first(), QString("42"));
        QVERIFY(f("TxtParty_name")->text().isEmpty());
        QVERIFY(f("TxtPartyCode")->text().isEmpty());
        QCOMPARE(list("LstActive")->currentText(), QString("Y"));
        QCOMPARE(f("TxtFatherName")->text(), QString("Mohan"));
        QVERIFY(control<QLabel>(screen.get(), "Image1")->pixmap().isNull());
        newName("Suresh");
        save();
        QCOMPARE(stored("creditlimit", "43"), QString("3000"));
        QCOMPARE(stored("imagepath", "43"), QString());
    }

    void loadedPartyIsCorrectedAndClearForgetsIt() {
        addParty("5", "Centre", "VLCC", "", photo("p.jpg"));
        addParty("6", "Other");
        open();
        clickRow(grid(), 1);
        QCOMPARE(f("TxtParty_name")->text(), QString("Centre"));
        QCOMPARE(f("TxtCreditLimit")->text(), QString("2500"));
        QVERIFY(!control<QLabel>(screen.get(), "Image1")->pixmap().isNull());
        leave(f("TxtParty_name"), f("txtcity")); // passing the name makes a MilkMan
        f("txtcity")->setText("Nadiad");
        save();
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(count("select count(*) from masparty"), 2);
        QCOMPARE(stored("city", "5"), QString("Nadiad"));
        QCOMPARE(stored("category", "5"), QString("MilkMan"));
        QCOMPARE(stored("imagepath", "5"), photos.filePath("p.jpg"));
        f("txtph")->setText("98250"); // the fields still show party 5: saved again, still 5
        save();
        QCOMPARE(stored("ph", "5"), QString("98250"));
        clickButton(screen.get(), "Command9");
        QVERIFY(screen->photoPath().isEmpty());
        newName("Fresh");
        QCOMPARE(f("TxtPartyCode")->text(), QString("7"));
        save();
        QCOMPARE(stored("imagepath", "7"), QString());
        QCOMPARE(stored("party_name", "5"), QString("Centre"));
    }

    void missingPhotoStillLoadsTheParty() {
        addParty("7", "Gone", "MilkMan", "", "/no/such/folder/photo.jpg");
        open();
        clickRow(grid(), 0);
        QCOMPARE(ts->dialogs.lastText(), QString("Photo missing in system."));
        QCOMPARE(f("TxtParty_name")->text(), QString("Gone"));
    }

    // A new party is never written over another one, and Save says so.
    void newPartyRefused_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("message");
        QTest::newRow("typed code, existing name") << "70"
                                                   << "Ramesh"
                                                   << ""
                                                   << "Duplicate Name.";
        QTest::newRow("typed code of another party") << "5"
                                                     << "New"
                                                     << ""
                                                     << "Party Code already given to 5 - Ramesh.";
        QTest::newRow("card of another party") << "70"
                                               << "New"
                                               << "0A1B2C3D"
                                               << "Card No. already given to 5 - Ramesh.";
        QTest::newRow("no code") << ""
                                 << ""
                                 << ""
                                 << "Enter Code.";
    }
    void newPartyRefused() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, card);
        QFETCH(QString, message);
        db().exec("update dairysetting set partycodemanual = '1'");
        addParty("5", "Ramesh", "VLCC", "0A1B2C3D");
        open();
        QVERIFY(f("TxtPartyCode")->isEnabled());
        typeInto(f("TxtPartyCode"), code);
        pressEnter(f("TxtPartyCode"));
        newName(name);
        typeInto(f("TxtCardNo"), card);
        save();
        QCOMPARE(ts->dialogs.texts().last(), message);
        QVERIFY(!ts->dialogs.texts().contains("Data Saved."));
        QCOMPARE(count("select count(*) from masparty"), 1);
        QCOMPARE(stored("party_name", "5"), QString("Ramesh"));
    }

    void cardOfAnotherPartyRefusedOnCorrection() {
        addParty("5", "Mohan", "MilkMan", "0A1B2C3D");
        addParty("6", "Suresh", "MilkMan", "11112222");
        open();
        clickRow(grid(), 0); // party 6
        f("TxtCardNo")->setText("0A1B2C3D");
        save();
        QCOMPARE(ts->dialogs.lastText(), QString("Card No. already given to 5 - Mohan."));
        QVERIFY(f("TxtCardNo")->hasFocus());
        QCOMPARE(stored("cardno", "6"), QString("11112222"));
        f("TxtCardNo")->setText("11112222"); // its own card is no conflict
        f("txtcity")->setText("Anand");
        save();
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(stored("city", "6"), QString("Anand"));
    }

    void deletion_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("daysOff"); // which day's password is typed
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
        const QStringList tables{"milk_col", "itemsale", "advance", "masrate"};
        for (const QString& table : tables)
            db().exec(QString("insert into %1 (party_code) values ('5'), ('6')").arg(table));
        open();
        clickRow(grid(), 1);
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        doubleClickRow(grid(), 1);
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Are you sure to delete milk man account and all its data.?"));
        const bool asked = control<QGroupBox>(screen.get(), "Frame2")->isVisible();
        QCOMPARE(asked, confirm);
        if (asked) {
            QVERIFY(f("TxtPassword")->hasFocus());
            typeInto(f("TxtPassword"),
                     masters::deletionPassword(ts->clock.today().addDays(daysOff)) + suffix);
            pressEnter(f("TxtPassword"));
            QCOMPARE(ts->dialogs.lastText(), message);
        }
        const bool gone = message == "All data has ben deleted.";
        for (const QString& table : tables + QStringList{"masparty"})
            QCOMPARE(count(QString("select count(*) from %1").arg(table)), gone ? 1 : 2);
        QCOMPARE(db().scalar("select party_name from MasPartyDeleted").toString(),
                 gone ? QString("Mohan's") : QString());
        QCOMPARE(f("TxtParty_name")->text().isEmpty(), gone); // not left to be saved again
    }

    // The reader's card lands in the card field of whatever party is shown, stays
    // when the card is taken away, and is saved with the party.
    void cardFromTheReader() {
        auto module = reader::SimulatedReaderModule::shared();
        module->setSilent(false);
        module->removeCard();
        addParty("5", "Mohan");
        open(); // the poller's ticks are driven by hand
        reader::CardPoller* poller = screen->cardPoller();
        module->setPlugged(false);
        poller->connectTick();
        QCOMPARE(screen->windowTitle(), PartyScreen::caption());
        module->setPlugged(true);
        poller->connectTick();
        QCOMPARE(screen->windowTitle(), QString("Item Sale - Reader Connected"));
        clickRow(grid(), 0);
        module->presentCard(reader::CardUid{0x0A, 0x1B, 0x2C, 0x3D});
        poller->pollTick();
        QCOMPARE(f("TxtCardNo")->text(), QString("0A1B2C3D"));
        QCOMPARE(f("TxtParty_name")->text(), QString("Mohan"));
        module->removeCard();
        poller->pollTick();
        save();
        QCOMPARE(stored("cardno", "5"), QString("0A1B2C3D"));
        module->setPlugged(false);
        poller->pollTick();
        QCOMPARE(screen->windowTitle(), PartyScreen::caption());
        QCOMPARE(ts->dialogs.texts(), QStringList{"Data Saved."});
    }

    void newAccountNameIsTakenAndEmptiedOnClose() {
        ts->session.newAccountName = "Bhavesh";
        open();
        QCOMPARE(f("TxtParty_name")->text(), QString("Bhavesh"));
        screen->close();
        QVERIFY(ts->session.newAccountName.isEmpty());
    }
};

QTEST_MAIN(TestPartyScreen)
#include "test_party_screen.moc"
