#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/card_recharge_screen.h"

#include <QLabel>
#include <QPushButton>

using namespace stokara;
using namespace stokara::transactions;
using stokara::test::TestSession;

namespace {

const QString kCard = QStringLiteral("0A1B2C3D");
const QDate kDay(2024, 4, 15);

struct RechargeFixture {
    TestSession ts;
    DayBookStore store{ts.db()};
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
    QLineEdit* edit(const char* name) { return screen->findChild<QLineEdit*>(name); }
    QComboBox* type() { return screen->findChild<QComboBox*>("List1"); }
    AccountPicker* picker() { return screen->findChild<AccountPicker*>("Dc1"); }
    QString name() { return screen->findChild<QLabel*>("LblMilkman")->text(); }
    QTableWidget* grid() { return screen->findChild<QTableWidget*>("VsFlex"); }
    void typeCode(const QString& code) {
        edit("TxtPartyCode")->setFocus();
        edit("TxtPartyCode")->selectAll();
        QTest::keyClicks(edit("TxtPartyCode"), code);
    }
};

} // namespace

class CardRechargeTest : public QObject {
    Q_OBJECT
private slots:
    void registeredCardFillsTheParty_data();
    void registeredCardFillsTheParty();
    void wrongCardCreditsNobody();
    void typedCodeChoosesTheParty_data();
    void typedCodeChoosesTheParty();
    void cardRechargeStoresOneCrVoucher();
    void cardSharedByTwoPartiesFindsTheLowestCode();
    void enterOnTheDateRefillsAndSetsCr();
    void clearKeepsCardAndCode();
    void correctionSetsCategoryMilkMan();
};

void CardRechargeTest::registeredCardFillsTheParty_data() {
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("card");
    QTest::newRow("typed and Enter") << true << kCard;
    QTest::newRow("typed with blanks around") << true << "  " + kCard + " ";
    QTest::newRow("presented to the reader") << false << kCard;
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
    QCOMPARE(f.edit("TxtPartyCode")->text(), QStringLiteral("7"));
    QCOMPARE(f.name(), QStringLiteral("Ram O'Neil"));
    QCOMPARE(f.picker()->currentText(), QStringLiteral("Ram O'Neil"));
    QCOMPARE(f.picker()->boundValue(), QStringLiteral("7"));
    QVERIFY(!f.edit("TxtPartyCode")->isEnabled());
    QVERIFY(f.edit("TxtAmount")->hasFocus());
    QVERIFY(f.ts.dialogs.shown.isEmpty());
}

void CardRechargeTest::wrongCardCreditsNobody() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->onCardPresented(kCard);
    f.screen->onCardPresented(QStringLiteral("FFFFFFFF"));
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Wrong Card."}));
    QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Card Recharge"));
    QVERIFY(f.edit("TxtCardNo")->text().isEmpty());
    QVERIFY(f.edit("TxtPartyCode")->text().isEmpty());
    QCOMPARE(f.name(), QStringLiteral(" "));
    QVERIFY(f.edit("TxtPartyCode")->isEnabled());
    QVERIFY(f.edit("TxtPartyCode")->hasFocus());
    f.edit("TxtAmount")->setText(QStringLiteral("500"));
    f.screen->save();
    QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Please enter proper values."));
    QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 0);
    // Blanks look nothing up.
    f.ts.dialogs.clear();
    f.screen->onCardPresented(QStringLiteral("   "));
    QVERIFY(f.ts.dialogs.shown.isEmpty());
}

void CardRechargeTest::typedCodeChoosesTheParty_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("credited"); // "" when the Save is refused
    QTest::newRow("milk supplier") << "12"
                                   << "Shyam"
                                   << "12";
    QTest::newRow("collection centre: not in the list") << "30"
                                                        << "Gaon Kendra"
                                                        << "";
    QTest::newRow("retail customer") << "40"
                                     << " "
                                     << "";
    QTest::newRow("nobody") << "99"
                            << " "
                            << "";
}

void CardRechargeTest::typedCodeChoosesTheParty() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, credited);
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QCOMPARE(f.picker()->itemText(0), QStringLiteral("Ram O'Neil - 7")); // milk suppliers only
    QCOMPARE(f.picker()->count(), 2);
    f.typeCode(QStringLiteral("7"));
    QCOMPARE(f.picker()->boundValue(), QStringLiteral("7"));
    // Another code replaces the party chosen before, even one that matches nobody.
    f.typeCode(code);
    QCOMPARE(f.name(), name);
    QTest::keyClick(f.edit("TxtPartyCode"), Qt::Key_Return);
    QVERIFY(f.edit("TxtAmount")->hasFocus());
    f.edit("TxtAmount")->setText(QStringLiteral("500"));
    f.screen->save();
    const auto rows = f.store.vouchersOn(kDay);
    QCOMPARE(rows.size(), size_t(credited.isEmpty() ? 0 : 1));
    if (rows.empty())
        QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Please enter proper values."));
    else
        QCOMPARE(rows[0].partyCode, credited);
}

void CardRechargeTest::cardRechargeStoresOneCrVoucher() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr")); // on opening
    f.screen->onCardPresented(kCard);
    test::typeAndEnter(f.edit("TxtAmount"), QStringLiteral("500"));
    QTest::keyClick(f.edit("TxtRemark"), Qt::Key_Return);
    auto* save = f.screen->findChild<QPushButton*>("Command8");
    QVERIFY(save->hasFocus());
    QTest::keyClick(save, Qt::Key_Return);
    QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", "Data Saved."}));
    const auto rows = f.store.vouchersOn(kDay);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].accountHead, QStringLiteral("Ram O'Neil"));
    QCOMPARE(rows[0].voucherType, QStringLiteral("Cr"));
    QCOMPARE(rows[0].amount, 500.0);
    QCOMPARE(rows[0].partyCode, QStringLiteral("7"));
    QCOMPARE(rows[0].category, QStringLiteral("MilkMan"));
    QCOMPARE(f.grid()->rowCount(), 1);
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QVERIFY(f.type()->hasFocus());
    // The card and the party stay for the next recharge.
    QCOMPARE(f.edit("TxtCardNo")->text(), kCard);
    QCOMPARE(f.edit("TxtPartyCode")->text(), QStringLiteral("7"));
}

void CardRechargeTest::cardSharedByTwoPartiesFindsTheLowestCode() {
    STOKARA_REQUIRE_DATABASE();
    TestSession ts;
    // Entered in the other order, so that the first row stored is not the answer.
    for (const char* code : {"12", "7", "100"})
        if (!ts.db().tryExec(
                QStringLiteral("insert into masparty (party_code, party_name, "
                               "category, CardNo) values (?, ?, ?, ?)"),
                {QString::fromLatin1(code), QStringLiteral("P"), QStringLiteral("MilkMan"), kCard}))
            QSKIP("this database allows one party per card");
    QCOMPARE(CardRechargeStore(ts.db()).partyByCard(kCard)->code, QStringLiteral("7"));
}

void CardRechargeTest::enterOnTheDateRefillsAndSetsCr() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    for (const char* head : {"Shyam - 12", "Tea"})
        f.store.insert({QDate(2024, 4, 10), QString::fromLatin1(head), QStringLiteral("Dr"), 5,
                        QString(), QStringLiteral("12"), QStringLiteral("MilkMan")});
    QVERIFY(test::showActive(f.screen.get()));
    QCOMPARE(f.grid()->rowCount(), 0);
    f.type()->setCurrentIndex(f.type()->findText(QStringLiteral("Dr")));
    test::typeAndEnter(f.edit("text2"), QStringLiteral("10/04/2024"));
    QCOMPARE(f.grid()->rowCount(), 2); // every voucher of the date, not only recharges
    QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
    QVERIFY(f.edit("TxtPartyCode")->hasFocus());
    // Once a card has fixed the party, Enter goes on to the amount.
    f.screen->onCardPresented(kCard);
    test::typeAndEnter(f.edit("text2"), QStringLiteral("11/04/2024"));
    QCOMPARE(f.grid()->rowCount(), 0);
    QVERIFY(f.edit("TxtAmount")->hasFocus());
}

void CardRechargeTest::clearKeepsCardAndCode() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->onCardPresented(kCard);
    for (int key : {Qt::Key_F5, Qt::Key_F3}) {
        f.edit("TxtAmount")->setText(QStringLiteral("50"));
        f.edit("TxtRemark")->setText(QStringLiteral("note"));
        QTest::keyClick(f.edit("TxtAmount"), Qt::Key(key));
        QVERIFY(f.edit("TxtAmount")->text().isEmpty());
        QVERIFY(f.edit("TxtRemark")->text().isEmpty());
        QVERIFY(f.type()->currentText().isEmpty());
        QVERIFY(f.picker()->currentText().isEmpty());
        QCOMPARE(f.edit("TxtCardNo")->text(), kCard);
        QCOMPARE(f.edit("TxtPartyCode")->text(), QStringLiteral("7"));
        QCOMPARE(f.name(), QStringLiteral("Ram O'Neil"));
    }
    QCOMPARE(f.picker()->count(), 2); // F3 switches no list here
}

void CardRechargeTest::correctionSetsCategoryMilkMan() {
    STOKARA_REQUIRE_DATABASE();
    RechargeFixture f;
    const qint64 id =
        f.store.insert({kDay, QStringLiteral("Shyam"), QStringLiteral("Dr"), 80,
                        QStringLiteral("old"), QStringLiteral("12"), QStringLiteral("RetailMilk")});
    QVERIFY(test::showActive(f.screen.get()));
    f.screen->fillGrid();
    test::clickRow(f.grid(), 0);
    QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(id));
    QCOMPARE(f.picker()->currentText(), QStringLiteral("Shyam - 12"));
    QTest::keyClick(f.grid(), Qt::Key_F6);
    f.edit("TxtAmount")->setText(QStringLiteral("90"));
    f.type()->setCurrentIndex(f.type()->findText(QStringLiteral("Cr")));
    f.screen->save();
    const auto v = f.store.voucher(id);
    QVERIFY(v);
    QCOMPARE(v->amount, 90.0);
    QCOMPARE(v->voucherType, QStringLiteral("Cr"));
    QCOMPARE(v->category, QStringLiteral("MilkMan"));
    QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 1);
}

QTEST_MAIN(CardRechargeTest)
#include "test_card_recharge.moc"
