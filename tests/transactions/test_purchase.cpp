#include "test_day_book_seed.h"
#include "transactions/purchase_screen.h"
#include "transactions/purchase_store.h"

#include <QGroupBox>
#include <QPushButton>

using namespace stokara;
using namespace stokara::transactions;

namespace {

const QString kDay = QStringLiteral("15/04/2024");
const QString kAmul = QStringLiteral("Amul Feeds");
const QString kFeed = QStringLiteral("Cattle Feed");

struct PurchaseFixture : test::ScreenFixture<PurchaseScreen> {
    PurchaseStore store{ts.db()};

    PurchaseFixture() {
        ts.db().exec("insert into masvendor (party_code, party_name) values "
                     "('2', 'D''Souza & Sons'), ('1', 'Amul Feeds')");
        ts.db().exec("insert into masitem (item_name, unit, rate) values (?, 'Bag', 10), "
                     "(?, 'Kg', 10)",
                     {kFeed, "घी"});
        open();
    }
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
        const QDate day(2024, 4, 15);
        const qint64 older = store.insert({day, kAmul, kFeed, 1, "Bag", 100, 100});
        const qint64 newer = store.insert({day, kAmul, "घी", 2, "Kg", 400, 800});
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
    void saveChecksTheFields_data() {
        for (const char* column : {"date", "vendor", "item", "qty", "rate", "message", "field"})
            QTest::addColumn<QString>(column);
        // A refusal names the field the focus goes back to; a save, the amount stored.
        auto row = [](const char* name, const QString& date, const QString& vendor,
                      const QString& item, const char* qty, const char* rate,
                      const QString& message, const char* field) {
            QTest::newRow(name) << date << vendor << item << qty << rate << message << field;
        };
        const QString d = kDay, v = kAmul, i = kFeed;
        const QString rate = "Enter correct rate.", qty = "Enter proper weight value.";
        const QString tooLarge = " is too large: at most 7 digits before the decimal point.";
        row("empty date", "__/__/____", v, i, "2", "5", "Enter proper date", "text2");
        row("rate abc", d, v, i, "2", "abc", rate, "txtrate");
        row("rate 0", d, v, i, "2", "0", rate, "txtrate");
        row("negative rate", d, v, i, "2", "-5", rate, "txtrate");
        row("blank vendor", d, "   ", i, "2", "5", "Enter proper milk man", "DcParty");
        row("quantity 0", d, v, i, "0", "5", qty, "TxtQty");
        row("negative quantity", d, v, i, "-2", "5", qty, "TxtQty");
        row("quantity 12a", d, v, i, "12a", "5", qty, "TxtQty");
        row("no item", d, v, "", "2", "5", "Enter proper Item Name.", "Item_name");
        row("amount rounds to 0", d, v, i, "0.01", "0.01", "Invalid Entry.", "TxtQty");
        row("quantity too large", d, v, i, "10000000", "1", "Quantity" + tooLarge, "TxtQty");
        row("amount too large", d, v, i, "5000", "5000", "Amount" + tooLarge, "TxtQty");
        row("vendor of 41", d, QString(41, 'v'), i, "2", "5",
            "Vendor name is too long: at most 40 characters are allowed.", "DcParty");
        row("half down to even", d, v, i, "0.25", "0.5", "", "0.12");
        row("half up to even", d, v, i, " 0.75 ", "0.5", "", "0.38");
        row("Hindi item of 40 letters", d, "D'Souza & Sons", QString(40, QChar(0x0918)), "3",
            "12.345", "", "37.04");
    }

    void saveChecksTheFields() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, date);
        QFETCH(QString, vendor);
        QFETCH(QString, item);
        QFETCH(QString, qty);
        QFETCH(QString, rate);
        QFETCH(QString, message);
        QFETCH(QString, field);
        PurchaseFixture f;
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
        QCOMPARE(QApplication::focusWidget()->objectName(), field);
    }

    void enterWalksTheFieldsAndSaves() {
        STOKARA_REQUIRE_DATABASE();
        PurchaseFixture f;
        QCOMPARE(f.edit("TxtDoc_no")->text(), QStringLiteral("1"));
        QCOMPARE(f.list("DcParty")->itemText(0), kAmul); // vendors by name
        test::typeAndEnter(f.edit("text2"), "14/04/2024");
        test::typeAndEnter(f.list("DcParty"), kAmul);
        test::typeAndEnter(f.list("Item_name"), kFeed);
        QCOMPARE(f.edit("Txtunit")->text(), QStringLiteral("Bag"));
        QVERIFY(f.edit("TxtQty")->hasFocus());
        test::typeAndEnter(f.edit("TxtQty"), "4");
        test::typeAndEnter(f.edit("txtrate"), "2.5");
        QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("10"));
        auto* save = f.screen->findChild<QPushButton*>("Command8");
        QVERIFY(save->hasFocus());
        QTest::keyClick(save, Qt::Key_Return);

        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", "Data Saved."}));
        const auto p = f.store.list(QDate(2024, 4, 14), kAmul).at(0);
        QCOMPARE(p.unit + ' ' + QString::number(p.amount), QStringLiteral("Bag 10"));
        // The grid shows the purchase just saved; the entry number is the next one.
        QCOMPARE(test::columnTexts(f.grid(), 7), QStringList({QString::number(p.autoNo)}));
        QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(p.autoNo + 1));
        QVERIFY(f.list("DcParty")->currentText().isEmpty());
        QVERIFY(f.edit("text2")->hasFocus());

        // The same vendor, item and date again: asked, Cancel keeps the fields, OK adds it.
        f.fill("14/04/2024", kAmul, kFeed, "3", "4");
        f.ts.dialogs.answer(core::Answer::Ok);
        f.ts.dialogs.answer(core::Answer::Cancel);
        f.screen->save();
        QCOMPARE(f.ts.dialogs.texts().last(), QStringLiteral("Duplicate Entry. Add it anyway."));
        QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("3"));
        f.screen->save();
        QCOMPARE(f.ts.dialogs.texts().last(), QStringLiteral("Data Saved."));
        QCOMPARE(f.count(), 2);
    }

    void fieldChecksKeepTheFocus_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // clang-format off
    QTest::newRow("quantity abc") << "TxtQty" << "abc" << "Invalid Entry.";
    QTest::newRow("negative quantity") << "TxtQty" << "-2" << "Invalid Entry.";
    QTest::newRow("empty rate") << "txtrate" << "" << "Can't be Blank.";
    QTest::newRow("negative rate") << "txtrate" << "-1" << "Invalid Entry.";
        // clang-format on
    }

    void fieldChecksKeepTheFocus() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        PurchaseFixture f;
        f.edit("TxtQty")->setText("4");
        QLineEdit* edit = f.screen->findChild<QLineEdit*>(field);
        test::typeAndEnter(edit, text);
        QCOMPARE(f.ts.dialogs.texts(), QStringList({message}));
        QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Tarvex Milvora"));
        QVERIFY(edit->hasFocus());
        // Leaving by mouse runs the same check and takes the focus back.
        f.edit("text2")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f.ts.dialogs.texts(), QStringList({message, message}));
        QTRY_VERIFY(edit->hasFocus());
    }

    void correctionRewritesTheLoadedEntry_data() {
        QTest::addColumn<QString>("keys"); // around the click "|": 6 F6, 3 F3, C the Clear button
        QTest::addColumn<bool>("updated");
        QTest::newRow("F6: the clicked entry, not the cursor's") << "|6" << true;
        QTest::newRow("F6 before the click") << "6|" << true;
        QTest::newRow("no F6: a new purchase") << "|" << false;
        QTest::newRow("F6 then F3: a new purchase") << "|63" << false;
        QTest::newRow("F6 then Clear: a new purchase") << "6|C" << false;
    }

    void correctionRewritesTheLoadedEntry() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, keys);
        QFETCH(bool, updated);
        PurchaseFixture f;
        const auto [newer, older] = f.twoShown();
        for (QChar c : keys) {
            if (c == '|') {
                test::clickRow(f.grid(), 0);
                QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(newer));
                QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("2"));
                f.key(Qt::Key_Down); // the cursor moves; the loaded entry stays
                QCOMPARE(f.grid()->currentRow(), 1);
            } else if (c == 'C') {
                QTest::mouseClick(f.screen->findChild<QPushButton*>("Command9"), Qt::LeftButton);
            } else {
                f.key(c == '6' ? Qt::Key_F6 : Qt::Key_F3);
            }
        }
        f.fill("10/04/2024", kAmul, kFeed, "3", "100");
        f.screen->save();
        QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
        QCOMPARE(f.count(), updated ? 2 : 3);
        const auto changed = f.store.purchase(newer);
        QCOMPARE(changed->qty, updated ? 3.0 : 2.0);
        QCOMPARE(changed->item, updated ? kFeed : QStringLiteral("घी"));
        QCOMPARE(changed->date, updated ? QDate(2024, 4, 10) : QDate(2024, 4, 15));
        QCOMPARE(f.store.purchase(older)->qty, 1.0);
        QCOMPARE(f.store.purchase(older)->date, QDate(2024, 4, 15));
        QVERIFY(!f.screen->correcting());
    }

    void deleteAndVanishedEntries() {
        STOKARA_REQUIRE_DATABASE();
        PurchaseFixture f;
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
        // The vendor's day stays in view; the entry number is the highest left plus one.
        QCOMPARE(test::columnTexts(f.grid(), 7), QStringList({QString::number(older)}));
        QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(older + 1));

        // Another counter deletes the purchase being corrected: nothing is written.
        test::clickRow(f.grid(), 0);
        f.key(Qt::Key_F6);
        f.ts.database.openAnother()->exec("delete from ItemPurchases");
        f.edit("TxtQty")->setText("9");
        f.ts.dialogs.clear();
        f.screen->save();
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", core::kEntryGone}));
        QCOMPARE(f.count(), 0);
        QCOMPARE(f.edit("TxtQty")->text(), QStringLiteral("9"));
        // Deleting it says so too.
        f.ts.dialogs.clear();
        test::clickRow(f.grid(), 0, true);
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Are You Sure to Delete.", core::kEntryGone}));
        QCOMPARE(f.grid()->rowCount(), 0);
    }

    void searchPanelFilters() {
        STOKARA_REQUIRE_DATABASE();
        PurchaseFixture f;
        QTest::keyClick(f.edit("text2"), Qt::Key_F1);
        QVERIFY(f.edit("TxtSDate")->hasFocus());
        QTest::keyClick(f.edit("TxtSDate"), Qt::Key_F1);
        QVERIFY(f.screen->findChild<QGroupBox*>("FrameSearch")->isHidden());
        f.searchFor(kDay, kAmul, QString::number(f.twoShown().second));
        QCOMPARE(test::columnTexts(f.grid(), 2), QStringList({kFeed}));
    }
};

QTEST_MAIN(PurchaseTest)
#include "test_purchase.moc"
