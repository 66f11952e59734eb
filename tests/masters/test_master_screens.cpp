// The master screens other than the party master, and what every master
// screen shares, each built the way the menu builds it.
#include "masters/deletion_password.h"
#include "screen_test_kit.h"

#include <QGroupBox>

using namespace stokara;
using namespace stokara::test;

class TestMasterScreens : public QObject, ScreenFixture {
    Q_OBJECT

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
        QCOMPARE(row(QString("select %1 from %2").arg(c[3], c[2])), fits);
    }

    // Another counter deletes the entry on the screen before its correction (or
    // its deletion) is saved: the operator is told, and nothing comes back.
    void entryDeletedMeanwhile_data() {
        QTest::addColumn<QStringList>("c"); // screen, table
        QTest::addColumn<bool>("byDelete");
        for (const QStringList& c :
             {QStringList{"FrmVendor", "MasVendor"}, QStringList{"FrmHead", "AccountHead"},
              QStringList{"frmmasitem", "masitem"}, QStringList{"masparty", "masparty"}})
            for (bool byDelete : {false, true})
                QTest::addRow("%s %s", qPrintable(c[0]), byDelete ? "deleted" : "saved")
                    << c << byDelete;
    }
    void entryDeletedMeanwhile() {
        QFETCH(QStringList, c);
        QFETCH(bool, byDelete);
        const QString screenName = c[0], table = c[1];
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
            if (screenName == "FrmVendor" || screenName == "masparty") {
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
        QCOMPARE(row("select party_code from MasVendor where party_name = 'Patel''s Agency'"),
                 QString("4"));
        doubleClickRow(grid(), 0); // vendor 4
        QCOMPARE(ts->dialogs.lastText(), QString("Are you sure to delete it?"));
        typeInto(f("TxtPassword"), masters::deletionPassword(ts->clock.today()));
        pressEnter(f("TxtPassword"));
        QCOMPARE(ts->dialogs.lastText(), QString("Record has ben deleted."));
        addVendor("   ");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter Milk Man Name."));
        click("Command9");
        addVendor("C"); // the highest code, deleted, is given out again
        QCOMPARE(row("select party_code from MasVendor where party_name = 'C'"), QString("4"));
        screen->close(); // closing tidies vendors without a code
        QCOMPARE(count("select count(*) from MasVendor"), 4);
    }

    void accountHeadsNeedF6ToBeCorrected() {
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        open("FrmHead");
        click("Command8");
        QCOMPARE(ts->dialogs.texts(),
                 (QStringList{"Do you want to save?", "Please enter proper values."}));
        clickRow(grid("VsFlex"), 0);
        QCOMPARE(list("LstGroup")->currentText(), QString("Sundry Expenses"));
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Entry."));
        key(Qt::Key_F6);
        f("TxtHead")->setText(QString::fromUtf8("किराया"));
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(row("select AccountHead from AccountHead"), QString::fromUtf8("किराया"));
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
        QCOMPARE(row("select city from compmaster"), QString::fromUtf8("आणंद"));
        QCOMPARE(ts->session.shop.name, QString("Shree's Parlour"));
        ts->dialogs.clear();
        open("FrmCompany");
        QVERIFY(ts->dialogs.shown.isEmpty());
        QCOMPARE(f("txtCompName")->text(), QString("Shree's Parlour"));
    }

    void newItemsThroughTheKeyboard() {
        open("frmmasitem");
        QVERIFY(grid()->isColumnHidden(3));
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter Proper Data."));
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
        f("txtrate")->setText("10000000");
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Rate is too large: at most 7 digits before the decimal point."));
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
        QCOMPARE(row("select unit from masitem where item_name = 'BUTTER'"), QString("Weight"));
        QCOMPARE(row("select rate from masitem where item_name = 'GHEE'"), QString("525.5"));
    }

    // F10 deletes the current row of the item or BOM grid, after a question.
    void f10Deletes() {
        addItem("MIX", "Y");
        addItem("BRAN", "N");
        db().exec("insert into bom (mainitem, subitem, wt) values ('MIX', 'BRAN', 2)");
        db().exec("insert into bom (mainitem, subitem, wt) values ('MIX', 'SALT', 1)");
        for (const QString table : {"masitem", "bom"}) {
            const bool bom = table == "bom";
            open(bom ? "FrmBOM" : "frmmasitem");
            if (bom) {
                set("DCMainItem", "MIX");
                click("CmdSearch");
            }
            grid()->setCurrentCell(-1, -1);
            f(bom ? "TxtWt" : "txtrate")->setFocus();
            key(Qt::Key_F10); // no row current: nothing asked
            ts->dialogs.answer(core::Answer::Cancel);
            clickRow(grid(), 0);
            f(bom ? "TxtWt" : "txtrate")->setFocus();
            key(Qt::Key_F10);
            QCOMPARE(count("select count(*) from " + table), 2);
            key(Qt::Key_F10);
            QCOMPARE(ts->dialogs.texts(), QStringList(2, "Are You Sure to Delete."));
            QCOMPARE(count("select count(*) from " + table), 1);
            QCOMPARE(grid()->rowCount(), 1);
            ts->dialogs.clear();
        }
    }

    void bomLinesOfAMainItem() {
        addItem("MIX", "Y");
        addItem("BRAN", "N");
        addItem("SALT", "");
        db().exec("insert into vehicle (veh_name) values ('blank')");
        open("FrmBOM");
        QCOMPARE(list("DCMainItem")->count(), 1); // main items, and the rest below
        QCOMPARE(list("DcSubItem")->count(), 2);
        for (const QStringList& bad : {QStringList{"MIX", "BRAN", "0"},
                                       {"MIX", "BRAN", "abc"},
                                       {"MIX", "BRAN", "-2"},
                                       {"MIX", "BRAN", "12345678"},
                                       {" ", "BRAN", "1"},
                                       {"MIX", "", "1"}}) {
            set("DCMainItem", bad[0]);
            set("DcSubItem", bad[1]);
            set("TxtWt", bad[2]);
            click("Command8");
            QCOMPARE(ts->dialogs.lastText(), QString("Enter proper value."));
            QCOMPARE(f("TxtWt")->text(), bad[2]); // nothing lost
        }
        QCOMPARE(count("select count(*) from bom"), 0);
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
};

QTEST_MAIN(TestMasterScreens)
#include "test_master_screens.moc"
