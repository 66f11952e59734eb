#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/day_book_screen.h"

#include <QPushButton>

using namespace stokara;
using namespace stokara::transactions;
using stokara::test::TestSession;

namespace {

const QDate kDay(2024, 4, 15);

struct DayBookFixture {
    TestSession ts;
    DayBookStore store{ts.db()};
    std::unique_ptr<DayBookScreen> screen;

    DayBookFixture() {
        auto& db = ts.db();
        test::addParty(db, QStringLiteral("10"), QStringLiteral("Ram Lal"),
                       QStringLiteral("MilkMan"));
        test::addParty(db, QStringLiteral("9"), QStringLiteral("Shyam"), QStringLiteral("MilkMan"));
        test::addParty(db, QStringLiteral("R1"), QStringLiteral("Zed"),
                       QStringLiteral("RetailMilk"));
        test::addParty(db, QStringLiteral("R2"), QStringLiteral("Abe"),
                       QStringLiteral("RetailMilk"));
        test::addParty(db, QStringLiteral("3"), QStringLiteral("Centre"), QStringLiteral("VLCC"));
        for (const char* head : {"Tea", "Rent"})
            db.exec(
                QStringLiteral("insert into AccountHead (AccountGroup, AccountHead) values (?, ?)"),
                {QStringLiteral("Expenses"), QString::fromLatin1(head)});
        test::addNamed(db, "masvendor", QStringLiteral("10"), QStringLiteral("Amul Feeds"));
        test::addNamed(db, "masvendor", QStringLiteral("2"), QStringLiteral("D'Souza & Sons"));
        test::addNamed(db, "productbuyer", QStringLiteral("5"), QStringLiteral("Hotel"));
        screen = std::make_unique<DayBookScreen>(ts.session);
    }
    QLineEdit* edit(const char* name) { return screen->findChild<QLineEdit*>(name); }
    QComboBox* type() { return screen->findChild<QComboBox*>("List1"); }
    AccountPicker* picker() { return screen->findChild<AccountPicker*>("dcHead"); }
    QTableWidget* grid() { return screen->findChild<QTableWidget*>("VsFlex"); }
    void enterVoucher(const QString& type, const QString& account, const QString& amount,
                      const QString& remark = {}) {
        this->type()->setCurrentIndex(this->type()->findText(type));
        picker()->setEditText(account); // typed: binds to the entry it matches
        edit("TxtAmount")->setText(amount);
        edit("TxtRemark")->setText(remark);
    }
    qint64 add(double amount, const QString& remark = {}) {
        return store.insert({kDay, QStringLiteral("Shyam - 9"), QStringLiteral("Cr"), amount,
                             remark, QStringLiteral("9"), QStringLiteral("MilkMan")});
    }
    std::optional<StoredVoucher> only() {
        const auto rows = store.vouchersOn(kDay);
        return rows.size() == 1 ? std::optional(rows[0]) : std::nullopt;
    }
};

} // namespace

class DayBookTest : public QObject {
    Q_OBJECT
private slots:
    void refusesBadVouchers_data();
    void refusesBadVouchers();
    void everyAccountListFills_data();
    void everyAccountListFills();
    void enterWalksTheFieldsAndSaves();
    void accountHeadVoucherKeepsNaAndCategory();
    void leavingTheDateRefillsTheGrid();
    void correction_data();
    void correction();
    void entryGoneMeanwhileIsNotWritten();
    void deleteAsksOnceAndRefreshes();
    void textsAreStoredAsTyped();
    void failuresAreReportedByKind();
};

void DayBookTest::refusesBadVouchers_data() {
    for (const char* column : {"date", "type", "account", "amount", "field", "message"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<int>("list");
    const QString d = QStringLiteral("15/04/2024"), ram = QStringLiteral("Ram Lal - 10");
    auto row = [&](const char* name, const QString& date, const char* type, const QString& account,
                   const char* amount, const char* field, int list = Qt::Key_F2,
                   const QString& message = QStringLiteral("Please enter proper values.")) {
        QTest::newRow(name) << date << type << account << amount << field << message << list;
    };
    row("amount 12a", d, "Dr", ram, "12a", "TxtAmount");
    row("no amount", d, "Dr", ram, "", "TxtAmount");
    row("amount 0", d, "Dr", ram, "0", "TxtAmount");
    row("negative amount", d, "Cr", ram, "-5", "TxtAmount");
    row("amount 1,000", d, "Dr", ram, "1,000", "TxtAmount");
    row("no type", d, "", ram, "5", "List1");
    row("no account", d, "Dr", "", "5", "dcHead");
    row("name of nobody", d, "Dr", "Ram Lal", "5", "dcHead");
    row("empty date", "__/__/____", "Dr", ram, "5", "text2");
    row("31 February", "31/02/2024", "Dr", ram, "5", "text2");
    row("account head of 101", d, "Dr", QString(101, QLatin1Char('a')), "5", "dcHead", Qt::Key_F4,
        "Account Head is too long: at most 100 characters are allowed.");
}

void DayBookTest::refusesBadVouchers() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, date);
    QFETCH(QString, type);
    QFETCH(QString, account);
    QFETCH(QString, amount);
    QFETCH(QString, field);
    QFETCH(QString, message);
    QFETCH(int, list);
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key(list));
    f.enterVoucher(type, account, amount);
    f.edit("text2")->setText(date);
    f.screen->save();
    QCOMPARE(f.ts.dialogs.lastText(), message);
    QCOMPARE(f.ts.dialogs.shown.last().icon, core::Icon::Information);
    QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 0);
    QCOMPARE(f.edit("TxtAmount")->text(), amount);
    QCOMPARE(test::focusName(), field);
}

void DayBookTest::everyAccountListFills_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("bound");
    QTest::newRow("F2 milk suppliers")
        << int(Qt::Key_F2) << "MilkMan" << QStringList{"Shyam - 9", "Ram Lal - 10"}
        << QStringList{"9", "10"};
    QTest::newRow("F3 retail customers")
        << int(Qt::Key_F3) << "RetailMilk" << QStringList{"R2 - Abe", "R1 - Zed"}
        << QStringList{"R2", "R1"};
    QTest::newRow("F4 account heads") << int(Qt::Key_F4) << "AccountHead"
                                      << QStringList{"Rent", "Tea"} << QStringList{"Rent", "Tea"};
    QTest::newRow("F7 vendors") << int(Qt::Key_F7) << "Vendor"
                                << QStringList{"2 - D'Souza & Sons", "10 - Amul Feeds"}
                                << QStringList{"2", "10"};
    QTest::newRow("F8 product buyers")
        << int(Qt::Key_F8) << "BuyerProduct" << QStringList{"Hotel - 5"} << QStringList{"5"};
}

void DayBookTest::everyAccountListFills() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(int, key);
    QFETCH(QString, category);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, bound);
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4); // leave the opening list first
    f.picker()->setEditText(QStringLiteral("Rent"));
    QTest::keyClick(f.picker(), Qt::Key(key));
    QCOMPARE(f.screen->category(), category);
    QStringList shownNow, boundNow;
    for (int i = 0; i < f.picker()->count(); ++i) {
        shownNow << f.picker()->itemText(i);
        boundNow << f.picker()->itemData(i).toString();
    }
    QCOMPARE(shownNow, shown);
    QCOMPARE(boundNow, bound);
    QVERIFY(f.picker()->currentText().isEmpty()); // nothing chosen from the new list
    QVERIFY(f.ts.dialogs.shown.isEmpty());
}

void DayBookTest::enterWalksTheFieldsAndSaves() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    test::typeAndEnter(f.edit("text2"), QStringLiteral("15/04/2024"));
    QVERIFY(f.type()->hasFocus());
    QTest::keyClick(f.type(), Qt::Key_Return); // an empty type becomes "Dr"
    QCOMPARE(f.type()->currentText(), QStringLiteral("Dr"));
    test::typeAndEnter(f.picker(), QStringLiteral("Ram Lal - 10"));
    test::typeAndEnter(f.edit("TxtAmount"), QStringLiteral("500"));
    test::typeAndEnter(f.edit("TxtRemark"), QStringLiteral("cash"));
    auto* save = f.screen->findChild<QPushButton*>("Command8");
    QVERIFY(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Return);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", "Data Saved."}));
    QCOMPARE(f.ts.dialogs.shown.last().title, QStringLiteral("Day Book"));
    const auto v = f.only();
    QVERIFY(v);
    QCOMPARE(v->accountHead, QStringLiteral("Ram Lal - 10"));
    QCOMPARE(v->voucherType, QStringLiteral("Dr"));
    QCOMPARE(v->amount, 500.0);
    QCOMPARE(v->remark, QStringLiteral("cash"));
    QCOMPARE(v->partyCode, QStringLiteral("10"));
    QCOMPARE(v->category, QStringLiteral("MilkMan"));
    // The grid shows it; the fields are empty for the next voucher.
    QCOMPARE(test::columnTexts(f.grid(), 0), QStringList({QString::number(v->autoNo)}));
    QVERIFY(f.grid()->isColumnHidden(0));
    QCOMPARE(test::columnTexts(f.grid(), 1), QStringList({"15/04/2024"}));
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
    QVERIFY(f.picker()->currentText().isEmpty());
    QVERIFY(f.type()->hasFocus());
}

void DayBookTest::accountHeadVoucherKeepsNaAndCategory() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4);
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("Rent"), QStringLiteral("250"));
    f.screen->save();
    auto v = f.only();
    QVERIFY(v);
    QCOMPARE(v->partyCode, QStringLiteral("NA"));
    QCOMPARE(v->category, QStringLiteral("AccountHead"));

    // Whatever the stored party and category are, a correction leaves them alone.
    f.ts.db().exec(QStringLiteral("update DayBook set party_code = ?, category = ?"),
                   {QStringLiteral("X1"), QStringLiteral("Old")});
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.picker()->currentText(), QStringLiteral("Rent"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F6);
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("Tea"), QStringLiteral("300"));
    f.screen->save();
    v = f.only();
    QVERIFY(v);
    QCOMPARE(v->amount, 300.0);
    QCOMPARE(v->accountHead, QStringLiteral("Tea"));
    QCOMPARE(v->partyCode, QStringLiteral("X1"));
    QCOMPARE(v->category, QStringLiteral("Old"));
}

void DayBookTest::leavingTheDateRefillsTheGrid() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    for (const auto& [day, remark] :
         {std::pair{kDay.addDays(-1), "a"}, {kDay.addDays(-1), "b"}, {kDay, "c"}})
        f.store.insert({day, QStringLiteral("Tea"), QStringLiteral("Dr"), 1,
                        QString::fromLatin1(remark), QStringLiteral("NA"),
                        QStringLiteral("AccountHead")});
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    QCOMPARE(test::columnTexts(f.grid(), 5), QStringList({"c"}));
    // Enter in the date moves on and the grid follows the date, newest first.
    test::typeAndEnter(f.edit("text2"), QStringLiteral("14/04/2024"));
    QVERIFY(f.type()->hasFocus());
    QCOMPARE(test::columnTexts(f.grid(), 5), QStringList({"b", "a"}));
    // Leaving it any other way does the same.
    f.edit("text2")->setFocus();
    f.edit("text2")->setText(QStringLiteral("13/04/2024"));
    f.edit("TxtRemark")->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f.grid()->rowCount(), 0);
}

void DayBookTest::correction_data() {
    QTest::addColumn<QString>("keys"); // around the grid click: F6 before "6-", after "-6"
    QTest::addColumn<bool>("updated");
    QTest::newRow("F6 after the click") << "-6" << true;
    QTest::newRow("F6 before the click") << "6-" << true;
    QTest::newRow("no F6: a new voucher") << "-" << false;
    QTest::newRow("F6 then F5: a new voucher") << "-65" << false;
}

void DayBookTest::correction() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, keys);
    QFETCH(bool, updated);
    DayBookFixture f;
    const qint64 first = f.add(40, QStringLiteral("milk"));
    f.add(70);
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    const auto key = [&](QChar c) {
        QTest::keyClick(f.grid(), c == QLatin1Char('6') ? Qt::Key_F6 : Qt::Key_F5);
    };
    const auto dash = keys.indexOf(QLatin1Char('-'));
    for (QChar c : keys.left(dash))
        key(c);
    test::clickRow(f.grid(), 1); // newest first: the first voucher is below
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(first));
    QCOMPARE(f.edit("TxtRemark")->text(), QStringLiteral("milk"));
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QCOMPARE(f.picker()->boundValue(), QStringLiteral("9"));
    QTest::keyClick(f.grid(), Qt::Key_Up); // the cursor moves; the loaded voucher stays
    for (QChar c : keys.mid(dash + 1))
        key(c);
    if (keys.endsWith(QLatin1Char('5')))
        f.enterVoucher(QStringLiteral("Cr"), QStringLiteral("Shyam - 9"), QString(), "milk");
    f.edit("TxtAmount")->setText(QStringLiteral("42.75"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Data Saved."));
    QStringList amounts;
    for (const auto& v : f.store.vouchersOn(kDay))
        amounts << QString::number(v.amount);
    QCOMPARE(amounts, updated ? QStringList({"70", "42.75"}) : QStringList({"42.75", "70", "40"}));
    QVERIFY(!f.screen->correcting());
}

void DayBookTest::entryGoneMeanwhileIsNotWritten() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    const qint64 id = f.add(40);
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    test::clickRow(f.grid(), 0);
    QTest::keyClick(f.grid(), Qt::Key_F6);
    f.ts.database.openAnother()->exec(QStringLiteral("delete from DayBook where auto_no = ?"),
                                      {id});
    f.edit("TxtAmount")->setText(QStringLiteral("45"));
    f.ts.dialogs.clear();
    f.screen->save();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", core::kEntryGone}));
    QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 0);
    QCOMPARE(f.grid()->rowCount(), 0);
    // The fields stay: Save again keeps the voucher as a new one.
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("45"));
    f.screen->save();
    QCOMPARE(f.only()->amount, 45.0);
}

void DayBookTest::deleteAsksOnceAndRefreshes() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    f.add(10);
    const qint64 newer = f.add(11);
    QVERIFY(test::showActive(f.screen.get()));
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

    // A row another counter deleted meanwhile: said so, and the grid drops it.
    f.ts.database.openAnother()->exec(QStringLiteral("delete from DayBook"));
    f.ts.dialogs.clear();
    test::clickRow(f.grid(), 0, true);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Are You Sure to Delete.", core::kEntryGone}));
    QCOMPARE(f.grid()->rowCount(), 0);
}

void DayBookTest::textsAreStoredAsTyped() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F7);
    const QString remark = QStringLiteral("दूध का भुगतान, O'Brien's; drop table DayBook;--");
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("2 - D'Souza & Sons"), QStringLiteral("99"),
                   remark);
    f.screen->save();
    const auto v = f.store.vouchersOn(kDay);
    QCOMPARE(v.size(), size_t(1));
    QCOMPARE(v[0].accountHead, QStringLiteral("2 - D'Souza & Sons"));
    QCOMPARE(v[0].remark, remark);
    QCOMPARE(v[0].partyCode, QStringLiteral("2"));
    QCOMPARE(v[0].category, QStringLiteral("Vendor"));
    // The remark field takes no more than its column holds.
    f.edit("TxtRemark")->setFocus();
    QTest::keyClicks(f.edit("TxtRemark"), QString(120, QLatin1Char('x')));
    QCOMPARE(f.edit("TxtRemark")->text().size(), 100);
}

void DayBookTest::failuresAreReportedByKind() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    // A failing list switch is shown with its procedure.
    f.ts.db().exec(QStringLiteral("drop table masvendor"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F7);
    QCOMPARE(f.ts.dialogs.shown.size(), 1);
    QVERIFY(f.ts.dialogs.shown[0].text.startsWith(
        QStringLiteral("An error has occured.\r\n\tProcedure: Form_KeyDown")));
    // A failing save is logged under the screen's caption, without a message.
    f.ts.dialogs.clear();
    f.ts.db().exec(QStringLiteral("drop table DayBook"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4);
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("Rent"), QStringLiteral("5"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?"}));
    QCOMPARE(f.ts.db()
                 .scalar(QStringLiteral("select count(*) from ErrorDesc where FormName = ?"),
                         {QStringLiteral("Day Book")})
                 .toInt(),
             1);
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("5"));
}

QTEST_MAIN(DayBookTest)
#include "test_day_book.moc"
