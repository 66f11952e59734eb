#include "masters/deletion_password.h"
#include "masters/register_screens.h"
#include "screen_test_kit.h"

#include "core/database.h"
#include "core_ui/screen_support.h"

#include <QGroupBox>

using namespace stokara;
using namespace stokara::test;

// Every master screen, built the way the menu builds it, plus the vendor,
// account head and shop screens' own behaviour.
class TestSmallMasters : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> screen;

    core::Database& db() { return ts->db(); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableWidget* grid(const char* name = "VsGrid") {
        return control<QTableWidget>(screen.get(), name);
    }
    void open(const QString& name) {
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        screen.reset(registry.create(name, ts->session));
        QVERIFY(screen);
        QCOMPARE(screen->objectName(), name);
        activate(screen.get());
    }
    // Sets a field or a list's text the way typing would leave it.
    void set(const QString& name, const QString& text) {
        QWidget* w = screen->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        auto* l = qobject_cast<QComboBox*>(w);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(text);
        else if (l->isEditable())
            l->setEditText(text);
        else
            l->setCurrentIndex(l->findText(text));
    }
    void addVendor(const QString& name) {
        typeInto(f("txtparty_name"), name);
        clickButton(screen.get(), "Command8");
    }
    void press(Qt::Key key) { QTest::keyClick(f("TxtHead"), key); }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        ts = std::make_unique<TestSession>();
    }
    void cleanup() {
        screen.reset();
        ts.reset();
    }

    // A warning given on leaving a field is given once, by Enter or by the mouse.
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
        open(screenName);
        ts->dialogs.clear();
        QLineEdit* edit = f(field.toLatin1().constData());
        typeInto(edit, typed);
        if (byEnter)
            pressEnter(edit);
        else
            leave(edit, f(screenName == "FrmCompany" ? "TxtCity" : "txtcity"));
        QCOMPARE(ts->dialogs.texts(), QStringList{message});
        QCOMPARE(ts->dialogs.shown.first().icon, core::Icon::Information);
    }

    // A value of exactly the field's width, with an apostrophe and Hindi letters,
    // is stored as typed; one character more is refused with a message naming the
    // field, and nothing is stored.
    void textFieldsStoredAsTypedOrRefused_data() {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columnName");
        QTest::addColumn<int>("width");
        const struct {
            const char *screen, *field, *table, *column;
            int width;
        } cases[] = {
            {"masparty", "TxtParty_name", "masparty", "party_name", 50},
            {"masparty", "txtadd1", "masparty", "add1", 100},
            {"masparty", "TxtCardNo", "masparty", "cardno", 20},
            {"masparty", "TxtBankBranch", "masparty", "bankbranch", 40},
            {"masparty", "TxtAccountName", "masparty", "accountname", 100},
            {"FrmVendor", "txtparty_name", "MasVendor", "party_name", 40},
            {"FrmVendor", "txtph", "MasVendor", "ph", 40},
            {"FrmCompany", "txtAddress", "compmaster", "address1", 200},
            {"FrmCompany", "TxtTinNo", "compmaster", "tinno", 20},
            {"frmmasitem", "txtitem_name", "masitem", "item_name", 40},
            {"frmmasitem", "LstUnit", "masitem", "unit", 10},
            {"FrmHead", "TxtHead", "AccountHead", "AccountHead", 100},
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
        open(screenName);
        // What each screen needs besides the field under test.
        const QHash<QString, QStringList> needs{
            {"FrmVendor", {"txtparty_name", "V"}},
            {"FrmCompany", {"txtCompName", "S"}},
            {"frmmasitem", {"txtitem_name", "I", "LstUnit", "Pcs"}},
            {"FrmHead", {"TxtHead", "H", "LstGroup", "Sundry Income"}},
            {"FrmBOM", {"DCMainItem", "M", "DcSubItem", "S", "TxtWt", "1"}},
        };
        const QStringList need = needs.value(screenName);
        for (int i = 0; i < need.size(); i += 2)
            set(need[i], need[i + 1]);
        if (screenName == "masparty") {
            typeInto(f("TxtParty_name"), "P");
            pressEnter(f("TxtParty_name")); // gives the party its code
        }
        const char* saveButton = screenName == "FrmCompany" ? "CmdSave" : "Command8";
        const QString fits = "'" + QString(width - 1, QChar(0x0915));
        ts->dialogs.clear();
        set(field, fits + "x");
        clickButton(screen.get(), saveButton);
        QVERIFY2(ts->dialogs.lastText().endsWith(
                     QString(" is too long: at most %1 characters are allowed.").arg(width)),
                 qPrintable(ts->dialogs.texts().join(" | ")));
        QCOMPARE(count(QString("select count(*) from %1").arg(table)), 0);
        set(field, fits);
        clickButton(screen.get(), saveButton);
        QVERIFY2(!ts->dialogs.texts().contains("An error has occured."),
                 qPrintable(ts->dialogs.texts().join(" | ")));
        QCOMPARE(db().scalar(QString("select %1 from %2").arg(columnName, table)).toString(), fits);
    }

    // Another counter deletes the entry on the screen before its correction (or
    // its deletion) is saved: the operator is told, and nothing comes back.
    void entryDeletedMeanwhile_data() {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("byDelete");
        QTest::newRow("party") << "masparty"
                               << "masparty" << false;
        QTest::newRow("vendor") << "FrmVendor"
                                << "MasVendor" << false;
        QTest::newRow("account head") << "FrmHead"
                                      << "AccountHead" << false;
        QTest::newRow("item") << "frmmasitem"
                              << "masitem" << false;
        QTest::newRow("vendor deleted") << "FrmVendor"
                                        << "MasVendor" << true;
        QTest::newRow("account head deleted") << "FrmHead"
                                              << "AccountHead" << true;
        QTest::newRow("item deleted") << "frmmasitem"
                                      << "masitem" << true;
    }
    void entryDeletedMeanwhile() {
        QFETCH(QString, screenName);
        QFETCH(QString, table);
        QFETCH(bool, byDelete);
        db().exec("insert into masparty (party_code, party_name, category) values ('5', 'Mohan', "
                  "'MilkMan')");
        db().exec("insert into MasVendor (party_code, party_name) values ('5', 'Kaira Feeds')");
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        db().exec("insert into masitem (item_name, unit, rate) values ('GHEE', 'Tin', 500)");
        open(screenName);
        QTableWidget* g = grid(screenName == "FrmHead" ? "VsFlex" : "VsGrid");
        clickRow(g, 0);
        if (screenName == "FrmHead")
            press(Qt::Key_F6);
        ts->database.openAnother()->exec(QString("delete from %1").arg(table));
        ts->dialogs.clear();
        if (!byDelete) {
            clickButton(screen.get(), screenName == "FrmCompany" ? "CmdSave" : "Command8");
        } else if (screenName == "frmmasitem") {
            QTest::keyClick(f("txtrate"), Qt::Key_F10);
        } else {
            doubleClickRow(g, 0);
            if (screenName == "FrmVendor") {
                typeInto(f("TxtPassword"), masters::deletionPassword(ts->clock.today()));
                pressEnter(f("TxtPassword"));
            }
        }
        QCOMPARE(ts->dialogs.lastText(), QString("This entry no longer exists."));
        QVERIFY(!ts->dialogs.texts().contains("Data Saved."));
        QCOMPARE(count(QString("select count(*) from %1").arg(table)), 0);
    }

    void vendorsSavedLoadedAndCorrected() {
        open("FrmVendor");
        QCOMPARE(screen->windowTitle(), QString("Vendor"));
        addVendor("Kaira Feeds");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QVERIFY(f("txtparty_name")->text().isEmpty());
        addVendor(QString::fromUtf8("गोपाल ट्रेडर्स"));
        typeInto(f("txtparty_name"), "Kaira Feeds"); // a duplicate is only warned
        leave(f("txtparty_name"), f("txtcity"));
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        clickButton(screen.get(), "Command8");
        QCOMPARE(column(grid(), 0), (QStringList{"3", "2", "1"}));
        clickRow(grid(), 2);
        QCOMPARE(f("TxtPartyCode")->text(), QString("1"));
        f("txtcity")->setText("Nadiad");
        clickButton(screen.get(), "Command8");
        QCOMPARE(count("select count(*) from MasVendor"), 3);
        QCOMPARE(db().scalar("select city from MasVendor where party_code = '1'").toString(),
                 QString("Nadiad"));
        clickButton(screen.get(), "Command9"); // Clear: the next Save is a new vendor
        addVendor("Patel's Agency");
        QCOMPARE(
            db().scalar("select party_code from MasVendor where party_name = ?", {"Patel's Agency"})
                .toString(),
            QString("4"));
        typeInto(f("txtparty_name"), "   ");
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter Milk Man Name."));
    }

    void vendorDeletion_data() {
        QTest::addColumn<bool>("rightPassword");
        QTest::newRow("wrong password") << false;
        QTest::newRow("right password") << true;
    }
    void vendorDeletion() {
        QFETCH(bool, rightPassword);
        open("FrmVendor");
        addVendor("A");
        addVendor("B");
        doubleClickRow(grid(), 0); // vendor 2
        QCOMPARE(ts->dialogs.lastText(), QString("Are you sure to delete it?"));
        QVERIFY(control<QGroupBox>(screen.get(), "Frame2")->isVisible());
        typeInto(f("TxtPassword"), rightPassword ? masters::deletionPassword(ts->clock.today())
                                                 : QString("15042024"));
        pressEnter(f("TxtPassword"));
        QVERIFY(!control<QGroupBox>(screen.get(), "Frame2")->isVisible());
        QCOMPARE(ts->dialogs.lastText(),
                 rightPassword ? QString("Record has ben deleted.") : QString("Wrong Password."));
        QCOMPARE(count("select count(*) from MasVendor"), rightPassword ? 1 : 2);
        QCOMPARE(f("txtparty_name")->text().isEmpty(), rightPassword);
        clickButton(screen.get(), "Command9");
        addVendor("C"); // the highest code, deleted, is given out again
        QCOMPARE(db().scalar("select party_code from MasVendor where party_name = 'C'").toString(),
                 QString(rightPassword ? "2" : "3"));
    }

    void vendorStartsWithNewAccountNameAndTidiesOnClose() {
        ts->session.newAccountName = "Amul Feeds";
        db().exec("insert into MasVendor (party_name) values ('no code')");
        open("FrmVendor");
        QCOMPARE(f("txtparty_name")->text(), QString("Amul Feeds"));
        screen->close();
        QCOMPARE(count("select count(*) from MasVendor"), 0);
    }

    void accountHeadsNeedF6ToBeCorrected() {
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        open("FrmHead");
        clickRow(grid("VsFlex"), 0);
        QCOMPARE(list("LstGroup")->currentText(), QString("Sundry Expenses"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.shown.first().text, QString("Do you want to save?"));
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        press(Qt::Key_F6);
        f("TxtHead")->setText(QString::fromUtf8("किराया"));
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(count("select count(*) from AccountHead"), 1);
        QCOMPARE(db().scalar("select AccountHead from AccountHead").toString(),
                 QString::fromUtf8("किराया"));
        f("TxtHead")->setText("Ravi's Rent"); // no F6 this time: a new head
        clickButton(screen.get(), "Command8");
        QCOMPARE(count("select count(*) from AccountHead"), 2);
        press(Qt::Key_F3);
        QVERIFY(f("TxtHead")->text().isEmpty());
        press(Qt::Key_F6); // nothing loaded
        f("TxtHead")->setText("Tea");
        list("LstGroup")->setCurrentIndex(2);
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Click the entry to correct in the list first."));
        QCOMPARE(count("select count(*) from AccountHead"), 2);
    }

    void accountHeadRefusals_data() {
        QTest::addColumn<QString>("head");
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "Rent" << 2 << false << "Do you want to save?";
        QTest::newRow("no head") << "" << 2 << true << "Please enter proper values.";
        QTest::newRow("no group") << "Rent" << -1 << true << "Please enter proper values.";
    }
    void accountHeadRefusals() {
        QFETCH(QString, head);
        QFETCH(int, group);
        QFETCH(bool, confirm);
        QFETCH(QString, message);
        open("FrmHead");
        f("TxtHead")->setText(head);
        list("LstGroup")->setCurrentIndex(group);
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), message);
        QCOMPARE(count("select count(*) from AccountHead"), 0);
    }

    void accountHeadDoubleClickDeletes() {
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        open("FrmHead");
        ts->dialogs.answer(core::Answer::Cancel);
        doubleClickRow(grid("VsFlex"), 0);
        QCOMPARE(ts->dialogs.shown.last().title, QString("Delete Entry"));
        QCOMPARE(ts->dialogs.lastText(), QString("Are You Sure to Delete."));
        QCOMPARE(count("select count(*) from AccountHead"), 1);
        doubleClickRow(grid("VsFlex"), 0);
        QCOMPARE(count("select count(*) from AccountHead"), 0);
        QCOMPARE(grid("VsFlex")->rowCount(), 0);
        QVERIFY(f("TxtHead")->text().isEmpty());
    }

    void shopRecordSavedTwiceStaysOne() {
        open("FrmCompany");
        QCOMPARE(ts->dialogs.lastText(),
                 QString("No Company information found.Please enter company information."));
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Blank company not allowed."));
        typeInto(f("txtCompName"), "Shree's Parlour");
        pressEnter(f("txtCompName"));
        QVERIFY(f("txtAddress")->hasFocus());
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Saved."));
        f("TxtCity")->setText(QString::fromUtf8("आणंद"));
        clickButton(screen.get(), "CmdSave");
        QCOMPARE(count("select count(*) from compmaster"), 1);
        QCOMPARE(db().scalar("select city from compmaster").toString(), QString::fromUtf8("आणंद"));
        QCOMPARE(ts->session.shop.name, QString("Shree's Parlour"));
        ts->dialogs.clear();
        open("FrmCompany");
        QVERIFY(ts->dialogs.shown.isEmpty());
        QCOMPARE(f("txtCompName")->text(), QString("Shree's Parlour"));
    }
};

QTEST_MAIN(TestSmallMasters)
#include "test_small_masters.moc"
