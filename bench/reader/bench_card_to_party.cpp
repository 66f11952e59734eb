// A party's card presented on the simulated reader to the item sale screen showing that
// party (code, name, balance), on a shop of 20,000 parties and 100,000 sales, with the
// reader protocol's real waits. Measured from the poll that finds the card on the reader;
// the poll interval (1 s) before that poll is not counted. Median and worst, in ms.
// bench_card_to_party [sales]  (default 100000)
// The poller answers through the event loop from its own thread, so each tick is
// followed by a bounded wait for its answer.
#include "common/bench_shop.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "reader/card_poller.h"
#include "reader/simulated_reader.h"
#include "transactions/item_sale_screen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace stokara;

namespace {

// Counts messages; a "Wrong Card." would void the figures.
class CountingDialogs : public core::Dialogs {
public:
    core::Answer message(core::Icon, const QString&, const QString&, core::Buttons) override {
        ++shown;
        return core::Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    int shown = 0;
};

reader::CardUid uidOf(const QString& card) {
    const quint32 value = card.toUInt(nullptr, 16);
    return {quint8(value >> 24), quint8(value >> 16), quint8(value >> 8), quint8(value)};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const qint64 sales = bench::sizeArgument(argc, argv, 100000);
    demo::GenerateOptions options = demo::GenerateOptions::benchmark(sales, QDate(2024, 4, 15));
    options.parties = int(std::min<qint64>(20000, std::max<qint64>(50, sales / 5)));
    bench::GeneratedShop shop =
        bench::generateSqliteShop(folder.path(), QStringLiteral("reader.shop"), options);
    core::Database& db = *shop.db;
    db.exec(QStringLiteral("analyze"));

    CountingDialogs dialogs;
    core::FixedClock clock(QDateTime(QDate(2024, 4, 15), QTime(10, 0)));
    core::Session session = bench::benchSession(db, dialogs, clock, folder.path());

    auto module = std::make_shared<reader::SimulatedReaderModule>();
    auto* screen = new transactions::ItemSaleScreen(session);
    screen->setReaderFactory([module] {
        return std::make_unique<reader::Rrhfoem04Reader>(
            std::make_unique<reader::SimulatedTransport>(module));
    });
    screen->show();
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(screen, &f2);
    reader::CardPoller* poller = screen->cardPoller();
    if (!poller) {
        std::fprintf(stderr, "bench_card_to_party: F2 made no card poller\n");
        return 1;
    }
    poller->connectTick();
    if (!bench::waitUntil([poller] { return poller->isConnected(); }, 5000)) {
        std::fprintf(stderr, "bench_card_to_party: the simulated reader did not connect\n");
        return 1;
    }
    // Only the ticks below poll, so none of the timer's is out when a card is timed.
    poller->pollTimer()->stop();
    poller->connectTimer()->stop();
    auto* partyCode = screen->findChild<QLineEdit*>(QStringLiteral("TxtPartyCode"));
    auto* name = screen->findChild<QLabel*>(QStringLiteral("LblMilkman"));

    const core::Rows parties = db.query(QStringLiteral(
        "select party_code, party_name, CardNo from masparty where CardNo is not null"));
    QRandomGenerator random(7);
    std::vector<double> times;
    const auto answered = [poller] { return !poller->requestPending(); };
    const int cards = sales < 10000 ? 5 : 40;
    for (int i = 0; i < cards; ++i) {
        const core::Row& party = parties.at(random.bounded(int(parties.size())));
        module->removeCard();
        poller->pollTick();
        if (!bench::waitUntil(answered, 5000)) {
            std::fprintf(stderr, "bench_card_to_party: a poll was not answered\n");
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        module->presentCard(uidOf(party.text("CardNo")));
        poller->pollTick();
        bench::waitUntil(
            [&] {
                return !poller->requestPending() && partyCode->text() == party.text("party_code");
            },
            5000);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (partyCode->text() != party.text("party_code") ||
            name->text() != party.text("party_name")) {
            std::fprintf(stderr, "bench_card_to_party: card %s did not select party %s\n",
                         qPrintable(party.text("CardNo")), qPrintable(party.text("party_code")));
            return 1;
        }
        times.push_back(ms);
    }
    delete screen;
    if (dialogs.shown != 0) {
        std::fprintf(stderr, "bench_card_to_party: %d unexpected messages\n", dialogs.shown);
        return 1;
    }
    std::sort(times.begin(), times.end());
    bench::printFigure(QStringLiteral("reader.card_to_party"), times[times.size() / 2],
                       QStringLiteral("ms"));
    bench::printFigure(QStringLiteral("reader.card_to_party.max"), times.back(),
                       QStringLiteral("ms"));
    return 0;
}
