#include "core/idioms.h"
#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/day_book_rules.h"
#include "transactions/day_book_screen.h"
#include "transactions/day_book_store.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace stokara;
using namespace stokara::transactions;
using stokara::test::TestSession;

namespace {

struct DayBookFixture {
    TestSession ts;
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
        test::addAccountHead(db, QStringLiteral("Tea"));
        test::addAccountHead(db, QStringLiteral("Rent"));
        test::addVendor(db, QStringLiteral("10"), QStringLiteral("Amul Feeds"));
        test::addVendor(db, QStringLiteral("2"), QStringLiteral("D'Souza & Sons"));
        test::addProductBuyer(db, QStringLiteral("5"), QStringLiteral("Hotel"));
        screen = std::make_unique<DayBookScreen>(ts.session);
    }
    template <class T> T* find(const char* name) {
        return screen->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QComboBox* type() { return find<QComboBox>("List1"); }
    AccountPicker* picker() { return find<AccountPicker>("dcHead"); }
    QTableWidget* grid() { return find<QTableWidget>("VsFlex"); }
    void enterVoucher(const QString& type, const QString& account, const QString& amount,
                      const QString& remark = {}) {
        this->type()->setCurrentIndex(this->type()->findText(type));
        picker()->setCurrentIndex(picker()->findText(account));
        edit("TxtAmount")->setText(amount);
        edit("TxtRemark")->setText(remark);
    }
    core::Rows vouchers() {
        return ts.db().query(QStringLiteral("select auto_no, dt, accounthead, v_type, net_amount, "
                                            "remark, party_code, category from DayBook "
                                            "order by auto_no"));
    }
};

} // namespace

class DayBookTest : public QObject {
    Q_OBJECT
private slots:
    void voucherChecks_data();
    void voucherChecks();
    void everyAccountListFills_data();
    void everyAccountListFills();
    void emptyVoucherTypeBecomesDr();
    void savesPartyVoucher();
    void amountMustBeANumber_data();
    void amountMustBeANumber();
    void accountHeadVoucherKeepsNaAndCategory();
    void leavingTheDateRefillsTheGrid();
    void gridClickWithAndWithoutF6();
    void deleteAsksOnceAndRefreshes();
    void textsAreStoredAsTyped();
    void failuresAreReportedByKind();
    void gridColumnsAndHelpLine();
    void clearKeepsDateCategoryAndEditFlag();
};

void DayBookTest::voucherChecks_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("bound");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("partyCode");
    const QString d = QStringLiteral("15/04/2024");
    const QString bad = QStringLiteral("Please enter proper values.");
    const QString milk = QStringLiteral("MilkMan");
    const QString head = QStringLiteral("AccountHead");
    auto row = [](const char* name, const QString& date, const char* type, const QString& account,
                  const char* bound, const char* amount, const QString& remark,
                  const QString& category, const QString& message, const char* party) {
        QTest::newRow(name) << date << QString::fromLatin1(type) << account
                            << QString::fromLatin1(bound) << QString::fromLatin1(amount) << remark
                            << category << message << QString::fromLatin1(party);
    };
    row("party", d, "Cr", "Ram - 10", "10", "12.5", "", milk, "", "10");
    row("account head gets NA", d, "Dr", "Rent", "", "100", "", head, "", "NA");
    row("no account", d, "Dr", "", "10", "5", "", milk, bad, "");
    row("no type", d, "", "Ram - 10", "10", "5", "", milk, bad, "");
    row("12a", d, "Dr", "Ram - 10", "10", "12a", "", milk, bad, "");
    row("no amount", d, "Dr", "Ram - 10", "10", "", "", milk, bad, "");
    row("empty date", "__/__/____", "Dr", "Ram - 10", "10", "5", "", milk, bad, "");
    row("name of nobody", d, "Dr", "Nobody", "", "5", "", QStringLiteral("Vendor"), bad, "");
    row("remark of 101", d, "Dr", "Rent", "", "5", QString(101, QLatin1Char('r')), head,
        QStringLiteral("Remark can't be longer than 100 characters."), "");
    row("Hindi remark of 100", d, "Dr", "Rent", "", "5", QString(100, QChar(0x0915)), head, "",
        "NA");
    row("account of 101", d, "Dr", QString(101, QLatin1Char('a')), "", "5", "", head,
        QStringLiteral("Account Head can't be longer than 100 characters."), "");
    row("code of 10", d, "Dr", "X - 1234567890", "1234567890", "5", "", milk, "", "1234567890");
    row("code of 11", d, "Dr", "X - 12345678901", "12345678901", "5", "", milk,
        QStringLiteral("Party code can't be longer than 10 characters."), "");
}

void DayBookTest::voucherChecks() {
    QFETCH(QString, date);
    QFETCH(QString, type);
    QFETCH(QString, account);
    QFETCH(QString, bound);
    QFETCH(QString, amount);
    QFETCH(QString, remark);
    QFETCH(QString, category);
    QFETCH(QString, message);
    QFETCH(QString, partyCode);
    const auto check = checkVoucher({date, type, account, bound, amount, remark, category});
    QCOMPARE(check.message, message);
    QCOMPARE(check.voucher.has_value(), message.isEmpty());
    if (check.voucher) {
        QCOMPARE(check.voucher->partyCode, partyCode);
        QCOMPARE(check.voucher->amount, core::val(amount));
        QCOMPARE(check.voucher->category, category);
    }
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
    if (key != Qt::Key_F2)
        QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4); // leave the opening list first
    QTest::keyClick(f.picker(), Qt::Key(key));
    QCOMPARE(f.screen->category(), category);
    QStringList shownNow, boundNow;
    for (int i = 0; i < f.picker()->count(); ++i) {
        shownNow << f.picker()->itemText(i);
        boundNow << f.picker()->itemData(i).toString();
    }
    QCOMPARE(shownNow, shown);
    QCOMPARE(boundNow, bound);
    QVERIFY(f.ts.dialogs.shown.isEmpty());
}

void DayBookTest::emptyVoucherTypeBecomesDr() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.type()->setFocus();
    QCOMPARE(f.type()->currentText(), QString());
    QTest::keyClick(f.type(), Qt::Key_Return);
    QCOMPARE(f.type()->currentText(), QStringLiteral("Dr"));
    QVERIFY(f.picker()->hasFocus());
    QTest::keyClick(f.picker(), Qt::Key_Return);
    QVERIFY(f.edit("TxtAmount")->hasFocus());
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_Return);
    QVERIFY(f.edit("TxtRemark")->hasFocus());

    // A chosen type stays.
    f.type()->setCurrentIndex(f.type()->findText(QStringLiteral("Cr")));
    f.type()->setFocus();
    QTest::keyClick(f.type(), Qt::Key_Return);
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
}

void DayBookTest::savesPartyVoucher() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.edit("TxtRemark")->setFocus(); // past the date, whose leaving clears the fields
    f.enterVoucher(QStringLiteral("Cr"), QStringLiteral("Ram Lal - 10"), QStringLiteral("500"),
                   QStringLiteral("cash"));
    auto* save = f.find<QPushButton>("Command8");
    QTest::keyClick(f.edit("TxtRemark"), Qt::Key_Return);
    QVERIFY(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Return);
    QCOMPARE(f.ts.dialogs.texts(),
             QStringList({QStringLiteral("Do you want to save?"), QStringLiteral("Data Saved.")}));
    QCOMPARE(f.ts.dialogs.shown.last().title, QStringLiteral("Day Book"));
    const auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].date(1), QDate(2024, 4, 15));
    QCOMPARE(rows[0].text(2), QStringLiteral("Ram Lal - 10"));
    QCOMPARE(rows[0].text(3), QStringLiteral("Cr"));
    QCOMPARE(rows[0].number(4), 500.0);
    QCOMPARE(rows[0].text(6), QStringLiteral("10"));
    QCOMPARE(rows[0].text(7), QStringLiteral("MilkMan"));
    // The grid shows it; the fields are cleared for the next voucher.
    QCOMPARE(f.grid()->rowCount(), 1);
    QVERIFY(f.grid()->isColumnHidden(0));
    QCOMPARE(f.grid()->item(0, 1)->text(), QStringLiteral("15/04/2024"));
    QCOMPARE(f.grid()->item(0, 4)->text(), QStringLiteral("500"));
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
    QVERIFY(f.picker()->currentText().isEmpty());
    QVERIFY(f.type()->hasFocus());
}

void DayBookTest::amountMustBeANumber_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("stored");
    QTest::newRow("12a") << "12a" << false;
    QTest::newRow("12.5") << "12.5" << true;
}

void DayBookTest::amountMustBeANumber() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, amount);
    QFETCH(bool, stored);
    DayBookFixture f;
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("Shyam - 9"), amount);
    f.screen->save();
    const auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(stored ? 1 : 0));
    if (stored) {
        QCOMPARE(rows[0].number(4), 12.5);
    } else {
        QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Please enter proper values."));
        QCOMPARE(f.ts.dialogs.shown.last().icon, core::Icon::Information);
        QCOMPARE(f.edit("TxtAmount")->text(), amount);
    }
}

void DayBookTest::accountHeadVoucherKeepsNaAndCategory() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4);
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("Rent"), QStringLiteral("250"));
    f.screen->save();
    auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].text(2), QStringLiteral("Rent"));
    QCOMPARE(rows[0].text(6), QStringLiteral("NA"));
    QCOMPARE(rows[0].text(7), QStringLiteral("AccountHead"));

    // Whatever the stored party and category are, a correction leaves them alone.
    const qint64 id = rows[0].value(QStringLiteral("auto_no")).toLongLong();
    f.ts.db().exec(
        QStringLiteral("update DayBook set party_code = ?, category = ? where auto_no = ?"),
        {QStringLiteral("X1"), QStringLiteral("Old"), id});
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(id));
    QCOMPARE(f.picker()->currentText(), QStringLiteral("Rent"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F6);
    f.edit("TxtAmount")->setText(QStringLiteral("300"));
    f.picker()->setCurrentIndex(f.picker()->findText(QStringLiteral("Tea")));
    f.screen->save();
    rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].number(4), 300.0);
    QCOMPARE(rows[0].text(2), QStringLiteral("Tea"));
    QCOMPARE(rows[0].text(6), QStringLiteral("X1"));
    QCOMPARE(rows[0].text(7), QStringLiteral("Old"));
    QVERIFY(!f.screen->editing());
}

void DayBookTest::leavingTheDateRefillsTheGrid() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    DayBookStore store(f.ts.db());
    store.insert({QDate(2024, 4, 14), QStringLiteral("Rent"), QStringLiteral("Dr"), 1,
                  QStringLiteral("a"), QStringLiteral("NA"), QStringLiteral("AccountHead")});
    store.insert({QDate(2024, 4, 14), QStringLiteral("Tea"), QStringLiteral("Dr"), 2,
                  QStringLiteral("b"), QStringLiteral("NA"), QStringLiteral("AccountHead")});
    store.insert({QDate(2024, 4, 15), QStringLiteral("Tea"), QStringLiteral("Dr"), 3,
                  QStringLiteral("c"), QStringLiteral("NA"), QStringLiteral("AccountHead")});
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    QCOMPARE(test::columnTexts(f.grid(), 5), QStringList({QStringLiteral("c")}));

    // Enter in the date moves on and the grid follows the date.
    test::typeAndEnter(f.edit("text2"), QStringLiteral("14/04/2024"));
    QVERIFY(f.type()->hasFocus());
    QCOMPARE(test::columnTexts(f.grid(), 5),
             QStringList({QStringLiteral("b"), QStringLiteral("a")}));
    QCOMPARE(test::columnTexts(f.grid(), 1),
             QStringList({QStringLiteral("14/04/2024"), QStringLiteral("14/04/2024")}));

    // Leaving it any other way does the same.
    f.edit("text2")->setFocus();
    f.edit("text2")->setText(QStringLiteral("13/04/2024"));
    f.edit("TxtRemark")->setFocus();
    QCOMPARE(f.grid()->rowCount(), 0);
}

void DayBookTest::gridClickWithAndWithoutF6() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    DayBookStore store(f.ts.db());
    const qint64 id =
        store.insert({QDate(2024, 4, 15), QStringLiteral("Shyam - 9"), QStringLiteral("Cr"), 40,
                      QStringLiteral("milk"), QStringLiteral("9"), QStringLiteral("MilkMan")});
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();

    // Without F6 the loaded voucher is saved as a new one.
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("40"));
    QCOMPARE(f.edit("TxtRemark")->text(), QStringLiteral("milk"));
    QCOMPARE(f.picker()->boundValue(), QStringLiteral("9"));
    QVERIFY(!f.screen->editing());
    f.edit("TxtAmount")->setText(QStringLiteral("45"));
    f.screen->save();
    auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].number(4), 40.0);
    QCOMPARE(rows[1].number(4), 45.0);
    QCOMPARE(rows[1].text(6), QStringLiteral("9"));

    // With F6 it is corrected in place.
    const int row = test::columnTexts(f.grid(), 0).indexOf(QString::number(id));
    test::clickRow(f.grid(), row);
    QTest::keyClick(f.grid(), Qt::Key_F6);
    f.edit("TxtAmount")->setText(QStringLiteral("42.75"));
    f.screen->save();
    rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].number(4), 42.75);
    QVERIFY(!f.screen->editing());
}

void DayBookTest::deleteAsksOnceAndRefreshes() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    DayBookStore store(f.ts.db());
    for (int i = 0; i < 2; ++i)
        store.insert({QDate(2024, 4, 15), QStringLiteral("Tea"), QStringLiteral("Dr"), 10.0 + i,
                      QString(), QStringLiteral("NA"), QStringLiteral("AccountHead")});
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    QCOMPARE(f.grid()->rowCount(), 2);

    f.ts.dialogs.answer(core::Answer::Cancel);
    test::clickRow(f.grid(), 0, true);
    QCOMPARE(f.vouchers().size(), size_t(2));

    f.ts.dialogs.clear();
    test::clickRow(f.grid(), 0, true);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Are You Sure to Delete.")}));
    QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Delete Entry"));
    QCOMPARE(f.vouchers().size(), size_t(1));
    QCOMPARE(f.grid()->rowCount(), 1);
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
    auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].text(2), QStringLiteral("2 - D'Souza & Sons"));
    QCOMPARE(rows[0].text(5), remark);
    QCOMPARE(rows[0].text(6), QStringLiteral("2"));
    QCOMPARE(rows[0].text(7), QStringLiteral("Vendor"));

    // The remark field takes no more than the column holds.
    f.edit("TxtRemark")->setFocus();
    QTest::keyClicks(f.edit("TxtRemark"), QString(120, QLatin1Char('x')));
    QCOMPARE(f.edit("TxtRemark")->text().size(), 100);
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("2 - D'Souza & Sons"), QStringLiteral("1"),
                   QString(100, QChar(0x0916)));
    f.screen->save();
    rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[1].text(5), QString(100, QChar(0x0916)));
    QVERIFY(f.ts.db().scalar(QStringLiteral("select count(*) from ErrorDesc")).toInt() == 0);
}

void DayBookTest::failuresAreReportedByKind() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    // A failing list switch is shown with its procedure.
    f.ts.db().exec(QStringLiteral("drop table masvendor"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F7);
    QCOMPARE(f.ts.dialogs.shown.size(), 1);
    QCOMPARE(f.ts.dialogs.shown[0].icon, core::Icon::Critical);
    QVERIFY(f.ts.dialogs.shown[0].text.startsWith(
        QStringLiteral("An error has occured.\r\n\tProcedure: Form_KeyDown")));

    // A failing save is logged under the screen's caption, without a message.
    f.ts.dialogs.clear();
    f.ts.db().exec(QStringLiteral("drop table DayBook"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4);
    f.enterVoucher(QStringLiteral("Dr"), QStringLiteral("Rent"), QStringLiteral("5"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Do you want to save?")}));
    QCOMPARE(f.ts.db()
                 .scalar(QStringLiteral("select count(*) from ErrorDesc where FormName = ?"),
                         {QStringLiteral("Day Book")})
                 .toInt(),
             1);
    QCOMPARE(f.edit("TxtAmount")->text(), QStringLiteral("5"));
}

void DayBookTest::gridColumnsAndHelpLine() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    auto* grid = f.grid();
    QCOMPARE(grid->columnCount(), 6);
    QStringList headings;
    QList<int> widths;
    for (int c = 0; c < 6; ++c) {
        headings << grid->horizontalHeaderItem(c)->text();
        widths << (grid->isColumnHidden(c) ? 0 : grid->columnWidth(c));
    }
    QCOMPARE(headings,
             QStringList({"Auto No", "Date", "Account Head", "Type", "Amount", "Remark"}));
    // Twips at 15 to the pixel; the entry number is hidden; a date fits its column.
    QCOMPARE(widths[0], 0);
    QCOMPARE(widths.mid(2), QList<int>({133, 40, 53, 133}));
    QVERIFY(widths[1] >= 66);
    QVERIFY(widths[1] > grid->fontMetrics().horizontalAdvance(QStringLiteral("15/04/2024")));
    QVERIFY(grid->minimumWidth() >= 66 + 133 + 40 + 53 + 133);
    QCOMPARE(f.screen->windowTitle(), QStringLiteral("Day Book"));
    QStringList labels;
    for (auto* label : f.screen->findChildren<QLabel*>())
        labels << label->text();
    QVERIFY(labels.contains(
        QStringLiteral("F2 Party Name,  F4 Account Head  F5 Clear  F6 Edit  F7 Vendor")));
    QCOMPARE(f.type()->count(), 2);
    QCOMPARE(f.type()->itemText(0), QStringLiteral("Dr"));
    QCOMPARE(f.type()->itemText(1), QStringLiteral("Cr"));
}

void DayBookTest::clearKeepsDateCategoryAndEditFlag() {
    STOKARA_REQUIRE_DATABASE();
    DayBookFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F4);
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F6);
    f.edit("text2")->setText(QStringLiteral("12/04/2024"));
    f.enterVoucher(QStringLiteral("Cr"), QStringLiteral("Tea"), QStringLiteral("5"),
                   QStringLiteral("r"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F5);
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
    QVERIFY(f.edit("TxtRemark")->text().isEmpty());
    QVERIFY(f.type()->currentText().isEmpty());
    QVERIFY(f.picker()->currentText().isEmpty());
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("12/04/2024"));
    QCOMPARE(f.screen->category(), QStringLiteral("AccountHead"));
    QVERIFY(f.screen->editing());
    // F3 clears too, then switches to the retail customers.
    f.edit("TxtAmount")->setText(QStringLiteral("7"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F3);
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
    QCOMPARE(f.screen->category(), QStringLiteral("RetailMilk"));
}

QTEST_MAIN(DayBookTest)
#include "test_day_book.moc"
