#include "masters/bom_screen.h"
#include "masters/item_screen.h"
#include "screen_test_kit.h"

#include "core/database.h"

using namespace stokara;
using namespace stokara::test;

namespace {

void addItem(core::Database& db, const QString& name, const QString& unit, double rate,
             const QVariant& mainItem) {
    db.exec("insert into masitem (item_name, unit, rate, opebal, mainitem) values (?, ?, ?, 0, ?)",
            {name, unit, rate, mainItem});
}

int count(core::Database& db, const QString& sql, const QVariantList& values = {}) {
    return db.scalar(sql, values).toInt();
}

} // namespace

class TestItemScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<QWidget> screen;

    core::Database& db() { return ts->db(); }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    QComboBox* list(const char* name) { return control<QComboBox>(screen.get(), name); }
    QTableWidget* grid() { return control<QTableWidget>(screen.get(), "VsGrid"); }
    template <class S> void open() {
        screen = std::make_unique<S>(ts->session);
        activate(screen.get());
    }
    void pressF10() {
        f(screen->objectName() == "FrmBOM" ? "TxtWt" : "txtrate")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
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

    // --- Item Master -------------------------------------------------------

    void itemScreenOpens() {
        addItem(db(), "MINERAL MIX", "Pcs", 90, "N");
        addItem(db(), "CATTLE FEED", "Bags", 1200, "Y");
        open<masters::ItemScreen>();
        QVERIFY(grid()->isColumnHidden(3));
        QVERIFY(!f("TxtAutoNo")->isVisible());
        QCOMPARE(column(grid(), 0), (QStringList{"CATTLE FEED", "MINERAL MIX"}));
        QCOMPARE(column(grid(), 2), (QStringList{"1200", "90"}));
    }

    void newItemThroughTheKeyboard() {
        open<masters::ItemScreen>();
        typeInto(f("txtitem_name"), "cattle feed");
        pressEnter(f("txtitem_name"));
        QCOMPARE(f("txtitem_name")->text(), QString("CATTLE FEED"));
        QCOMPARE(list("LstMainItem")->currentText(), QString("N"));
        QVERIFY(list("LstMainItem")->hasFocus());
        QTest::keyClick(list("LstMainItem"), Qt::Key_Return);
        QVERIFY(list("LstUnit")->hasFocus());
        QTest::keyClick(list("LstUnit"), Qt::Key_Return);
        QCOMPARE(list("LstUnit")->currentText(), QString("Weight"));
        QVERIFY(f("txtrate")->hasFocus());
        QTest::keyClicks(f("txtrate"), "12abc");
        QTest::keyClick(f("txtrate"), Qt::Key_Return);
        QVERIFY(f("TxtOpeBal")->hasFocus());
        QTest::keyClick(f("TxtOpeBal"), Qt::Key_Return);
        QVERIFY(control<QAbstractButton>(screen.get(), "Command8")->hasFocus());
        QCOMPARE(count(db(), "select count(*) from masitem"), 0); // Enter does not save
        clickButton(screen.get(), "Command8");
        const core::Rows rows =
            db().query("select item_name, unit, rate, opebal, mainitem from masitem");
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].text(0), QString("CATTLE FEED"));
        QCOMPARE(rows[0].text(1), QString("Weight"));
        QCOMPARE(rows[0].number(2), 12.0);
        QCOMPARE(rows[0].number(3), 0.0);
        QCOMPARE(rows[0].text(4), QString("N"));
        QCOMPARE(ts->dialogs.lastText(), QString("Do You want to add new item?"));
        QCOMPARE(ts->dialogs.shown.last().title, QString("Item Master"));
        // OK: a fresh item, the main-item flag kept.
        QVERIFY(f("txtitem_name")->text().isEmpty());
        QVERIFY(f("txtrate")->text().isEmpty());
        QVERIFY(list("LstUnit")->currentText().isEmpty());
        QCOMPARE(list("LstMainItem")->currentText(), QString("N"));
        QVERIFY(f("txtitem_name")->hasFocus());
    }

    void savingTwiceAfterCancelInsertsTwoRows() {
        open<masters::ItemScreen>();
        typeInto(f("txtitem_name"), "D'souza ghee");
        leave(f("txtitem_name"), list("LstUnit"));
        ts->dialogs.answer(core::Answer::Cancel);
        clickButton(screen.get(), "Command8");
        QCOMPARE(f("txtitem_name")->text(), QString("D'SOUZA GHEE")); // fields kept
        ts->dialogs.answer(core::Answer::Cancel);
        clickButton(screen.get(), "Command8");
        QCOMPARE(count(db(), "select count(*) from masitem where item_name = ?", {"D'SOUZA GHEE"}),
                 2);
        QCOMPARE(grid()->rowCount(), 2);
    }

    void loadedItemIsUpdatedAndClearStartsANewOne() {
        addItem(db(), "GHEE", "Tin", 500, "N");
        open<masters::ItemScreen>();
        clickRow(grid(), 0);
        QCOMPARE(f("txtitem_name")->text(), QString("GHEE"));
        QCOMPARE(list("LstUnit")->currentText(), QString("Tin"));
        QCOMPARE(f("txtrate")->text(), QString("500"));
        QVERIFY(!f("TxtAutoNo")->text().isEmpty());
        f("txtrate")->setText("525.5");
        clickButton(screen.get(), "Command8");
        QCOMPARE(count(db(), "select count(*) from masitem"), 1);
        QCOMPARE(db().scalar("select rate from masitem").toDouble(), 525.5);
        // Load again, Clear, type a new item: a new row, the loaded one unchanged.
        clickRow(grid(), 0);
        clickButton(screen.get(), "Command9");
        QVERIFY(f("TxtAutoNo")->text().isEmpty());
        QVERIFY(list("LstMainItem")->currentText().isEmpty());
        typeInto(f("txtitem_name"), "butter");
        leave(f("txtitem_name"), list("LstUnit"));
        leave(list("LstUnit"), f("txtrate"));
        QTest::keyClicks(f("txtrate"), "40");
        clickButton(screen.get(), "Command8");
        QCOMPARE(count(db(), "select count(*) from masitem"), 2);
        QCOMPARE(db().scalar("select rate from masitem where item_name = 'GHEE'").toDouble(),
                 525.5);
        QCOMPARE(db().scalar("select unit from masitem where item_name = 'BUTTER'").toString(),
                 QString("Weight"));
    }

    void itemRefusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << ""
                                 << "Pcs"
                                 << "1"
                                 << "Enter Proper Data.";
        QTest::newRow("no unit") << "SALT"
                                 << ""
                                 << "1"
                                 << "Enter Proper Data.";
        QTest::newRow("rate too large") << "SALT"
                                        << "Pcs"
                                        << "10000000"
                                        << "Rate is too large: at most 7 digits before the "
                                           "decimal point.";
    }
    void itemRefusals() {
        QFETCH(QString, name);
        QFETCH(QString, unit);
        QFETCH(QString, rate);
        QFETCH(QString, message);
        open<masters::ItemScreen>();
        f("txtitem_name")->setText(name);
        list("LstUnit")->setEditText(unit);
        f("txtrate")->setText(rate);
        f("txtrate")->setFocus();
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), message);
        QCOMPARE(ts->dialogs.shown.last().title, QString("Item Master"));
        QCOMPARE(count(db(), "select count(*) from masitem"), 0);
        QCOMPARE(f("txtitem_name")->text(), name);
    }

    void f10DeletesOnlyARealRow_data() {
        QTest::addColumn<bool>("withItem");
        QTest::addColumn<bool>("rowCurrent");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("left");
        QTest::newRow("empty grid") << false << false << true << 0;
        QTest::newRow("no row current") << true << false << true << 1;
        QTest::newRow("cancelled") << true << true << false << 1;
        QTest::newRow("confirmed") << true << true << true << 0;
    }
    void f10DeletesOnlyARealRow() {
        QFETCH(bool, withItem);
        QFETCH(bool, rowCurrent);
        QFETCH(bool, confirm);
        QFETCH(int, left);
        if (withItem)
            addItem(db(), "GHEE", "Tin", 500, "N");
        open<masters::ItemScreen>();
        if (rowCurrent)
            clickRow(grid(), 0);
        else
            grid()->setCurrentCell(-1, -1);
        if (!confirm)
            ts->dialogs.answer(core::Answer::Cancel);
        ts->dialogs.clear();
        pressF10();
        const bool asked = withItem && rowCurrent;
        QCOMPARE(ts->dialogs.shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(ts->dialogs.lastText(), QString("Are You Sure to Delete."));
            QCOMPARE(ts->dialogs.shown.last().title, QString("Delete Entry"));
        }
        QCOMPARE(count(db(), "select count(*) from masitem"), left);
        QCOMPARE(grid()->rowCount(), left);
        if (asked && confirm)
            QVERIFY(f("txtitem_name")->text().isEmpty());
    }

    // --- BOM Entry -----------------------------------------------------------

    void bomPairSavedTwiceShowsOnceWithNewWeight() {
        addItem(db(), "MIX", "Bags", 0, "Y");
        addItem(db(), "BRAN", "Weight", 0, "N");
        addItem(db(), "SALT", "Weight", 0, QVariant(QMetaType(QMetaType::QString)));
        open<masters::BomScreen>();
        QCOMPARE(list("DCMainItem")->count(), 1); // main items, and the rest below
        QCOMPARE(list("DcSubItem")->count(), 2);
        setListTexts("MIX", "BRAN", "2.5");
        clickButton(screen.get(), "CmdMore");
        // More Item keeps the main item.
        QCOMPARE(list("DCMainItem")->currentText(), QString("MIX"));
        QVERIFY(list("DcSubItem")->currentText().isEmpty());
        QVERIFY(f("TxtWt")->text().isEmpty());
        QVERIFY(list("DcSubItem")->hasFocus());
        setListTexts("MIX", "SALT", "0.5");
        clickButton(screen.get(), "CmdMore");
        setListTexts("MIX", "BRAN", "3");
        clickButton(screen.get(), "CmdMore");
        QCOMPARE(column(grid(), 1), (QStringList{"BRAN", "SALT"}));
        QCOMPARE(column(grid(), 2), (QStringList{"3", "0.5"}));
        QCOMPARE(count(db(), "select count(*) from bom"), 2);
        // Save starts a new main item.
        setListTexts("MIX", "SALT", "0.75");
        clickButton(screen.get(), "Command8");
        QVERIFY(list("DCMainItem")->currentText().isEmpty());
        QVERIFY(list("DcSubItem")->currentText().isEmpty());
        QVERIFY(list("DCMainItem")->hasFocus());
        QCOMPARE(db().scalar("select wt from bom where subitem = 'SALT'").toDouble(), 0.75);
        // Search shows the lines of the main item typed.
        list("DCMainItem")->setEditText("MIX");
        clickButton(screen.get(), "CmdSearch");
        QCOMPARE(grid()->rowCount(), 2);
        clickRow(grid(), 1);
        QCOMPARE(list("DcSubItem")->currentText(), QString("SALT"));
        QCOMPARE(f("TxtWt")->text(), QString("0.75"));
    }

    void bomRefusals_data() {
        QTest::addColumn<QString>("mainItem");
        QTest::addColumn<QString>("subItem");
        QTest::addColumn<QString>("weight");
        QTest::newRow("weight 0") << "MIX"
                                  << "BRAN"
                                  << "0";
        QTest::newRow("weight not a number") << "MIX"
                                             << "BRAN"
                                             << "abc";
        QTest::newRow("no main item") << " "
                                      << "BRAN"
                                      << "1";
        QTest::newRow("no sub-item") << "MIX"
                                     << ""
                                     << "1";
        QTest::newRow("negative weight") << "MIX"
                                         << "BRAN"
                                         << "-2";
        QTest::newRow("too large for the column") << "MIX"
                                                  << "BRAN"
                                                  << "12345678";
    }
    void bomRefusals() {
        QFETCH(QString, mainItem);
        QFETCH(QString, subItem);
        QFETCH(QString, weight);
        open<masters::BomScreen>();
        setListTexts(mainItem, subItem, weight);
        clickButton(screen.get(), "Command8");
        QCOMPARE(ts->dialogs.lastText(), QString("Enter proper value."));
        QCOMPARE(ts->dialogs.shown.last().title, QString("BOM Entry"));
        QCOMPARE(count(db(), "select count(*) from bom"), 0);
        QCOMPARE(f("TxtWt")->text(), weight); // nothing lost
    }

    void bomF10() {
        open<masters::BomScreen>();
        pressF10();
        QVERIFY(ts->dialogs.shown.isEmpty()); // empty grid: nothing asked
        db().exec("insert into bom (mainitem, subitem, wt) values ('MIX', 'BRAN', 2)");
        db().exec("insert into bom (mainitem, subitem, wt) values ('MIX', 'SALT', 1)");
        list("DCMainItem")->setEditText("MIX");
        clickButton(screen.get(), "CmdSearch");
        grid()->setCurrentCell(-1, -1);
        pressF10();
        QVERIFY(ts->dialogs.shown.isEmpty()); // no row current
        clickRow(grid(), 0);
        pressF10();
        QCOMPARE(ts->dialogs.lastText(), QString("Are You Sure to Delete."));
        QCOMPARE(ts->dialogs.shown.last().title, QString("Delete Entry"));
        QCOMPARE(count(db(), "select count(*) from bom"), 1);
        QCOMPARE(db().scalar("select subitem from bom").toString(), QString("SALT"));
        QVERIFY(list("DCMainItem")->currentText().isEmpty());
        QVERIFY(f("TxtWt")->text().isEmpty());
    }

    void bomClosingRemovesBlankVehicles() {
        db().exec("insert into vehicle (veh_code, veh_name) values ('1', 'Route 1')");
        db().exec("insert into vehicle (veh_name) values ('blank')");
        open<masters::BomScreen>();
        screen->close();
        QCOMPARE(count(db(), "select count(*) from vehicle"), 1);
    }

private:
    void setListTexts(const QString& mainItem, const QString& subItem, const QString& weight) {
        list("DCMainItem")->setEditText(mainItem);
        list("DcSubItem")->setEditText(subItem);
        f("TxtWt")->setText(weight);
    }
};

QTEST_MAIN(TestItemScreens)
#include "test_item_screens.moc"
