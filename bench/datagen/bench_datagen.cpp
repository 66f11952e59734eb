// How fast the shop generator fills a database: sale rows per second while it
// writes the sales, and the whole shop's time. Prints BENCH lines.
// bench_datagen [sales [postgresql://user@host:port/postgres]]
// Default: 200000 sales on SQLite. With a PostgreSQL server, a scratch database
// is made there and dropped afterwards; the figures are named datagen.pg.*.
#include "common/bench_shop.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace stokara;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 sales = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200000;
    if (sales <= 0) {
        std::fprintf(stderr, "usage: bench_datagen [sales [postgresql-server-url]]\n");
        return 2;
    }
    const QString server = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTemporaryDir dir;
    std::unique_ptr<core::Database> admin;
    std::unique_ptr<core::Database> db;
    QString scratch;
    QString prefix = QStringLiteral("datagen.");
    if (server.isEmpty()) {
        db = core::Database::open(QStringLiteral("sqlite:") +
                                  dir.filePath(QStringLiteral("dairy.db")));
    } else {
        admin = core::Database::open(server);
        scratch = QStringLiteral("stokara_datagen_%1").arg(QCoreApplication::applicationPid());
        admin->exec(QStringLiteral("CREATE DATABASE ") + scratch);
        core::DatabaseUrl url = core::DatabaseUrl::parse(server);
        url.database = scratch;
        db = core::Database::open(url);
        prefix = QStringLiteral("datagen.pg.");
    }
    schema::createNewDatabase(*db);

    const demo::GenerateOptions options =
        demo::GenerateOptions::benchmark(sales, QDate(2024, 3, 31));
    QElapsedTimer whole;
    QElapsedTimer stage;
    double salesSeconds = 0;
    std::clock_t salesCpuStart = 0;
    double salesCpuSeconds = 0;
    whole.start();
    auto dropScratch = [&] {
        if (admin) {
            db.reset();
            admin->tryExec(QStringLiteral("DROP DATABASE IF EXISTS ") + scratch +
                           QStringLiteral(" WITH (FORCE)"));
        }
    };
    demo::GenerateResult r;
    try {
        r = demo::generateShop(*db, options, [&](const QString& name, qint64 done, qint64) {
            if (name == QLatin1String("sales") && done == 0) {
                stage.start();
                salesCpuStart = std::clock();
            } else if (salesSeconds == 0 && name != QLatin1String("sales") && stage.isValid()) {
                salesSeconds = stage.nsecsElapsed() / 1e9;
                salesCpuSeconds = double(std::clock() - salesCpuStart) / CLOCKS_PER_SEC;
            }
        });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_datagen: %s\n", e.what());
        dropScratch();
        return 1;
    }
    const double seconds = whole.nsecsElapsed() / 1e9;

    const QString size = sales % 1000000 == 0 ? QStringLiteral("%1m").arg(sales / 1000000)
                         : sales % 1000 == 0  ? QStringLiteral("%1k").arg(sales / 1000)
                                              : QString::number(sales);
    bench::printFigure(prefix + QStringLiteral("sales_per_second"), r.sales / salesSeconds,
                       QStringLiteral("rows/s"));
    // The machine may be shared; the processor time shows the generator's own cost.
    bench::printFigure(prefix + QStringLiteral("sales_per_cpu_second"), r.sales / salesCpuSeconds,
                       QStringLiteral("rows/s"));
    bench::printFigure(prefix + QStringLiteral("shop_%1.seconds").arg(size), seconds,
                       QStringLiteral("s"));
    bench::printFigure(prefix + QStringLiteral("shop_%1.rows_per_second").arg(size),
                       (r.parties + r.items + r.sales + r.purchases + r.vouchers) / seconds,
                       QStringLiteral("rows/s"));
    std::printf("# %lld sales in %lld bills, %lld purchases, %lld vouchers, %d parties, %d items\n",
                static_cast<long long>(r.sales), static_cast<long long>(r.bills),
                static_cast<long long>(r.purchases), static_cast<long long>(r.vouchers), r.parties,
                r.items);
    dropScratch();
    return 0;
}
