#include "sale_test_data.h"
#include "support/test_database.h"
#include "transactions/balance.h"
#include "transactions/sale_store.h"

#include <QTest>

#include <atomic>
#include <cmath>
#include <set>
#include <thread>

using namespace stokara;
using namespace stokara::test::sale;
using stokara::core::Database;
using stokara::test::TestDatabase;
using transactions::SaleLine;
using transactions::SaleStore;

namespace {

const QDate kDay(2024, 4, 15);

SaleLine lineOf(const QString& bill, const QString& code, const QString& item, double qty = 1,
                double rate = 10, const QDate& date = kDay) {
    SaleLine l;
    l.date = date;
    l.billNo = bill;
    l.partyCode = code;
    l.itemName = item;
    l.unit = QStringLiteral("Bag");
    l.qty = qty;
    l.rate = rate;
    l.amount = qty * rate;
    l.category = QStringLiteral("MilkMan");
    return l;
}

// The balance as the scratch-table statements compute it (repled2 filled from
// sales and day-book vouchers, then grouped), with a missing side taken as 0.
QString referenceBalance(Database& db, const QString& code, const QDate& date) {
    const QDate before = date.addDays(1);
    db.exec(QStringLiteral("delete from repled2"));
    db.exec(
        QStringLiteral("insert into repled2 (party_code, category, dr) select party_code, "
                       "'MilkMan', net_amt from itemsale i where doc_dt < ? and party_code = ?"),
        {before, code});
    db.exec(QStringLiteral("insert into repled2 (party_name, party_code, category, cr, remark) "
                           "select accounthead, party_code, category, net_amount, 'DBCR' from "
                           "daybook i where v_type = 'Cr' and dt < ? and party_code = ?"),
            {before, code});
    db.exec(QStringLiteral("insert into repled2 (party_name, party_code, category, dr, remark) "
                           "select accounthead, party_code, category, net_amount, 'DAYBOOK DR' "
                           "from daybook i where v_type = 'Dr' and dt < ? and party_code = ?"),
            {before, code});
    db.exec(QStringLiteral("update repled2 set party_name = (select min(party_name) from masparty "
                           "where masparty.party_code = repled2.party_code) where category = "
                           "'MilkMan' and exists (select 1 from masparty where "
                           "masparty.party_code = repled2.party_code)"));
    const core::Rows rows = db.query(QStringLiteral(
        "select clbal from (select 0 as part, party_name, coalesce(sum(cr), 0) - "
        "coalesce(sum(dr), 0) as clbal from repled2 where category = 'MilkMan' group by "
        "party_code, party_name, category union all select 1 as part, party_name, "
        "coalesce(sum(dr), 0) - coalesce(sum(cr), 0) as clbal from repled2 where category = "
        "'AccountHead' group by party_code, party_name, category) a order by part, "
        "coalesce(party_name, '')"));
    if (rows.empty())
        return {};
    return QString::number(std::nearbyint(rows.front().number(0) * 100) / 100, 'g', 15);
}

} // namespace

class TestSaleStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> t;
    Database& db() { return t->db(); }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<TestDatabase>();
        addParty(db(), QStringLiteral("7"), QStringLiteral("Ramesh"));
    }
    void cleanup() { t.reset(); }

    void firstBillAndEntryOnAnEmptyTable() {
        SaleStore store(db());
        QCOMPARE(store.nextBillNo(), QStringLiteral("1"));
        QCOMPARE(store.nextEntryNo(), QStringLiteral("1"));
        const auto saved = store.insertLine(lineOf(QStringLiteral("1"), "7", "FEED"), true);
        QCOMPARE(saved.billNo, QStringLiteral("1"));
        QVERIFY(!saved.billNoChanged);
        QCOMPARE(store.nextEntryNo(), QString::number(saved.autoNo + 1));
    }

    void billNumbersAreNumericAndGlobal_data() {
        QTest::addColumn<QStringList>("bills");
        QTest::addColumn<QString>("next");
        QTest::newRow("57 yesterday gives 58 today") << QStringList{"57"} << "58";
        QTest::newRow("numeric, not text order") << QStringList{"9", "10", "2"} << "11";
        QTest::newRow("a stray double quote") << QStringList{"\""} << "1";
        QTest::newRow("text after the number") << QStringList{"12a", "3"} << "13";
    }
    void billNumbersAreNumericAndGlobal() {
        QFETCH(QStringList, bills);
        QFETCH(QString, next);
        int day = 0;
        for (const QString& b : bills)
            addSale(db(), kDay.addDays(-(++day)), b, QStringLiteral("7"), QStringLiteral("FEED"), 1,
                    10, 10);
        SaleStore store(db());
        QCOMPARE(store.nextBillNo(), next);
    }

    void balanceMatchesTheLedgerStatements_data() {
        QTest::addColumn<int>("scenario");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no history: nothing shown") << 0 << "";
        QTest::newRow("sales only, later sale left out") << 1 << "-750";
        QTest::newRow("card recharge then a sale") << 2 << "700";
        QTest::newRow("recharge, refund and sale") << 3 << "500";
        QTest::newRow("other categories with the same code") << 4 << "-300";
        QTest::newRow("voucher at 17:30 on the date counts") << 5 << "200";
        QTest::newRow("only an account head under the code") << 6 << "150";
        QTest::newRow("cents add up exactly") << 7 << "0.3";
    }
    void balanceMatchesTheLedgerStatements() {
        QFETCH(int, scenario);
        QFETCH(QString, expected);
        const QString c = QStringLiteral("7");
        const QString head = QStringLiteral("Ramesh");
        addParty(db(), QStringLiteral("8"), QStringLiteral("Other"));
        addSale(db(), kDay, QStringLiteral("1"), QStringLiteral("8"), "FEED", 1, 99, 99);
        switch (scenario) {
        case 1:
            addSale(db(), kDay.addDays(-3), "1", c, "FEED", 1, 500, 500);
            addSale(db(), kDay, "2", c, "FEED", 1, 250, 250);
            addSale(db(), kDay.addDays(1), "3", c, "FEED", 1, 40, 40);
            break;
        case 2:
            addVoucher(db(), kDay.addDays(-10), head, "Cr", 1000, c);
            addSale(db(), kDay, "1", c, "FEED", 1, 300, 300);
            break;
        case 3:
            addVoucher(db(), kDay.addDays(-10), head, "Cr", 1000, c);
            addVoucher(db(), kDay.addDays(-5), head, "Dr", 200, c);
            addSale(db(), kDay, "1", c, "FEED", 1, 300, 300);
            addVoucher(db(), kDay.addDays(2), head, "Cr", 5000, c);
            break;
        case 4:
            addSale(db(), kDay, "1", c, "FEED", 1, 300, 300);
            addVoucher(db(), kDay, "Dairy", "Cr", 900, c, QStringLiteral("VLCC"));
            addVoucher(db(), kDay, "Seller", "Dr", 400, c, QStringLiteral("Vendor"));
            break;
        case 5:
            addVoucher(db(), QDateTime(kDay, QTime(17, 30)), head, "Cr", 200, c);
            break;
        case 6:
            addVoucher(db(), kDay, "Rent", "Dr", 200, c, QStringLiteral("AccountHead"));
            addVoucher(db(), kDay, "Rent", "Cr", 50, c, QStringLiteral("AccountHead"));
            addVoucher(db(), kDay, "Wages", "Dr", 999, c, QStringLiteral("AccountHead"));
            break;
        case 7:
            addVoucher(db(), kDay, head, "Cr", 0.1, c);
            addVoucher(db(), kDay, head, "Cr", 0.2, c);
            break;
        }
        const QString shown =
            transactions::balanceText(transactions::closingBalance(db(), c, kDay));
        QCOMPARE(shown, expected);
        QCOMPARE(shown, referenceBalance(db(), c, kDay));
    }

    void twoCountersNeverShareABillNumber() {
        auto other = t->openAnother();
        SaleStore first(db());
        SaleStore second(*other);
        // Both counters show the same computed number before either saves.
        const QString a = first.nextBillNo();
        const QString b = second.nextBillNo();
        QCOMPARE(a, b);
        const auto savedA = first.insertLine(lineOf(a, "7", "FEED"), true);
        const auto savedB = second.insertLine(lineOf(b, "7", "FEED"), true);
        QCOMPARE(savedA.billNo, QStringLiteral("1"));
        QVERIFY(!savedA.billNoChanged);
        QCOMPARE(savedB.billNo, QStringLiteral("2"));
        QVERIFY(savedB.billNoChanged);
        // The next line of an open bill keeps its number.
        const auto more = second.insertLine(lineOf(savedB.billNo, "7", "MINERAL"), false);
        QCOMPARE(more.billNo, QStringLiteral("2"));
        QCOMPARE(db().scalar("select count(distinct doc_no) from itemsale").toInt(), 2);
    }

    void countersSellingAtOnceGetDistinctBills() {
        const core::DatabaseUrl url = t->url();
        constexpr int kBills = 12;
        std::atomic<int> failures{0};
        std::vector<QString> numbers[2];
        auto counter = [&](int which) {
            try {
                auto db = Database::open(url);
                SaleStore store(*db);
                for (int i = 0; i < kBills; ++i) {
                    const auto saved =
                        store.insertLine(lineOf(store.nextBillNo(), "7", "FEED"), true);
                    numbers[which].push_back(saved.billNo);
                }
            } catch (...) {
                ++failures;
            }
        };
        std::thread one(counter, 0);
        std::thread two(counter, 1);
        one.join();
        two.join();
        QCOMPARE(failures.load(), 0);
        std::set<QString> all(numbers[0].begin(), numbers[0].end());
        all.insert(numbers[1].begin(), numbers[1].end());
        QCOMPARE(int(all.size()), 2 * kBills);
        QCOMPARE(db().scalar("select count(distinct doc_no) from itemsale").toInt(), 2 * kBills);
    }

    void namesAreStoredAsTyped_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("unit");
        QTest::newRow("apostrophe") << "D'Souza's Feed"
                                    << "Bag";
        QTest::newRow("statement text") << "x'); delete from itemsale; --"
                                        << "Kg";
        QTest::newRow("hindi") << QString::fromUtf8("पशु आहार") << QString::fromUtf8("बोरी");
    }
    void namesAreStoredAsTyped() {
        QFETCH(QString, item);
        QFETCH(QString, unit);
        addParty(db(), QStringLiteral("9"), QString::fromUtf8("D'Souza रामलाल"),
                 QStringLiteral("MilkMan"), QStringLiteral("0A1B2C3D"));
        SaleStore store(db());
        SaleLine l = lineOf(QStringLiteral("4"), "9", item);
        l.unit = unit;
        store.insertLine(l, true);
        QCOMPARE(store.duplicateCount("9", item, kDay, "4"), 1);
        const auto rows = store.billRows(kDay, "4", "9");
        QCOMPARE(int(rows.size()), 1);
        QCOMPARE(rows[0].itemName, item);
        QCOMPARE(rows[0].unit, unit);
        QCOMPARE(rows[0].partyName, QString::fromUtf8("D'Souza रामलाल"));
        QVERIFY(store.partyNameExists(QString::fromUtf8("D'Souza रामलाल")));
        QCOMPARE(store.findPartyByCard("0A1B2C3D")->code, QStringLiteral("9"));
    }

    void partiesByCategory() {
        addParty(db(), QStringLiteral("20"), QStringLiteral("Centre"), QStringLiteral("VLCC"));
        addParty(db(), QStringLiteral("21"), QStringLiteral("Shop"), QStringLiteral("RetailMilk"));
        SaleStore store(db());
        const QStringList supplier{QStringLiteral("MilkMan"), QStringLiteral("VLCC")};
        QCOMPARE(store.findParty("20", supplier)->name, QStringLiteral("Centre"));
        QVERIFY(!store.findParty("21", supplier));
        QCOMPARE(store.findParty("21", {QStringLiteral("RetailMilk")})->name,
                 QStringLiteral("Shop"));
        QVERIFY(!store.findPartyByCard("FFFFFFFF"));
    }

    void rowsOfABillCorrectedAndDeleted() {
        addParty(db(), QStringLiteral("20"), QStringLiteral("Centre"), QStringLiteral("VLCC"));
        SaleStore store(db());
        const auto first = store.insertLine(lineOf("3", "20", "FEED", 2, 450), true);
        const auto second = store.insertLine(lineOf("3", "20", "MINERAL", 1, 120), false);
        store.insertLine(lineOf("3", "20", "OTHER DAY", 1, 5, kDay.addDays(1)), false);
        auto rows = store.billRows(kDay, "3", "20");
        QCOMPARE(int(rows.size()), 2);
        QCOMPARE(rows[0].itemName, QStringLiteral("MINERAL")); // newest first
        QCOMPARE(rows[1].qty, QStringLiteral("2"));
        QCOMPARE(rows[1].amount, QStringLiteral("900"));
        QCOMPARE(rows[1].date, QStringLiteral("15/04/2024"));

        // A collection centre's row saved as "MilkMan" still loads.
        const auto loaded = store.loadLine(first.autoNo);
        QVERIFY(loaded);
        QCOMPARE(loaded->billNo, QStringLiteral("3"));
        QCOMPARE(loaded->partyLabel, QStringLiteral(" 20-Centre"));
        QCOMPARE(loaded->category, QStringLiteral("MilkMan"));

        SaleLine changed = lineOf("ignored", "20", "FEED", 3, 450);
        store.updateLine(first.autoNo, changed);
        rows = store.billRows(kDay, "3", "20");
        QCOMPARE(rows[1].qty, QStringLiteral("3"));
        QCOMPARE(rows[1].amount, QStringLiteral("1350"));
        QCOMPARE(rows[1].billNo, QStringLiteral("3")); // an update keeps the bill

        store.deleteLine(second.autoNo);
        QCOMPARE(int(store.billRows(kDay, "3", "20").size()), 1);
        QVERIFY(store.billHasRows("3", kDay));
        QVERIFY(!store.billHasRows("3", kDay.addDays(-1)));
        QVERIFY(!store.loadLine(second.autoNo));
    }

    void aBillNumberPastTheColumnIsRefused() {
        SaleStore store(db());
        QVERIFY_THROWS_EXCEPTION(transactions::SaleRefused,
                                 store.insertLine(lineOf("12345678901", "7", "FEED"), false));
        QCOMPARE(db().scalar("select count(*) from itemsale").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSaleStore)
#include "test_sale_store.moc"
