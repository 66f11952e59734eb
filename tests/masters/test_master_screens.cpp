// The master screens other than the party master, and what every master
// screen shares, each built the way the menu builds it.
#include "masters/deletion_password.h"
#include "masters/register_screens.h"
#include "screen_test_kit.h"

#include "core/database.h"
#include "core_ui/screen_support.h"

#include <QGroupBox>

using namespace stokara;
using namespace stokara::test;

class TestMasterScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> screen;

    core::Database& db() { return ts->db(); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    QString value(const QString& sql) { return db().scalar(sql).toString(); }
    // The first row's values as the grids show them, joined by "/".
    QString row(const QString& sql) {
        const core::Rows rows = db().query(sql);
        QStringList out;
        for (int i = 0; !rows.empty() && i < rows.front().size(); ++i)
            out << rows.front().text(i);
        return out.join('/');
    }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableWidget* grid(const char* name = "VsGrid") {
        return control<QTableWidget>(screen.get(), name);
    }
    void click(const char* button) { clickButton(screen.get(), button); }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    void open(const QString& name) {
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        screen.reset(registry.create(name, ts->session));
        QVERIFY(screen);
        QCOMPARE(screen->objectName(), name);
        activate(screen.get());
    }
    // A field or a list left with this text, as typing or choosing would.
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
        click("Command8");
    }
    void addItem(const QString& name, const QString& flag) {
        db().exec("insert into masitem (item_name, unit, rate, opebal, mainitem) values (?, "
                  "'Tin', 500, 0, ?)",
                  {name, flag.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : flag});
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

    // A warning given on leaving a field is given once, by Enter or by the mouse.
    void leavingFieldWarnsOnce_data() {
        QTest::addColumn<QStringList>("c"); // screen, field, typed, field left for, message
        QTest::addColumn<bool>("byEnter");
        const QStringList cases[] = {
            {"FrmVendor", "txtparty_name", "Kaira Feeds", "txtcity", "Duplicate Entry."},
            {"FrmCompany", "txtCompName", " ", "TxtCity", "Blank not allowed."},
            {"masparty", "TxtParty_name", "Kaira Feeds", "txtcity", "Duplicate Name."},
        };
        for (const QStringList& c : cases)
            for (bool byEnter : {true, false})
                QTest::addRow("%s %s", qPrintable(c[0]), byEnter ? "Enter" : "mouse")
                    << c << byEnter;
    }
    void leavingFieldWarnsOnce() {
        QFETCH(QStringList, c);
        QFETCH(bool, byEnter);
        db().exec("insert into MasVendor (party_code, party_name) values ('1', 'Kaira Feeds')");
        db().exec("insert into masparty (party_code, party_name, category) values ('1', 'Kaira "
                  "Feeds', 'MilkMan')");
        open(c[0]);
        ts->dialogs.clear();
        QLineEdit* edit = f(qPrintable(c[1]));
        typeInto(edit, c[2]);
        if (byEnter)
            pressEnter(edit);
        else
            leave(edit, f(qPrintable(c[3])));
        QCOMPARE(ts->dialogs.texts(), QStringList{c[4]});
    }

    // A value of exactly the field's width, with an apostrophe and Hindi letters,
    // is stored as typed; one character more is refused with a message naming the
    // field, and nothing is stored.
    void textFieldsStoredAsTypedOrRefused_data() {
        QTest::addColumn<QStringList>("c"); // screen, field, table, column
        QTest::addColumn<int>("width");
        const std::pair<QStringList, int> cases[] = {
            {{"masparty", "TxtParty_name", "masparty", "party_name"}, 50},
            {{"masparty", "txtadd1", "masparty", "add1"}, 100},
            {{"masparty", "TxtCardNo", "masparty", "cardno"}, 20},
            {{"masparty", "TxtBankBranch", "masparty", "bankbranch"}, 40},
            {{"FrmVendor", "txtparty_name", "MasVendor", "party_name"}, 40},
            {{"FrmVendor", "txtph", "MasVendor", "ph"}, 40},
            {{"FrmCompany", "txtAddress", "compmaster", "address1"}, 200},
            {{"FrmCompany", "TxtTinNo", "compmaster", "tinno"}, 20},
            {{"frmmasitem", "txtitem_name", "masitem", "item_name"}, 40},
            {{"frmmasitem", "LstUnit", "masitem", "unit"}, 10},
            {{"FrmHead", "TxtHead", "AccountHead", "AccountHead"}, 100},
            {{"FrmBOM", "DcSubItem", "bom", "subitem"}, 40},
        };
        for (const auto& [c, width] : cases)
            QTest::addRow("%s %s", qPrintable(c[0]), qPrintable(c[1])) << c << width;
    }
    void textFieldsStoredAsTypedOrRefused() {
        QFETCH(QStringList, c);
        QFETCH(int, width);
        open(c[0]);
        // What each screen needs besides the field under test.
        const QHash<QString, QStringList> needs{
            {"FrmVendor", {"txtparty_name", "V"}},
            {"FrmCompany", {"txtCompName", "S"}},
            {"frmmasitem", {"txtitem_name", "I", "LstUnit", "Pcs"}},
            {"FrmHead", {"TxtHead", "H", "LstGroup", "Sundry Income"}},
            {"FrmBOM", {"DCMainItem", "M", "DcSubItem", "S", "TxtWt", "1"}},
        };
        const QStringList need = needs.value(c[0]);
        for (int i = 0; i < need.size(); i += 2)
            set(need[i], need[i + 1]);
        if (c[0] == "masparty") {
            typeInto(f("TxtParty_name"), "P");
            pressEnter(f("TxtParty_name")); // gives the party its code
        }
        const char* save = c[0] == "FrmCompany" ? "CmdSave" : "Command8";
        const QString fits = "'" + QString(width - 1, QChar(0x0915));
        ts->dialogs.clear();
        set(c[1], fits + "x");
        click(save);
        QCOMPARE(ts->dialogs.lastText().section(':', 1),
                 QString(" at most %1 characters are allowed.").arg(width));
        QCOMPARE(count("select count(*) from " + c[2]), 0);
        set(c[1], fits);
        click(save);
        QVERIFY2(!ts->dialogs.texts().contains("An error has occured."),
                 qPrintable(ts->dialogs.texts().join(" | ")));
        QCOMPARE(value(QString("select %1 from %2").arg(c[3], c[2])), fits);
    }

    // Another counter deletes the entry on the screen before its correction (or
    // its deletion) is saved: the operator is told, and nothing comes back.
    void entryDeletedMeanwhile_data() {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("byDelete");
        for (bool byDelete : {false, true}) {
            QTest::addRow("vendor %d", byDelete) << "FrmVendor"
                                                 << "MasVendor" << byDelete;
            QTest::addRow("head %d", byDelete) << "FrmHead"
                                               << "AccountHead" << byDelete;
            QTest::addRow("item %d", byDelete) << "frmmasitem"
                                               << "masitem" << byDelete;
        }
        QTest::addRow("party") << "masparty"
                               << "masparty" << false;
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
        addItem("GHEE", "N");
        open(screenName);
        QTableWidget* g = grid(screenName == "FrmHead" ? "VsFlex" : "VsGrid");
        clickRow(g, 0);
        if (screenName == "FrmHead")
            key(Qt::Key_F6);
        ts->database.openAnother()->exec("delete from " + table);
        ts->dialogs.clear();
        if (!byDelete) {
            click("Command8");
        } else if (screenName == "frmmasitem") {
            key(Qt::Key_F10);
        } else {
            doubleClickRow(g, 0);
            if (screenName == "FrmVendor") {
                typeInto(f("TxtPassword"), masters::deletionPassword(ts->clock.today()));
                pressEnter(f("TxtPassword"));
            }
        }
        QCOMPARE(ts->dialogs.lastText(), QString("This entry no longer exists."));
        QVERIFY(!ts->dialogs.texts().contains("Data Saved."));
        QCOMPARE(count("select count(*) from " + table), 0);
    }

    void vendorsSavedLoadedAndCorrected() {
        ts->session.newAccountName = "Amul Feeds";
        db().exec("insert into MasVendor (party_name) values ('no code')");
        open("FrmVendor");
        QCOMPARE(f("txtparty_name")->text(), QString("Amul Feeds"));
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QVERIFY(f("txtparty_name")->text().isEmpty());
        addVendor(QString::fromUtf8("गोपाल ट्रेडर्स"));
        addVendor("Amul Feeds"); // a duplicate name is only warned of
        QCOMPARE(column(grid(), 0), (QStringList{"3", "2", "1", ""}));
        clickRow(grid(), 2);
        QCOMPARE(f("TxtPartyCode")->text(), QString("1"));
        f("txtcity")->setText("Nadiad");
        click("Command8");
        f("txtph")->setText("98250"); // still vendor 1 on the screen
        click("Command8");
        QCOMPARE(row("select city, ph from MasVendor where party_code = '1'"),
                 QString("Nadiad/98250"));
        click("Command9"); // the next Save is a new vendor
        addVendor("Patel's Agency");
        QCOMPARE(value("select party_code from MasVendor where party_name = 'Patel''s Agency'"),
                 QString("4"));
        typeInto(f("txtparty_name"), "   ");
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter Milk Man Name."));
        screen->close(); // closing tidies vendors without a code
        QCOMPARE(count("select count(*) from MasVendor"), 4);
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
        QCOMPARE(f("txtparty_name")->text().isEmpty(), rightPassword);
        click("Command9");
        addVendor("C"); // the highest code, deleted, is given out again
        QCOMPARE(value("select party_code from MasVendor where party_name = 'C'"),
                 QString(rightPassword ? "2" : "3"));
    }

    void accountHeadsNeedF6ToBeCorrected() {
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        open("FrmHead");
        clickRow(grid("VsFlex"), 0);
        QCOMPARE(list("LstGroup")->currentText(), QString("Sundry Expenses"));
        click("Command8");
        QCOMPARE(ts->dialogs.shown.first().text, QString("Do you want to save?"));
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        key(Qt::Key_F6);
        f("TxtHead")->setText(QString::fromUtf8("किराया"));
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(value("select AccountHead from AccountHead"), QString::fromUtf8("किराया"));
        f("TxtHead")->setText("Ravi's Rent"); // no F6 this time: a new head
        click("Command8");
        QCOMPARE(count("select count(*) from AccountHead"), 2);
        f("TxtHead")->setFocus();
        key(Qt::Key_F3);
        QVERIFY(f("TxtHead")->text().isEmpty());
        key(Qt::Key_F6); // nothing loaded
        set("TxtHead", "Tea");
        set("LstGroup", "Sundry Expenses");
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Click the entry to correct in the list first."));
        QCOMPARE(count("select count(*) from AccountHead"), 2);
        ts->dialogs.answer(core::Answer::Cancel); // double-click: delete, after a question
        doubleClickRow(grid("VsFlex"), 0);
        QCOMPARE(ts->dialogs.shown.last().title, QString("Delete Entry"));
        QCOMPARE(count("select count(*) from AccountHead"), 2);
        doubleClickRow(grid("VsFlex"), 0);
        QCOMPARE(count("select count(*) from AccountHead"), 1);
    }

    void accountHeadRefusals_data() {
        QTest::addColumn<QStringList>("c"); // head, group, answer, message
        QTest::newRow("cancelled")
            << QStringList{"Rent", "Sundry Income", "", "Do you want to save?"};
        QTest::newRow("no head") << QStringList{"", "Sundry Income", "ok",
                                                "Please enter proper values."};
        QTest::newRow("no group") << QStringList{"Rent", "", "ok", "Please enter proper values."};
    }
    void accountHeadRefusals() {
        QFETCH(QStringList, c);
        open("FrmHead");
        set("TxtHead", c[0]);
        set("LstGroup", c[1]);
        if (c[2].isEmpty())
            ts->dialogs.answer(core::Answer::Cancel);
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), c[3]);
        QCOMPARE(count("select count(*) from AccountHead"), 0);
    }

    void shopRecordSavedTwiceStaysOne() {
        open("FrmCompany");
        QCOMPARE(ts->dialogs.lastText(),
                 QString("No Company information found.Please enter company information."));
        click("CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Blank company not allowed."));
        typeInto(f("txtCompName"), "Shree's Parlour");
        pressEnter(f("txtCompName"));
        QVERIFY(f("txtAddress")->hasFocus());
        click("CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Saved."));
        f("TxtCity")->setText(QString::fromUtf8("आणंद"));
        click("CmdSave");
        QCOMPARE(count("select count(*) from compmaster"), 1);
        QCOMPARE(value("select city from compmaster"), QString::fromUtf8("आणंद"));
        QCOMPARE(ts->session.shop.name, QString("Shree's Parlour"));
        ts->dialogs.clear();
        open("FrmCompany");
        QVERIFY(ts->dialogs.shown.isEmpty());
        QCOMPARE(f("txtCompName")->text(), QString("Shree's Parlour"));
    }

    void newItemsThroughTheKeyboard() {
        open("frmmasitem");
        QVERIFY(grid()->isColumnHidden(3));
        typeInto(f("txtitem_name"), "d'souza ghee");
        pressEnter(f("txtitem_name"));
        QCOMPARE(f("txtitem_name")->text(), QString("D'SOUZA GHEE"));
        QCOMPARE(list("LstMainItem")->currentText(), QString("N"));
        key(Qt::Key_Return);
        QVERIFY(list("LstUnit")->hasFocus());
        key(Qt::Key_Return);
        QCOMPARE(list("LstUnit")->currentText(), QString("Weight"));
        QTest::keyClicks(f("txtrate"), "12abc");
        key(Qt::Key_Return);
        key(Qt::Key_Return); // the opening balance moves on to Save, it does not save
        QVERIFY(control<QAbstractButton>(screen.get(), "Command8")->hasFocus());
        QCOMPARE(count("select count(*) from masitem"), 0);
        ts->dialogs.answer(core::Answer::Cancel); // "Do You want to add new item?"
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Do You want to add new item?"));
        QCOMPARE(row("select unit, rate, opebal, mainitem from masitem"), QString("Weight/12/0/N"));
        click("Command8"); // the fields kept: a second row of the same name
        QCOMPARE(count("select count(*) from masitem where item_name = 'D''SOUZA GHEE'"), 2);
        QVERIFY(f("txtitem_name")->text().isEmpty()); // OK this time: a fresh item
        QCOMPARE(list("LstMainItem")->currentText(), QString("N"));
    }

    void loadedItemIsUpdatedAndClearStartsANewOne() {
        addItem("GHEE", "N");
        open("frmmasitem");
        clickRow(grid(), 0);
        QCOMPARE(list("LstUnit")->currentText(), QString("Tin"));
        f("txtrate")->setText("525.5");
        ts->dialogs.answer(core::Answer::Cancel);
        click("Command8");
        f("TxtOpeBal")->setText("7"); // still the loaded item
        click("Command8");
        QCOMPARE(row("select rate, opebal from masitem"), QString("525.5/7"));
        clickRow(grid(), 0);
        click("Command9");
        typeInto(f("txtitem_name"), "butter");
        leave(f("txtitem_name"), list("LstUnit"));
        leave(list("LstUnit"), f("txtrate"));
        click("Command8");
        QCOMPARE(count("select count(*) from masitem"), 2);
        QCOMPARE(value("select unit from masitem where item_name = 'BUTTER'"), QString("Weight"));
        QCOMPARE(row("select rate from masitem where item_name = 'GHEE'"), QString("525.5"));
    }

    void itemRefusals_data() {
        QTest::addColumn<QStringList>("c"); // name, unit, rate, message
        QTest::newRow("no name") << QStringList{"", "Pcs", "1", "Enter Proper Data."};
        QTest::newRow("no unit") << QStringList{"SALT", "", "1", "Enter Proper Data."};
        QTest::newRow("rate too large")
            << QStringList{"SALT", "Pcs", "10000000",
                           "Rate is too large: at most 7 digits before the decimal point."};
    }
    void itemRefusals() {
        QFETCH(QStringList, c);
        open("frmmasitem");
        set("txtitem_name", c[0]);
        set("LstUnit", c[1]);
        set("txtrate", c[2]);
        f("txtrate")->setFocus();
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), c[3]);
        QCOMPARE(count("select count(*) from masitem"), 0);
        QCOMPARE(f("txtitem_name")->text(), c[0]);
    }

    // F10 deletes the current row of the item or BOM grid, after a question.
    void f10Deletes_data() {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<bool>("rowCurrent");
        QTest::addColumn<bool>("confirm");
        for (const char* name : {"frmmasitem", "FrmBOM"}) {
            QTest::addRow("%s no row current", name) << name << false << true;
            QTest::addRow("%s cancelled", name) << name << true << false;
            QTest::addRow("%s confirmed", name) << name << true << true;
        }
    }
    void f10Deletes() {
        QFETCH(QString, screenName);
        QFETCH(bool, rowCurrent);
        QFETCH(bool, confirm);
        const bool bom = screenName == "FrmBOM";
        const QString table = bom ? "bom" : "masitem";
        addItem("MIX", "Y");
        addItem("BRAN", "N");
        db().exec("insert into bom (mainitem, subitem, wt) values ('MIX', 'BRAN', 2)");
        db().exec("insert into bom (mainitem, subitem, wt) values ('MIX', 'SALT', 1)");
        open(screenName);
        if (bom) {
            set("DCMainItem", "MIX");
            click("CmdSearch");
        }
        if (rowCurrent)
            clickRow(grid(), 0);
        else
            grid()->setCurrentCell(-1, -1);
        f(bom ? "TxtWt" : "txtrate")->setFocus();
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        key(Qt::Key_F10);
        QCOMPARE(ts->dialogs.texts(),
                 rowCurrent ? QStringList{"Are You Sure to Delete."} : QStringList{});
        QCOMPARE(count("select count(*) from " + table), rowCurrent && confirm ? 1 : 2);
        QCOMPARE(grid()->rowCount(), rowCurrent && confirm ? 1 : 2);
    }

    void bomLinesOfAMainItem() {
        addItem("MIX", "Y");
        addItem("BRAN", "N");
        addItem("SALT", "");
        db().exec("insert into vehicle (veh_name) values ('blank')");
        open("FrmBOM");
        QCOMPARE(list("DCMainItem")->count(), 1); // main items, and the rest below
        QCOMPARE(list("DcSubItem")->count(), 2);
        for (const QStringList& line :
             {QStringList{"BRAN", "2.5"}, QStringList{"SALT", "0.5"}, QStringList{"BRAN", "3"}}) {
            set("DCMainItem", "MIX");
            set("DcSubItem", line[0]);
            set("TxtWt", line[1]);
            click("CmdMore"); // keeps the main item
            QVERIFY(list("DcSubItem")->currentText().isEmpty());
        }
        QCOMPARE(column(grid(), 1), (QStringList{"BRAN", "SALT"}));
        QCOMPARE(column(grid(), 2), (QStringList{"3", "0.5"}));
        set("DcSubItem", "SALT");
        set("TxtWt", "0.75");
        click("Command8"); // starts a new main item
        QVERIFY(list("DCMainItem")->currentText().isEmpty());
        set("DCMainItem", "MIX");
        click("CmdSearch");
        clickRow(grid(), 1);
        QCOMPARE(f("TxtWt")->text(), QString("0.75"));
        screen->close(); // closing tidies blank vehicles
        QCOMPARE(count("select count(*) from vehicle"), 0);
    }

    void bomRefusals_data() {
        QTest::addColumn<QStringList>("c"); // main item, sub-item, weight
        QTest::newRow("weight 0") << QStringList{"MIX", "BRAN", "0"};
        QTest::newRow("weight not a number") << QStringList{"MIX", "BRAN", "abc"};
        QTest::newRow("negative weight") << QStringList{"MIX", "BRAN", "-2"};
        QTest::newRow("too large for the column") << QStringList{"MIX", "BRAN", "12345678"};
        QTest::newRow("no main item") << QStringList{" ", "BRAN", "1"};
        QTest::newRow("no sub-item") << QStringList{"MIX", "", "1"};
    }
    void bomRefusals() {
        QFETCH(QStringList, c);
        open("FrmBOM");
        set("DCMainItem", c[0]);
        set("DcSubItem", c[1]);
        set("TxtWt", c[2]);
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter proper value."));
        QCOMPARE(count("select count(*) from bom"), 0);
        QCOMPARE(f("TxtWt")->text(), c[2]); // nothing lost
    }
};

QTEST_MAIN(TestMasterScreens)
#include "test_master_screens.moc"
