#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/purchase_rules.h"
#include "transactions/purchase_screen.h"
#include "transactions/purchase_store.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace stokara;
using namespace stokara::transactions;
using stokara::test::TestSession;

namespace {

struct PurchaseFixture {
    TestSession ts;
    std::unique_ptr<PurchaseScreen> screen;

    PurchaseFixture() {
        test::addVendor(ts.db(), QStringLiteral("1"), QStringLiteral("Amul Feeds"));
        test::addVendor(ts.db(), QStringLiteral("2"), QStringLiteral("D'Souza & Sons"));
        test::addItem(ts.db(), QStringLiteral("Cattle Feed"), QStringLiteral("Bag"));
        test::addItem(ts.db(), QStringLiteral("घी"), QStringLiteral("Kg"));
        screen = std::make_unique<PurchaseScreen>(ts.session);
    }
    template <class T> T* find(const char* name) {
        return screen->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QComboBox* list(const char* name) { return find<QComboBox>(name); }
    QTableWidget* grid() { return find<QTableWidget>("VsFlex"); }
    void fill(const QString& date, const QString& vendor, const QString& item, const QString& qty,
              const QString& rate) {
        edit("text2")->setText(date);
        list("DcParty")->setEditText(vendor);
        list("Item_name")->setEditText(item);
        edit("TxtQty")->setText(qty);
        edit("txtrate")->setText(rate);
    }
    // The search panel: the way the operator brings a vendor's purchases of a date back.
    void searchFor(const QString& date, const QString& vendor, const QString& entry = {}) {
        edit("TxtSDate")->setText(date);
        list("Dcdatalist")->setEditText(vendor);
        edit("TxtSearchNo")->setText(entry);
        QTest::mouseClick(find<QPushButton>("CmdSearch"), Qt::LeftButton);
    }
    int count() {
        return ts.db().scalar(QStringLiteral("select count(*) from ItemPurchases")).toInt();
    }
};

} // namespace

class PurchaseTest : public QObject {
    Q_OBJECT
private slots:
    void amountRoundsHalfToEven_data();
    void amountRoundsHalfToEven();
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void storeKeepsNamesAsTyped();
    void enterWalksTheFieldsAndSaves();
    void duplicateAsksAndOkStoresSecondRow_data();
    void duplicateAsksAndOkStoresSecondRow();
    void refusedSaveStoresNothing_data();
    void refusedSaveStoresNothing();
    void fieldChecksKeepTheFocus();
    void correctionUpdatesTheClickedRow();
    void correctionWithoutARowIsRefused();
    void entryNumberAfterDeletingTheHighest();
    void searchPanelFilters();
    void failingSaveIsShown();
    void gridAndListsAsShown();
    void editFlagLife();
    void loadedRowWithoutF6IsANewPurchase();
};

void PurchaseTest::amountRoundsHalfToEven_data() {
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<double>("amount");
    QTest::newRow("0.125 down to even") << "0.25"
                                        << "0.5" << 0.12;
    QTest::newRow("0.375 up to even") << "0.75"
                                      << "0.5" << 0.38;
    QTest::newRow("leading number") << "12abc"
                                    << "2" << 24.0;
    QTest::newRow("plain") << "3"
                           << "12.345" << 37.04;
    QTest::newRow("no quantity") << ""
                                 << "5" << 0.0;
}

void PurchaseTest::amountRoundsHalfToEven() {
    QFETCH(QString, qty);
    QFETCH(QString, rate);
    QFETCH(double, amount);
    QCOMPARE(purchaseAmount(qty, rate), amount);
}

void PurchaseTest::saveChecksInOrder_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("message");
    const QString ok = QStringLiteral("15/04/2024");
    auto row = [](const char* name, const QString& date, const char* rate, const QString& vendor,
                  const char* qty, const QString& item, const char* message) {
        QTest::newRow(name) << date << QString::fromLatin1(rate) << vendor
                            << QString::fromLatin1(qty) << item << QString::fromLatin1(message);
    };
    row("empty date", "__/__/____", "5", "A", "2", "I", "Enter proper date");
    row("31 February", "31/02/2024", "5", "A", "2", "I", "Enter proper date");
    row("date before rate", "", "abc", "", "0", "", "Enter proper date");
    row("rate abc", ok, "abc", "A", "2", "I", "Enter correct rate.");
    row("rate 0", ok, "0", "A", "2", "I", "Enter correct rate.");
    row("rate 12a", ok, "12a", "A", "2", "I", "Enter correct rate.");
    row("rate 1,000", ok, "1,000", "A", "2", "I", "Enter correct rate.");
    row("rate before vendor", ok, "", "", "0", "", "Enter correct rate.");
    row("blank vendor", ok, "5", "   ", "2", "I", "Enter proper milk man");
    row("qty 0", ok, "5", "A", "0", "I", "Enter proper weight value.");
    row("qty abc", ok, "5", "A", "abc", "I", "Enter proper weight value.");
    row("no item", ok, "5", "A", "2", "", "Enter proper Item Name.");
    row("qty too large", ok, "5", "A", "10000000", "I", "Enter proper weight value.");
    row("amount too large", ok, "5000", "A", "5000", "I", "Amount is too large.");
    row("vendor too long", ok, "5", QString(41, QLatin1Char('v')), "2", "I",
        "Vendor name can't be longer than 40 characters.");
    row("Hindi item of 40 letters", ok, "5", "A", "2", QString(40, QChar(0x0918)), "");
    row("accepted", ok, " 5.5 ", "A", "-2", "I", "");
}

void PurchaseTest::saveChecksInOrder() {
    QFETCH(QString, date);
    QFETCH(QString, rate);
    QFETCH(QString, vendor);
    QFETCH(QString, qty);
    QFETCH(QString, item);
    QFETCH(QString, message);
    const auto check = checkPurchase({date, vendor, item, qty, QStringLiteral("Kg"), rate});
    QCOMPARE(check.message, message);
    QCOMPARE(check.purchase.has_value(), message.isEmpty());
}

void PurchaseTest::storeKeepsNamesAsTyped() {
    STOKARA_REQUIRE_DATABASE();
    TestSession ts;
    PurchaseStore store(ts.db());
    QVERIFY(!store.highestEntry());
    const QDate day(2024, 4, 15);
    Purchase p{day,
               QStringLiteral("D'Souza & Sons"),
               QStringLiteral("घी"),
               2.5,
               QStringLiteral("Kg"),
               410.75,
               1026.88};
    const qint64 first = store.insert(p);
    QVERIFY(first > 0);
    QCOMPARE(store.countSame(p.vendor, p.item, day), 1);
    QCOMPARE(store.countSame(p.vendor, p.item, day.addDays(1)), 0);
    const auto rows = store.list(day, p.vendor);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].vendor, p.vendor);
    QCOMPARE(rows[0].item, p.item);
    QCOMPARE(rows[0].qty, 2.5);
    QCOMPARE(rows[0].amount, 1026.88);
    QCOMPARE(rows[0].date, day);
    QCOMPARE(store.highestEntry().value_or(0), first);

    p.vendor = QStringLiteral("Amul Feeds");
    QVERIFY(store.update(first, p));
    QVERIFY(store.list(day, QStringLiteral("D'Souza & Sons")).empty());
    QCOMPARE(store.list(day, p.vendor, first).size(), size_t(1));
    QVERIFY(store.list(day, p.vendor, first + 1).empty());
    QVERIFY(store.remove(first));
    QVERIFY(!store.update(first, p));
    QVERIFY(!store.purchase(first));
}

void PurchaseTest::enterWalksTheFieldsAndSaves() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("15/04/2024"));
    QCOMPARE(f.edit("TxtDoc_no")->text(), QStringLiteral("1"));

    test::typeAndEnter(f.edit("text2"), QStringLiteral("14/04/2024"));
    QVERIFY(f.list("DcParty")->hasFocus());
    test::typeAndEnter(f.list("DcParty"), QStringLiteral("Amul Feeds"));
    QVERIFY(f.list("Item_name")->hasFocus());
    test::typeAndEnter(f.list("Item_name"), QStringLiteral("Cattle Feed"));
    QCOMPARE(f.edit("Txtunit")->text(), QStringLiteral("Bag"));
    QVERIFY(f.edit("TxtQty")->hasFocus());
    test::typeAndEnter(f.edit("TxtQty"), QStringLiteral("0.25"));
    QVERIFY(f.edit("txtrate")->hasFocus());
    test::typeAndEnter(f.edit("txtrate"), QStringLiteral("0.5"));
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("0.12"));
    auto* save = f.find<QPushButton>("Command8");
    QVERIFY(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Return);

    QCOMPARE(f.ts.dialogs.texts(),
             QStringList({QStringLiteral("Do you want to save?"), QStringLiteral("Data Saved.")}));
    QCOMPARE(f.ts.dialogs.shown[1].title, QStringLiteral("Item Purchases"));
    const auto row = f.ts.db().query(QStringLiteral(
        "select doc_dt, party_name, item_name, qty, unit, rate, net_amount from ItemPurchases"));
    QCOMPARE(row.size(), size_t(1));
    QCOMPARE(row[0].date(0), QDate(2024, 4, 14));
    QCOMPARE(row[0].text(1), QStringLiteral("Amul Feeds"));
    QCOMPARE(row[0].text(4), QStringLiteral("Bag"));
    QCOMPARE(row[0].number(3), 0.25);
    QCOMPARE(row[0].number(6), 0.12);
    // The grid shows the purchase just saved; the entry number is the next one.
    QCOMPARE(f.grid()->rowCount(), 1);
    QCOMPARE(f.grid()->item(0, 0)->text(), QStringLiteral("14/04/2024"));
    QCOMPARE(f.grid()->item(0, 6)->text(), QStringLiteral("0.12"));
    QVERIFY(f.grid()->isColumnHidden(7));
    QCOMPARE(f.edit("TxtDoc_no")->text(), QStringLiteral("2"));
    QVERIFY(f.list("DcParty")->currentText().isEmpty());
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("14/04/2024"));
    QVERIFY(f.edit("text2")->hasFocus());
}

void PurchaseTest::duplicateAsksAndOkStoresSecondRow_data() {
    QTest::addColumn<bool>("addAnyway");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void PurchaseTest::duplicateAsksAndOkStoresSecondRow() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(bool, addAnyway);
    PurchaseFixture f;
    f.fill(QStringLiteral("15/04/2024"), QStringLiteral("D'Souza & Sons"), QStringLiteral("घी"),
           QStringLiteral("2"), QStringLiteral("400"));
    f.screen->save();
    QCOMPARE(f.count(), 1);
    QVERIFY(!f.ts.dialogs.texts().contains(QStringLiteral("Duplicate Entry. Add it anyway.")));

    f.ts.dialogs.clear();
    f.fill(QStringLiteral("15/04/2024"), QStringLiteral("D'Souza & Sons"), QStringLiteral("घी"),
           QStringLiteral("3"), QStringLiteral("400"));
    f.ts.dialogs.answer(core::Answer::Ok);
    f.ts.dialogs.answer(addAnyway ? core::Answer::Ok : core::Answer::Cancel);
    f.screen->save();
    QCOMPARE(f.ts.dialogs.shown[1].text, QStringLiteral("Duplicate Entry. Add it anyway."));
    QCOMPARE(f.ts.dialogs.shown[1].buttons, core::Buttons::OkCancel);
    QCOMPARE(f.count(), addAnyway ? 2 : 1);
    QCOMPARE(f.ts.dialogs.texts().contains(QStringLiteral("Data Saved.")), addAnyway);
    if (!addAnyway) // nothing lost: the fields stay for another try
        QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("3"));
}

void PurchaseTest::refusedSaveStoresNothing_data() {
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("message");
    QTest::newRow("quantity 0") << "0"
                                << "5"
                                << "Enter proper weight value.";
    QTest::newRow("rate abc") << "2"
                              << "abc"
                              << "Enter correct rate.";
}

void PurchaseTest::refusedSaveStoresNothing() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, qty);
    QFETCH(QString, rate);
    QFETCH(QString, message);
    PurchaseFixture f;
    f.fill(QStringLiteral("15/04/2024"), QStringLiteral("Amul Feeds"),
           QStringLiteral("Cattle Feed"), qty, rate);
    f.screen->save();
    QCOMPARE(f.ts.dialogs.lastText(), message);
    QCOMPARE(f.ts.dialogs.shown.last().icon, core::Icon::Information);
    QCOMPARE(f.ts.dialogs.shown.last().title, QStringLiteral("Item Purchases"));
    QCOMPARE(f.count(), 0);
    QCOMPARE(f.edit("TxtQty")->text(), qty);
    QCOMPARE(f.edit("txtrate")->text(), rate);
}

void PurchaseTest::fieldChecksKeepTheFocus() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    test::typeAndEnter(f.edit("TxtQty"), QStringLiteral("abc"));
    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Invalid Entry."));
    QCOMPARE(f.ts.dialogs.shown.last().title, QStringLiteral("Tarvex Milvora"));
    QCOMPARE(f.ts.dialogs.shown.last().icon, core::Icon::Critical);
    QVERIFY(f.edit("TxtQty")->hasFocus());

    test::typeAndEnter(f.edit("TxtQty"), QStringLiteral("4"));
    QVERIFY(f.edit("txtrate")->hasFocus());
    f.ts.dialogs.clear();
    QTest::keyClick(f.edit("txtrate"), Qt::Key_Return);
    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Can't be Blank."));
    QVERIFY(f.edit("txtrate")->hasFocus());
    test::typeAndEnter(f.edit("txtrate"), QStringLiteral("x1"));
    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Invalid Entry."));
    QVERIFY(f.edit("txtrate")->hasFocus());
    test::typeAndEnter(f.edit("txtrate"), QStringLiteral("2.5"));
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("10"));

    // Leaving by other means than Enter runs the same checks and takes the focus back.
    f.ts.dialogs.clear();
    f.edit("TxtQty")->setFocus();
    f.edit("TxtQty")->setText(QStringLiteral("4x"));
    f.edit("text2")->setFocus();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Invalid Entry.")}));
    QTRY_VERIFY(f.edit("TxtQty")->hasFocus());
    f.edit("TxtQty")->setText(QStringLiteral("4"));
    f.edit("txtrate")->setFocus();
    f.edit("txtrate")->clear();
    f.ts.dialogs.clear();
    f.edit("text2")->setFocus();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Can't be Blank.")}));
    QTRY_VERIFY(f.edit("txtrate")->hasFocus());
    // After F3 there is nothing to hold the operator in the rate for.
    QTest::keyClick(f.edit("txtrate"), Qt::Key_F3);
    QVERIFY(f.edit("TxtQty")->text().isEmpty());
    f.ts.dialogs.clear();
    f.edit("text2")->setFocus();
    QVERIFY(f.ts.dialogs.shown.isEmpty());
    QVERIFY(f.edit("text2")->hasFocus());

    // A rate of 0 is emptied when the field is entered.
    f.edit("txtrate")->setText(QStringLiteral("0"));
    f.edit("TxtQty")->setFocus();
    f.edit("txtrate")->setFocus();
    QVERIFY(f.edit("txtrate")->text().isEmpty());
}

void PurchaseTest::correctionUpdatesTheClickedRow() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    PurchaseStore store(f.ts.db());
    const QDate day(2024, 4, 15);
    const qint64 a = store.insert({day, QStringLiteral("Amul Feeds"), QStringLiteral("Cattle Feed"),
                                   1, QStringLiteral("Bag"), 100, 100});
    const qint64 b = store.insert({day, QStringLiteral("Amul Feeds"), QStringLiteral("घी"), 2,
                                   QStringLiteral("Kg"), 400, 800});
    QVERIFY(test::showActive(f.screen.get()));
    f.searchFor(QStringLiteral("15/04/2024"), QStringLiteral("Amul Feeds"));
    QCOMPARE(test::columnTexts(f.grid(), 7), QStringList({QString::number(b), QString::number(a)}));

    test::clickRow(f.grid(), 1);
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(a));
    QCOMPARE(f.list("Item_name")->currentText(), QStringLiteral("Cattle Feed"));
    QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("1"));
    QTest::keyClick(f.grid(), Qt::Key_F6);
    QVERIFY(f.screen->editing());
    f.list("DcParty")->setEditText(QStringLiteral("D'Souza & Sons"));
    f.edit("text2")->setText(QStringLiteral("10/04/2024"));
    f.edit("TxtQty")->setText(QStringLiteral("3"));
    f.screen->save();

    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
    QCOMPARE(f.count(), 2);
    const auto p = store.purchase(a);
    QVERIFY(p);
    QCOMPARE(p->vendor, QStringLiteral("D'Souza & Sons"));
    QCOMPARE(p->date, QDate(2024, 4, 10));
    QCOMPARE(p->qty, 3.0);
    QCOMPARE(p->amount, 300.0);
    QCOMPARE(store.purchase(b)->vendor, QStringLiteral("Amul Feeds"));
    QVERIFY(!f.screen->editing());
    QCOMPARE(test::columnTexts(f.grid(), 7), QStringList({QString::number(a)}));
}

void PurchaseTest::correctionWithoutARowIsRefused() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    f.fill(QStringLiteral("15/04/2024"), QStringLiteral("Amul Feeds"),
           QStringLiteral("Cattle Feed"), QStringLiteral("1"), QStringLiteral("5"));
    QTest::keyClick(f.screen.get(), Qt::Key_F6);
    f.screen->save();
    QCOMPARE(f.ts.dialogs.lastText(),
             QStringLiteral("Click the entry to correct in the list first."));
    QCOMPARE(f.count(), 0);
}

void PurchaseTest::entryNumberAfterDeletingTheHighest() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    PurchaseStore store(f.ts.db());
    const QDate day(2024, 4, 15);
    for (int i = 1; i <= 3; ++i)
        store.insert({day, QStringLiteral("Amul Feeds"), QStringLiteral("Cattle Feed"), double(i),
                      QStringLiteral("Bag"), 10, 10.0 * i});
    const qint64 highest = *store.highestEntry();
    QVERIFY(test::showActive(f.screen.get()));
    f.searchFor(QStringLiteral("15/04/2024"), QStringLiteral("Amul Feeds"));
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(highest + 1));
    QCOMPARE(f.grid()->rowCount(), 3);

    f.ts.dialogs.clear();
    test::clickRow(f.grid(), 0, true); // newest first: the highest entry
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Are You Sure to Delete.")}));
    QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Delete Entry"));
    QVERIFY(!store.purchase(highest));
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(highest));
    // The vendor's other purchases of the date stay in the grid.
    QCOMPARE(f.grid()->rowCount(), 2);
}

void PurchaseTest::searchPanelFilters() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    PurchaseStore store(f.ts.db());
    store.insert({QDate(2024, 4, 1), QStringLiteral("D'Souza & Sons"),
                  QStringLiteral("Cattle Feed"), 1, QStringLiteral("Bag"), 10, 10});
    const qint64 wanted = store.insert({QDate(2024, 4, 1), QStringLiteral("D'Souza & Sons"),
                                        QStringLiteral("घी"), 1, QStringLiteral("Kg"), 10, 10});
    QVERIFY(test::showActive(f.screen.get()));
    auto* panel = f.find<QGroupBox>("FrameSearch");
    QVERIFY(panel->isHidden());
    QTest::keyClick(f.edit("text2"), Qt::Key_F1);
    QVERIFY(panel->isVisible());
    QVERIFY(f.edit("TxtSDate")->hasFocus());
    f.edit("TxtSDate")->setText(QStringLiteral("01/04/2024"));
    f.list("Dcdatalist")->setEditText(QStringLiteral("D'Souza & Sons"));
    QTest::mouseClick(f.find<QPushButton>("CmdSearch"), Qt::LeftButton);
    QCOMPARE(f.grid()->rowCount(), 2);
    QVERIFY(panel->isHidden());
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("01/04/2024"));

    QTest::keyClick(f.edit("text2"), Qt::Key_F1);
    f.edit("TxtSearchNo")->setText(QString::number(wanted));
    QTest::mouseClick(f.find<QPushButton>("CmdSearch"), Qt::LeftButton);
    QCOMPARE(test::columnTexts(f.grid(), 2), QStringList({QStringLiteral("घी")}));
}

void PurchaseTest::failingSaveIsShown() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    f.ts.db().exec(QStringLiteral("drop table ItemPurchases"));
    f.fill(QStringLiteral("15/04/2024"), QStringLiteral("Amul Feeds"),
           QStringLiteral("Cattle Feed"), QStringLiteral("1"), QStringLiteral("5"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.shown.size(), 2);
    QCOMPARE(f.ts.dialogs.shown[1].icon, core::Icon::Critical);
    QVERIFY(f.ts.dialogs.shown[1].text.startsWith(
        QStringLiteral("An error has occured.\r\n\tProcedure: Command8_Click")));
    QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("1"));
}

void PurchaseTest::gridAndListsAsShown() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    test::addVendor(f.ts.db(), QStringLiteral("3"), QStringLiteral("Banas Traders"));
    PurchaseScreen screen(f.ts.session);
    auto* grid = screen.findChild<QTableWidget*>(QStringLiteral("VsFlex"));
    QCOMPARE(grid->columnCount(), 8);
    QStringList headings;
    QList<int> widths;
    for (int c = 0; c < 7; ++c) {
        headings << grid->horizontalHeaderItem(c)->text();
        widths << grid->columnWidth(c);
    }
    QCOMPARE(headings, QStringList({"Date", "Party", "Item", "Qty", "Unit", "Rate", "Amount"}));
    // Twips at 15 to the pixel; the date column holds a whole date.
    QCOMPARE(widths.mid(1), QList<int>({166, 166, 66, 66, 66, 66}));
    QVERIFY(widths[0] >= 66);
    QVERIFY(widths[0] > grid->fontMetrics().horizontalAdvance(QStringLiteral("15/04/2024")));
    // Every column fits without scrolling sideways.
    int total = 0;
    for (int w : widths)
        total += w;
    QVERIFY(grid->minimumWidth() >= total);
    QVERIFY(grid->isColumnHidden(7));
    for (int c = 0; c < 7; ++c)
        QVERIFY(!grid->isColumnHidden(c));

    auto items = [](QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    };
    const QStringList vendors{"Amul Feeds", "Banas Traders", "D'Souza & Sons"};
    QCOMPARE(items(screen.findChild<QComboBox*>(QStringLiteral("DcParty"))), vendors);
    QCOMPARE(items(screen.findChild<QComboBox*>(QStringLiteral("Dcdatalist"))), vendors);
    QCOMPARE(items(screen.findChild<QComboBox*>(QStringLiteral("Item_name"))),
             QStringList({"Cattle Feed", "घी"}));
    for (const char* name : {"Txtunit", "TxtAmount", "TxtDoc_no"})
        QVERIFY2(screen.findChild<QLineEdit*>(QString::fromLatin1(name))->isReadOnly(), name);

    // F1 shows the search panel and F1 again hides it.
    QVERIFY(test::showActive(&screen));
    auto* panel = screen.findChild<QGroupBox*>(QStringLiteral("FrameSearch"));
    auto* date = screen.findChild<QLineEdit*>(QStringLiteral("text2"));
    date->setFocus();
    QTest::keyClick(date, Qt::Key_F1);
    QVERIFY(panel->isVisible());
    QTest::keyClick(screen.findChild<QLineEdit*>(QStringLiteral("TxtSDate")), Qt::Key_F1);
    QVERIFY(panel->isHidden());
}

void PurchaseTest::editFlagLife() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(!f.screen->editing());
    QTest::keyClick(f.screen.get(), Qt::Key_F6);
    QVERIFY(f.screen->editing());
    // F3 empties the fields only.
    f.edit("TxtQty")->setText(QStringLiteral("4"));
    QTest::keyClick(f.screen.get(), Qt::Key_F3);
    QVERIFY(f.edit("TxtQty")->text().isEmpty());
    QVERIFY(f.screen->editing());
    // A refused save keeps it.
    f.screen->save();
    QVERIFY(f.screen->editing());
    // "&Clear" ends it.
    QTest::mouseClick(f.find<QPushButton>("Command9"), Qt::LeftButton);
    QVERIFY(!f.screen->editing());
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("15/04/2024")); // the date stays
}

void PurchaseTest::loadedRowWithoutF6IsANewPurchase() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    PurchaseStore store(f.ts.db());
    const qint64 first =
        store.insert({QDate(2024, 4, 15), QStringLiteral("Amul Feeds"),
                      QStringLiteral("Cattle Feed"), 1, QStringLiteral("Bag"), 100, 100});
    QVERIFY(test::showActive(f.screen.get()));
    f.searchFor(QStringLiteral("15/04/2024"), QStringLiteral("Amul Feeds"));
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(first));
    QCOMPARE(f.edit("Txtunit")->text(), QStringLiteral("Bag"));
    QCOMPARE(f.list("DcParty")->currentText(), QStringLiteral("Amul Feeds"));
    f.edit("TxtQty")->setText(QStringLiteral("2"));
    f.ts.dialogs.clear();
    f.screen->save();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Do you want to save?"),
                                                QStringLiteral("Duplicate Entry. Add it anyway."),
                                                QStringLiteral("Data Saved.")}));
    QCOMPARE(f.count(), 2);
    QCOMPARE(store.purchase(first)->qty, 1.0);
}

QTEST_MAIN(PurchaseTest)
#include "test_purchase.moc"
