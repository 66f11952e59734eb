#include "books/accounts.h"
#include "books/amount_words.h"
#include "books/stock.h"
#include "core/idioms.h"
#include "core/upi.h"
#include "demo/shop_generator.h"
#include "reports/engine/pages.h"
#include "reports/ledgers.h"
#include "reports/statements.h"
#include "reports/stock_reports.h"
#include "support/test_database.h"
#include "transactions/balance.h"

#include <QHash>
#include <QTest>

#include <cmath>

using namespace stokara;
using namespace stokara::reports;

namespace {

const ReportContext kContext{ReportFolders{{}, QStringLiteral(STOKARA_SOURCE_DIR)},
                             QStringLiteral("SHOP")};
const QDate kLastDay(2026, 9, 30);
const QDate kEarliest(2000, 1, 1);

void addParty(core::Database& db, const QString& code, const QString& name,
              const QString& category = "MilkMan") {
    db.exec("insert into masparty (party_code, party_name, category) values (?, ?, ?)",
            {code, name, category});
}

void addSale(core::Database& db, const QDate& date, const QString& code, const QString& item,
             double qty, double amount, const QString& bill) {
    db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, net_amt, "
            "doc_no) values (?, ?, ?, ?, 'Bag', ?, ?, ?)",
            {date, code, item, qty, amount / qty, amount, bill});
}

// Vouchers as the day book and the card recharge write them.
void addVouchers(core::Database& db, std::initializer_list<QVariantList> vouchers) {
    for (const QVariantList& v : vouchers)
        db.exec("insert into daybook (dt, accounthead, v_type, net_amount, remark, party_code, "
                "category) values (?, ?, ?, ?, ?, ?, ?)",
                v);
}

// Rows a generated shop does not make on its own: retail customers, vouchers
// under each party category and none, a voucher of no party at all, a card
// recharge, a vendor voucher under a party's code, a sub-item in two bills of
// materials, opening stock in the item master.
void addAwkwardRows(core::Database& db) {
    db.exec("insert into masparty (party_code, party_name, category) values ('9001', 'RETAIL "
            "ONE', 'RetailMilk'), ('9002', 'O''BRIEN RETAIL', 'RetailMilk')");
    db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, net_amt, "
            "doc_no, category) select ?, '9001', item_name, 2, unit, rate, 2 * rate, '99001', "
            "'RetailMilk' from masitem where mainitem = 'Y' order by item_name limit 1",
            {QDate(2026, 6, 3)});
    addVouchers(db,
                {{QDate(2026, 6, 4), "9001 - RETAIL ONE", "Cr", 700, "Cash", "9001", "RetailMilk"},
                 {QDate(2026, 7, 4), "O'BRIEN RETAIL", "Cr", 50, "old row", "9002", ""},
                 {QDate(2026, 7, 5), "1", "Dr", 125.5, "no category", "1", QVariant()},
                 {QDate(2026, 7, 6), "NOBODY", "Cr", 999, "no such party", "77777", ""},
                 {QDate(2026, 8, 1), "PARTY - 2", "Cr", 300, "Card recharge", "2", "MilkMan"},
                 {QDate(2026, 8, 2), "VLCC", "Dr", 80, "centre", "3", "VLCC"},
                 {QDate(2026, 8, 3), "1 - VENDOR", "Dr", 410, "cheque", "1", "Vendor"},
                 {QDate(2026, 8, 4), "BUYER", "Cr", 60, "buyer", "1", "BuyerProduct"}});
    // The first sub-item in the BOM of two main items, and purchases of both.
    const core::Rows sub = db.query("select item_name from masitem where mainitem = 'N' order by "
                                    "item_name limit 1");
    const core::Rows mains = db.query("select item_name from masitem where mainitem = 'Y' order "
                                      "by item_name limit 2");
    if (!sub.empty() && mains.size() == 2) {
        for (const core::Row& m : mains) {
            db.exec("delete from bom where mainitem = ? and subitem = ?",
                    {m.text(0), sub.front().text(0)});
            db.exec("insert into bom (mainitem, subitem, wt) values (?, ?, 1.25)",
                    {m.text(0), sub.front().text(0)});
            db.exec("insert into itempurchases (doc_dt, party_name, item_name, qty, unit, rate, "
                    "net_amount) select ?, party_name, ?, 3, 'Bag', 100, 300 from masvendor "
                    "order by party_name limit 1",
                    {QDate(2026, 7, 15), m.text(0)});
        }
    }
    db.exec("update masitem set OpeBal = 40 where item_name in (select item_name from masitem "
            "order by item_name limit 3)");
}

QString caption(const Report& report, const QString& section, const QString& control) {
    return report.text(*report.layout().section(section)->item(control));
}

bool same(double a, double b) {
    return std::fabs(a - b) < 0.005;
}

QString money(double v) {
    return QString::number(v, 'f', 2);
}

// The consolidated ledger's rows by category and account: (dr - cr, side).
QHash<QString, std::pair<double, QString>> consolidated(core::Database& db, const QDate& asOn) {
    QHash<QString, std::pair<double, QString>> rows;
    const Report report = ledgerConsolidate(db, kContext, asOn);
    for (const core::Row& r : report.rows()) {
        const QString category = r.text("category");
        const QString key = category + '|' +
                            (category == QLatin1String("AccountHead") ? r.text("party_name")
                                                                      : r.text("party_code"));
        const QString side = r.text("side");
        const double sign = side == QLatin1String("Cr") ? -1 : 1;
        rows.insert(key, {sign * r.number("balance"), side});
    }
    return rows;
}

} // namespace

class BooksTest : public QObject {
    Q_OBJECT
private slots:
    // Every report that prints an account's balance or an item's stock prints
    // the same figure as the books, on generated shops.
    void everyReportAgrees_data() {
        QTest::addColumn<quint64>("seed");
        for (quint64 seed : {1u, 2u, 7u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }
    void everyReportAgrees() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(quint64, seed);
        test::TestDatabase t;
        core::Database& db = t.db();
        demo::GenerateOptions o;
        o.parties = 25;
        o.vlccPercent = 20;
        o.sales = 300;
        o.purchases = 40;
        o.vouchers = 150;
        o.days = 150;
        o.lastDay = kLastDay;
        o.seed = seed;
        demo::generateShop(db, o);
        addAwkwardRows(db);

        const QDate asOn(2026, 8, 15);
        const auto ledger = consolidated(db, asOn);
        const core::ShopInfo shop;
        const Report bill = *partyBill(db, kContext, shop, kEarliest, asOn, {});
        QHash<QString, double> billClosing;
        for (const core::Row& r : bill.rows())
            if (r.number("sn") == 3)
                billClosing.insert(r.text("party_code"), r.number("net_amt"));

        int parties = 0, vendors = 0, heads = 0;
        for (const books::AccountBalance& a : books::balancesBefore(db, asOn.addDays(1))) {
            const double net = a.balance.net();
            const books::Account& account = a.account;
            const bool head = account.kind == books::AccountKind::Head;
            const QString key =
                books::categoryOf(account.kind) + '|' + (head ? account.name : account.code);
            // Every figure of the account against the books' own; the figures when not.
            QString told = key + ' ' + account.name + ": books " + money(net);
            bool agree = ledger.contains(key);
            const auto figure = [&](const char* where, double value) {
                told += QStringLiteral(", %1 %2").arg(QLatin1String(where), money(value));
                agree = agree && same(value, net);
            };
            figure("consolidated", ledger.value(key).first);
            LedgerFigures f;
            DayBookTotals day;
            if (account.kind == books::AccountKind::Party && !account.name.isEmpty()) {
                ++parties;
                partyLedger(db, kContext, account.code, account.name, kEarliest.addDays(40), asOn,
                            &f);
                const double counter =
                    transactions::closingBalance(db, account.code, asOn).value_or(0);
                dayBookStatement(db, kContext, kEarliest, asOn, account.name + " - " + account.code,
                                 &day);
                figure("ledger", f.closing);
                figure("bill", billClosing.value(account.code));
                figure("counter", -counter);
                figure("day book", day.net);
                agree = agree && transactions::balanceText(counter) == books::partyText(net);
            } else if (account.kind == books::AccountKind::Vendor && !account.name.isEmpty() &&
                       !account.code.isEmpty()) {
                ++vendors;
                vendorLedger(db, kContext, account.name, kEarliest, asOn, &f);
                figure("vendor ledger", -f.closing);
            } else if (head) {
                ++heads;
                dayBookStatement(db, kContext, kEarliest, asOn, account.name, &day);
                figure("day book", day.net);
            }
            QVERIFY2(agree, qPrintable(told));
        }
        QVERIFY(parties > 20);
        QVERIFY(vendors > 0);
        QVERIFY(heads > 0);

        // Stock: a month's closing is the next month's opening and the
        // consolidated stock on that day, for every item.
        const QDate monthEnd(2026, 7, 31);
        QHash<QString, double> stock;
        const Report consolidatedStock = itemStockConsolidate(db, kContext, monthEnd);
        for (const core::Row& r : consolidatedStock.rows())
            stock.insert(r.text("party_name"), r.number("balance"));
        int items = 0;
        for (const core::Row& item : db.query("select item_name from masitem")) {
            const QString name = item.text(0);
            const books::StockFigures july =
                books::stockFigures(db, name, QDate(2026, 7, 1), monthEnd);
            const books::StockFigures august =
                books::stockFigures(db, name, QDate(2026, 8, 1), QDate(2026, 8, 31));
            const QString figures = QStringLiteral("%1: July closes %2, August opens %3, "
                                                   "consolidated %4")
                                        .arg(name, money(july.closing()), money(august.opening),
                                             money(stock.value(name)));
            QVERIFY2(same(july.closing(), august.opening) &&
                         same(july.closing(), stock.value(name)),
                     qPrintable(figures));
            ++items;
        }
        QVERIFY(items > 5);
    }

    // The faults of the old per-report rules, each on a small shop.
    void retailCustomerBalancesAlike() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase t;
        core::Database& db = t.db();
        addParty(db, "5", "RETAIL", "RetailMilk");
        addSale(db, QDate(2026, 5, 1), "5", "GHEE", 2, 1000, "1");
        addVouchers(db, {{QDate(2026, 5, 2), "5 - RETAIL", "Cr", 1000, "Cash", "5", "RetailMilk"},
                         {QDate(2026, 5, 3), "RETAIL", "Dr", 40, "no category", "5", ""}});
        LedgerFigures f;
        partyLedger(db, kContext, "5", "RETAIL", QDate(2026, 4, 1), QDate(2026, 5, 31), &f);
        QCOMPARE(f.closing, 40.0);
        const auto ledger = consolidated(db, QDate(2026, 5, 31));
        QCOMPARE(ledger.value("MilkMan|5").first, 40.0);
        QCOMPARE(ledger.value("MilkMan|5").second, QStringLiteral("Dr"));
        QCOMPARE(
            transactions::balanceText(transactions::closingBalance(db, "5", QDate(2026, 5, 31))),
            QStringLiteral("40.00 due"));
    }

    void dayBookStatementHoldsThePartysVouchers() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase t;
        core::Database& db = t.db();
        addParty(db, "1", "RAM");
        addSale(db, QDate(2026, 5, 1), "1", "FEED", 1, 900, "1");
        addVouchers(db, {{QDate(2026, 5, 2), "RAM - 1", "Cr", 500, "Card recharge", "1", "MilkMan"},
                         {QDate(2026, 5, 3), "RAM - 1", "Dr", 100, "Advance", "1", "MilkMan"}});
        for (const ListEntry& e : dayBookNames(db)) {
            if (!e.shown.startsWith("RAM"))
                continue;
            DayBookTotals day;
            const auto report = dayBookStatement(db, kContext, QDate(2026, 5, 1),
                                                 QDate(2026, 5, 31), e.bound, &day);
            QVERIFY(report);
            QCOMPARE(report->rows().size(), size_t(3));
            QCOMPARE(day.debit, 1000.0);
            QCOMPARE(day.credit, 500.0);
            QCOMPARE(day.net, 500.0);
            return;
        }
        QFAIL("the party is not in the list");
    }

    // Opening stock from the item master, and a sub-item's consumption and
    // sales carried from one month into the next.
    void stockCarriesOver() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase t;
        core::Database& db = t.db();
        db.exec("insert into masitem (item_name, unit, rate, MainItem, OpeBal) values ('FEED', "
                "'Bag', 500, 'Y', 100), ('MIX', 'Kg', 80, 'N', 50)");
        db.exec("insert into BOM (MainItem, SubItem, Wt) values ('FEED', 'MIX', 1.5)");
        addParty(db, "1", "RAM");
        addSale(db, QDate(2026, 4, 10), "1", "FEED", 5, 2500, "1");
        addSale(db, QDate(2026, 4, 12), "1", "MIX", 4, 320, "2");
        addSale(db, QDate(2026, 5, 12), "1", "MIX", 1, 80, "3");
        db.exec("insert into itempurchases (doc_dt, party_name, item_name, qty, unit, rate, "
                "net_amount) values (?, 'AGRO', 'FEED', 2, 'Bag', 400, 800), (?, 'AGRO', 'FEED', "
                "4, 'Bag', 400, 1600)",
                {QDate(2026, 4, 20), QDate(2026, 5, 20)});
        const Report feed = itemStock(db, kContext, "FEED", QDate(2026, 4, 1), QDate(2026, 4, 30));
        QCOMPARE(caption(feed, "SECTION5", "LABEL12"), QStringLiteral("97.00")); // 100 + 2 - 5
        // MIX: 50 - 4 sold - 3 used in April; - 1 sold - 6 used in May.
        const Report april =
            subItemStock(db, kContext, "MIX", QDate(2026, 4, 1), QDate(2026, 4, 30));
        const Report may = subItemStock(db, kContext, "MIX", QDate(2026, 5, 1), QDate(2026, 5, 31));
        QCOMPARE(caption(april, "SECTION5", "LABEL12"), QStringLiteral("43.00"));
        QCOMPARE(caption(may, "section2", "LABEL14"), QStringLiteral("43.00"));
        QCOMPARE(caption(may, "SECTION5", "LABEL12"), QStringLiteral("36.00"));
        QHash<QString, double> stock;
        const Report consolidatedStock = itemStockConsolidate(db, kContext, QDate(2026, 5, 31));
        for (const core::Row& r : consolidatedStock.rows())
            stock.insert(r.text("party_name"), r.number("balance"));
        QCOMPARE(stock.value("MIX"), 36.0);
        QCOMPARE(stock.value("FEED"), 101.0);
    }

    void summaryIsTitledForSales() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase t;
        core::Database& db = t.db();
        addSale(db, QDate(2026, 5, 1), "1", "FEED", 1, 900, "1");
        const auto report =
            itemSaleSummary(db, kContext, "SHOP", QDate(2026, 5, 1), QDate(2026, 5, 1));
        QVERIFY(report);
        QCOMPARE(caption(*report, "a", "LABEL32"), QStringLiteral("Item Sale Statement Summary"));
    }

    void amountsInWords_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("bill");    // a bill's total
        QTest::addColumn<QString>("balance"); // a closing balance
        QTest::newRow("eighteen") << 18.0 << "eighteen"
                                  << "eighteen due";
        QTest::newRow("an advance") << -1500.0 << "one thousand, five hundred"
                                    << "one thousand, five hundred advance";
        QTest::newRow("zero") << 0.0 << "zero"
                              << "zero";
        QTest::newRow("paise") << 12.5 << "twelve rupees and fifty paise"
                               << "twelve rupees and fifty paise due";
        QTest::newRow("paise alone") << -0.75 << "seventy five paise"
                                     << "seventy five paise advance";
        QTest::newRow("one rupee") << 1.05 << "one rupee and five paise"
                                   << "one rupee and five paise due";
        QTest::newRow("the largest")
            << 999999999.99
            << "nine hundred ninety nine million, nine hundred ninety nine "
               "thousand, nine hundred ninety nine rupees and ninety nine "
               "paise"
            << "nine hundred ninety nine million, nine hundred ninety nine "
               "thousand, nine hundred ninety nine rupees and ninety nine "
               "paise due";
    }
    void amountsInWords() {
        QFETCH(double, amount);
        QFETCH(QString, bill);
        QFETCH(QString, balance);
        QCOMPARE(books::rupeeWords(amount), bill);
        QCOMPARE(books::balanceWords(amount), balance);
    }

    // The payment link a bill's QR carries: values encoded, the amount with two
    // decimals, none where nothing is due.
    void upiLinks_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("link");
        QTest::newRow("a due")
            << "shiv.dairy@okaxis" << 1500.0
            << "upi://pay?pa=shiv.dairy%40okaxis&pn=Shiv%20Dairy%20%26%20Sons&"
               "am=1500.00&cu=INR&tn=Bill%2001%2F04%2F2026%20to%2030%2F04%2F2026";
        QTest::newRow("paise") << "shop@ybl" << 12.5
                               << "upi://pay?pa=shop%40ybl&pn=Shiv%20Dairy%20%26%20Sons&am=12.50&"
                                  "cu=INR&tn=Bill%2001%2F04%2F2026%20to%2030%2F04%2F2026";
        QTest::newRow("nothing due") << "shop@ybl" << 0.0 << "";
        QTest::newRow("an advance") << "shop@ybl" << -250.0 << "";
        QTest::newRow("no UPI ID") << "" << 1500.0 << "";
        QTest::newRow("not a UPI ID") << "9876543210" << 1500.0 << "";
    }
    void upiLinks() {
        QFETCH(QString, id);
        QFETCH(double, amount);
        QFETCH(QString, link);
        QCOMPARE(
            core::upiPaymentLink(id, "Shiv Dairy & Sons", amount, "Bill 01/04/2026 to 30/04/2026"),
            link);
    }

    // The periodic bill carries each party's payment link on its closing line,
    // for a due only; the invoice bill its total's.
    void billsCarryThePaymentLink() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase t;
        core::Database& db = t.db();
        addParty(db, "1", "RAM");
        addParty(db, "2", "SITA");
        addSale(db, QDate(2026, 4, 5), "1", "FEED", 1, 900, "7");
        addVouchers(db,
                    {{QDate(2026, 4, 6), "SITA - 2", "Cr", 500, "Card recharge", "2", "MilkMan"}});
        core::ShopInfo shop;
        shop.name = "SHOP";
        shop.upiId = "shop@ybl";
        const Report bill =
            *partyBill(db, kContext, shop, QDate(2026, 4, 1), QDate(2026, 4, 30), {});
        QHash<QString, QString> links;
        for (const core::Row& r : bill.rows())
            if (r.number("sn") == 3)
                links.insert(r.text("party_code"), r.text("upilink"));
        QCOMPARE(links.value("1"), "upi://pay?pa=shop%40ybl&pn=SHOP&am=900.00&cu=INR&tn=Bill%2001%"
                                   "2F04%2F2026%20to%2030%2F04%2F2026");
        QCOMPARE(links.value("2"), QString()); // an advance
        // On paper: one QR, on the sheet of the party that owes, carrying its due (the
        // engine's QR test reads such codes back from the page).
        const Pages pages = layOut(bill);
        std::vector<std::pair<int, QString>> qrs;
        for (int p = 0; p < pages.count(); ++p)
            for (const auto& qr : pages.page(p).qrs)
                qrs.push_back({p, qr.text});
        QCOMPARE(qrs.size(), size_t(1));
        QCOMPARE(qrs.front().second, links.value("1"));
    }
};

QTEST_MAIN(BooksTest)
#include "test_books.moc"
