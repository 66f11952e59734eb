// Time from a card landing on the (simulated) reader to the poller announcing it, with the
// protocol's real waits, and the cost of reading a full text off a card.
//
// Prints BENCH lines. bench_reader [polls]  (default 15)
// The poller's exchanges run on its own thread and answer through the event loop,
// so every tick is followed by a bounded wait for its answer.

#include "common/bench_shop.h"
#include "reader/card_poller.h"
#include "reader/simulated_reader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace stokara::reader;

namespace {

void print(const char* name, double value, const char* unit) {
    stokara::bench::printFigure(QLatin1String(name), value, QLatin1String(unit));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int polls = int(stokara::bench::sizeArgument(argc, argv, 15));
    auto module = std::make_shared<SimulatedReaderModule>();
    CardPoller poller(PollSchedule::cardRecharge(), nullptr, [module] {
        return std::make_unique<Rrhfoem04Reader>(std::make_unique<SimulatedTransport>(module));
    });
    QString seen;
    QObject::connect(&poller, &CardPoller::cardPresented, [&seen](const QString& c) { seen = c; });
    poller.connectTick();
    if (!stokara::bench::waitUntil([&] { return poller.isConnected(); }, 5000)) {
        std::fprintf(stderr, "simulated reader did not connect\n");
        return 1;
    }

    // The poll that sees the card: one exchange with its 100 ms wait.
    std::vector<double> toSignal;
    const auto answered = [&] { return !poller.requestPending(); };
    for (int i = 0; i < polls; ++i) {
        module->removeCard();
        poller.pollTick();
        if (!stokara::bench::waitUntil(answered, 5000)) {
            std::fprintf(stderr, "poll not answered\n");
            return 1;
        }
        seen.clear();
        module->presentCard(CardUid{0x04, 0xA1, 0xB2, quint8(i)});
        QElapsedTimer clock;
        clock.start();
        poller.pollTick();
        stokara::bench::waitUntil([&] { return !seen.isEmpty(); }, 5000);
        toSignal.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (seen.isEmpty()) {
            std::fprintf(stderr, "card not announced\n");
            return 1;
        }
    }
    print("reader.card_to_signal.median", stokara::bench::median(toSignal), "ms");
    print("reader.card_to_signal.max", *std::max_element(toSignal.begin(), toSignal.end()), "ms");

    // Reading 48 characters (three data blocks, one sector) as the protocol paces it.
    Rrhfoem04Reader reader(std::make_unique<SimulatedTransport>(module));
    if (!reader.connect() || !reader.iso14443AWriteAscii(1, QString(40, QLatin1Char('m')))) {
        std::fprintf(stderr, "card write failed\n");
        return 1;
    }
    std::vector<double> reads;
    for (int i = 0; i < 3; ++i) {
        QString text;
        QElapsedTimer clock;
        clock.start();
        reader.iso14443AReadAscii(1, text);
        reads.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    print("reader.card_read_40_chars.median", stokara::bench::median(reads), "ms");
    return 0;
}
