// "Update Database" on a database that is already up to date, and the creation
// of a new database, on SQLite. Prints BENCH lines.
#include "core/database.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace stokara;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A shop's year: parties, items, a sale line every few minutes of the day.
void seed(core::Database& db, int sales) {
    core::Transaction t(db);
    for (int p = 1; p <= 2000; ++p)
        db.exec(QStringLiteral("insert into masparty (party_code, Party_name, category, Active) "
                               "values (?, ?, ?, ?)"),
                {QString::number(p), QStringLiteral("Party %1").arg(p), QStringLiteral("MilkMan"),
                 QStringLiteral("Y")});
    for (int i = 1; i <= 200; ++i)
        db.exec(QStringLiteral("insert into masitem (item_name, MainItem) values (?, ?)"),
                {QStringLiteral("Item %1").arg(i), QStringLiteral("Y")});
    const QDate start(2023, 4, 1);
    for (int n = 0; n < sales; ++n)
        db.exec(QStringLiteral("insert into itemsale (Doc_dt, Party_code, item_name, Qty, Rate, "
                               "Net_amt, Doc_No) values (?, ?, ?, ?, ?, ?, ?)"),
                {start.addDays(n / 165), QString::number(n % 2000 + 1),
                 QStringLiteral("Item %1").arg(n % 200 + 1), 2, 25.5, 51,
                 QString::number(n % 99999)});
    t.commit();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // bench_upgrade [sales]  (default 60000)
    const int sales = argc > 1 ? std::atoi(argv[1]) : 60000;
    if (sales <= 0) {
        std::fprintf(stderr, "usage: bench_upgrade [sales]\n");
        return 2;
    }
    const QString url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("dairy.db"));

    std::vector<double> fresh;
    for (int i = 0; i < 5; ++i) {
        const QString path = dir.filePath(QStringLiteral("fresh%1.db").arg(i));
        auto db = core::Database::open(QStringLiteral("sqlite:") + path);
        QElapsedTimer timer;
        timer.start();
        schema::createNewDatabase(*db);
        fresh.push_back(timer.nsecsElapsed() / 1e6);
    }

    auto db = core::Database::open(url);
    schema::createNewDatabase(*db);
    seed(*db, sales);
    std::vector<double> upToDate;
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer timer;
        timer.start();
        schema::upgradeDatabase(*db);
        upToDate.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("BENCH upgrade.up_to_date %.2f ms\n", median(upToDate));
    std::printf("BENCH upgrade.new_database %.2f ms\n", median(fresh));
    return 0;
}
