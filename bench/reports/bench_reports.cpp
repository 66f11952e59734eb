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
// bench_reports [largest-sales]  (default 1000000; 100000 is always measured)
// STOKARA_BENCH_ONLY=text measures only the reports whose figure names hold it.
// SQLite always; PostgreSQL too when STOKARA_BENCH_PG names a server
// (postgresql://user@host:port/db): a scratch database of 100,000 sales is made
// there and dropped afterwards, and its figures carry "pg." before the size
// (report.item_stock.pg.100k).
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

#include <functional>
#include <vector>

using namespace stokara;

namespace {

const QDate kLastDay(2024, 4, 15);

QString sizeName(qint64 sales) {
    if (sales % 1000000 == 0)
        return QString::number(sales / 1000000) + QStringLiteral("m");
    return QString::number(sales / 1000) + QStringLiteral("k");
}

// Median of `runs` timings of one report, to its pages and to its CSV.
void time(const QString& name, int runs, const QString& folder,
          const std::function<reports::Report(int run)>& make) {
    const QString only = qEnvironmentVariable("STOKARA_BENCH_ONLY");
    if (!only.isEmpty() && !name.contains(only))
        return;
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
}

// The reports on one generated shop; `engine` is "" for SQLite, "pg." for
// PostgreSQL at `server`.
void measure(const QString& folder, qint64 sales, const QString& engine = {},
             const core::DatabaseUrl& server = {}) {
    const QString size = engine + sizeName(sales);
    demo::GenerateOptions options = demo::GenerateOptions::benchmark(sales, kLastDay);
    options.parties = 20000;
    options.vouchers = 200000;
    options.purchases = 100000;
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
    db.exec(QStringLiteral("analyze"));

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
    time(QStringLiteral("report.ledger_consolidate.") + size, 5, folder,
         [&](int) { return reports::ledgerConsolidate(db, context, kLastDay); });

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
    if (!engine.isEmpty()) {
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
    const qint64 largest = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    QTemporaryDir folder;
    measure(folder.path(), 100000);
    if (largest > 100000)
        measure(folder.path(), largest);
    const QString pg = qEnvironmentVariable("STOKARA_BENCH_PG");
    if (!pg.isEmpty()) {
        const core::DatabaseUrl server = core::DatabaseUrl::parse(pg);
        // A bill number is five characters on PostgreSQL, so the generated
        // shop stops at 100,000 sales there.
        measure(folder.path(), 100000, QStringLiteral("pg."), server);
    }
    return 0;
}
