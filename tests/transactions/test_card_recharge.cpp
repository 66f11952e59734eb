#include "test_day_book_seed.h"
#include "transactions/card_recharge_screen.h"

#include <QLabel>
#include <QPushButton>

using namespace stokara;
using namespace stokara::transactions;

namespace {

const QString kCard = QStringLiteral("0A1B2C3D");

struct RechargeFixture : test::VoucherFixture<CardRechargeScreen> {
    RechargeFixture() {
        pickerName = "Dc1";
        test::addParty(ts.db(), "7", "Ram O'Neil", "MilkMan", kCard);
        ts.db().exec(
            "insert into masparty (party_code, party_name, category) values ('12', "
            "'Shyam', 'MilkMan'), ('30', 'Gaon Kendra', 'VLCC'), ('40', 'Shop', 'RetailMilk')");
        open();
    }
    QString name() { return screen->findChild<QLabel*>("LblMilkman")->text(); }
    // What the operator sees of the chosen party: code, name label, picker text.
    QStringList party() { return {edit("TxtPartyCode")->text(), name(), picker()->currentText()}; }
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
    void registeredCardFillsTheParty_data() {
        QTest::addColumn<QString>("typed"); // "" when presented to the reader
        QTest::newRow("typed and Enter") << kCard;
        QTest::newRow("typed with blanks around") << "  " + kCard + " ";
        QTest::newRow("presented to the reader") << QString();
    }

    void registeredCardFillsTheParty() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, typed);
        RechargeFixture f;
        if (typed.isEmpty())
            f.screen->onCardPresented(kCard);
        else
            test::typeAndEnter(f.edit("TxtCardNo"), typed);
        QCOMPARE(f.party(), QStringList({"7", "Ram O'Neil", "Ram O'Neil"}));
        QVERIFY(!f.edit("TxtPartyCode")->isEnabled());
        QVERIFY(f.edit("TxtAmount")->hasFocus());
        // Amount, Enter, Enter, Enter: one receipt for the card's owner.
        test::typeAndEnter(f.edit("TxtAmount"), "500");
        QTest::keyClick(f.edit("TxtRemark"), Qt::Key_Return);
        QTest::keyClick(f.screen->findChild<QPushButton*>("Command8"), Qt::Key_Return);
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Do you want to save?", "Data Saved."}));
        const auto v = f.vouchers();
        QCOMPARE(QStringList({v.at(0).accountHead, v[0].voucherType, v[0].partyCode, v[0].category,
                              QString::number(v[0].amount)}),
                 QStringList({"Ram O'Neil", "Cr", "7", "MilkMan", "500"}));
        QCOMPARE(test::columnTexts(f.grid(), 0), QStringList({QString::number(v[0].autoNo)}));
        QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
        QVERIFY(f.type()->hasFocus());
        // The card and the party stay for the next recharge.
        QCOMPARE(f.party(), QStringList({"7", "Ram O'Neil", ""}));
    }

    void wrongCardCreditsNobody() {
        STOKARA_REQUIRE_DATABASE();
        RechargeFixture f;
        f.screen->onCardPresented(kCard);
        f.screen->onCardPresented("FFFFFFFF");
        QCOMPARE(f.ts.dialogs.texts(), QStringList({"Wrong Card."}));
        QCOMPARE(f.ts.dialogs.shown[0].title, QStringLiteral("Card Recharge"));
        QVERIFY(f.edit("TxtCardNo")->text().isEmpty());
        QCOMPARE(f.party(), QStringList({"", " ", ""}));
        QVERIFY(f.edit("TxtPartyCode")->isEnabled());
        QVERIFY(f.edit("TxtPartyCode")->hasFocus());
        f.edit("TxtAmount")->setText("500");
        f.screen->save();
        QCOMPARE(f.ts.dialogs.lastText(), QStringLiteral("Please enter proper values."));
        QCOMPARE(test::rowCount(f.ts.db(), "DayBook"), 0);
        f.ts.dialogs.clear();
        f.screen->onCardPresented("   "); // blanks look nothing up
        QVERIFY(f.ts.dialogs.shown.isEmpty());
    }

    void typedCodeChoosesTheParty_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("credited"); // "" when the Save is refused
        // clang-format off
    QTest::newRow("milk supplier") << "12" << "Shyam" << "12";
    QTest::newRow("collection centre: not in the list") << "30" << "Gaon Kendra" << "";
    QTest::newRow("retail customer") << "40" << " " << "";
    QTest::newRow("nobody") << "99" << " " << "";
        // clang-format on
    }

    void typedCodeChoosesTheParty() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, credited);
        RechargeFixture f;
        QCOMPARE(f.picker()->itemText(0), QStringLiteral("Ram O'Neil - 7")); // milk suppliers only
        QCOMPARE(f.picker()->count(), 2);
        f.typeCode("7");
        QCOMPARE(f.bound(), QStringLiteral("7"));
        // Another code replaces the party chosen before, even one that matches nobody.
        f.typeCode(code);
        QCOMPARE(f.name(), name);
        QTest::keyClick(f.edit("TxtPartyCode"), Qt::Key_Return);
        QVERIFY(f.edit("TxtAmount")->hasFocus());
        f.edit("TxtAmount")->setText("500");
        f.screen->save();
        QStringList stored;
        for (const auto& v : f.vouchers())
            stored << v.partyCode;
        QCOMPARE(stored, credited.isEmpty() ? QStringList() : QStringList({credited}));
    }

    void cardSharedByTwoPartiesFindsTheLowestCode() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        // A shop from before cards were unique; stored in another order, so that
        // the first row found is not the answer.
        ts.db().exec("DROP INDEX IF EXISTS ux_masparty_cardno");
        for (const char* code : {"12", "7", "100"})
            ts.db().exec("insert into masparty (party_code, party_name, category, CardNo) "
                         "values (?, 'P', 'MilkMan', ?)",
                         {code, kCard});
        QCOMPARE(CardRechargeStore(ts.db()).partyByCard(kCard)->code, QStringLiteral("7"));
    }

    void dateEnterAndClear() {
        STOKARA_REQUIRE_DATABASE();
        RechargeFixture f;
        f.store.insert({QDate(2024, 4, 10), "Tea", "Dr", 5, "", "NA", "AccountHead"});
        f.type()->setCurrentIndex(0);
        test::typeAndEnter(f.edit("text2"), "10/04/2024");
        QCOMPARE(f.grid()->rowCount(), 1); // every voucher of the date, not only recharges
        QCOMPARE(f.type()->currentText(), QStringLiteral("Cr"));
        QVERIFY(f.edit("TxtPartyCode")->hasFocus());
        // Once a card has fixed the party, Enter goes on to the amount.
        f.screen->onCardPresented(kCard);
        test::typeAndEnter(f.edit("text2"), "11/04/2024");
        QCOMPARE(f.grid()->rowCount(), 0);
        QVERIFY(f.edit("TxtAmount")->hasFocus());
        // F5 and F3 clear the voucher and keep the card and its party; no list switches.
        for (int key : {Qt::Key_F5, Qt::Key_F3}) {
            f.enterVoucher("Dr", "Shyam - 12", "50", "note");
            f.key(key);
            QCOMPARE(f.edit("TxtAmount")->text() + f.edit("TxtRemark")->text() +
                         f.type()->currentText(),
                     QString());
            QCOMPARE(f.party() << f.edit("TxtCardNo")->text(),
                     QStringList({"7", "Ram O'Neil", "", kCard}));
        }
        QCOMPARE(f.picker()->count(), 2);
    }

    void correctionSetsCategoryMilkMan() {
        STOKARA_REQUIRE_DATABASE();
        RechargeFixture f;
        const qint64 id = f.add(80, "RetailMilk");
        f.screen->fillGrid();
        test::clickRow(f.grid(), 0);
        QCOMPARE(f.edit("TxtDoc_no")->text(), QString::number(id));
        QCOMPARE(f.picker()->currentText(), QStringLiteral("Shyam - 12"));
        f.key(Qt::Key_F6);
        f.edit("TxtAmount")->setText("90");
        f.screen->save();
        QCOMPARE(f.vouchers().at(0).amount, 90.0);
        QCOMPARE(f.vouchers().at(0).category, QStringLiteral("MilkMan"));
    }
};

QTEST_MAIN(CardRechargeTest)
#include "test_card_recharge.moc"
