#include "test_day_book_seed.h"
#include "transactions/day_book_screen.h"

#include <QPushButton>

using namespace stokara;
using namespace stokara::transactions;

namespace {

struct DayBookFixture : test::VoucherFixture<DayBookScreen> {
    DayBookFixture() {
        auto& db = ts.db();
        db.exec(
            "insert into masparty (party_code, party_name, category) values "
            "('10', 'Ram Lal', 'MilkMan'), ('12', 'Shyam', 'MilkMan'), ('3', 'Centre', 'VLCC'), "
            "('R1', 'Zed', 'RetailMilk'), ('R2', 'Abe', 'RetailMilk')");
        db.exec("insert into AccountHead (AccountGroup, AccountHead) values ('E', ?), ('E', ?)",
                {"Tea", "Rent"});
        db.exec("insert into masvendor (party_code, party_name) values ('10', 'Amul Feeds'), "
                "('2', 'D''Souza & Sons')");
        db.exec("insert into productbuyer (party_code, party_name) values ('5', 'Hotel')");
        open();
    }
};

} // namespace

class DayBookTest : public QObject {
    Q_OBJECT
private slots:
    void refusesBadVouchers_data() {
        for (const char* column : {"date", "type", "account", "amount", "field", "message"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("list");
        const QString d = "15/04/2024", ram = "Ram Lal - 10";
        auto row = [&](const char* name, const QString& date, const char* type,
                       const QString& account, const char* amount, const char* field,
                       int list = Qt::Key_F2,
                       const QString& message = "Please enter proper values.") {
            QTest::newRow(name) << date << type << account << amount << field << message << list;
        };
        row("amount 12a", d, "Dr", ram, "12a", "TxtAmount");
        row("amount 0", d, "Dr", ram, "0", "TxtAmount");
        row("negative amount", d, "Cr", ram, "-5", "TxtAmount");
        row("no type", d, "", ram, "5", "List1");
        row("no account", d, "Dr", "", "5", "dcHead");
        row("name of nobody", d, "Dr", "Ram Lal", "5", "dcHead");
        row("empty date", "__/__/____", "Dr", ram, "5", "text2");
        row("account head of 101", d, "Dr", QString(101, 'a'), "5", "dcHead", Qt::Key_F4,
            "Account Head is too long: at most 100 characters are allowed.");
    }

    void refusesBadVouchers() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, date);
        QFETCH(QString, type);
        QFETCH(QString, account);
        QFETCH(QString, amount);
        QFETCH(QString, field);
        QFETCH(QString, message);
        QFETCH(int, list);
        DayBookFixture f;
        f.key(list);
        f.enterVoucher(type, account, amount);
        f.edit("text2")->setText(date);
        f.screen->save();
        QCOMPARE(f.ts.dialogs.lastText(), message);
        QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 0);
        QCOMPARE(f.edit("TxtAmount")->text(), amount);
        QCOMPARE(QApplication::focusWidget()->objectName(), field);
    }

    void everyAccountListFills_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("entries"); // shown text | bound value
        // clang-format off
    QTest::newRow("F2 milk suppliers") << int(Qt::Key_F2) << "MilkMan" << QStringList{"Ram Lal - 10|10", "Shyam - 12|12"};
    QTest::newRow("F3 retail customers") << int(Qt::Key_F3) << "RetailMilk" << QStringList{"R2 - Abe|R2", "R1 - Zed|R1"};
    QTest::newRow("F4 account heads") << int(Qt::Key_F4) << "AccountHead" << QStringList{"Rent|Rent", "Tea|Tea"};
    QTest::newRow("F7 vendors") << int(Qt::Key_F7) << "Vendor" << QStringList{"2 - D'Souza & Sons|2", "10 - Amul Feeds|10"};
    QTest::newRow("F8 product buyers") << int(Qt::Key_F8) << "BuyerProduct" << QStringList{"Hotel - 5|5"};
        // clang-format on
    }

    void everyAccountListFills() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(int, key);
        QFETCH(QString, category);
        QFETCH(QStringList, entries);
        DayBookFixture f;
        f.key(Qt::Key_F4); // leave the opening list first
        f.picker()->setEditText("Rent");
        f.key(key);
        QCOMPARE(f.screen->category(), category);
        QStringList listed;
        for (int i = 0; i < f.picker()->count(); ++i)
            listed << f.picker()->itemText(i) + '|' + f.picker()->itemData(i).toString();
        QCOMPARE(listed, entries);
        QVERIFY(f.picker()->currentText().isEmpty()); // nothing chosen from the new list
    }

    void enterWalksTheFieldsAndSaves() {
        STOKARA_REQUIRE_DATABASE();
        DayBookFixture f;
        f.store.insert({QDate(2024, 4, 14), "Tea", "Dr", 1, "tea", "NA", "AccountHead"});
        f.add(3, "MilkMan", "today");
        f.screen->fillGrid();
        QCOMPARE(test::columnTexts(f.grid(), 5), QStringList({"today"}));
        // Enter in the date moves on, and the grid follows the date.
        test::typeAndEnter(f.edit("text2"), "14/04/2024");
        QCOMPARE(test::columnTexts(f.grid(), 5), QStringList({"tea"}));
        QVERIFY(f.type()->hasFocus());
        QTest::keyClick(f.type(), Qt::Key_Return); // an empty type becomes "Dr"
        QCOMPARE(f.type()->currentText(), QStringLiteral("Dr"));
        test::typeAndEnter(f.picker(), "Ram Lal - 10");
        test::typeAndEnter(f.edit("TxtAmount"), "500");
        test::typeAndEnter(f.edit("TxtRemark"), "cash");
        auto* save = f.screen->findChild<QPushButton*>("Command8");
        QVERIFY(save->hasFocus());
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", "Data Saved."}));
        QCOMPARE(f.ts.dialogs.shown.last().title, QStringLiteral("Day Book"));
        const auto v = f.store.vouchersOn(QDate(2024, 4, 14)).at(0); // newest first
        QCOMPARE(QStringList({v.accountHead, v.voucherType, v.remark, v.partyCode, v.category}),
                 QStringList({"Ram Lal - 10", "Dr", "cash", "10", "MilkMan"}));
        QCOMPARE(v.amount, 500.0);
        QCOMPARE(test::columnTexts(f.grid(), 0).at(0), QString::number(v.autoNo));
        QVERIFY(f.edit("TxtAmount")->text().isEmpty() && f.picker()->currentText().isEmpty());
        QVERIFY(f.type()->hasFocus());
        // Leaving the date by mouse refills the grid too.
        f.edit("text2")->setFocus();
        f.edit("text2")->setText("13/04/2024");
        f.edit("TxtRemark")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f.grid()->rowCount(), 0);
    }

    void otherListsAndFailures() {
        STOKARA_REQUIRE_DATABASE();
        DayBookFixture f;
        f.key(Qt::Key_F7);
        const QString remark = "दूध का भुगतान, O'Brien's; drop table DayBook;--";
        f.enterVoucher("Dr", "2 - D'Souza & Sons", "99", remark);
        f.screen->save();
        f.key(Qt::Key_F4);
        f.enterVoucher("Dr", "Rent", "250");
        f.screen->save();
        auto v = f.vouchers(); // newest first
        QCOMPARE(QStringList({v.at(1).accountHead, v[1].remark, v[1].partyCode, v[1].category}),
                 QStringList({"2 - D'Souza & Sons", remark, "2", "Vendor"}));
        QCOMPARE(QStringList({v.at(0).accountHead, v[0].partyCode, v[0].category}),
                 QStringList({"Rent", "NA", "AccountHead"}));
        // Whatever an account head's stored party and category are, a correction leaves them.
        f.ts.db().exec("update DayBook set party_code = 'X1', category = 'Old'");
        test::clickRow(f.grid(), 0);
        f.key(Qt::Key_F6);
        f.enterVoucher("Dr", "Tea", "300");
        f.screen->save();
        v = f.vouchers();
        QCOMPARE(QStringList({v.at(0).accountHead, v[0].partyCode, v[0].category}),
                 QStringList({"Tea", "X1", "Old"}));
        QCOMPARE(f.edit("TxtRemark")->maxLength(), 100); // as wide as its column

        // A failing save is logged under the screen's caption, without a message.
        f.ts.dialogs.clear();
        f.ts.db().exec("drop table DayBook");
        f.enterVoucher("Dr", "Rent", "5");
        f.screen->save();
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?"}));
        QCOMPARE(
            f.ts.db().scalar("select count(*) from ErrorDesc where FormName = 'Day Book'").toInt(),
            1);
        QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("5"));
    }

    void correction_data() {
        QTest::addColumn<QString>("keys"); // around the grid click: "6-" F6 before it, "-6" after
        QTest::addColumn<bool>("updated");
        QTest::newRow("F6 after the click") << "-6" << true;
        QTest::newRow("F6 before the click") << "6-" << true;
        QTest::newRow("no F6: a new voucher") << "-" << false;
        QTest::newRow("F6 then F5: a new voucher") << "-65" << false;
    }

    void correction() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, keys);
        QFETCH(bool, updated);
        DayBookFixture f;
        const qint64 first = f.add(40, "MilkMan", "milk");
        f.add(70);
        f.screen->fillGrid();
        const auto press = [&](const QString& digits) {
            for (QChar c : digits)
                f.key(c == '6' ? Qt::Key_F6 : Qt::Key_F5);
        };
        press(keys.section('-', 0, 0));
        test::clickRow(f.grid(), 1); // newest first: the first voucher is below
        QCOMPARE(QStringList({f.edit("TxtDoc_no")->text(), f.edit("TxtRemark")->text(),
                              f.type()->currentText(), f.bound()}),
                 QStringList({QString::number(first), "milk", "Cr", "12"}));
        f.key(Qt::Key_Up); // the cursor moves; the loaded voucher stays
        press(keys.section('-', 1));
        if (keys.endsWith('5'))
            f.enterVoucher("Cr", "Shyam - 12", "", "milk");
        f.edit("TxtAmount")->setText("42.75");
        f.screen->save();
        QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
        QStringList amounts;
        for (const auto& v : f.vouchers())
            amounts << QString::number(v.amount);
        QCOMPARE(amounts,
                 updated ? QStringList({"70", "42.75"}) : QStringList({"42.75", "70", "40"}));
        QVERIFY(!f.screen->correcting());
    }

    void entryGoneMeanwhileIsNotWritten() {
        STOKARA_REQUIRE_DATABASE();
        DayBookFixture f;
        f.add(10);
        const qint64 newer = f.add(11);
        f.screen->fillGrid();
        f.ts.dialogs.answer(core::Answer::Cancel);
        test::clickRow(f.grid(), 0, true);
        QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 2);
        f.ts.dialogs.clear();
        test::clickRow(f.grid(), 0, true);
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Are You Sure to Delete."}));
        QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Delete Entry"));
        QVERIFY(!f.store.voucher(newer));
        QCOMPARE(f.grid()->rowCount(), 1);

        // Another counter deletes the voucher being corrected: nothing is written.
        test::clickRow(f.grid(), 0);
        f.key(Qt::Key_F6);
        f.ts.database.openAnother()->exec("delete from DayBook");
        f.edit("TxtAmount")->setText("45");
        f.ts.dialogs.clear();
        f.screen->save();
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", core::kEntryGone}));
        QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 0);
        QCOMPARE(f.grid()->rowCount(), 0);
        // The fields stay: Save again keeps the voucher as a new one.
        f.screen->save();
        QCOMPARE(f.vouchers().at(0).amount, 45.0);
    }
};

QTEST_MAIN(DayBookTest)
#include "test_day_book.moc"
