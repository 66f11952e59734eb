#include "masters/account_head_screen.h"
#include "masters/deletion_password.h"
#include "masters/register_screens.h"
#include "masters/shop_screen.h"
#include "masters/vendor_screen.h"
#include "screen_test_kit.h"

#include "core/database.h"
#include "core_ui/screen_support.h"

#include <QGroupBox>

using namespace stokara;
using namespace stokara::test;

namespace {

int count(core::Database& db, const QString& sql, const QVariantList& values = {}) {
    return db.scalar(sql, values).toInt();
}

} // namespace

class TestSmallMasters : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> screen;

    core::Database& db() { return ts->db(); }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QTableWidget* grid(const char* name = "VsGrid") {
        return control<QTableWidget>(screen.get(), name);
    }
    template <class S> void open() {
        screen = std::make_unique<S>(ts->session);
        activate(screen.get());
    }
    void addVendor(const QString& name) {
        typeInto(f("txtparty_name"), name);
        clickButton(screen.get(), "Command8");
    }
    void pressKey(Qt::Key key) {
        f("TxtHead")->setFocus();
        QTest::keyClick(f("TxtHead"), key);
    }
    void enterHead(const QString& head, int group) {
        f("TxtHead")->setText(head);
        control<QComboBox>(screen.get(), "LstGroup")->setCurrentIndex(group);
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

    void everyScreenIsRegistered() {
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        for (const char* name :
             {"FrmCompany", "masparty", "FrmVendor", "frmmasitem", "FrmHead", "FrmBOM"}) {
            QVERIFY2(registry.has(name), name);
            std::unique_ptr<QWidget> w(registry.create(name, ts->session));
            QCOMPARE(w->objectName(), QString(name));
        }
    }

    // A warning given on leaving a field is given once, whether the field is left
    // with Enter or with the mouse.
    void leavingFieldWarnsOnce_data() {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("message");
        for (bool byEnter : {true, false}) {
            const char* how = byEnter ? "Enter" : "mouse";
            QTest::addRow("vendor duplicate, %s", how)
                << "FrmVendor"
                << "txtparty_name"
                << "Kaira Feeds" << byEnter << "Duplicate Entry.";
            QTest::addRow("shop blank name, %s", how) << "FrmCompany"
                                                      << "txtCompName"
                                                      << " " << byEnter << "Blank not allowed.";
            QTest::addRow("party duplicate, %s", how)
                << "masparty"
                << "TxtParty_name"
                << "Kaira Feeds" << byEnter << "Duplicate Name.";
        }
    }
    void leavingFieldWarnsOnce() {
        QFETCH(QString, screenName);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QString, message);
        db().exec("insert into MasVendor (party_code, party_name) values ('1', 'Kaira Feeds')");
        db().exec("insert into masparty (party_code, party_name, category) values ('1', 'Kaira "
                  "Feeds', 'MilkMan')");
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        screen.reset(registry.create(screenName, ts->session));
        activate(screen.get());
        ts->dialogs.clear();
        QLineEdit* edit = f(field.toLatin1().constData());
        typeInto(edit, typed);
        if (byEnter) {
            pressEnter(edit);
        } else {
            QWidget* other = nullptr;
            for (QLineEdit* e : screen->findChildren<QLineEdit*>())
                if (e != edit && e->isEnabled() && e->isVisible()) {
                    other = e;
                    break;
                }
            QVERIFY(other);
            leave(edit, other);
        }
        QTest::qWait(0);
        QCOMPARE(ts->dialogs.texts(), QStringList{message});
        QCOMPARE(ts->dialogs.shown.first().icon, core::Icon::Information);
    }

    // Every text field of every master: a value of exactly the field's width, with an
    // apostrophe and Hindi letters, is stored as typed; one character more is refused
    // with a message naming the field, nothing is stored and no database error shows.
    void textFieldsStoredAsTypedOrRefused_data() {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columnName");
        QTest::addColumn<int>("width");
        const struct {
            const char* screen;
            const char* field;
            const char* table;
            const char* column;
            int width;
        } cases[] = {
            {"masparty", "TxtParty_name", "masparty", "party_name", 50},
            {"masparty", "txtadd1", "masparty", "add1", 100},
            {"masparty", "txtcity", "masparty", "city", 50},
            {"masparty", "txtph", "masparty", "ph", 50},
            {"masparty", "TxtCardNo", "masparty", "cardno", 20},
            {"masparty", "TxtIFSC", "masparty", "ifsc", 20},
            {"masparty", "TxtBankBranch", "masparty", "bankbranch", 40},
            {"masparty", "TxtFatherName", "masparty", "fathername", 40},
            {"masparty", "TxtAccountName", "masparty", "accountname", 100},
            {"FrmVendor", "txtparty_name", "MasVendor", "party_name", 40},
            {"FrmVendor", "txtadd1", "MasVendor", "add1", 50},
            {"FrmVendor", "txtph", "MasVendor", "ph", 40},
            {"FrmVendor", "txtcity", "MasVendor", "city", 40},
            {"FrmCompany", "txtCompName", "compmaster", "compname", 50},
            {"FrmCompany", "txtAddress", "compmaster", "address1", 200},
            {"FrmCompany", "TxtCity", "compmaster", "city", 50},
            {"FrmCompany", "TxtTelno", "compmaster", "telno", 50},
            {"FrmCompany", "TxtMobile", "compmaster", "mobileno", 50},
            {"FrmCompany", "TxtTinNo", "compmaster", "tinno", 20},
            {"frmmasitem", "txtitem_name", "masitem", "item_name", 40},
            {"frmmasitem", "LstUnit", "masitem", "unit", 10},
            {"FrmHead", "TxtHead", "AccountHead", "AccountHead", 100},
            {"FrmBOM", "DCMainItem", "bom", "mainitem", 40},
            {"FrmBOM", "DcSubItem", "bom", "subitem", 40},
        };
        for (const auto& c : cases)
            QTest::addRow("%s %s", c.screen, c.field)
                << c.screen << c.field << c.table << c.column << c.width;
    }
    void textFieldsStoredAsTypedOrRefused() {
        QFETCH(QString, screenName);
        QFETCH(QString, field);
        QFETCH(QString, table);
        QFETCH(QString, columnName);
        QFETCH(int, width);
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        screen.reset(registry.create(screenName, ts->session));
        activate(screen.get());
        auto set = [&](const QString& name, const QString& text) {
            QWidget* w = screen->findChild<QWidget*>(name);
            QVERIFY2(w, qPrintable(name));
            if (auto* e = qobject_cast<QLineEdit*>(w))
                e->setText(text);
            else if (auto* l = qobject_cast<QComboBox*>(w))
                l->setEditText(text);
        };
        // What each screen needs besides the field under test.
        QString saveButton = "Command8";
        if (screenName == "masparty") {
            typeInto(f("TxtParty_name"), "P");
            pressEnter(f("TxtParty_name")); // gives the party its code
        } else if (screenName == "FrmVendor") {
            set("txtparty_name", "V");
        } else if (screenName == "FrmCompany") {
            set("txtCompName", "S");
            saveButton = "CmdSave";
        } else if (screenName == "frmmasitem") {
            set("txtitem_name", "I");
            set("LstUnit", "Pcs");
        } else if (screenName == "FrmHead") {
            set("TxtHead", "H");
            control<QComboBox>(screen.get(), "LstGroup")->setCurrentIndex(0);
        } else if (screenName == "FrmBOM") {
            set("DCMainItem", "M");
            set("DcSubItem", "S");
            set("TxtWt", "1");
        }
        const QString fits = "'" + QString(width - 1, QChar(0x0915));
        ts->dialogs.clear();
        set(field, fits + "x");
        clickButton(screen.get(), saveButton.toLatin1().constData());
        QVERIFY2(ts->dialogs.lastText().endsWith(
                     QString(" is too long: at most %1 characters are allowed.").arg(width)),
                 qPrintable(ts->dialogs.texts().join(" | ")));
        QVERIFY(!ts->dialogs.texts().contains("An error has occured."));
        QCOMPARE(count(db(), QString("select count(*) from %1").arg(table)), 0);
        set(field, fits);
        clickButton(screen.get(), saveButton.toLatin1().constData());
        QVERIFY2(!ts->dialogs.texts().contains("An error has occured."),
                 qPrintable(ts->dialogs.texts().join(" | ")));
        QCOMPARE(count(db(), QString("select count(*) from %1").arg(table)), 1);
        QCOMPARE(db().scalar(QString("select %1 from %2").arg(columnName, table)).toString(), fits);
    }

    // --- Vendor --------------------------------------------------------------

    void vendorCodesAndSave() {
        open<masters::VendorScreen>();
        QCOMPARE(screen->windowTitle(), QString("Vendor"));
        QCOMPARE(headings(grid()), (QStringList{"Party Code", "Party Name", "City", "Mobile"}));
        typeInto(f("txtparty_name"), "Kaira Feeds");
        pressEnter(f("txtparty_name"));
        QVERIFY(f("txtadd1")->hasFocus());
        pressEnter(f("txtadd1"));
        QCOMPARE(f("txtadd1")->text(), QString("."));
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(ts->dialogs.shown.last().title, QString("Vendor"));
        QVERIFY(f("TxtPartyCode")->text().isEmpty());
        QVERIFY(f("txtparty_name")->text().isEmpty());
        QCOMPARE(db().scalar("select party_code from MasVendor where party_name = 'Kaira Feeds'")
                     .toString(),
                 QString("1"));
        addVendor(QString::fromUtf8("गोपाल ट्रेडर्स"));
        addVendor("Patel's Agency");
        QCOMPARE(column(grid(), 0), (QStringList{"3", "2", "1"}));
        QCOMPARE(column(grid(), 1).first(), QString("Patel's Agency"));
        QCOMPARE(column(grid(), 1)[1], QString::fromUtf8("गोपाल ट्रेडर्स"));
    }

    void vendorDuplicateNameIsOnlyWarned() {
        open<masters::VendorScreen>();
        addVendor("Kaira Feeds");
        typeInto(f("txtparty_name"), "Kaira Feeds");
        leave(f("txtparty_name"), f("txtcity"));
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        QCOMPARE(f("txtparty_name")->text(), QString("Kaira Feeds"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(count(db(), "select count(*) from MasVendor where party_name = 'Kaira Feeds'"), 2);
    }

    void vendorLoadedFromGridIsUpdated() {
        open<masters::VendorScreen>();
        addVendor("Kaira Feeds");
        clickRow(grid(), 0);
        QCOMPARE(f("TxtPartyCode")->text(), QString("1"));
        f("txtcity")->setText("Nadiad");
        clickButton(screen.get(), "Command8");
        QCOMPARE(count(db(), "select count(*) from MasVendor"), 1);
        QCOMPARE(db().scalar("select city from MasVendor").toString(), QString("Nadiad"));
        // Clear forgets the loaded vendor: the next Save is a new one.
        clickButton(screen.get(), "Command9");
        addVendor("Second");
        QCOMPARE(count(db(), "select count(*) from MasVendor"), 2);
    }

    void vendorEmptyNameRefused() {
        open<masters::VendorScreen>();
        typeInto(f("txtparty_name"), "   ");
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter Milk Man Name."));
        QCOMPARE(count(db(), "select count(*) from MasVendor"), 0);
    }

    void vendorDeletion_data() {
        QTest::addColumn<bool>("rightPassword");
        QTest::newRow("wrong password") << false;
        QTest::newRow("right password") << true;
    }
    void vendorDeletion() {
        QFETCH(bool, rightPassword);
        open<masters::VendorScreen>();
        addVendor("A");
        addVendor("B");
        doubleClickRow(grid(), 0); // vendor 2
        QCOMPARE(ts->dialogs.lastText(), QString("Are you sure to delete it?"));
        auto* box = control<QGroupBox>(screen.get(), "Frame2");
        QVERIFY(box->isVisible());
        typeInto(f("TxtPassword"), rightPassword ? masters::deletionPassword(ts->clock.today())
                                                 : QString("00000000"));
        pressEnter(f("TxtPassword"));
        QVERIFY(!box->isVisible());
        QCOMPARE(ts->dialogs.lastText(),
                 rightPassword ? QString("Record has ben deleted.") : QString("Wrong Password."));
        QCOMPARE(count(db(), "select count(*) from MasVendor"), rightPassword ? 1 : 2);
        if (rightPassword) {
            // The highest code, deleted, is given out again.
            addVendor("C");
            QCOMPARE(
                db().scalar("select party_code from MasVendor where party_name = 'C'").toString(),
                QString("2"));
        }
    }

    void vendorStartsWithNewAccountNameAndTidiesOnClose() {
        ts->session.newAccountName = "Amul Feeds";
        db().exec("insert into MasVendor (party_name) values ('no code')");
        open<masters::VendorScreen>();
        QCOMPARE(f("txtparty_name")->text(), QString("Amul Feeds"));
        screen->close();
        QCOMPARE(count(db(), "select count(*) from MasVendor"), 0);
    }

    // --- Account heads -----------------------------------------------------

    void accountHeadSavedOnceThenRefusedAsDuplicate() {
        open<masters::AccountHeadScreen>();
        QCOMPARE(screen->objectName(), QString("FrmHead"));
        QCOMPARE(screen->windowTitle(), QString("Account Head Master"));
        QCOMPARE(headings(grid("VsFlex")),
                 (QStringList{"Auto No", "Account Head", "Account Group"}));
        enterHead("Ravi's Rent", 2);
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.shown[0].text, QString("Do you want to save?"));
        QCOMPARE(ts->dialogs.shown[0].icon, core::Icon::Information);
        QCOMPARE(ts->dialogs.shown[0].title, QString("Account Head Master"));
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(db().scalar("select AccountGroup from AccountHead").toString(),
                 QString("Sundry Expenses"));
        enterHead("Ravi's Rent", 3);
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        QCOMPARE(count(db(), "select count(*) from AccountHead"), 1);
    }

    void accountHeadLoadedNeedsF6ToChange() {
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        open<masters::AccountHeadScreen>();
        clickRow(grid("VsFlex"), 0);
        QCOMPARE(f("TxtHead")->text(), QString("Rent"));
        QCOMPARE(control<QComboBox>(screen.get(), "LstGroup")->currentText(),
                 QString("Sundry Expenses"));
        QVERIFY(!f("TxtAuto_no")->text().isEmpty());
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        pressKey(Qt::Key_F6);
        QVERIFY(static_cast<masters::AccountHeadScreen*>(screen.get())->editing());
        f("TxtHead")->setText(QString::fromUtf8("किराया"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(count(db(), "select count(*) from AccountHead"), 1);
        QCOMPARE(db().scalar("select AccountHead from AccountHead").toString(),
                 QString::fromUtf8("किराया"));
        QVERIFY(!static_cast<masters::AccountHeadScreen*>(screen.get())->editing());
        pressKey(Qt::Key_F3);
        QVERIFY(f("TxtHead")->text().isEmpty());
    }

    void accountHeadRefusals_data() {
        QTest::addColumn<QString>("head");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "Rent" << 2 << false << "Do you want to save?";
        QTest::newRow("no head") << "" << 2 << true << "Please enter proper values.";
        QTest::newRow("no group") << "Rent" << -1 << true << "Please enter proper values.";
        QTest::newRow("longer than the day book keeps")
            << QString(101, 'h') << 2 << true
            << "Account Head is too long: at most 100 characters are allowed.";
    }
    void accountHeadRefusals() {
        QFETCH(QString, head);
        QFETCH(int, group);
        QFETCH(bool, confirm);
        QFETCH(QString, message);
        open<masters::AccountHeadScreen>();
        enterHead(head, group);
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), message);
        QCOMPARE(count(db(), "select count(*) from AccountHead"), 0);
    }

    void accountHeadDoubleClickDeletes() {
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        open<masters::AccountHeadScreen>();
        ts->dialogs.answer(core::Answer::Cancel);
        doubleClickRow(grid("VsFlex"), 0);
        QCOMPARE(ts->dialogs.shown.last().title, QString("Delete Entry"));
        QCOMPARE(ts->dialogs.shown.last().text, QString("Are You Sure to Delete."));
        QCOMPARE(ts->dialogs.shown.last().icon, core::Icon::Information);
        QCOMPARE(count(db(), "select count(*) from AccountHead"), 1);
        doubleClickRow(grid("VsFlex"), 0);
        QCOMPARE(count(db(), "select count(*) from AccountHead"), 0);
        QCOMPARE(grid("VsFlex")->rowCount(), 0);
    }

    // --- Shop ------------------------------------------------------------------

    void shopRecordSavedTwiceStaysOne() {
        open<masters::ShopScreen>();
        QCOMPARE(screen->objectName(), QString("FrmCompany"));
        QCOMPARE(ts->dialogs.lastText(),
                 QString("No Company information found.Please enter company information."));
        QCOMPARE(ts->dialogs.shown.last().title, QString("Shop Master"));
        typeInto(f("txtCompName"), "Shree's Parlour");
        pressEnter(f("txtCompName"));
        QVERIFY(f("txtAddress")->hasFocus());
        typeInto(f("TxtTinNo"), "24AAACA1234F1Z5");
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Saved."));
        f("TxtCity")->setText(QString::fromUtf8("आणंद"));
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(count(db(), "select count(*) from compmaster"), 1);
        QCOMPARE(db().scalar("select city from compmaster").toString(), QString::fromUtf8("आणंद"));
        QCOMPARE(ts->session.shop.name, QString("Shree's Parlour"));
        // Opening again shows the record.
        ts->dialogs.clear();
        open<masters::ShopScreen>();
        QVERIFY(ts->dialogs.shown.isEmpty());
        QCOMPARE(f("txtCompName")->text(), QString("Shree's Parlour"));
        QCOMPARE(f("TxtTinNo")->text(), QString("24AAACA1234F1Z5"));
    }

    void shopRefusals() {
        open<masters::ShopScreen>();
        typeInto(f("txtCompName"), " ");
        pressEnter(f("txtCompName"));
        QCOMPARE(ts->dialogs.lastText(), QString("Blank not allowed."));
        f("txtCompName")->clear();
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Blank company not allowed."));
        f("txtCompName")->setText(QString(51, 'n'));
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Name is too long: at most 50 characters are allowed."));
        QCOMPARE(count(db(), "select count(*) from compmaster"), 0);
    }
};

QTEST_MAIN(TestSmallMasters)
#include "test_small_masters.moc"
