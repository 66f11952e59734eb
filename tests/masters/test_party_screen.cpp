#include "masters/deletion_password.h"
#include "masters/party_screen.h"
#include "screen_test_kit.h"

#include "card_poller.h"
#include "core/database.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>

using namespace stokara;
using namespace stokara::test;
using masters::PartyScreen;

namespace {

void addParty(core::Database& db, const QString& code, const QString& name,
              const QString& category = "MilkMan", const QVariant& credit = {},
              const QString& image = {}) {
    db.exec("insert into masparty (party_code, party_name, category, city, creditlimit, "
            "imagepath, active) values (?, ?, ?, 'Anand', ?, ?, 'Y')",
            {code, name, category,
             credit.isValid() ? credit : QVariant(QMetaType(QMetaType::Double)), image});
}

QString stored(core::Database& db, const QString& column, const QString& code) {
    return db.query(QString("select %1 from masparty where party_code = ?").arg(column), {code})
        .front()
        .text(0);
}

int count(core::Database& db, const QString& sql) {
    return db.scalar(sql).toInt();
}

} // namespace

class TestPartyScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<PartyScreen> screen;

    core::Database& db() { return ts->db(); }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableWidget* grid() { return control<QTableWidget>(screen.get(), "VsGrid"); }

    void open() {
        screen = std::make_unique<PartyScreen>(ts->session);
        screen->cardPoller()->stop(); // no reader in these tests
        activate(screen.get());
    }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        ts = std::make_unique<TestSession>();
    }
    void cleanup() {
        screen.reset();
        ts.reset();
    }

    void opensWithThisEditionsFieldStates() {
        addParty(db(), "9", "Nine");
        addParty(db(), "10", "Ten", "VLCC");
        addParty(db(), "2", "Two");
        addParty(db(), "3", "Retail", "RetailMilk");
        open();
        QCOMPARE(screen->objectName(), QString("masparty"));
        QCOMPARE(screen->windowTitle(), QString("Party Master"));
        QCOMPARE(headings(grid()),
                 (QStringList{"Party Code", "Party Name", "City", "MobileNo", "CardNo"}));
        QCOMPARE(column(grid(), 0), (QStringList{"10", "9", "2"})); // newest first, no retail
        for (const char* name : {"TxtParty_name", "txtadd1", "txtcity", "txtph", "TxtCardNo",
                                 "TxtCreditLimit", "TxtComm", "TxtCommBuff", "Text3", "TxtIFSC",
                                 "TxtBankBranch", "TxtFatherName", "TxtAccountName"})
            QVERIFY2(f(name)->isEnabled() && f(name)->isVisible(), name);
        for (const char* name :
             {"TxtPartyCode", "Text2", "TxtAcNo", "TxtInterestRate", "TxtBankName", "TxtPan"})
            QVERIFY2(!f(name)->isEnabled() && f(name)->isVisible(), name);
        QVERIFY(!list("ListCategory")->isEnabled());
        QVERIFY(!list("List2")->isEnabled());
        QVERIFY(list("ListComm")->isEnabled());
        QVERIFY(!f("Txtope_bal")->isVisible());
        QVERIFY(!f("txtbaldrcr")->isVisible());
        QVERIFY(!list("LstCowRateType")->isVisible());
        QVERIFY(!control<QGroupBox>(screen.get(), "Frame2")->isVisible());
        QVERIFY(control<QLabel>(screen.get(), "Image1")->isVisible());
        QVERIFY(!control<QAbstractButton>(screen.get(), "CmdPhoto")->isEnabled());
    }

    void newPartyGetsNextCodeAndIsSaved_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("code");
        QTest::newRow("first party ever") << QStringList{} << "1";
        QTest::newRow("codes that are not numbers count as 0") << QStringList{"abc"} << "1";
        QTest::newRow("past 32767") << QStringList{"32767", "12"} << "32768";
    }
    void newPartyGetsNextCodeAndIsSaved() {
        QFETCH(QStringList, existing);
        QFETCH(QString, code);
        for (const QString& c : existing)
            addParty(db(), c, "Party " + c);
        open();
        typeInto(f("TxtParty_name"), "D'Souza");
        pressEnter(f("TxtParty_name"));
        QCOMPARE(f("TxtPartyCode")->text(), code);
        QCOMPARE(list("ListCategory")->currentText(), QString("MilkMan"));
        QVERIFY(f("txtadd1")->hasFocus());
        pressEnter(f("txtadd1"));
        QCOMPARE(f("txtadd1")->text(), QString("."));
        QVERIFY(f("txtcity")->hasFocus());
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(ts->dialogs.shown.last().title, QString("Party Master"));
        QCOMPARE(stored(db(), "party_name", code), QString("D'Souza"));
        QCOMPARE(stored(db(), "add1", code), QString("."));
        QCOMPARE(stored(db(), "category", code), QString("MilkMan"));
        QCOMPARE(stored(db(), "active", code), QString("Y"));
        QCOMPARE(stored(db(), "cowratetype", code), QString("Fat Advance Rate"));
        QCOMPARE(column(grid(), 0).first(), code);
        QVERIFY(f("TxtParty_name")->hasFocus());
    }

    void duplicateNameOfNewPartyIsEmptied() {
        addParty(db(), "4", QString::fromUtf8("रामलाल"), "VLCC");
        open();
        typeInto(f("TxtParty_name"), QString::fromUtf8("रामलाल"));
        pressEnter(f("TxtParty_name"));
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Name."));
        QCOMPARE(ts->dialogs.shown.last().title, QString("Party Master"));
        QVERIFY(f("TxtParty_name")->text().isEmpty());
        QVERIFY(f("TxtParty_name")->hasFocus());
        QVERIFY(f("TxtPartyCode")->text().isEmpty());
    }

    void loadedPartyKeepsCodeCreditLimitAndPhoto() {
        QTemporaryDir dir;
        const QString photo = dir.filePath("p.jpg");
        QImage(20, 30, QImage::Format_RGB32).save(photo, "JPG");
        addParty(db(), "5", "Centre", "VLCC", 2500, photo);
        addParty(db(), "6", "Other");
        open();
        clickRow(grid(), 1); // "5" is below "6"
        QCOMPARE(f("TxtPartyCode")->text(), QString("5"));
        QCOMPARE(f("TxtParty_name")->text(), QString("Centre"));
        QCOMPARE(f("TxtCreditLimit")->text(), QString("2500"));
        QCOMPARE(list("ListCategory")->currentText(), QString("VLCC"));
        QCOMPARE(screen->photoPath(), photo);
        QVERIFY(!control<QLabel>(screen.get(), "Image1")->pixmap().isNull());
        // Passing through the name field makes the centre a MilkMan.
        leave(f("TxtParty_name"), f("txtcity"));
        f("txtcity")->setText("Nadiad");
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(count(db(), "select count(*) from masparty"), 2);
        QCOMPARE(stored(db(), "city", "5"), QString("Nadiad"));
        QCOMPARE(stored(db(), "category", "5"), QString("MilkMan"));
        QCOMPARE(stored(db(), "creditlimit", "5"), QString("2500"));
        QCOMPARE(stored(db(), "imagepath", "5"), photo);
        QCOMPARE(f("TxtPartyCode")->text(), QString("5")); // an update keeps the fields
    }

    void missingPhotoStillLoadsTheParty() {
        addParty(db(), "7", "Gone", "MilkMan", 100, "/no/such/folder/photo.jpg");
        open();
        clickRow(grid(), 0);
        QCOMPARE(ts->dialogs.lastText(), QString("Photo missing in system."));
        QCOMPARE(f("TxtParty_name")->text(), QString("Gone"));
        QCOMPARE(f("TxtCreditLimit")->text(), QString("100"));
        QCOMPARE(screen->photoPath(), QString("/no/such/folder/photo.jpg"));
    }

    void saveAfterInsertEmptiesSomeFieldsAndKeepsOthers() {
        open();
        typeInto(f("TxtParty_name"), "Ramesh");
        pressEnter(f("TxtParty_name"));
        typeInto(f("txtcity"), "Anand");
        typeInto(f("txtph"), "9825012345");
        typeInto(f("TxtCardNo"), "0A1B2C3D");
        typeInto(f("TxtCreditLimit"), "3000");
        typeInto(f("TxtComm"), "1.5");
        list("ListComm")->setCurrentIndex(0);
        typeInto(f("TxtAccountName"), "Ramesh Patel");
        typeInto(f("TxtFatherName"), "Mohan");
        typeInto(f("TxtBankBranch"), "Anand Main");
        typeInto(f("TxtIFSC"), "SBIN0001");
        clickButton(screen.get(), "Command8");
        QCOMPARE(stored(db(), "cardno", "1"), QString("0A1B2C3D"));
        QCOMPARE(stored(db(), "commper", "1"), QString("1.5"));
        QCOMPARE(stored(db(), "commtype", "1"), QString("Per Liter"));
        for (const char* emptied : {"TxtPartyCode", "TxtParty_name", "txtadd1", "txtcity", "txtph",
                                    "TxtCardNo", "TxtIFSC", "Text3", "TxtAcNo"})
            QVERIFY2(f(emptied)->text().isEmpty(), emptied);
        QVERIFY(list("ListCategory")->currentText().isEmpty());
        QVERIFY(list("ListComm")->currentText().isEmpty());
        QCOMPARE(f("TxtComm")->text(), QString("0"));
        QCOMPARE(f("TxtCommBuff")->text(), QString("0"));
        QCOMPARE(f("Txtope_bal")->text(), QString("0"));
        QCOMPARE(list("LstActive")->currentText(), QString("Y"));
        QCOMPARE(f("TxtCreditLimit")->text(), QString("3000"));
        QCOMPARE(f("TxtAccountName")->text(), QString("Ramesh Patel"));
        QCOMPARE(f("TxtFatherName")->text(), QString("Mohan"));
        QCOMPARE(f("TxtBankBranch")->text(), QString("Anand Main"));
        // The next new party takes the credit limit still shown.
        typeInto(f("TxtParty_name"), "Suresh");
        pressEnter(f("TxtParty_name"));
        QCOMPARE(f("TxtPartyCode")->text(), QString("2"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(stored(db(), "creditlimit", "2"), QString("3000"));
    }

    void saveWithoutCodeIsRefused() {
        open();
        f("txtcity")->setFocus();
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter Code."));
        QCOMPARE(count(db(), "select count(*) from masparty"), 0);
    }

    void overlongNameIsRefusedWithAMessage() {
        open();
        typeInto(f("TxtParty_name"), QString(51, 'x'));
        pressEnter(f("TxtParty_name"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Party Name is too long: at most 50 characters are allowed."));
        QCOMPARE(count(db(), "select count(*) from masparty"), 0);
        QCOMPARE(f("TxtParty_name")->text().size(), 51); // nothing lost
    }

    void manualCodes_data() {
        QTest::addColumn<QString>("manual");
        QTest::addColumn<bool>("typed");
        QTest::newRow("manual") << "1" << true;
        QTest::newRow("automatic") << "0" << false;
    }
    void manualCodes() {
        QFETCH(QString, manual);
        QFETCH(bool, typed);
        if (count(db(), "select count(*) from dairysetting") == 0)
            db().exec("insert into dairysetting (partycodeauto) values ('1')");
        db().exec("update dairysetting set partycodemanual = ?", {manual});
        open();
        QCOMPARE(f("TxtPartyCode")->isEnabled(), typed);
        if (!typed)
            return;
        typeInto(f("TxtPartyCode"), "70");
        pressEnter(f("TxtPartyCode"));
        QVERIFY(f("TxtParty_name")->hasFocus());
        typeInto(f("TxtParty_name"), "Typed");
        pressEnter(f("TxtParty_name"));
        QCOMPARE(f("TxtPartyCode")->text(), QString("70"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(stored(db(), "party_name", "70"), QString("Typed"));
    }

    void deletion_data() {
        QTest::addColumn<bool>("rightPassword");
        QTest::newRow("wrong password") << false;
        QTest::newRow("right password") << true;
    }
    void deletion() {
        QFETCH(bool, rightPassword);
        addParty(db(), "5", "Mohan");
        addParty(db(), "6", "Stays");
        db().exec("insert into milk_col (party_code, wt) values ('5', 1)");
        db().exec("insert into itemsale (party_code, item_name, qty) values ('5', 'FEED', 1)");
        db().exec("insert into advance (party_code, amount) values ('5', 10)");
        db().exec("insert into masrate (party_code, rate) values ('5', 30)");
        open();
        doubleClickRow(grid(), 1);
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Are you sure to delete milk man account and all its data.?"));
        QCOMPARE(ts->dialogs.shown.last().buttons, core::Buttons::OkCancel);
        auto* box = control<QGroupBox>(screen.get(), "Frame2");
        QVERIFY(box->isVisible());
        QVERIFY(f("TxtPassword")->hasFocus());
        const QString right = masters::deletionPassword(ts->clock.today());
        typeInto(f("TxtPassword"), rightPassword ? right : QString("15042024"));
        clickButton(screen.get(), "CmdOk");
        QVERIFY(!box->isVisible());
        const int left = rightPassword ? 0 : 1;
        QCOMPARE(ts->dialogs.lastText(),
                 rightPassword ? QString("All data has ben deleted.") : QString("Wrong Password."));
        QCOMPARE(count(db(), "select count(*) from masparty where party_code = '5'"), left);
        QCOMPARE(count(db(), "select count(*) from milk_col"), left);
        QCOMPARE(count(db(), "select count(*) from itemsale"), left);
        QCOMPARE(count(db(), "select count(*) from advance"), left);
        QCOMPARE(count(db(), "select count(*) from masrate"), left);
        QCOMPARE(count(db(), "select count(*) from MasPartyDeleted"), 1 - left);
        QCOMPARE(grid()->rowCount(), 1 + left);
        QCOMPARE(f("TxtPartyCode")->text().isEmpty(), rightPassword);
    }

    void deletionCancelledAsksNoPassword() {
        addParty(db(), "5", "Mohan");
        open();
        ts->dialogs.answer(core::Answer::Cancel);
        doubleClickRow(grid(), 0);
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Are you sure to delete milk man account and all its data.?"));
        QVERIFY(!control<QGroupBox>(screen.get(), "Frame2")->isVisible());
        QCOMPARE(count(db(), "select count(*) from masparty"), 1);
    }

    void newAccountNameIsTakenAndEmptiedOnClose() {
        ts->session.newAccountName = "Bhavesh";
        open();
        QCOMPARE(f("TxtParty_name")->text(), QString("Bhavesh"));
        screen->close();
        QVERIFY(ts->session.newAccountName.isEmpty());
    }

    void photoIsChosenAndStored() {
        QTemporaryDir dir;
        const QString photo = dir.filePath("new.jpg");
        QImage(40, 40, QImage::Format_RGB32).save(photo, "JPG");
        open();
        typeInto(f("TxtParty_name"), "With photo");
        pressEnter(f("TxtParty_name"));
        ts->dialogs.answerFile(photo);
        clickButton(screen.get(), "CmdPhoto");
        QVERIFY(!control<QLabel>(screen.get(), "Image1")->pixmap().isNull());
        clickButton(screen.get(), "Command8");
        QCOMPARE(stored(db(), "imagepath", "1"), photo);
    }

    void cardFromTheReaderReplacesTheCardField() {
        addParty(db(), "5", "Mohan");
        open();
        clickRow(grid(), 0);
        f("TxtCardNo")->setText("11111111");
        emit screen->cardPoller()->cardPresented("0A1B2C3D");
        QCOMPARE(f("TxtCardNo")->text(), QString("0A1B2C3D"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(stored(db(), "cardno", "5"), QString("0A1B2C3D"));
    }

    void clearEmptiesTheFields() {
        addParty(db(), "5", "Mohan");
        open();
        clickRow(grid(), 0);
        clickButton(screen.get(), "Command9");
        QVERIFY(f("TxtPartyCode")->text().isEmpty());
        QVERIFY(f("TxtParty_name")->text().isEmpty());
        QVERIFY(list("LstActive")->currentText().isEmpty());
        QCOMPARE(f("TxtComm")->text(), QString("0"));
        QVERIFY(f("TxtParty_name")->hasFocus());
        // The next name is a new party with the next code.
        typeInto(f("TxtParty_name"), "Fresh");
        pressEnter(f("TxtParty_name"));
        QCOMPARE(f("TxtPartyCode")->text(), QString("6"));
    }
};

QTEST_MAIN(TestPartyScreen)
#include "test_party_screen.moc"
