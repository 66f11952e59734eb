// How fast the shop generator fills an SQLite database: sale rows per second
// while it writes the sales, and the whole shop's time. Prints BENCH lines.
// bench_datagen [sales]   (default 200000)
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
        std::fprintf(stderr, "usage: bench_datagen [sales]\n");
        return 2;
    }
    QTemporaryDir dir;
    auto db =
        core::Database::open(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("dairy.db")));
    schema::createNewDatabase(*db);

    const demo::GenerateOptions options =
        demo::GenerateOptions::benchmark(sales, QDate(2024, 3, 31));
    QElapsedTimer whole;
    QElapsedTimer stage;
    double salesSeconds = 0;
    std::clock_t salesCpuStart = 0;
    double salesCpuSeconds = 0;
    whole.start();
    const demo::GenerateResult r =
        demo::generateShop(*db, options, [&](const QString& name, qint64 done, qint64) {
            if (name == QLatin1String("sales") && done == 0) {
                stage.start();
                salesCpuStart = std::clock();
            } else if (salesSeconds == 0 && name != QLatin1String("sales") && stage.isValid()) {
                salesSeconds = stage.nsecsElapsed() / 1e9;
                salesCpuSeconds = double(std::clock() - salesCpuStart) / CLOCKS_PER_SEC;
            }
        });
    const double seconds = whole.nsecsElapsed() / 1e9;

    const QString size = sales % 1000000 == 0 ? QStringLiteral("%1m").arg(sales / 1000000)
                         : sales % 1000 == 0  ? QStringLiteral("%1k").arg(sales / 1000)
                                              : QString::number(sales);
    bench::printFigure(QStringLiteral("datagen.sales_per_second"), r.sales / salesSeconds,
                       QStringLiteral("rows/s"));
    // The machine may be shared; the processor time shows the generator's own cost.
    bench::printFigure(QStringLiteral("datagen.sales_per_cpu_second"), r.sales / salesCpuSeconds,
                       QStringLiteral("rows/s"));
    bench::printFigure(QStringLiteral("datagen.shop_%1.seconds").arg(size), seconds,
                       QStringLiteral("s"));
    bench::printFigure(QStringLiteral("datagen.shop_%1.rows_per_second").arg(size),
                       (r.parties + r.items + r.sales + r.purchases + r.vouchers) / seconds,
                       QStringLiteral("rows/s"));
    std::printf("# %lld sales in %lld bills, %lld purchases, %lld vouchers, %d parties, %d items\n",
                static_cast<long long>(r.sales), static_cast<long long>(r.bills),
                static_cast<long long>(r.purchases), static_cast<long long>(r.vouchers), r.parties,
                r.items);
    return 0;
}
