// Card polling against the simulated reader. The timers are driven by calling their tick
// slots, so no test sleeps for a timer interval.

#include "card_poller.h"
#include "reader_test_kit.h"

#include <QSignalSpy>
#include <QTest>

using namespace stokara::reader;
using namespace stokara::reader::testkit;

namespace {

const CardUid kCardA{0x04, 0xA1, 0xB2, 0xC3};
const CardUid kCardB{0x11, 0x22, 0x33, 0x44};

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
    int readersMade_ = 0;

    ReaderFactory factory() {
        return [this] {
            ++readersMade_;
            return std::make_unique<Rrhfoem04Reader>(
                std::make_unique<SimulatedTransport>(module_),
                recorder_.hooks(std::chrono::milliseconds(50)));
        };
    }

private slots:
    void init() {
        module_ = std::make_shared<SimulatedReaderModule>();
        recorder_ = Recorder{};
        readersMade_ = 0;
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
        poller.pollTick(); // no reader yet: nothing asked
        QVERIFY(module_->commandLog().empty());
        poller.connectTick();
        poller.pollTick(); // nothing on the reader: nothing to say
        module_->presentCard(kCardA);
        for (int i = 0; i < 5; ++i)
            poller.pollTick();
        QCOMPARE(poller.cardNumber(), QStringLiteral("04A1B2C3"));
        module_->removeCard();
        poller.pollTick();
        poller.pollTick();
        QCOMPARE(removed.count(), 1);
        module_->presentCard(kCardA);
        poller.pollTick();
        module_->presentCard(kCardB); // swapped without a gap
        poller.pollTick();
        QCOMPARE(values(presented), (QStringList{"04A1B2C3", "04A1B2C3", "11223344"}));
        QCOMPARE(values(changes), (QStringList{"04A1B2C3", "", "04A1B2C3", "11223344"}));
        // A screen that forgot the card (a cleared bill) hears of it again.
        poller.forgetCard();
        poller.pollTick();
        QCOMPARE(presented.count(), 4);
    }

    // A damaged answer is one lost poll, not a lost reader.
    void badCheckValueSkipsOnePoll() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy changes(&poller, &CardPoller::cardNumberChanged);
        QSignalSpy disconnected(&poller, &CardPoller::disconnected);
        poller.start();
        poller.connectTick();
        module_->presentCard(kCardA);
        poller.pollTick();
        module_->setCorruptCheck(true);
        poller.pollTick();
        module_->setCorruptCheck(false);
        poller.pollTick();
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
        poller.connectTick();
        QVERIFY(!poller.connectTimer()->isActive() && poller.pollTimer()->isActive());
        module_->presentCard(kCardA);
        poller.pollTick();
        QCOMPARE(presented.count(), 1);

        if (mute)
            module_->setSilent(true);
        else
            module_->setPlugged(false);
        poller.pollTick();
        QCOMPARE(disconnected.count(), 1);
        QVERIFY(!poller.isConnected());
        QVERIFY(poller.connectTimer()->isActive());
        poller.pollTick(); // nothing to poll while connecting
        poller.connectTick();
        poller.connectTick();
        QVERIFY(readersMade_ >= 2);

        module_->setSilent(false);
        module_->setPlugged(true);
        poller.connectTick();
        QVERIFY(poller.isConnected());
        QVERIFY(poller.pollTimer()->isActive());
        poller.pollTick();
        QCOMPARE(presented.count(), 2);
        // F2 makes a new reader object; closing the screen lets the reader go.
        poller.reconnect();
        QVERIFY(poller.connectTimer()->isActive());
        poller.connectTick();
        QVERIFY(poller.reader()->isConnected());
        poller.stop();
        QVERIFY(!poller.reader() && !poller.isConnected());
        QVERIFY(!poller.connectTimer()->isActive() && !poller.pollTimer()->isActive());
    }
};

QTEST_GUILESS_MAIN(TestReaderPoller)
#include "test_reader_poller.moc"
