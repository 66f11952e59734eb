#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/balance.h"
#include "transactions/card_recharge_screen.h"
#include "transactions/day_book_screen.h"
#include "transactions/day_book_store.h"
#include "transactions/item_sale_screen.h"
#include "transactions/purchase_screen.h"
#include "transactions/sale_store.h"

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

const QString kCard = QStringLiteral("0A1B2C3D");

struct RechargeFixture {
    TestSession ts;
    std::unique_ptr<CardRechargeScreen> screen;

    RechargeFixture() {
        auto& db = ts.db();
        test::addParty(db, QStringLiteral("7"), QStringLiteral("Ram O'Neil"),
                       QStringLiteral("MilkMan"), kCard);
        test::addParty(db, QStringLiteral("12"), QStringLiteral("Shyam"),
                       QStringLiteral("MilkMan"));
        test::addParty(db, QStringLiteral("30"), QStringLiteral("Gaon Kendra"),
                       QStringLiteral("VLCC"));
        test::addParty(db, QStringLiteral("40"), QStringLiteral("Shop"),
                       QStringLiteral("RetailMilk"));
        screen = std::make_unique<CardRechargeScreen>(ts.session);
    }
    template <class T> T* find(const char* name) {
        return screen->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QComboBox* type() { return find<QComboBox>("List1"); }
    AccountPicker* picker() { return find<AccountPicker>("Dc1"); }
    QLabel* name() { return find<QLabel>("LblMilkman"); }
    QTableWidget* grid() { return find<QTableWidget>("VsFlex"); }
    core::Rows vouchers() {
        return ts.db().query(QStringLiteral("select auto_no, dt, accounthead, v_type, net_amount, "
                                            "remark, party_code, category from DayBook "
                                            "order by auto_no"));
    }
};

} // namespace

class CardRechargeTest : public QObject {
    Q_OBJECT
private slots:
    void registeredCardFillsTheParty_data();
    void registeredCardFillsTheParty();
    void wrongCardClearsAndAsksForCode();
    void cardRechargeStoresOneCrVoucher();
    void enterOnTheDateRefillsAndSetsCr();
    void typedCodesShowTheirName_data();
    void typedCodesShowTheirName();
    void clearKeepsCardAndCode();
    void correctionSetsCategoryMilkMan();
    void balanceFollowsTheMoney();
    void opensAsTheDayBookVariant();
};

void CardRechargeTest::registeredCardFillsTheParty_data() {
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("card");
    QTest::newRow("typed and Enter") << true << QString(kCard);
    QTest::newRow("typed with blanks around") << true << QStringLiteral("  ") + kCard + " ";
    QTest::newRow("presented to the reader") << false << QString(kCard);
}

void CardRechargeTest::registeredCardFillsTheParty() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(bool, typed);
    QFETCH(QString, card);
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    if (typed)
        test::typeAndEnter(f.edit("TxtCardNo"), card);
    else
        f.screen->onCardPresented(card);
    QCOMPARE(f.edit("TxtCardNo")->text(), card);
    QCOMPARE(f.edit("TxtPartyCode")->text(), QStringLiteral("7"));
    QCOMPARE(f.name()->text(), QStringLiteral("Ram O'Neil"));
    QCOMPARE(f.picker()->currentText(), QStringLiteral("Ram O'Neil"));
    QCOMPARE(f.picker()->boundValue(), QStringLiteral("7"));
    QVERIFY(!f.edit("TxtPartyCode")->isEnabled());
    QVERIFY(f.edit("TxtAmount")->hasFocus());
    QVERIFY(f.ts.dialogs.shown.isEmpty());
}

void CardRechargeTest::wrongCardClearsAndAsksForCode() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->onCardPresented(kCard);
    f.screen->onCardPresented(QStringLiteral("FFFFFFFF"));
    QCOMPARE(f.ts.dialogs.texts(), QStringList({QStringLiteral("Wrong Card.")}));
    QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Card Recharge"));
    QVERIFY(f.edit("TxtCardNo")->text().isEmpty());
    QVERIFY(f.edit("TxtPartyCode")->text().isEmpty());
    QCOMPARE(f.name()->text(), QStringLiteral(" "));
    QVERIFY(f.edit("TxtPartyCode")->isEnabled());
    QVERIFY(f.edit("TxtPartyCode")->hasFocus());
    // The party of the previous card is no longer chosen: an amount and Save
    // credit nobody.
    QVERIFY(f.picker()->boundValue().isEmpty());
    f.ts.dialogs.clear();
    test::typeAndEnter(f.edit("TxtAmount"), QStringLiteral("500"));
    f.screen->save();
    QCOMPARE(f.ts.db().scalar(QStringLiteral("select count(*) from daybook")).toInt(), 0);
    // Blanks look nothing up.
    f.ts.dialogs.clear();
    f.screen->onCardPresented(QStringLiteral("   "));
    QVERIFY(f.ts.dialogs.shown.isEmpty());
}

void CardRechargeTest::cardRechargeStoresOneCrVoucher() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->onCardPresented(kCard);
    test::typeAndEnter(f.edit("TxtAmount"), QStringLiteral("500"));
    QVERIFY(f.edit("TxtRemark")->hasFocus());
    QTest::keyClick(f.edit("TxtRemark"), Qt::Key_Return);
    auto* save = f.find<QPushButton>("Command8");
    QVERIFY(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Return);
    QCOMPARE(f.ts.dialogs.texts(),
             QStringList({QStringLiteral("Do you want to save?"), QStringLiteral("Data Saved.")}));
    const auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].date(1), QDate(2024, 4, 15));
    QCOMPARE(rows[0].text(2), QStringLiteral("Ram O'Neil"));
    QCOMPARE(rows[0].text(3), QStringLiteral("Cr"));
    QCOMPARE(rows[0].number(4), 500.0);
    QCOMPARE(rows[0].text(6), QStringLiteral("7"));
    QCOMPARE(rows[0].text(7), QStringLiteral("MilkMan"));
    QCOMPARE(f.grid()->rowCount(), 1);
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QVERIFY(f.type()->hasFocus());
    // The card and the party stay for the next recharge.
    QCOMPARE(f.edit("TxtCardNo")->text(), kCard);
    QCOMPARE(f.edit("TxtPartyCode")->text(), QStringLiteral("7"));
}

void CardRechargeTest::enterOnTheDateRefillsAndSetsCr() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    DayBookStore store(f.ts.db());
    store.insert({QDate(2024, 4, 10), QStringLiteral("Shyam - 12"), QStringLiteral("Cr"), 100,
                  QString(), QStringLiteral("12"), QStringLiteral("MilkMan")});
    store.insert({QDate(2024, 4, 10), QStringLiteral("Tea"), QStringLiteral("Dr"), 5, QString(),
                  QStringLiteral("NA"), QStringLiteral("AccountHead")});
    QVERIFY(test::showActive(f.screen.get()));
    QCOMPARE(f.grid()->rowCount(), 0);
    f.type()->setCurrentIndex(f.type()->findText(QStringLiteral("Dr")));
    test::typeAndEnter(f.edit("text2"), QStringLiteral("10/04/2024"));
    // Every voucher of the date, not only recharges.
    QCOMPARE(f.grid()->rowCount(), 2);
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QVERIFY(f.edit("TxtPartyCode")->hasFocus());

    // Once a card has fixed the party, Enter goes on to the amount.
    f.screen->onCardPresented(kCard);
    test::typeAndEnter(f.edit("text2"), QStringLiteral("11/04/2024"));
    QCOMPARE(f.grid()->rowCount(), 0);
    QVERIFY(f.edit("TxtAmount")->hasFocus());
}

void CardRechargeTest::typedCodesShowTheirName_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("picker");
    QTest::newRow("milk supplier") << "12"
                                   << "Shyam"
                                   << "Shyam - 12";
    QTest::newRow("collection centre") << "30"
                                       << "Gaon Kendra"
                                       << "";
    QTest::newRow("retail customer") << "40"
                                     << " "
                                     << "";
    QTest::newRow("nobody") << "99"
                            << " "
                            << "";
}

void CardRechargeTest::typedCodesShowTheirName() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, picker);
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QStringList listed;
    for (int i = 0; i < f.picker()->count(); ++i)
        listed << f.picker()->itemText(i);
    QCOMPARE(listed, QStringList({QStringLiteral("Ram O'Neil - 7"), QStringLiteral("Shyam - 12")}));
    f.edit("TxtPartyCode")->setFocus();
    QTest::keyClicks(f.edit("TxtPartyCode"), code);
    QCOMPARE(f.name()->text(), name);
    QCOMPARE(f.picker()->currentText(), picker);
    QTest::keyClick(f.edit("TxtPartyCode"), Qt::Key_Return);
    QVERIFY(f.edit("TxtAmount")->hasFocus());
}

void CardRechargeTest::clearKeepsCardAndCode() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->onCardPresented(kCard);
    f.edit("TxtAmount")->setText(QStringLiteral("50"));
    f.edit("TxtRemark")->setText(QStringLiteral("note"));
    QTest::keyClick(f.edit("TxtAmount"), Qt::Key_F5);
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
    QVERIFY(f.edit("TxtRemark")->text().isEmpty());
    QVERIFY(f.type()->currentText().isEmpty());
    QVERIFY(f.picker()->currentText().isEmpty());
    QCOMPARE(f.edit("TxtCardNo")->text(), kCard);
    QCOMPARE(f.edit("TxtPartyCode")->text(), QStringLiteral("7"));
    QVERIFY(!f.edit("TxtPartyCode")->isEnabled());
    QCOMPARE(f.name()->text(), QStringLiteral("Ram O'Neil"));
}

void CardRechargeTest::correctionSetsCategoryMilkMan() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    DayBookStore store(f.ts.db());
    const qint64 id =
        store.insert({QDate(2024, 4, 15), QStringLiteral("Shyam"), QStringLiteral("Dr"), 80,
                      QStringLiteral("old"), QStringLiteral("12"), QStringLiteral("RetailMilk")});
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(id));
    QCOMPARE(f.picker()->currentText(), QStringLiteral("Shyam - 12"));
    QCOMPARE(f.type()->currentText(), QStringLiteral("Dr"));
    QTest::keyClick(f.grid(), Qt::Key_F6);
    QVERIFY(f.screen->editing());
    f.edit("TxtAmount")->setText(QStringLiteral("90"));
    f.type()->setCurrentIndex(f.type()->findText(QStringLiteral("Cr")));
    f.screen->save();
    const auto rows = f.vouchers();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].number(4), 90.0);
    QCOMPARE(rows[0].text(3), QStringLiteral("Cr"));
    QCOMPARE(rows[0].text(6), QStringLiteral("12"));
    QCOMPARE(rows[0].text(7), QStringLiteral("MilkMan"));
    QVERIFY(!f.screen->editing());
}

void CardRechargeTest::balanceFollowsTheMoney() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    auto& db = f.ts.db();
    const QDate day(2024, 4, 15);
    test::addVendor(db, QStringLiteral("1"), QStringLiteral("Amul Feeds"));
    test::addItem(db, QStringLiteral("Cattle Feed"), QStringLiteral("Bag"));

    // The balance as the sale screen shows it beside the party, looked up afresh.
    ItemSaleScreen sale(f.ts.session);
    auto* saleCode = sale.findChild<QLineEdit*>(QStringLiteral("TxtPartyCode"));
    auto* saleBalance = sale.findChild<QLabel*>(QStringLiteral("LblBalance"));
    QVERIFY(saleCode && saleBalance);
    auto shownBalance = [&] {
        saleCode->clear();
        saleCode->setText(QStringLiteral("7"));
        return saleBalance->text();
    };
    QCOMPARE(shownBalance(), QString()); // nothing bought or paid yet

    // A purchase from a vendor is none of the party's business.
    PurchaseScreen purchases(f.ts.session);
    purchases.findChild<QComboBox*>(QStringLiteral("DcParty"))
        ->setEditText(QStringLiteral("Amul Feeds"));
    purchases.findChild<QComboBox*>(QStringLiteral("Item_name"))
        ->setEditText(QStringLiteral("Cattle Feed"));
    purchases.findChild<QLineEdit*>(QStringLiteral("TxtQty"))->setText(QStringLiteral("10"));
    purchases.findChild<QLineEdit*>(QStringLiteral("txtrate"))->setText(QStringLiteral("95"));
    purchases.save();
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from ItemPurchases")).toInt(), 1);
    QCOMPARE(shownBalance(), QString());

    // A sale of 300 on the party's bill.
    SaleStore sales(db);
    sales.insertLine({day, sales.nextBillNo(), QStringLiteral("7"), QStringLiteral("Cattle Feed"),
                      QStringLiteral("Bag"), 2, 150, 300, QStringLiteral("MilkMan")},
                     true);
    QCOMPARE(shownBalance(), QStringLiteral("-300"));

    // A recharge of 1000 raises the balance at once.
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->onCardPresented(kCard);
    f.edit("TxtAmount")->setText(QStringLiteral("1000"));
    f.screen->save();
    QCOMPARE(shownBalance(), QStringLiteral("700"));

    // Cash of 200 paid out to the party from the day book.
    DayBookScreen dayBook(f.ts.session);
    auto* picker = dayBook.findChild<AccountPicker*>(QStringLiteral("dcHead"));
    auto* type = dayBook.findChild<QComboBox*>(QStringLiteral("List1"));
    type->setCurrentIndex(type->findText(QStringLiteral("Dr")));
    picker->setCurrentIndex(picker->findText(QStringLiteral("Ram O'Neil - 7")));
    dayBook.findChild<QLineEdit*>(QStringLiteral("TxtAmount"))->setText(QStringLiteral("200"));
    dayBook.save();

    const double credits =
        db.scalar(QStringLiteral("select sum(net_amount) from DayBook where party_code = ? and "
                                 "v_type = ?"),
                  {QStringLiteral("7"), QStringLiteral("Cr")})
            .toDouble();
    const double debits =
        db.scalar(QStringLiteral("select sum(net_amount) from DayBook where party_code = ? and "
                                 "v_type = ?"),
                  {QStringLiteral("7"), QStringLiteral("Dr")})
            .toDouble() +
        db.scalar(QStringLiteral("select sum(net_amt) from itemsale where party_code = ?"),
                  {QStringLiteral("7")})
            .toDouble();
    QCOMPARE(credits - debits, 500.0);
    QCOMPARE(shownBalance(), QStringLiteral("500"));
    QCOMPARE(closingBalance(db, QStringLiteral("7"), day).value_or(-1), credits - debits);
    QCOMPARE(f.ts.dialogs.texts().count(QStringLiteral("Data Saved.")), 3);
    QVERIFY(!f.ts.dialogs.texts().contains(QStringLiteral("Please enter proper values.")));
}

void CardRechargeTest::opensAsTheDayBookVariant() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QCOMPARE(f.screen->windowTitle(), QStringLiteral("Card Recharge"));
    QCOMPARE(f.screen->category(), QStringLiteral("MilkMan"));
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QCOMPARE(f.edit("text2")->text(), QStringLiteral("15/04/2024"));
    QStringList labels;
    for (auto* label : f.screen->findChildren<QLabel*>())
        labels << label->text();
    QVERIFY(labels.contains(QStringLiteral("F5 Clear  F6 Edit")));
    QStringList headings;
    for (int c = 0; c < f.grid()->columnCount(); ++c)
        headings << f.grid()->horizontalHeaderItem(c)->text();
    QCOMPARE(headings,
             QStringList({"Auto No", "Date", "Account Head", "Type", "Amount", "Remark"}));
    QVERIFY(f.grid()->isColumnHidden(0));
    // F3 clears as F5 does; no key switches the list.
    f.edit("TxtAmount")->setText(QStringLiteral("5"));
    QTest::keyClick(f.screen.get(), Qt::Key_F3);
    QVERIFY(f.edit("TxtAmount")->text().isEmpty());
    const int listed = f.picker()->count();
    QTest::keyClick(f.screen.get(), Qt::Key_F4);
    QCOMPARE(f.picker()->count(), listed);
    QCOMPARE(f.screen->category(), QStringLiteral("MilkMan"));
}

QTEST_MAIN(CardRechargeTest)
#include "test_card_recharge.moc"
