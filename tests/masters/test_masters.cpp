// The master screens (party, item, BOM, vendor, account head, shop) driven as
// the operator drives them, and the party store where two counters meet.
#include "masters/deletion_password.h"
#include "masters/party_screen.h"
#include "masters/register_screens.h"

#include "core/database.h"
#include "core_ui/screen_support.h"
#include "reader/card_poller.h"
#include "reader/simulated_reader.h"
#include "schema/schema.h"
#include "support/test_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace stokara;
using masters::PartyFields;
using masters::PartyStore;
using test::TestSession;

namespace {

template <class T = QLineEdit> T* control(QWidget* screen, const char* name) {
    T* w = screen->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Puts the focus in a field and types into it (after what is there), one key
// event per letter carrying its text, as a keyboard of any script sends them.
void typeInto(QWidget* field, const QString& text) {
    field->setFocus();
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(field, &press);
    }
}

void pressEnter(QWidget* field) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
}

// Moves the focus on to another field, as a mouse click or Tab would.
void leave(QWidget* field, QWidget* to) {
    field->setFocus();
    to->setFocus(Qt::TabFocusReason);
}

void clickRow(QTableView* grid, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
}

// A double-click: the click that selects the row, then the grid's double-click.
void doubleClickRow(QTableView* grid, int row) {
    clickRow(grid, row);
    emit grid->doubleClicked(grid->model()->index(row, 0));
}

QStringList column(const QTableView* grid, int c) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, c).data().toString();
    return out;
}

} // namespace

class TestMasters : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> screen;

    core::Database& db() { return ts->db(); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    // The first row's values as text, joined by "/".
    QString row(const QString& sql, const QVariantList& values = {}) {
        const core::Rows rows = db().query(sql, values);
        QStringList out;
        for (int i = 0; !rows.empty() && i < rows.front().size(); ++i)
            out << rows.front().text(i);
        return out.join('/');
    }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableView* grid(const char* name = "VsGrid") {
        return control<QTableView>(screen.get(), name);
    }
    void click(const char* button) {
        auto* b = control<QAbstractButton>(screen.get(), button);
        QVERIFY(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    // Opens a screen as the menu does, as the active window so that focus and
    // leaving fields behave; the party master's reader ticks are driven by hand.
    void open(const QString& name) {
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        screen.reset(registry.create(name, ts->session));
        QVERIFY(screen && screen->objectName() == name);
        if (name == "masparty")
            party()->cardPoller()->stop();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
    }
    // Fields or lists left with these texts (name, text, name, text ...), as
    // typing or choosing would.
    void set(const QStringList& namesAndTexts) {
        for (qsizetype i = 0; i + 1 < namesAndTexts.size(); i += 2) {
            QWidget* w = screen->findChild<QWidget*>(namesAndTexts[i]);
            auto* l = qobject_cast<QComboBox*>(w);
            if (auto* e = qobject_cast<QLineEdit*>(w))
                e->setText(namesAndTexts[i + 1]);
            else if (l->isEditable())
                l->setEditText(namesAndTexts[i + 1]);
            else
                l->setCurrentIndex(l->findText(namesAndTexts[i + 1]));
        }
    }
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
    void newName(const QString& name) {
        typeInto(f("TxtParty_name"), name);
        pressEnter(f("TxtParty_name"));
    }
    bool photoShown() { return !control<QLabel>(screen.get(), "Image1")->pixmap().isNull(); }

    void addVendor(const QString& name) {
        typeInto(f("txtparty_name"), name);
        click("Command8");
    }
    // One entry on every screen, "Kaira Feeds" as a party and as a vendor.
    void seed() {
        db().exec("insert into MasVendor (party_code, party_name) values ('1', 'Kaira Feeds')");
        addParty("1", "Kaira Feeds");
        db().exec("insert into AccountHead (AccountHead, AccountGroup) values ('Rent', 'Sundry "
                  "Expenses')");
        addItem("GHEE", "N");
    }
    void addItem(const QString& name, const QString& flag) {
        db().exec("insert into masitem (item_name, unit, rate, opebal, mainitem) values (?, "
                  "'Tin', 500, 0, ?)",
                  {name, flag.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : flag});
    }

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
        open("masparty");
        QCOMPARE(column(grid(), 0), (QStringList{"32767", "9", "abc"})); // highest first
        QVERIFY(!f("TxtPartyCode")->isEnabled() && !f("TxtPan")->isEnabled());
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
        addParty("5", "Centre", "VLCC", "0A1B2C3D", photo("p.jpg"));
        addParty("6", "Other", "MilkMan", "11112222");
        addParty("7", "Gone", "MilkMan", "", "/no/such/folder/photo.jpg");
        open("masparty");
        clickRow(grid(), 0);
        QCOMPARE(ts->dialogs.lastText(), QString("Photo missing in system."));
        QCOMPARE(f("TxtParty_name")->text(), QString("Gone"));
        clickRow(grid(), 2);
        QCOMPARE(f("TxtCreditLimit")->text(), QString("2500"));
        QVERIFY(photoShown());
        leave(f("TxtParty_name"), f("txtcity")); // a collection centre stays one
        f("txtcity")->setText("Nadiad");
        f("TxtCardNo")->setText("11112222");
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Card No. already given to 6 - Other."));
        QVERIFY(f("TxtCardNo")->hasFocus());
        f("TxtCardNo")->setText("0A1B2C3D"); // its own card is no conflict
        click("Command8");
        f("txtph")->setText("98250"); // the fields still show party 5: saved again, still 5
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Data Saved."));
        QCOMPARE(row("select city, ph, category, imagepath from masparty where party_code = '5'"),
                 "Nadiad/98250/VLCC/" + photos.filePath("p.jpg"));
        click("Command9");
        QVERIFY(party()->photoPath().isEmpty() && !photoShown());
        newName("Other"); // a new party may not take an existing name
        QCOMPARE(ts->dialogs.lastText(), QString("Duplicate Name."));
        QVERIFY(f("TxtParty_name")->text().isEmpty() && f("TxtParty_name")->hasFocus());
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
        open("masparty");
        typeInto(f("TxtPartyCode"), c[0]);
        pressEnter(f("TxtPartyCode"));
        newName(c[1]);
        typeInto(f("TxtCardNo"), c[2]);
        click("Command8");
        QCOMPARE(ts->dialogs.texts(), QStringList{c[3]});
        QCOMPARE(row("select count(*), max(party_name) from masparty"), QString("1/Ramesh"));
    }

    void deletion_data() {
        QTest::addColumn<QStringList>("c"); // answer, days off today, typed after, message
        QTest::newRow("the day's password")
            << QStringList{"ok", "0", "", "All data has ben deleted."};
        QTest::newRow("yesterday's password") << QStringList{"ok", "-1", "", "Wrong Password."};
        QTest::newRow("with a blank") << QStringList{"ok", "0", " ", "Wrong Password."};
        QTest::newRow("cancelled") << QStringList{"", "0", "", ""};
    }
    void deletion() {
        QFETCH(QStringList, c);
        const bool confirm = !c[0].isEmpty();
        addParty("5", "Mohan's");
        addParty("6", "Stays");
        const QStringList tables{"milk_col", "itemsale", "advance", "masrate", "masparty"};
        for (const QString& table : tables.mid(0, 4))
            db().exec(QString("insert into %1 (party_code) values ('5'), ('6')").arg(table));
        open("masparty");
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        doubleClickRow(grid(), 1);
        QCOMPARE(ts->dialogs.lastText(),
                 QString("Are you sure to delete milk man account and all its data.?"));
        QCOMPARE(control<QGroupBox>(screen.get(), "Frame2")->isVisible(), confirm);
        if (confirm) {
            typeInto(f("TxtPassword"),
                     masters::deletionPassword(ts->clock.today().addDays(c[1].toInt())) + c[2]);
            pressEnter(f("TxtPassword"));
            QCOMPARE(ts->dialogs.lastText(), c[3]);
        }
        const bool gone = c[3] == "All data has ben deleted.";
        for (const QString& table : tables)
            QCOMPARE(count("select count(*) from " + table), gone ? 1 : 2);
        QCOMPARE(row("select party_name from MasPartyDeleted"), QString(gone ? "Mohan's" : ""));
        QCOMPARE(f("TxtParty_name")->text().isEmpty(), gone); // not left to be saved again
    }

    // The reader's card lands in the card field of whatever party is shown, stays
    // when the card is taken away, and is saved with the party.
    void cardFromTheReader() {
        auto module = reader::SimulatedReaderModule::shared();
        module->removeCard();
        addParty("5", "Mohan");
        open("masparty");
        reader::CardPoller* poller = party()->cardPoller();
        const auto tick = [poller](void (reader::CardPoller::*slot)()) {
            const auto idle = [poller] { return !poller->requestPending(); };
            return QTest::qWaitFor(idle, 10000) &&
                   ((poller->*slot)(), QTest::qWaitFor(idle, 10000));
        };
        module->setPlugged(true);
        QVERIFY(tick(&reader::CardPoller::connectTick));
        QCOMPARE(screen->windowTitle(), QString("Item Sale - Reader Connected"));
        clickRow(grid(), 0);
        module->presentCard(reader::CardUid{0x0A, 0x1B, 0x2C, 0x3D});
        QVERIFY(tick(&reader::CardPoller::pollTick));
        QCOMPARE(f("TxtParty_name")->text() + f("TxtCardNo")->text(), QString("Mohan0A1B2C3D"));
        module->removeCard();
        QVERIFY(tick(&reader::CardPoller::pollTick));
        click("Command8");
        QCOMPARE(stored("cardno", "5"), QString("0A1B2C3D"));
    }

    // Each of the 32 columns gets its own value back, on insert and on update.
    void everyColumnKeepsItsOwnValue() {
        // The text fields, then the numbers.
        const QList<QString PartyFields::*> fields{
            &PartyFields::name,          &PartyFields::add1,         &PartyFields::ph,
            &PartyFields::vehCode,       &PartyFields::city,         &PartyFields::balDrCr,
            &PartyFields::commType,      &PartyFields::commTypeBuff, &PartyFields::commType1,
            &PartyFields::commTypeBuff1, &PartyFields::cowRateType,  &PartyFields::buffaloRateType,
            &PartyFields::acNo,          &PartyFields::ifsc,         &PartyFields::snfCircuit,
            &PartyFields::imagePath,     &PartyFields::accountName,  &PartyFields::fatherName,
            &PartyFields::bankName,      &PartyFields::bankBranch,   &PartyFields::pan,
            &PartyFields::cardNo,        &PartyFields::opeBal,       &PartyFields::commPer,
            &PartyFields::commPerBuff,   &PartyFields::commPer1,     &PartyFields::commPerBuff1,
            &PartyFields::interestRate};
        PartyStore store(db());
        for (const QString prefix : {"a", "b"}) {
            PartyFields f;
            f.code = "7";
            for (int i = 0; i < fields.size(); ++i)
                f.*fields[i] = i < 22 ? prefix + QString::number(i) : QString::number(i) + ".25";
            f.category = "MilkMan";
            f.active = prefix;      // one character wide
            f.creditLimit = "40.5"; // whole rupees, half to even
            const auto w = prefix == "a" ? store.insert(f, true) : store.update("7", f);
            QVERIFY(w.hit && !w.refused);
            const auto back = store.load("7");
            QVERIFY(back);
            for (auto field : fields + QList{&PartyFields::category, &PartyFields::active})
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
        QCOMPARE(row("select (select count(*) from masparty), (select count(*) from itemsale), "
                     "(select count(*) from MasPartyDeleted)"),
                 QString("1/1/0"));
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

    // A value of exactly the field's width, with an apostrophe and Hindi letters,
    // is stored as typed; one character more is refused with a message naming the
    // field, and nothing is stored.
    void textFieldsStoredAsTypedOrRefused_data() {
        QTest::addColumn<QStringList>("c"); // screen, field, table, column, other fields
        QTest::addColumn<int>("width");
        const std::pair<QStringList, int> cases[] = {
            {{"masparty", "TxtParty_name", "masparty", "party_name"}, 50},
            {{"masparty", "TxtCardNo", "masparty", "cardno"}, 20},
            {{"FrmVendor", "txtph", "MasVendor", "ph", "txtparty_name", "V"}, 40},
            {{"FrmCompany", "TxtTinNo", "compmaster", "tinno", "txtCompName", "S"}, 20},
            {{"frmmasitem", "LstUnit", "masitem", "unit", "txtitem_name", "I"}, 10},
            {{"FrmHead", "TxtHead", "AccountHead", "AccountHead", "LstGroup", "Sundry Income"},
             100},
            {{"FrmBOM", "DcSubItem", "bom", "subitem", "DCMainItem", "M", "TxtWt", "1"}, 40},
        };
        for (const auto& [c, width] : cases)
            QTest::addRow("%s %s", qPrintable(c[0]), qPrintable(c[1])) << c << width;
    }
    void textFieldsStoredAsTypedOrRefused() {
        QFETCH(QStringList, c);
        QFETCH(int, width);
        open(c[0]);
        set(c.mid(4));
        if (c[0] == "masparty") {
            typeInto(f("TxtParty_name"), "P");
            pressEnter(f("TxtParty_name")); // gives the party its code
        }
        const char* save = c[0] == "FrmCompany" ? "CmdSave" : "Command8";
        const QString fits = "'" + QString(width - 1, QChar(0x0915));
        ts->dialogs.clear();
        set({c[1], fits + "x"});
        click(save);
        QCOMPARE(ts->dialogs.lastText().section(':', 1),
                 QString(" at most %1 characters are allowed.").arg(width));
        QCOMPARE(count("select count(*) from " + c[2]), 0);
        set({c[1], fits});
        click(save);
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
        seed();
        open(screenName);
        QTableView* g = grid(screenName == "FrmHead" ? "VsFlex" : "VsGrid");
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
        ts->dialogs.clear();
        addVendor("Amul Feeds"); // a duplicate name is warned of once, and saved
        QCOMPARE(ts->dialogs.texts(), (QStringList{"Duplicate Entry.", "Data Saved."}));
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
        set({"TxtHead", "Tea", "LstGroup", "Sundry Expenses"});
        click("Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Click the entry to correct in the list first."));
        doubleClickRow(grid("VsFlex"), 0); // deleted after a question
        QCOMPARE(ts->dialogs.shown.last().title, QString("Delete Entry"));
        QCOMPARE(count("select count(*) from AccountHead"), 1);
    }

    void shopRecordSavedTwiceStaysOne() {
        open("FrmCompany");
        QCOMPARE(ts->dialogs.lastText(),
                 QString("No Company information found.Please enter company information."));
        typeInto(f("txtCompName"), " ");
        pressEnter(f("txtCompName"));
        QCOMPARE(ts->dialogs.lastText(), QString("Blank not allowed."));
        f("txtCompName")->clear();
        click("CmdSave");
        QCOMPARE(ts->dialogs.texts().mid(2), QStringList{"Blank company not allowed."});
        typeInto(f("txtCompName"), "Shree's Parlour");
        pressEnter(f("txtCompName"));
        click("CmdSave");
        QCOMPARE(ts->dialogs.lastText(), QString("Saved."));
        f("TxtCity")->setText(QString::fromUtf8("आणंद"));
        click("CmdSave");
        QCOMPARE(count("select count(*) from compmaster"), 1);
        QCOMPARE(row("select city from compmaster"), QString::fromUtf8("आणंद"));
        QCOMPARE(ts->session.shop.name, QString("Shree's Parlour"));
        open("FrmCompany");
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
        key(Qt::Key_Return);
        QCOMPARE(list("LstUnit")->currentText(), QString("Weight"));
        QTest::keyClicks(f("txtrate"), "12abc");
        key(Qt::Key_Return);
        key(Qt::Key_Return); // the opening balance moves on to Save, it does not save
        QVERIFY(control<QAbstractButton>(screen.get(), "Command8")->hasFocus());
        QCOMPARE(count("select count(*) from masitem"), 0);
        click("Command8"); // letters are refused, not stored as 12
        QCOMPARE(ts->dialogs.lastText(), QString("Rate must be a number."));
        QVERIFY(f("txtrate")->hasFocus());
        QCOMPARE(count("select count(*) from masitem"), 0);
        typeInto(f("txtrate"), "12");
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
                set({"DCMainItem", "MIX"});
                click("CmdSearch");
            }
            grid()->setCurrentIndex(QModelIndex());
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
            QCOMPARE(grid()->model()->rowCount(), 1);
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
        const QStringList bad[] = {{"MIX", "BRAN", "0"},  {"MIX", "BRAN", "abc"},
                                   {"MIX", "BRAN", "-2"}, {"MIX", "BRAN", "12345678"},
                                   {" ", "BRAN", "1"},    {"MIX", "", "1"}};
        for (const QStringList& b : bad) {
            set({"DCMainItem", b[0], "DcSubItem", b[1], "TxtWt", b[2]});
            click("Command8");
            QCOMPARE(ts->dialogs.lastText(), QString("Enter proper value."));
            QCOMPARE(f("TxtWt")->text(), b[2]); // nothing lost
        }
        QCOMPARE(count("select count(*) from bom"), 0);
        for (const QStringList& line :
             {QStringList{"BRAN", "2.5"}, QStringList{"SALT", "0.5"}, QStringList{"BRAN", "3"}}) {
            set({"DCMainItem", "MIX", "DcSubItem", line[0], "TxtWt", line[1]});
            click("CmdMore"); // keeps the main item
            QVERIFY(list("DcSubItem")->currentText().isEmpty());
        }
        QCOMPARE(column(grid(), 1), (QStringList{"BRAN", "SALT"}));
        QCOMPARE(column(grid(), 2), (QStringList{"3", "0.5"}));
        set({"DcSubItem", "SALT", "TxtWt", "0.75"});
        click("Command8"); // starts a new main item
        QVERIFY(list("DCMainItem")->currentText().isEmpty());
        set({"DCMainItem", "MIX"});
        click("CmdSearch");
        clickRow(grid(), 1);
        QCOMPARE(f("TxtWt")->text(), QString("0.75"));
        screen->close(); // closing tidies blank vehicles
        QCOMPARE(count("select count(*) from vehicle"), 0);
    }
};

QTEST_MAIN(TestMasters)
#include "test_masters.moc"
