// The master screens on a shop of 20,000 parties and 2,000 items: opening each
// screen with its grid filled and drawn, and a click on the party grid loading its row.
// Medians, in ms. bench_masters [parties]  (default 20000; a tenth as many items)
#include "common/bench_shop.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "masters/account_head_screen.h"
#include "masters/bom_screen.h"
#include "masters/item_screen.h"
#include "masters/party_screen.h"
#include "masters/shop_screen.h"
#include "masters/vendor_screen.h"

#include "reader/card_poller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <vector>

using namespace stokara;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const int parties = int(std::min<qint64>(32767, bench::sizeArgument(argc, argv, 20000)));
    const int items = std::max(40, parties / 10);

    demo::GenerateOptions options = demo::GenerateOptions::benchmark(2000, QDate(2024, 4, 15));
    options.parties = parties;
    options.vouchers = 200;
    options.purchases = 200;
    bench::GeneratedShop shop = bench::generateSqliteShop(folder.path(), "masters", options);
    core::Database& db = *shop.db;
    {
        core::Transaction t(db);
        const int have = db.scalar("select count(*) from masitem").toInt();
        for (int i = have; i < items; ++i) {
            const QString name = QStringLiteral("BENCH ITEM %1").arg(i, 4, 10, QLatin1Char('0'));
            db.exec("insert into masitem (item_name, unit, rate, opebal, mainitem) "
                    "values (?, 'Pcs', ?, 0, ?)",
                    {name, 10 + i % 90, i % 20 == 0 ? "Y" : "N"});
            if (i % 20 == 0)
                for (int s = 1; s <= 5; ++s)
                    db.exec("insert into bom (mainitem, subitem, wt) values (?, ?, ?)",
                            {name,
                             QStringLiteral("BENCH ITEM %1").arg(i + s, 4, 10, QLatin1Char('0')),
                             0.5 * s});
        }
        t.commit();
    }
    db.exec("analyze");

    bench::QuietDialogs dialogs;
    core::FixedClock clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0)));
    core::Session session = bench::benchSession(db, dialogs, clock, folder.path());

    const std::pair<const char*, std::function<QWidget*()>> screens[] = {
        {"masparty",
         [&] {
             auto* s = new masters::PartyScreen(session);
             s->cardPoller()->stop();
             return s;
         }},
        {"frmmasitem", [&] { return new masters::ItemScreen(session); }},
        {"FrmBOM", [&] { return new masters::BomScreen(session); }},
        {"FrmVendor", [&] { return new masters::VendorScreen(session); }},
        {"FrmHead", [&] { return new masters::AccountHeadScreen(session); }},
        {"FrmCompany", [&] { return new masters::ShopScreen(session); }},
    };
    for (const auto& [name, make] : screens) {
        std::vector<double> times;
        for (int i = 0; i < 15; ++i) {
            QElapsedTimer timer;
            timer.start();
            QWidget* w = make();
            // Shown and drawn: a view fills its visible rows only when painted.
            w->show();
            QCoreApplication::processEvents();
            times.push_back(timer.nsecsElapsed() / 1e6);
            delete w;
        }
        bench::printFigure(QStringLiteral("masters.open.") + QString::fromLatin1(name),
                           bench::median(times), "ms");
    }

    {
        std::vector<double> times;
        masters::PartyStore store(db);
        for (int i = 0; i < 15; ++i) {
            QElapsedTimer timer;
            timer.start();
            const auto rows = store.gridRows();
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        bench::printFigure("masters.party_grid_query", bench::median(times), "ms");
    }

    masters::PartyScreen party(session);
    party.cardPoller()->stop();
    auto* grid = party.findChild<QTableView*>("VsGrid");
    std::vector<double> clicks;
    QRandomGenerator random(7);
    for (int i = 0; i < 200; ++i) {
        const QModelIndex cell =
            grid->model()->index(static_cast<int>(random.bounded(grid->model()->rowCount())), 0);
        grid->setCurrentIndex(cell);
        QElapsedTimer timer;
        timer.start();
        emit grid->clicked(cell);
        clicks.push_back(timer.nsecsElapsed() / 1e6);
    }
    bench::printFigure("masters.grid_click.party", bench::median(clicks), "ms");
    return 0;
}
