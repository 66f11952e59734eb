// The day book and purchase screens on a shop with 200,000 vouchers and 100,000
// purchases spread over three years: the grid refilled for a date, and one save
// including the grid refresh that follows it. Medians, in ms.
// bench_daybook [vouchers] [purchases]   (defaults 200000 100000)
// SQLite always; PostgreSQL too when STOKARA_BENCH_PG names a server
// (postgresql://user@host:port/db): a scratch database is made there and dropped
// afterwards, and its figures carry the suffix ".pg".
#include "common/bench_shop.h"
#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "demo/shop_generator.h"
#include "schema/schema.h"
#include "transactions/day_book_screen.h"
#include "transactions/purchase_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace stokara;

namespace {

// Answers every question with OK, as an operator entering fast would.
class AcceptingDialogs : public core::Dialogs {
public:
    core::Answer message(core::Icon, const QString&, const QString& text,
                         core::Buttons buttons) override {
        last = text;
        return buttons == core::Buttons::OkCancel ? core::Answer::Ok : core::Answer::Yes;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString last;
};

void figure(const char* name, const char* suffix, double ms) {
    bench::printFigure(QLatin1String(name) + QLatin1String(suffix), ms, QStringLiteral("ms"));
}

const QDate kToday(2024, 4, 15);
constexpr int kDays = 1096; // three years up to today

// The shop's masters, purchases and vouchers come from the shared shop generator;
// the screens need no sales.
void fill(core::Database& db, int vouchers, int purchases) {
    demo::GenerateOptions o;
    o.parties = 2000;
    o.items = std::min(40, demo::maxItems());
    o.vendors = std::min(20, demo::maxVendors());
    o.accountHeads = demo::maxAccountHeads();
    o.sales = 0;
    o.purchases = purchases;
    o.vouchers = vouchers;
    o.days = kDays;
    o.lastDay = kToday;
    o.seed = 42;
    demo::generateShop(db, o);
}

QString pick(QComboBox* list, QRandomGenerator& rng) {
    return list->itemText(static_cast<int>(rng.bounded(list->count())));
}

template <class Widget> Widget* child(QWidget* screen, const char* name) {
    return screen->findChild<Widget*>(QString::fromLatin1(name));
}

} // namespace

int measure(core::Database& db, const QString& dataDir, int vouchers, int purchases,
            const char* suffix) {
    schema::createNewDatabase(db);
    QElapsedTimer timer;
    timer.start();
    fill(db, vouchers, purchases);
    std::printf("BENCH daybook.generate_seconds%s %.1f s\n", suffix, timer.elapsed() / 1000.0);
    db.exec(QStringLiteral("analyze"));

    AcceptingDialogs dialogs;
    core::FixedClock clock(QDateTime(kToday, QTime(10, 0)));
    core::Session session = bench::benchSession(db, dialogs, clock, dataDir);

    QRandomGenerator rng(7);
    constexpr int kRuns = 60;

    {
        transactions::DayBookScreen screen(session);
        screen.show();
        auto* date = child<QLineEdit>(&screen, "text2");
        auto* type = child<QComboBox>(&screen, "List1");
        auto* picker = child<QComboBox>(&screen, "dcHead");
        auto* amount = child<QLineEdit>(&screen, "TxtAmount");
        auto* grid = child<QTableWidget>(&screen, "VsFlex");
        std::vector<double> refill, save;
        int rows = 0;
        for (int i = 0; i < kRuns; ++i) {
            date->setText(
                kToday.addDays(-rng.bounded(kDays)).toString(QStringLiteral("dd/MM/yyyy")));
            timer.restart();
            screen.fillGrid();
            refill.push_back(timer.nsecsElapsed() / 1e6);
            rows += grid->rowCount();
        }
        for (int i = 0; i < kRuns; ++i) {
            type->setCurrentIndex(i % 2);
            picker->setCurrentIndex(rng.bounded(picker->count()));
            amount->setText(QString::number(10 + i));
            timer.restart();
            screen.save();
            save.push_back(timer.nsecsElapsed() / 1e6);
            if (dialogs.last != QLatin1String("Data Saved.")) {
                std::fprintf(stderr, "day book save refused: %s\n", qPrintable(dialogs.last));
                return 1;
            }
        }
        std::printf("BENCH daybook.rows_per_date%s %.0f rows\n", suffix, double(rows) / kRuns);
        figure("daybook.refill", suffix, bench::median(refill));
        figure("daybook.save", suffix, bench::median(save));
    }
    {
        transactions::PurchaseScreen screen(session);
        screen.show();
        auto* date = child<QLineEdit>(&screen, "text2");
        auto* vendor = child<QComboBox>(&screen, "DcParty");
        auto* item = child<QComboBox>(&screen, "Item_name");
        auto* qty = child<QLineEdit>(&screen, "TxtQty");
        auto* rate = child<QLineEdit>(&screen, "txtrate");
        auto* entry = child<QLineEdit>(&screen, "TxtDoc_no");
        auto* grid = child<QTableWidget>(&screen, "VsFlex");
        std::vector<double> refill, save;
        int rows = 0;
        for (int i = 0; i < kRuns; ++i) {
            date->setText(
                kToday.addDays(-rng.bounded(kDays)).toString(QStringLiteral("dd/MM/yyyy")));
            vendor->setEditText(pick(vendor, rng));
            entry->clear();
            timer.restart();
            screen.refreshGrid();
            refill.push_back(timer.nsecsElapsed() / 1e6);
            rows += grid->rowCount();
        }
        date->setText(kToday.toString(QStringLiteral("dd/MM/yyyy")));
        for (int i = 0; i < kRuns; ++i) {
            vendor->setEditText(pick(vendor, rng));
            item->setEditText(pick(item, rng));
            qty->setText(QString::number(1 + i));
            rate->setText(QStringLiteral("12.5"));
            timer.restart();
            screen.save();
            save.push_back(timer.nsecsElapsed() / 1e6);
            if (dialogs.last != QLatin1String("Data Saved.")) {
                std::fprintf(stderr, "purchase save refused: %s\n", qPrintable(dialogs.last));
                return 1;
            }
        }
        std::printf("BENCH purchase.rows_per_date%s %.1f rows\n", suffix, double(rows) / kRuns);
        figure("purchase.refill", suffix, bench::median(refill));
        figure("purchase.save", suffix, bench::median(save));
    }
    return 0;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int vouchers = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int purchases = argc > 2 ? std::atoi(argv[2]) : 100000;

    QTemporaryDir folder;
    {
        auto db = core::Database::open(QStringLiteral("sqlite:") + folder.filePath("daybook.db"));
        if (measure(*db, folder.path(), vouchers, purchases, "") != 0)
            return 1;
    }
    const QString pg = qEnvironmentVariable("STOKARA_BENCH_PG");
    if (pg.isEmpty())
        return 0;
    core::DatabaseUrl url = core::DatabaseUrl::parse(pg);
    const QString scratch = QStringLiteral("stokara_bench_daybook");
    {
        auto server = core::Database::open(url);
        server->exec(QStringLiteral("drop database if exists ") + scratch);
        server->exec(QStringLiteral("create database ") + scratch);
    }
    core::DatabaseUrl scratchUrl = url;
    scratchUrl.database = scratch;
    int rc = 0;
    {
        auto db = core::Database::open(scratchUrl);
        rc = measure(*db, folder.path(), vouchers, purchases, ".pg");
    }
    auto server = core::Database::open(url);
    server->exec(QStringLiteral("drop database if exists ") + scratch);
    return rc;
}
