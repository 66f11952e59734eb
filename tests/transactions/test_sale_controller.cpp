#include "sale_test_data.h"
#include "support/test_session.h"
#include "transactions/balance.h"
#include "transactions/sale_controller.h"

#include <QTest>

#include <set>
#include <thread>

using namespace stokara;
using namespace stokara::test::sale;
using transactions::SaleController;
using transactions::SaleInput;
using transactions::SaleState;
using Saved = SaleController::Saved;

namespace {

const QDate kDay(2024, 4, 15);

SaleInput lineOf(const QString& item, const QString& qty, const QString& rate,
                 const QString& code = QStringLiteral("7")) {
    SaleInput in;
    in.dateText = QStringLiteral("15/04/2024");
    in.partyCode = code;
    in.partyName = QStringLiteral("Ramesh");
    in.itemName = item;
    in.unit = QStringLiteral("Bag");
    in.qtyText = qty;
    in.rateText = rate;
    in.amountText = QString::number(qty.toDouble() * rate.toDouble());
    return in;
}

} // namespace

class TestSaleController : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    std::unique_ptr<RecordingFinishing> finishing;
    std::unique_ptr<SaleController> c;
    QStringList notices;

    core::Database& db() { return t->db(); }
    int rows() { return db().scalar("select count(*) from itemsale").toInt(); }
    double qtyOf(qint64 entry) {
        return db().scalar("select qty from itemsale where auto_no = ?", {entry}).toDouble();
    }
    // A line for party 7 saved with "more items"; its entry number (0 when refused).
    qint64 sell(const QString& item) {
        c->partyEntered();
        if (c->save(lineOf(item, "2", "450"), true).saved != Saved::LineSaved)
            return 0;
        return db().scalar("select max(auto_no) from itemsale").toLongLong();
    }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<test::TestSession>();
        addParty(db(), "7", "Ramesh", "MilkMan", "1A2B3C4D");
        addVoucher(db(), kDay, "Ramesh", "Cr", 5000, "7");
        finishing = std::make_unique<RecordingFinishing>();
        finishing->memoNotice = QStringLiteral("No printer: the memo was saved as memo-%1.pdf");
        c = std::make_unique<SaleController>(t->session, finishing.get());
        notices.clear();
        c->setNoticeSink([this](const QString& text) { notices << text; });
    }
    void cleanup() {
        c.reset();
        finishing.reset();
        t.reset();
    }

    void aBillOfTwoLinesIsFinishedOnce() {
        QCOMPARE(c->state(), SaleState::NewBill);
        c->partyEntered();
        QCOMPARE(c->billNo(), QStringLiteral("1"));
        QCOMPARE(c->save(lineOf("FEED", "2", "450"), true).saved, Saved::LineSaved);
        QCOMPARE(c->state(), SaleState::OpenBill);
        c->partyEntered(); // a party code typed again keeps the open bill's number
        QCOMPARE(c->billNo(), QStringLiteral("1"));
        QVERIFY(finishing->memos.isEmpty());
        QCOMPARE(c->save(lineOf("MINERAL", "1", "120"), false).saved, Saved::BillFinished);
        QCOMPARE(db().scalar("select count(*) from itemsale where doc_no = '1'").toInt(), 2);
        QCOMPARE(finishing->memos.size(), 1);
        QCOMPARE(finishing->receipts.size(), 1);
        const transactions::FinishedBill& bill = finishing->receipts[0];
        QCOMPARE(bill.billNo, QStringLiteral("1"));
        QCOMPARE(bill.partyCode, QStringLiteral("7"));
        QCOMPARE(bill.partyName, QStringLiteral("Ramesh"));
        QCOMPARE(bill.date, kDay);
        QCOMPARE(bill.category, QStringLiteral("MilkMan"));
        QCOMPARE(t->dialogs.lastText(), QStringLiteral("Data Saved."));
        QCOMPARE(notices, QStringList{"No printer: the memo was saved as memo-1.pdf"});
        QCOMPARE(c->state(), SaleState::NewBill);
        c->partyEntered();
        QCOMPARE(c->billNo(), QStringLiteral("2"));
    }

    void aCorrectionWithNothingLoadedWritesNothing() {
        sell("FEED");
        c->startCorrection();
        QCOMPARE(c->save(lineOf("FEED", "3", "450"), true).saved, Saved::NotWritten);
        QCOMPARE(t->dialogs.lastText(), core::kNothingLoaded);
        QCOMPARE(rows(), 1);
    }

    void anEntryDeletedAtAnotherCounterIsGone() {
        const qint64 a = sell("FEED");
        QVERIFY(c->load(a));
        c->startCorrection();
        auto other = t->database.openAnother();
        QCOMPARE(other->exec("delete from itemsale where auto_no = ?", {a}), 1);
        QCOMPARE(c->save(lineOf("FEED", "3", "450"), true).saved, Saved::NotWritten);
        QCOMPARE(t->dialogs.lastText(), QStringLiteral("This entry no longer exists."));
        QCOMPARE(rows(), 0);
        // Deleting it again says the same and reports nothing removed.
        t->dialogs.clear();
        QVERIFY(!c->remove(a));
        QCOMPARE(t->dialogs.lastText(), QStringLiteral("This entry no longer exists."));
        QVERIFY(c->remove(sell("MINERAL")));
        QCOMPARE(rows(), 0);
    }

    void linesThatAreRefused_data() {
        for (const char* column : {"date", "code", "qty", "rate", "item", "message", "field"})
            QTest::addColumn<QString>(column);
        const char* d = "15/04/2024";
        const char* w = "Enter proper weight value.";
        const char* r = "Enter correct rate.";
        const struct {
            const char *name, *date, *code, *qty, *rate, *item, *message, *field;
        } cases[] = {
            {"negative quantity (a return)", d, "7", "-2", "450", "FEED", w, "TxtQty"},
            {"zero quantity", d, "7", "0", "450", "FEED", w, "TxtQty"},
            {"quantity not a number", d, "7", "2kg", "450", "FEED", w, "TxtQty"},
            {"negative rate", d, "7", "2", "-450", "FEED", r, "txtrate"},
            {"zero rate", d, "7", "2", "0", "FEED", r, "txtrate"},
            {"rate in exponent form", d, "7", "2", "1e3", "FEED", r, "txtrate"},
            {"amount rounds to 0", d, "7", "0.001", "1", "FEED", "Invalid Entry.", "TxtQty"},
            {"quantity past the column", d, "7", "10000000", "1", "FEED", w, "TxtQty"},
            {"no item", d, "7", "2", "450", "", "Enter proper Item Name.", "Item_name"},
            {"item past its column", d, "7", "2", "450",
             "FEED-XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX",
             "The item name is too long: at most 40 characters are allowed.", "Item_name"},
            {"no such date", "31/02/2024", "7", "1", "10", "FEED", "Enter proper date", "text2"},
            {"no party code", d, "", "1", "10", "FEED", "Enter proper milk man", "TxtPartyCode"},
        };
        for (const auto& c : cases)
            QTest::newRow(c.name) << QString(c.date) << QString(c.code) << QString(c.qty)
                                  << QString(c.rate) << QString(c.item) << QString(c.message)
                                  << QString(c.field);
    }
    void linesThatAreRefused() {
        QFETCH(QString, date);
        QFETCH(QString, code);
        QFETCH(QString, qty);
        QFETCH(QString, rate);
        QFETCH(QString, item);
        QFETCH(QString, message);
        QFETCH(QString, field);
        c->partyEntered();
        SaleInput in = lineOf(item, qty, rate, code);
        in.dateText = date;
        if (qty == QLatin1String("0.001"))
            in.amountText = QStringLiteral("0");
        const auto result = c->save(in, false);
        QCOMPARE(result.saved, Saved::Refused);
        QCOMPARE(result.problem.message, message);
        QCOMPARE(result.problem.field, field);
        // Nothing written, nothing asked: a "-2" line neither credits the
        // balance nor skips the balance question.
        QCOMPARE(rows(), 0);
        QVERIFY(t->dialogs.shown.isEmpty());
        QCOMPARE(transactions::closingBalance(db(), "7", kDay), std::optional<double>(5000));
    }

    void theBalanceQuestion_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("written");
        QTest::newRow("within the balance") << "7"
                                            << "2" << false << false << 1;
        QTest::newRow("past it, No") << "7"
                                     << "20" << false << true << 0;
        QTest::newRow("past it, Yes") << "7"
                                      << "20" << true << true << 1;
        QTest::newRow("no history at all, No") << "9"
                                               << "1" << false << true << 0;
    }
    void theBalanceQuestion() {
        QFETCH(QString, code);
        QFETCH(QString, qty);
        QFETCH(bool, yes);
        QFETCH(bool, asked);
        QFETCH(int, written);
        addParty(db(), "9", "Shyam");
        t->dialogs.answer(yes ? core::Answer::Yes : core::Answer::No);
        c->partyEntered();
        c->save(lineOf("FEED", qty, "450", code), true);
        QCOMPARE(t->dialogs.texts().contains(
                     "Account has not sufficient balance. Do you want to continue anyway."),
                 asked);
        QCOMPARE(rows(), written);
    }

    void aDuplicateLineAsksFirst() {
        sell("FEED");
        t->dialogs.answer(core::Answer::Cancel);
        QCOMPARE(c->save(lineOf("FEED", "2", "450"), true).saved, Saved::NotWritten);
        QCOMPARE(t->dialogs.lastText(), QStringLiteral("Duplicate Entry. Add it anyway."));
        QCOMPARE(rows(), 1);
        QCOMPARE(c->save(lineOf("FEED", "2", "450"), true).saved, Saved::LineSaved);
        QCOMPARE(rows(), 2);
    }

    void anOpenBillIsOfferedWhenLeft_data() {
        QTest::addColumn<bool>("finish");
        QTest::newRow("Yes: memo and receipt") << true;
        QTest::newRow("No: left as it is") << false;
    }
    void anOpenBillIsOfferedWhenLeft() {
        QFETCH(bool, finish);
        sell("FEED");
        t->dialogs.answer(finish ? core::Answer::Yes : core::Answer::No);
        c->leaveBill();
        QCOMPARE(
            t->dialogs.shown.last().text,
            QStringLiteral("Bill No. 1 is not finished. Print its memo and send the SMS now?"));
        QCOMPARE(t->dialogs.shown.last().buttons, core::Buttons::YesNo);
        QCOMPARE(finishing->memos.size(), finish ? 1 : 0);
        QCOMPARE(finishing->receipts.size(), finish ? 1 : 0);
        QCOMPARE(c->state(), SaleState::NewBill);
        // Asked once: leaving again (closing after F3) asks nothing more.
        const int shown = t->dialogs.shown.size();
        c->leaveBill();
        QCOMPARE(t->dialogs.shown.size(), shown);
        QCOMPARE(rows(), 1);
    }

    void theBalanceShown_data() {
        QTest::addColumn<int>("scenario");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no history: nothing shown") << 0 << "";
        QTest::newRow("sales only, a later sale left out") << 1 << "750.00 due";
        QTest::newRow("a card recharged, any party category") << 2 << "650.00 advance";
        // A head's vouchers are the head's money, whatever code they carry.
        QTest::newRow("only account heads under the code: none") << 3 << "";
    }
    void theBalanceShown() {
        QFETCH(int, scenario);
        QFETCH(QString, expected);
        const QString p = QStringLiteral("5");
        addSale(db(), kDay, "1", "8", "FEED", 1, 99, 99); // another party's sale
        switch (scenario) {
        case 1:
            addSale(db(), kDay.addDays(-3), "1", p, "FEED", 1, 500, 500);
            addSale(db(), kDay, "2", p, "FEED", 1, 250, 250);
            addSale(db(), kDay.addDays(1), "3", p, "FEED", 1, 40, 40);
            break;
        case 2:
            addVoucher(db(), kDay, "P - 5", "Cr", 1000, p, "MilkMan");
            addVoucher(db(), kDay, "5 - P", "Dr", 100, p, "RetailMilk");
            addSale(db(), kDay, "2", p, "FEED", 1, 250, 250);
            break;
        case 3:
            addVoucher(db(), kDay, "Rent", "Dr", 200, p, "AccountHead");
            addVoucher(db(), kDay, "Rent", "Cr", 50, p, "AccountHead");
            addVoucher(db(), kDay, "Wages", "Dr", 999, p, "AccountHead");
            break;
        }
        QCOMPARE(transactions::balanceText(transactions::closingBalance(db(), p, kDay)), expected);
    }

    void aCardFindsOnePartyAlways() {
        // A shop from before cards were unique: two rows carry the card, and the
        // lowest code wins every time.
        db().exec(QStringLiteral("DROP INDEX IF EXISTS ux_masparty_cardno"));
        addParty(db(), "12", "Gopal", "VLCC", "CAFE0001");
        addParty(db(), "9", "Shyam", "MilkMan", "CAFE0001");
        for (int i = 0; i < 3; ++i)
            QCOMPARE(c->store().findPartyByCard("CAFE0001")->code, QStringLiteral("9"));
        QVERIFY(!c->store().findPartyByCard("FFFF"));
    }
};

QTEST_GUILESS_MAIN(TestSaleController)
#include "test_sale_controller.moc"
