// The message centre on an out box of 50,000 messages of 2,000 parties:
// opening the screen with its grid filled, and the store's query alone.
// Medians, in ms.
#include "common/bench_shop.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "messaging/message_centre_screen.h"
#include "messaging/message_centre_store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>

#include <vector>

using namespace stokara;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const int kMessages = int(bench::sizeArgument(argc, argv, 50000));
    const QString size = bench::sizeName(kMessages);

    demo::GenerateOptions options = demo::GenerateOptions::benchmark(2000, QDate(2024, 4, 15));
    options.parties = 2000;
    bench::GeneratedShop shop = bench::generateSqliteShop(folder.path(), "messages", options);
    core::Database& db = *shop.db;
    const core::Rows parties =
        db.query("select party_code, party_name from masparty where category = 'MilkMan' order by "
                 "party_code");
    {
        core::Transaction t(db);
        for (int i = 0; i < kMessages; ++i) {
            const core::Row& p = parties[static_cast<size_t>(i) % parties.size()];
            const QString text =
                QStringLiteral("Your Item Sale Receipt For Date:%1/03/2024 Bill No.:%2  CATTLE "
                               "FEED Wt/Qty:2 Rate:450 Amount:900,  Green Agro Karnal")
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .arg(i + 1);
            db.exec("insert into messagelog (doc_dt, party_code, party_name, message, message1, "
                    "status) values (?, ?, ?, ?, '', 'O')",
                    {QDate(2024, 3, 1 + i % 28), p.text(0), p.text(1), text});
        }
        t.commit();
    }
    db.exec("analyze");

    bench::QuietDialogs dialogs;
    core::FixedClock clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0)));
    core::Session session = bench::benchSession(db, dialogs, clock, folder.path());

    std::vector<double> query;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto rows = messaging::MessageCentreStore(db).messages(false);
        query.push_back(timer.nsecsElapsed() / 1e6);
        if (rows.size() != static_cast<size_t>(kMessages))
            qFatal("expected %d messages, got %zu", kMessages, rows.size());
    }
    bench::printFigure("message_centre.query." + size, bench::median(query), "ms");

    std::vector<double> open;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto* screen = new messaging::MessageCentreScreen(session);
        screen->show();
        QCoreApplication::processEvents();
        open.push_back(timer.nsecsElapsed() / 1e6);
        if (screen->findChild<QTableView*>("VsFlex")->model()->rowCount() != kMessages)
            qFatal("the grid does not hold the out box");
        delete screen;
    }
    bench::printFigure("message_centre.open." + size, bench::median(open), "ms");
    return 0;
}
