#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/purchase_screen.h"
#include "transactions/purchase_store.h"

#include <QGroupBox>
#include <QPushButton>

using namespace stokara;
using namespace stokara::transactions;
using stokara::test::TestSession;

namespace {

const QString kDay = QStringLiteral("15/04/2024");
const QString kAmul = QStringLiteral("Amul Feeds");
const QString kFeed = QStringLiteral("Cattle Feed");

struct PurchaseFixture {
    TestSession ts;
    PurchaseStore store{ts.db()};
    std::unique_ptr<PurchaseScreen> screen;

    PurchaseFixture() {
        auto& db = ts.db();
        test::addNamed(db, "masvendor", QStringLiteral("2"), QStringLiteral("D'Souza & Sons"));
        test::addNamed(db, "masvendor", QStringLiteral("1"), kAmul);
        for (const auto& [item, unit] : {std::pair{kFeed, QStringLiteral("Bag")},
                                         std::pair{QStringLiteral("घी"), QStringLiteral("Kg")}})
            db.exec(QStringLiteral("insert into masitem (item_name, unit, rate) values (?, ?, 10)"),
                    {item, unit});
        screen = std::make_unique<PurchaseScreen>(ts.session);
    }
    QLineEdit* edit(const char* name) { return screen->findChild<QLineEdit*>(name); }
    QComboBox* list(const char* name) { return screen->findChild<QComboBox*>(name); }
    QTableWidget* grid() { return screen->findChild<QTableWidget*>("VsFlex"); }
    void fill(const QString& date, const QString& vendor, const QString& item, const QString& qty,
              const QString& rate) {
        edit("text2")->setText(date);
        list("DcParty")->setEditText(vendor);
        list("Item_name")->setEditText(item);
        edit("TxtQty")->setText(qty);
        edit("txtrate")->setText(rate);
    }
    // Two purchases of Amul Feeds on the day, shown newest first: {newer, older}.
    std::pair<qint64, qint64> twoShown() {
        const qint64 older =
            store.insert({QDate(2024, 4, 15), kAmul, kFeed, 1, QStringLiteral("Bag"), 100, 100});
        const qint64 newer = store.insert(
            {QDate(2024, 4, 15), kAmul, QStringLiteral("घी"), 2, QStringLiteral("Kg"), 400, 800});
        searchFor(kDay, kAmul);
        return {newer, older};
    }
    void searchFor(const QString& date, const QString& vendor, const QString& entry = {}) {
        edit("TxtSDate")->setText(date);
        list("Dcdatalist")->setEditText(vendor);
        edit("TxtSearchNo")->setText(entry);
        QTest::mouseClick(screen->findChild<QPushButton*>("CmdSearch"), Qt::LeftButton);
    }
    int count() { return test::rowCount(ts.db(), "ItemPurchases"); }
};

} // namespace

class PurchaseTest : public QObject {
    Q_OBJECT
private slots:
    void saveChecksTheFields_data();
    void saveChecksTheFields();
    void enterWalksTheFieldsAndSaves();
    void fieldChecksKeepTheFocus_data();
    void fieldChecksKeepTheFocus();
    void duplicateAsks_data();
    void duplicateAsks();
    void correctionRewritesTheLoadedEntry_data();
    void correctionRewritesTheLoadedEntry();
    void clearAbandonsTheCorrection_data();
    void clearAbandonsTheCorrection();
    void entryGoneMeanwhileIsNotWritten();
    void deleteKeepsTheVendorsDay();
    void searchPanelFilters();
    void failingSaveIsShown();
};

void PurchaseTest::saveChecksTheFields_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("message"); // "" when saved
    QTest::addColumn<QString>("field");   // refused: where the focus goes; saved: the amount
    const QString v = kAmul, i = kFeed;
    const QString rate = QStringLiteral("Enter correct rate."),
                  qty = QStringLiteral("Enter proper weight value.");
    QTest::newRow("empty date") << "__/__/____" << v << i << "2"
                                << "5"
                                << "Enter proper date"
                                << "text2";
    QTest::newRow("31 February") << "31/02/2024" << v << i << "2"
                                 << "5"
                                 << "Enter proper date"
                                 << "text2";
    QTest::newRow("rate abc") << kDay << v << i << "2"
                              << "abc" << rate << "txtrate";
    QTest::newRow("rate 0") << kDay << v << i << "2"
                            << "0" << rate << "txtrate";
    QTest::newRow("negative rate") << kDay << v << i << "2"
                                   << "-5" << rate << "txtrate";
    QTest::newRow("rate 1,000") << kDay << v << i << "2"
                                << "1,000" << rate << "txtrate";
    QTest::newRow("blank vendor") << kDay << "   " << i << "2"
                                  << "5"
                                  << "Enter proper milk man"
                                  << "DcParty";
    QTest::newRow("quantity 0") << kDay << v << i << "0"
                                << "5" << qty << "TxtQty";
    QTest::newRow("negative quantity") << kDay << v << i << "-2"
                                       << "5" << qty << "TxtQty";
    QTest::newRow("quantity 12a") << kDay << v << i << "12a"
                                  << "5" << qty << "TxtQty";
    QTest::newRow("no item") << kDay << v << ""
                             << "2"
                             << "5"
                             << "Enter proper Item Name."
                             << "Item_name";
    QTest::newRow("amount rounds to 0") << kDay << v << i << "0.01"
                                        << "0.01"
                                        << "Invalid Entry."
                                        << "TxtQty";
    QTest::newRow("quantity too large")
        << kDay << v << i << "10000000"
        << "1"
        << "Quantity is too large: at most 7 digits before the decimal point."
        << "TxtQty";
    QTest::newRow("amount too large")
        << kDay << v << i << "5000"
        << "5000"
        << "Amount is too large: at most 7 digits before the decimal point."
        << "TxtQty";
    QTest::newRow("vendor of 41") << kDay << QString(41, QLatin1Char('v')) << i << "2"
                                  << "5"
                                  << "Vendor name is too long: at most 40 characters are allowed."
                                  << "DcParty";
    QTest::newRow("half down to even") << kDay << v << i << "0.25"
                                       << "0.5"
                                       << ""
                                       << "0.12";
    QTest::newRow("half up to even") << kDay << v << i << " 0.75 "
                                     << "0.5"
                                     << ""
                                     << "0.38";
    QTest::newRow("Hindi item of 40 letters")
        << kDay << "D'Souza & Sons" << QString(40, QChar(0x0918)) << "3"
        << "12.345"
        << ""
        << "37.04";
}

void PurchaseTest::saveChecksTheFields() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, date);
    QFETCH(QString, vendor);
    QFETCH(QString, item);
    QFETCH(QString, qty);
    QFETCH(QString, rate);
    QFETCH(QString, message);
    QFETCH(QString, field);
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.fill(date, vendor, item, qty, rate);
    f.screen->save();
    if (message.isEmpty()) {
        QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
        const auto rows = f.store.list(QDate(2024, 4, 15), vendor);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].item, item);
        QCOMPARE(QString::number(rows[0].amount), field);
        return;
    }
    QCOMPARE(f.ts.dialogs.lastText(), message);
    QCOMPARE(f.ts.dialogs.shown.last().title, QStringLiteral("Item Purchases"));
    QCOMPARE(f.count(), 0);
    QCOMPARE(f.edit("TxtQty")->text(), qty); // nothing typed is lost
    QCOMPARE(test::focusName(), field);
}

void PurchaseTest::enterWalksTheFieldsAndSaves() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QCOMPARE(f.edit("TxtDoc_no")->text(), QStringLiteral("1"));
    QCOMPARE(f.list("DcParty")->itemText(0), kAmul); // vendors by name
    test::typeAndEnter(f.edit("text2"), QStringLiteral("14/04/2024"));
    test::typeAndEnter(f.list("DcParty"), kAmul);
    test::typeAndEnter(f.list("Item_name"), kFeed);
    QCOMPARE(f.edit("Txtunit")->text(), QStringLiteral("Bag"));
    QVERIFY(f.edit("TxtQty")->hasFocus());
    test::typeAndEnter(f.edit("TxtQty"), QStringLiteral("4"));
    test::typeAndEnter(f.edit("txtrate"), QStringLiteral("2.5"));
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("10"));
    auto* save = f.screen->findChild<QPushButton*>("Command8");
    QVERIFY(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Return);

    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", "Data Saved."}));
    const auto rows = f.store.list(QDate(2024, 4, 14), kAmul);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].unit, QStringLiteral("Bag"));
    QCOMPARE(rows[0].amount, 10.0);
    // The grid shows the purchase just saved; the entry number is the next one.
    QCOMPARE(test::columnTexts(f.grid(), 0), QStringList({"14/04/2024"}));
    QCOMPARE(test::columnTexts(f.grid(), 7), QStringList({QString::number(rows[0].autoNo)}));
    QVERIFY(f.grid()->isColumnHidden(7));
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(rows[0].autoNo + 1));
    QVERIFY(f.list("DcParty")->currentText().isEmpty());
    QVERIFY(f.edit("text2")->hasFocus());
}

void PurchaseTest::fieldChecksKeepTheFocus_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("quantity abc") << "TxtQty"
                                  << "abc"
                                  << "Invalid Entry.";
    QTest::newRow("negative quantity") << "TxtQty"
                                       << "-2"
                                       << "Invalid Entry.";
    QTest::newRow("empty rate") << "txtrate"
                                << ""
                                << "Can't be Blank.";
    QTest::newRow("rate x1") << "txtrate"
                             << "x1"
                             << "Invalid Entry.";
    QTest::newRow("negative rate") << "txtrate"
                                   << "-1"
                                   << "Invalid Entry.";
}

void PurchaseTest::fieldChecksKeepTheFocus() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.edit("TxtQty")->setText(QStringLiteral("4"));
    QLineEdit* edit = f.screen->findChild<QLineEdit*>(field);
    test::typeAndEnter(edit, text);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({message}));
    QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Tarvex Milvora"));
    QCOMPARE(f.ts.dialogs.shown[0].icon, core::Icon::Critical);
    QVERIFY(edit->hasFocus());
    // Leaving by mouse runs the same check and takes the focus back.
    f.edit("text2")->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({message, message}));
    QTRY_VERIFY(edit->hasFocus());
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
}

void PurchaseTest::duplicateAsks_data() {
    QTest::addColumn<bool>("addAnyway");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void PurchaseTest::duplicateAsks() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(bool, addAnyway);
    PurchaseFixture f;
    f.store.insert({QDate(2024, 4, 15), kAmul, kFeed, 1, QStringLiteral("Bag"), 5, 5});
    f.fill(kDay, kAmul, kFeed, QStringLiteral("3"), QStringLiteral("400"));
    f.ts.dialogs.answer(core::Answer::Ok);
    f.ts.dialogs.answer(addAnyway ? core::Answer::Ok : core::Answer::Cancel);
    f.screen->save();
    QCOMPARE(f.ts.dialogs.shown[1].text, QStringLiteral("Duplicate Entry. Add it anyway."));
    QCOMPARE(f.count(), addAnyway ? 2 : 1);
    QCOMPARE(f.edit("TxtQty")->text(), addAnyway ? QString() : QStringLiteral("3"));
}

void PurchaseTest::correctionRewritesTheLoadedEntry_data() {
    QTest::addColumn<bool>("f6");
    QTest::newRow("F6: the clicked entry, not the cursor's") << true;
    QTest::newRow("no F6: a new purchase") << false;
}

void PurchaseTest::correctionRewritesTheLoadedEntry() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(bool, f6);
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    const auto [newer, older] = f.twoShown();
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(newer));
    QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("2"));
    QTest::keyClick(f.grid(), Qt::Key_Down);
    QCOMPARE(f.grid()->currentRow(), 1);
    if (f6)
        QTest::keyClick(f.grid(), Qt::Key_F6);
    f.edit("TxtQty")->setText(QStringLiteral("3"));
    f.edit("text2")->setText(QStringLiteral("10/04/2024"));
    f.screen->save();

    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
    QCOMPARE(f.count(), f6 ? 2 : 3);
    QCOMPARE(f.store.purchase(newer)->qty, f6 ? 3.0 : 2.0);
    QCOMPARE(f.store.purchase(newer)->date, f6 ? QDate(2024, 4, 10) : QDate(2024, 4, 15));
    QCOMPARE(f.store.purchase(older)->qty, 1.0);
    QCOMPARE(f.store.purchase(older)->date, QDate(2024, 4, 15));
    QVERIFY(!f.screen->correcting());
}

void PurchaseTest::clearAbandonsTheCorrection_data() {
    QTest::addColumn<bool>("button");
    QTest::newRow("F3") << false;
    QTest::newRow("Clear") << true;
}

void PurchaseTest::clearAbandonsTheCorrection() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(bool, button);
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    const auto [newer, older] = f.twoShown();
    QTest::keyClick(f.grid(), Qt::Key_F6); // before the click counts too
    test::clickRow(f.grid(), 1);
    QVERIFY(f.screen->correcting());
    if (button)
        QTest::mouseClick(f.screen->findChild<QPushButton*>("Command9"), Qt::LeftButton);
    else
        QTest::keyClick(f.edit("TxtQty"), Qt::Key_F3);
    QVERIFY(f.edit("TxtQty")->text().isEmpty());
    QCOMPARE(f.edit("text2")->text(), kDay); // the date stays
    f.fill(kDay, QStringLiteral("D'Souza & Sons"), kFeed, QStringLiteral("7"), QStringLiteral("2"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
    QCOMPARE(f.count(), 3);
    QCOMPARE(f.store.purchase(older)->vendor, kAmul);
    QCOMPARE(f.store.purchase(older)->qty, 1.0);
    QCOMPARE(f.store.list(QDate(2024, 4, 15), QStringLiteral("D'Souza & Sons")).size(), size_t(1));
    Q_UNUSED(newer);
}

void PurchaseTest::entryGoneMeanwhileIsNotWritten() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    const auto [newer, older] = f.twoShown();
    test::clickRow(f.grid(), 0);
    QTest::keyClick(f.grid(), Qt::Key_F6);
    auto counter = f.ts.database.openAnother();
    counter->exec(QStringLiteral("delete from ItemPurchases where auto_no in (?, ?)"),
                  {newer, older});
    f.edit("TxtQty")->setText(QStringLiteral("9"));
    f.ts.dialogs.clear();
    f.screen->save();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", core::kEntryGone}));
    QCOMPARE(f.count(), 0);
    QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("9"));

    // Deleting a row that went meanwhile says so too.
    f.ts.dialogs.clear();
    test::clickRow(f.grid(), 1, true);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Are You Sure to Delete.", core::kEntryGone}));
    QCOMPARE(f.grid()->rowCount(), 0);
}

void PurchaseTest::deleteKeepsTheVendorsDay() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    const auto [newer, older] = f.twoShown();
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(newer + 1));
    f.ts.dialogs.answer(core::Answer::Cancel);
    test::clickRow(f.grid(), 0, true);
    QCOMPARE(f.count(), 2);

    f.ts.dialogs.clear();
    test::clickRow(f.grid(), 0, true);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Are You Sure to Delete."}));
    QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Delete Entry"));
    QVERIFY(!f.store.purchase(newer));
    // The highest number left plus one, whatever the database gives next.
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(older + 1));
    QCOMPARE(test::columnTexts(f.grid(), 7), QStringList({QString::number(older)}));
}

void PurchaseTest::searchPanelFilters() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    auto* panel = f.screen->findChild<QGroupBox*>("FrameSearch");
    QTest::keyClick(f.edit("text2"), Qt::Key_F1);
    QVERIFY(panel->isVisible());
    QVERIFY(f.edit("TxtSDate")->hasFocus());
    QTest::keyClick(f.edit("TxtSDate"), Qt::Key_F1);
    QVERIFY(panel->isHidden());

    const auto [newer, older] = f.twoShown();
    QCOMPARE(f.grid()->rowCount(), 2);
    QVERIFY(panel->isHidden());
    f.searchFor(kDay, kAmul, QString::number(older));
    QCOMPARE(test::columnTexts(f.grid(), 2), QStringList({kFeed}));
    f.searchFor(QStringLiteral("16/04/2024"), kAmul);
    QCOMPARE(f.grid()->rowCount(), 0);
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("16/04/2024"));
    Q_UNUSED(newer);
}

void PurchaseTest::failingSaveIsShown() {
    STOKARA_REQUIRE_DATABASE();
    PurchaseFixture f;
    f.ts.db().exec(QStringLiteral("drop table ItemPurchases"));
    f.fill(kDay, kAmul, kFeed, QStringLiteral("1"), QStringLiteral("5"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.shown.size(), 2);
    QVERIFY(f.ts.dialogs.shown[1].text.startsWith(
        QStringLiteral("An error has occured.\r\n\tProcedure: Command8_Click")));
    QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("1"));
}

QTEST_MAIN(PurchaseTest)
#include "test_purchase.moc"
