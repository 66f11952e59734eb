// The ledgers on shops of 100,000 and 1,000,000 sales (20,000 parties, 200,000
// vouchers, 100,000 purchases): from OK to the first page laid out, and to the
// CSV written. Medians, in ms.
//   report.party_ledger.<size>        one party, its last year
//   report.vendor_ledger.<size>       one vendor, its last year
//   report.ledger_consolidate.<size>  every account, as on the last day
//   report.item_sale_statement.<size>  every item, the last month
//   report.item_sale_summary.<size>    the last year
//   report.day_book_statement.<size>   every head, the last month
//   report.party_bill.<size>           every party, the last month
//   report.party_bill_invoice.<size>   one bill of one party
//   report.item_stock.<size>          one main item, its last year
//   report.sub_item_stock.<size>      one sub-item, its last year
//   report.item_stock_consolidate.<size>  every item, as on the last day
//   report.ledger_consolidate.<size>.vs_bare  the consolidated ledger's time over
//       that of the bare aggregate it needs (every account's balance as on the
//       last day from sales, vouchers and purchases, nothing else),
//       both timed in the same run on the same database
// bench_reports [largest-sales]  (default 1000000; 100000 is measured too when
// smaller than it; below 100,000 only that size, with vouchers and purchases
// scaled down, for a quick run)
// STOKARA_BENCH_ONLY=text measures only the reports whose figure names hold it.
// SQLite always; PostgreSQL too when STOKARA_BENCH_PG names a server
// (postgresql://user@host:port/db): a scratch database of each size is made
// there and dropped afterwards, and its figures carry "pg." before the size
// (report.item_stock.pg.1m). With STOKARA_BENCH_KEEP set, the last scratch
// database (stokara_bench_reports) is left for a look at its plans.
#include "common/bench_shop.h"
#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/ledgers.h"
#include "reports/statements.h"
#include "reports/stock_reports.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <vector>

using namespace stokara;

namespace {

const QDate kLastDay(2024, 4, 15);

bool wanted(const QString& name) {
    const QString only = qEnvironmentVariable("STOKARA_BENCH_ONLY");
    return only.isEmpty() || name.contains(only);
}

// Median of `runs` timings of one report, to its pages and to its CSV; the
// first median, or 0 when not measured.
double time(const QString& name, int runs, const QString& folder,
            const std::function<reports::Report(int run)>& make) {
    if (!wanted(name))
        return 0;
    std::vector<double> pages, csv;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        const reports::Report report = make(i);
        const reports::Pages laid = reports::layOut(report);
        pages.push_back(timer.nsecsElapsed() / 1e6);
        if (laid.count() == 0)
            qFatal("no page");
        timer.start();
        reports::writeCsv(make(i), folder + QStringLiteral("/bench.csv"));
        csv.push_back(timer.nsecsElapsed() / 1e6);
    }
    bench::printFigure(name, bench::median(pages), QStringLiteral("ms"));
    bench::printFigure(name + QStringLiteral(".csv"), bench::median(csv), QStringLiteral("ms"));
    return bench::median(pages);
}

// Every account's balance as on `asOn`, and nothing else: what the consolidated
// ledger cannot do without. Each source is summed per account first (from its
// index where the engine can), then the few sums are added. Median of `runs`, in ms.
double timeBareBalances(core::Database& db, const QDate& asOn, int runs) {
    const QDate after = asOn.addDays(1);
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        const core::Rows rows = db.query(
            QStringLiteral(
                "select category, code, sum(dr) - sum(cr) from ("
                "select 'MilkMan' as category, party_code as code, sum(net_amt) as dr, 0 as cr "
                "from itemsale where doc_dt < ? group by party_code "
                "union all select category, coalesce(party_code, accounthead), "
                "sum(case when v_type = 'Dr' then net_amount else 0 end), "
                "sum(case when v_type = 'Cr' then net_amount else 0 end) "
                "from daybook where v_type in ('Cr', 'Dr') and dt < ? "
                "group by category, coalesce(party_code, accounthead) "
                "union all select 'Vendor', party_name, 0, sum(net_amount) "
                "from itempurchases where doc_dt < ? group by party_name) b "
                "group by category, code"),
            {after, after, after});
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (rows.empty())
            qFatal("no balances");
    }
    return bench::median(times);
}

// The reports on one generated shop; `engine` is "" for SQLite, "pg." for
// PostgreSQL at `server`.
void measure(const QString& folder, qint64 sales, const QString& engine = {},
             const core::DatabaseUrl& server = {}) {
    const QString size = engine + bench::sizeName(sales);
    demo::GenerateOptions options = demo::GenerateOptions::benchmark(sales, kLastDay);
    options.parties = int(std::min<qint64>(20000, std::max<qint64>(50, sales / 5)));
    options.vouchers = int(std::min<qint64>(200000, 2 * sales));
    options.purchases = int(std::min<qint64>(100000, sales));
    const QString name = QStringLiteral("reports.") + size;
    bench::GeneratedShop shop;
    core::DatabaseUrl scratch = server;
    scratch.database = QStringLiteral("stokara_bench_reports");
    if (engine.isEmpty()) {
        shop = bench::generateSqliteShop(folder, name, options);
    } else {
        auto admin = core::Database::open(server);
        admin->exec(QStringLiteral("drop database if exists stokara_bench_reports"));
        admin->exec(QStringLiteral("create database stokara_bench_reports"));
        shop = bench::generateShop(core::Database::open(scratch), name, options);
    }
    core::Database& db = *shop.db;
    // A server's autovacuum would have done the vacuum long before a shop grew
    // this big; without it a freshly loaded table has no index-only scans.
    db.exec(db.isSqlite() ? QStringLiteral("analyze") : QStringLiteral("vacuum analyze"));

    const reports::ReportContext context{
        reports::ReportFolders{folder, QStringLiteral(STOKARA_SOURCE_DIR)},
        QStringLiteral("Bench Dairy Shop")};
    const QDate from = kLastDay.addYears(-1).addDays(1);
    QRandomGenerator rng(11);
    std::vector<reports::ListEntry> parties = reports::ledgerParties(db);
    std::vector<reports::ListEntry> vendors = reports::ledgerVendors(db);

    time(QStringLiteral("report.party_ledger.") + size, 31, folder, [&](int) {
        const reports::ListEntry& p = parties[rng.bounded(int(parties.size()))];
        return reports::partyLedger(db, context, p.bound, p.shown, from, kLastDay);
    });
    time(QStringLiteral("report.vendor_ledger.") + size, 31, folder, [&](int) {
        const reports::ListEntry& v = vendors[rng.bounded(int(vendors.size()))];
        return reports::vendorLedger(db, context, v.bound, from, kLastDay);
    });
    const QString consolidate = QStringLiteral("report.ledger_consolidate.") + size;
    const double whole = time(consolidate, 5, folder, [&](int) {
        return reports::ledgerConsolidate(db, context, kLastDay);
    });
    if (whole > 0) {
        const double bare = timeBareBalances(db, kLastDay, 5);
        bench::printFigure(consolidate + QStringLiteral(".bare"), bare, QStringLiteral("ms"));
        bench::printFigure(consolidate + QStringLiteral(".vs_bare"), whole / bare,
                           QStringLiteral("x"));
    }

    // The statements and party bills; an empty result would measure nothing.
    auto some = [](std::optional<reports::Report> report) {
        if (!report)
            qFatal("no rows");
        return std::move(*report);
    };
    const QDate month = kLastDay.addMonths(-1).addDays(1);
    const core::ShopInfo shopInfo{QStringLiteral("Bench Dairy Shop"), QStringLiteral("Main Road"),
                                  QStringLiteral("Karnal"), QStringLiteral("98120 00000"),
                                  QStringLiteral("06AB123")};
    time(QStringLiteral("report.item_sale_statement.") + size, 5, folder, [&](int) {
        return some(reports::itemStatement(db, context, context.shopName,
                                           reports::StatementMode::Sale, month, kLastDay, {}, {}));
    });
    time(QStringLiteral("report.item_sale_summary.") + size, 5, folder, [&](int) {
        return some(reports::itemSaleSummary(db, context, context.shopName, from, kLastDay));
    });
    time(QStringLiteral("report.day_book_statement.") + size, 5, folder,
         [&](int) { return some(reports::dayBookStatement(db, context, month, kLastDay, {})); });
    time(QStringLiteral("report.party_bill.") + size, 5, folder,
         [&](int) { return some(reports::partyBill(db, context, shopInfo, month, kLastDay, {})); });
    const core::Rows bills = db.query(
        QStringLiteral("select party_code, doc_no from itemsale where doc_dt >= ? limit 500"),
        {month});
    time(QStringLiteral("report.party_bill_invoice.") + size, 31, folder, [&](int) {
        const core::Row& b = bills[rng.bounded(int(bills.size()))];
        return some(reports::partyBillInvoice(db, context, shopInfo, b.text(0), b.text(1)));
    });
    const QStringList mainItems = reports::mainItems(db);
    const QStringList subItems = reports::subItems(db);
    time(QStringLiteral("report.item_stock.") + size, 31, folder, [&](int run) {
        return reports::itemStock(db, context, mainItems[run % mainItems.size()], from, kLastDay);
    });
    time(QStringLiteral("report.sub_item_stock.") + size, 31, folder, [&](int run) {
        return reports::subItemStock(db, context, subItems[run % subItems.size()], from, kLastDay);
    });
    time(QStringLiteral("report.item_stock_consolidate.") + size, 5, folder,
         [&](int) { return reports::itemStockConsolidate(db, context, kLastDay); });
    if (!engine.isEmpty() && qEnvironmentVariableIsEmpty("STOKARA_BENCH_KEEP")) {
        shop.db.reset();
        core::Database::open(server)->exec(
            QStringLiteral("drop database if exists stokara_bench_reports"));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const qint64 largest = bench::sizeArgument(argc, argv, 1000000);
    std::vector<qint64> sizes{std::min<qint64>(largest, 100000)};
    if (largest > 100000)
        sizes.push_back(largest);
    QTemporaryDir folder;
    for (qint64 sales : sizes)
        measure(folder.path(), sales);
    const QString pg = qEnvironmentVariable("STOKARA_BENCH_PG");
    if (!pg.isEmpty()) {
        const core::DatabaseUrl server = core::DatabaseUrl::parse(pg);
        for (qint64 sales : sizes)
            measure(folder.path(), sales, QStringLiteral("pg."), server);
    }
    return 0;
}
