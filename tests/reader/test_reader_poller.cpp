// Card polling against the simulated reader. The tests call the tick slots rather than wait
// for a timer interval, then wait for the answer from the poller's thread.

#include "reader/card_poller.h"
#include "reader_test_kit.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>

using namespace stokara::reader;
using namespace stokara::reader::testkit;

namespace {

const CardUid kCardA{0x04, 0xA1, 0xB2, 0xC3};
const CardUid kCardB{0x11, 0x22, 0x33, 0x44};

// One tick, once the request before it is answered; true when its own answer is handled.
bool tick(CardPoller& poller, void (CardPoller::*slot)() = &CardPoller::pollTick) {
    const auto idle = [&] { return !poller.requestPending(); };
    return QTest::qWaitFor(idle, 10000) && ((poller.*slot)(), QTest::qWaitFor(idle, 10000));
}

QStringList values(const QSignalSpy& spy) {
    QStringList out;
    for (const auto& call : spy)
        out << call.at(0).toString();
    return out;
}

} // namespace

class TestReaderPoller : public QObject {
    Q_OBJECT

    std::shared_ptr<SimulatedReaderModule> module_;
    Recorder recorder_;
    std::atomic<int> readersMade_ = 0; // counted on the poller's thread
    std::chrono::milliseconds readTimeout_{50};

    ReaderFactory factory() {
        return [this] {
            ++readersMade_;
            return std::make_unique<Rrhfoem04Reader>(std::make_unique<SimulatedTransport>(module_),
                                                     recorder_.hooks(readTimeout_));
        };
    }

private slots:
    void init() {
        module_ = std::make_shared<SimulatedReaderModule>();
        recorder_ = Recorder{};
        readersMade_ = 0;
        readTimeout_ = std::chrono::milliseconds(50);
    }

    void timersDriveThePollerOnTheirOwn() {
        CardPoller poller({20, 20, false}, nullptr, factory());
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        module_->presentCard(kCardA);
        poller.start();
        QVERIFY(presented.wait(2000));
        QCOMPARE(presented.first().first().toString(), QStringLiteral("04A1B2C3"));
    }

    // A card resting on the reader is announced once; removed, put back or swapped, again.
    void oncePerPresentation() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy changes(&poller, &CardPoller::cardNumberChanged);
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        QSignalSpy removed(&poller, &CardPoller::cardRemoved);
        poller.start();
        QVERIFY(tick(poller)); // no reader yet: nothing asked
        QVERIFY(module_->commandLog().empty());
        QVERIFY(tick(poller, &CardPoller::connectTick));
        QVERIFY(tick(poller)); // nothing on the reader: nothing to say
        module_->presentCard(kCardA);
        for (int i = 0; i < 5; ++i)
            QVERIFY(tick(poller));
        QCOMPARE(poller.cardNumber(), QStringLiteral("04A1B2C3"));
        module_->removeCard();
        QVERIFY(tick(poller));
        QVERIFY(tick(poller));
        QCOMPARE(removed.count(), 1);
        module_->presentCard(kCardA);
        QVERIFY(tick(poller));
        module_->presentCard(kCardB); // swapped without a gap
        QVERIFY(tick(poller));
        QCOMPARE(values(presented), (QStringList{"04A1B2C3", "04A1B2C3", "11223344"}));
        QCOMPARE(values(changes), (QStringList{"04A1B2C3", "", "04A1B2C3", "11223344"}));
        // A screen that forgot the card (a cleared bill) hears of it again.
        poller.forgetCard();
        QVERIFY(tick(poller));
        QCOMPARE(presented.count(), 4);
    }

    // A damaged answer is one lost poll, not a lost reader.
    void badCheckValueSkipsOnePoll() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy changes(&poller, &CardPoller::cardNumberChanged);
        QSignalSpy disconnected(&poller, &CardPoller::disconnected);
        poller.start();
        QVERIFY(tick(poller, &CardPoller::connectTick));
        module_->presentCard(kCardA);
        QVERIFY(tick(poller));
        module_->setCorruptCheck(true);
        QVERIFY(tick(poller));
        module_->setCorruptCheck(false);
        QVERIFY(tick(poller));
        QCOMPARE(changes.count(), 1); // the field is left alone
        QCOMPARE(disconnected.count(), 0);
        QVERIFY(poller.isConnected());
    }

    // Unplugged or mute: the reader is dropped, a new object is tried at each connect
    // tick, and the card still lying there is announced again once it is back.
    void lostReaderComesBack_data() {
        QTest::addColumn<bool>("mute");
        QTest::addColumn<bool>("pollFromStart");
        QTest::newRow("unplugged") << false << false;
        QTest::newRow("unplugged, polling from the start") << false << true;
        QTest::newRow("mute") << true << false;
    }
    void lostReaderComesBack() {
        QFETCH(bool, mute);
        QFETCH(bool, pollFromStart);
        CardPoller poller({1000, 1000, pollFromStart}, nullptr, factory());
        QSignalSpy connected(&poller, &CardPoller::connected);
        QSignalSpy disconnected(&poller, &CardPoller::disconnected);
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        poller.start();
        QCOMPARE(poller.pollTimer()->isActive(), pollFromStart);
        QVERIFY(tick(poller, &CardPoller::connectTick));
        QVERIFY(!poller.connectTimer()->isActive() && poller.pollTimer()->isActive());
        module_->presentCard(kCardA);
        QVERIFY(tick(poller));
        QCOMPARE(presented.count(), 1);

        if (mute)
            module_->setSilent(true);
        else
            module_->setPlugged(false);
        QVERIFY(tick(poller));
        QCOMPARE(disconnected.count(), 1);
        QVERIFY(!poller.isConnected());
        QVERIFY(poller.connectTimer()->isActive());
        QVERIFY(tick(poller)); // nothing to poll while connecting
        QVERIFY(tick(poller, &CardPoller::connectTick));
        QVERIFY(tick(poller, &CardPoller::connectTick));
        QVERIFY(readersMade_ >= 2);

        module_->setSilent(false);
        module_->setPlugged(true);
        QVERIFY(tick(poller, &CardPoller::connectTick));
        QVERIFY(poller.isConnected());
        QVERIFY(poller.pollTimer()->isActive());
        QVERIFY(tick(poller));
        QCOMPARE(presented.count(), 2);
        // F2 makes a new reader object; closing the screen lets the reader go.
        connected.clear();
        poller.reconnect();
        QVERIFY(poller.connectTimer()->isActive());
        QVERIFY(tick(poller, &CardPoller::connectTick));
        QCOMPARE(connected.count(), 1);
        poller.stop();
        QVERIFY(!poller.isConnected());
        QVERIFY(!poller.connectTimer()->isActive() && !poller.pollTimer()->isActive());
    }

    // The reason for the poller's thread: while a mute reader makes each exchange wait its
    // whole read bound, the event loop of the user-interface thread keeps running.
    void aMuteReaderDoesNotHoldUpTheEventLoop() {
        readTimeout_ = std::chrono::milliseconds(1000);
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy disconnected(&poller, &CardPoller::disconnected);
        QVERIFY(tick(poller, &CardPoller::connectTick));
        module_->setSilent(true);
        int turns = 0;
        bool pollOutMeanwhile = false;
        QTimer spin;
        QObject::connect(&spin, &QTimer::timeout, [&] {
            if (++turns == 5)
                pollOutMeanwhile = poller.requestPending();
        });
        spin.start(0);
        poller.pollTick();
        QVERIFY(disconnected.wait(10000));
        QVERIFY(pollOutMeanwhile); // the fifth turn came while the exchange still waited
    }

    // A card answered during a lookup's pause is announced once the pause is over.
    void aPauseHoldsTheAnswerBack() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        QVERIFY(tick(poller, &CardPoller::connectTick));
        module_->presentCard(kCardA);
        {
            poller.pollTick();
            const PollPause pause(&poller);
            QVERIFY(QTest::qWaitFor([&] { return !poller.requestPending(); }, 10000));
            poller.pollTick(); // no new poll while paused
            QVERIFY(!poller.requestPending() && !poller.pollTimer()->isActive());
            QCOMPARE(presented.count(), 0);
        }
        QVERIFY(presented.wait(10000));
        QCOMPARE(presented.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestReaderPoller)
#include "test_reader_poller.moc"
