#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace stokara::core {
class Database;
}

namespace stokara::demo {

// How big a shop to make. Counts are rows; every count may be 0 except that sales
// need parties and items, and purchases need vendors and items.
struct GenerateOptions {
    int parties = 36;           // masparty rows, codes "1".."N" (at most 32767)
    int vlccPercent = 10;       // of the parties, the share of collection centres ("VLCC")
    int items = 12;             // masitem rows (at most maxItems())
    int vendors = 5;            // masvendor rows (at most maxVendors())
    int accountHeads = 11;      // accounthead rows (at most maxAccountHeads())
    qint64 sales = 2500;        // itemsale rows; bills of one to four lines
    qint64 purchases = 120;     // ItemPurchases rows
    qint64 vouchers = 700;      // daybook rows
    int days = 180;             // the transactions span this many days...
    QDate lastDay;              // ...ending on this day (invalid: today)
    quint64 seed = 1;           // the same seed makes the same shop
    qint64 commitEvery = 50000; // rows per transaction for big shops
    qint64 firstBill = 1;       // the sales bills are numbered from here up

    // A shop the size of the demo: a few dozen parties, a dozen items, half a year.
    static GenerateOptions demoShop(const QDate& today);
    // A shop for the speed benchmarks: `sales` sale rows with parties, purchases
    // and vouchers in the proportions of a busy shop over three years.
    static GenerateOptions benchmark(qint64 sales, const QDate& lastDay);
};

int maxItems();
int maxVendors();
int maxAccountHeads();

// What was written.
struct GenerateResult {
    int parties = 0;
    int items = 0;
    int bomLines = 0;
    int vendors = 0;
    int accountHeads = 0;
    qint64 sales = 0;
    qint64 bills = 0;
    qint64 purchases = 0;
    qint64 vouchers = 0;
    QDate firstDay;
    QDate lastDay;
};

// Called now and then while a big shop is written: the stage ("parties", "sales",
// ...) and how many of its rows are done.
using GenerateProgress = std::function<void(const QString& stage, qint64 done, qint64 total)>;

// Fills a database whose schema is built (schema::createNewDatabase has run) and
// whose shop tables are empty with a believable village-dairy shop: the shop
// record (when compmaster has none), villages, parties with cards and mobile
// numbers, items, a bill of materials, vendors, account heads, sales bills,
// purchases and day-book vouchers. Everything is bound through prepared
// statements. A shop of at most `commitEvery` rows is written all or nothing;
// a bigger one commits every `commitEvery` rows.
// Throws std::invalid_argument for options it cannot honour or a shop that is
// not empty, and core::DbError when the database refuses a row.
GenerateResult generateShop(core::Database& db, const GenerateOptions& options,
                            const GenerateProgress& progress = {});

} // namespace stokara::demo
