// The item sale screen at the counter, on shops of 100,000 and 1,000,000 sales
// (20,000 parties, 200,000 vouchers): party code typed to bill number, name and
// balance shown; one line saved with the grid refreshed; a bill finished up to
// its memo handed to the canvas (and the SMS receipt composed). Medians, in ms.
// bench_sale [largest-sales]  (default 1000000; 100000 is measured too when
// smaller than it; below 100,000 only that size, with fewer bills, for a quick run)
// SQLite always; PostgreSQL too when STOKARA_BENCH_PG names a server
// (postgresql://user@host:port/db): a scratch database of each size is made there
// and dropped afterwards, and its figures carry "pg." before the size
// (sale.save_line.pg.1m).
#include "common/bench_shop.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "messaging/sms_sender.h"
#include "transactions/item_sale_screen.h"
#include "transactions/sale_store.h"
#include "transactions/slip_print.h"
#include "transactions/slip_recording_canvas.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace stokara;

namespace {

// Answers every question with Yes/OK, as an operator selling fast would.
class AcceptingDialogs : public core::Dialogs {
public:
    core::Answer message(core::Icon, const QString&, const QString&,
                         core::Buttons buttons) override {
        ++shown;
        return buttons == core::Buttons::OkCancel ? core::Answer::Ok : core::Answer::Yes;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    int shown = 0;
};

const QString kScratch = QStringLiteral("stokara_bench_sale");

// The counter on one generated shop; `engine` is "" for SQLite, "pg." for
// PostgreSQL at `server`.
void measure(const QString& folder, qint64 sales, const QString& engine = {},
             const core::DatabaseUrl& server = {}) {
    const QString size = engine + bench::sizeName(sales);
    demo::GenerateOptions options = demo::GenerateOptions::benchmark(sales, QDate(2024, 4, 15));
    options.parties = int(std::min<qint64>(20000, std::max<qint64>(50, sales / 5)));
    options.vouchers = int(std::min<qint64>(200000, 2 * sales));
    const QString name = QStringLiteral("sale.") + size;
    bench::GeneratedShop shop;
    if (engine.isEmpty()) {
        shop = bench::generateSqliteShop(folder, name, options);
    } else {
        auto admin = core::Database::open(server);
        admin->exec(QStringLiteral("drop database if exists ") + kScratch);
        admin->exec(QStringLiteral("create database ") + kScratch);
        core::DatabaseUrl scratch = server;
        scratch.database = kScratch;
        shop = bench::generateShop(core::Database::open(scratch), name, options);
    }
    core::Database& db = *shop.db;
    // No mobile numbers: the receipt is composed from the bill but never leaves
    // for the network.
    db.exec(QStringLiteral("update masparty set ph = null"));
    // A server's autovacuum would have done the vacuum long before a shop grew
    // this big; without it a freshly loaded table has no index-only scans.
    db.exec(db.isSqlite() ? QStringLiteral("analyze") : QStringLiteral("vacuum analyze"));

    AcceptingDialogs dialogs;
    core::FixedClock clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0)));
    core::Session session = bench::benchSession(db, dialogs, clock, folder);
    session.shop.name = QStringLiteral("Bench Dairy Shop");

    // The memo drawn on a recording canvas and the receipt composed as the
    // shop's own finisher does, without a printer or the network.
    struct BenchFinishing : transactions::BillFinishing {
        explicit BenchFinishing(core::Session& s) : session(s), sms(s) {}
        QString printMemo(const transactions::FinishedBill& bill) override {
            transactions::RecordingSlipCanvas canvas;
            if (transactions::slipPrint(*session.db, session.shop, bill.billNo, bill.date, canvas,
                                        session.clock->now()))
                ++memos;
            return {};
        }
        void sendReceipt(const transactions::FinishedBill& bill) override {
            sms.sendSaleReceipt(
                {bill.partyCode, bill.billNo, bill.date, bill.partyName, bill.category});
        }
        core::Session& session;
        messaging::SmsSender sms;
        int memos = 0;
    };
    auto finishing = std::make_unique<BenchFinishing>(session);
    const int& memos = finishing->memos;
    auto* screen = new transactions::ItemSaleScreen(session, std::move(finishing));
    screen->show();
    auto* partyCode = screen->findChild<QLineEdit*>(QStringLiteral("TxtPartyCode"));
    auto* item = screen->findChild<QComboBox*>(QStringLiteral("Item_name"));
    auto* qty = screen->findChild<QLineEdit*>(QStringLiteral("TxtQty"));
    auto* rate = screen->findChild<QLineEdit*>(QStringLiteral("txtrate"));
    auto* unit = screen->findChild<QLineEdit*>(QStringLiteral("Txtunit"));
    auto* amount = screen->findChild<QLineEdit*>(QStringLiteral("TxtAmount"));
    auto* more = screen->findChild<QLineEdit*>(QStringLiteral("TxtMore"));
    auto* save = screen->findChild<QPushButton*>(QStringLiteral("Command8"));
    const QStringList items = [&] {
        QStringList names;
        for (int i = 0; i < item->count(); ++i)
            names << item->itemText(i);
        return names;
    }();

    QRandomGenerator random(42);
    auto randomParty = [&] { return QString::number(1 + random.bounded(options.parties)); };
    QElapsedTimer timer;

    const bool quick = sales < 100000;
    const int bills = quick ? 10 : 80;
    std::vector<double> select;
    for (int i = 0; i < (quick ? 30 : 300); ++i) {
        more->clear();
        partyCode->clear();
        const QString code = randomParty();
        timer.start();
        partyCode->setText(code);
        select.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::vector<double> saveLine;
    std::vector<double> finish;
    for (int bill = 0; bill < bills; ++bill) {
        more->clear();
        partyCode->clear();
        partyCode->setText(randomParty());
        for (int line = 0; line < 5; ++line) {
            item->setEditText(items.at(random.bounded(int(items.size()))));
            unit->setText(QStringLiteral("Bag"));
            qty->setText(QString::number(1 + random.bounded(5)));
            rate->setText(QStringLiteral("450"));
            amount->setText(QString::number(qty->text().toInt() * 450));
            const bool last = line == 4;
            more->setText(last ? QStringLiteral("N") : QStringLiteral("Y"));
            timer.start();
            save->click();
            (last ? finish : saveLine).push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    delete screen;
    // A refused save would time nothing real: the figures are void then.
    const qint64 saved =
        db.scalar(QStringLiteral("select count(*) from itemsale")).toLongLong() - shop.result.sales;
    if (memos != bills || saved != 5 * bills) {
        std::fprintf(stderr, "bench_sale: expected %d lines and %d memos, got %lld and %d\n",
                     5 * bills, bills, static_cast<long long>(saved), memos);
        std::exit(1);
    }

    bench::printFigure(QStringLiteral("sale.party_select.") + size, bench::median(select),
                       QStringLiteral("ms"));
    bench::printFigure(QStringLiteral("sale.save_line.") + size, bench::median(saveLine),
                       QStringLiteral("ms"));
    bench::printFigure(QStringLiteral("sale.finish_bill.") + size, bench::median(finish),
                       QStringLiteral("ms"));
    if (!engine.isEmpty()) {
        shop.db.reset();
        core::Database::open(server)->exec(QStringLiteral("drop database if exists ") + kScratch);
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const qint64 largest = bench::sizeArgument(argc, argv, 1000000);
    std::vector<qint64> sizes{std::min<qint64>(largest, 100000)};
    if (largest > 100000)
        sizes.push_back(largest);
    QTemporaryDir dir;
    for (qint64 sales : sizes)
        measure(dir.path(), sales);
    const QString pg = qEnvironmentVariable("STOKARA_BENCH_PG");
    if (!pg.isEmpty())
        for (qint64 sales : sizes)
            measure(dir.path(), sales, QStringLiteral("pg."), core::DatabaseUrl::parse(pg));
    return 0;
}
