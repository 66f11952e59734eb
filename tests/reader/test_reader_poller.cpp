// Card polling against the simulated reader. The timers are driven by calling their tick
// slots, so no test sleeps for a timer interval.

#include "card_poller.h"
#include "reader_test_kit.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace stokara::reader;
using namespace stokara::reader::testkit;

Q_DECLARE_METATYPE(stokara::reader::PollSchedule)

namespace {

const CardUid kCardA{0x04, 0xA1, 0xB2, 0xC3};
const CardUid kCardB{0x11, 0x22, 0x33, 0x44};

} // namespace

class TestReaderPoller : public QObject {
    Q_OBJECT

    std::shared_ptr<SimulatedReaderModule> module_;
    Recorder recorder_;
    int readersMade_ = 0;

    ReaderFactory factory(std::chrono::milliseconds readTimeout = std::chrono::milliseconds(50)) {
        return [this, readTimeout] {
            ++readersMade_;
            return std::make_unique<Rrhfoem04Reader>(std::make_unique<SimulatedTransport>(module_),
                                                     recorder_.hooks(readTimeout));
        };
    }

private slots:
    void init() {
        module_ = std::make_shared<SimulatedReaderModule>();
        recorder_ = Recorder{};
        readersMade_ = 0;
    }

    void schedules_data() {
        QTest::addColumn<PollSchedule>("schedule");
        QTest::addColumn<int>("pollInterval");
        QTest::addColumn<bool>("pollsFromStart");
        QTest::newRow("FrmSaleOrignal") << PollSchedule::saleOriginal() << 2700 << true;
        QTest::newRow("FrmCardRecharge") << PollSchedule::cardRecharge() << 1000 << false;
        QTest::newRow("masparty") << PollSchedule::partyMaster() << 1000 << false;
        QTest::newRow("FrmItemsale") << PollSchedule::itemSale() << 1000 << false;
    }
    void schedules() {
        QFETCH(PollSchedule, schedule);
        QFETCH(int, pollInterval);
        QFETCH(bool, pollsFromStart);
        CardPoller poller(schedule, nullptr, factory());
        QCOMPARE(poller.connectTimer()->interval(), 1000);
        QCOMPARE(poller.pollTimer()->interval(), pollInterval);
        QVERIFY(!poller.connectTimer()->isActive());
        poller.start();
        QVERIFY(poller.connectTimer()->isActive());
        QCOMPARE(poller.pollTimer()->isActive(), pollsFromStart);

        // A poll before any reader exists does nothing.
        QSignalSpy changes(&poller, &CardPoller::cardNumberChanged);
        module_->presentCard(kCardA);
        poller.pollTick();
        QCOMPARE(changes.count(), 0);
        QVERIFY(module_->commandLog().empty());

        QSignalSpy connected(&poller, &CardPoller::connected);
        poller.connectTick();
        QCOMPARE(connected.count(), 1);
        QVERIFY(poller.isConnected());
        QVERIFY(!poller.connectTimer()->isActive());
        QVERIFY(poller.pollTimer()->isActive());
        QCOMPARE(CardPoller::kConnectedCaption, QStringLiteral("Item Sale - Reader Connected"));
    }

    void timersDriveThePollerOnTheirOwn() {
        CardPoller poller({20, 20, false}, nullptr, factory());
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        module_->presentCard(kCardA);
        poller.start();
        QVERIFY(presented.wait(2000));
        QCOMPARE(presented.first().first().toString(), QStringLiteral("04A1B2C3"));
    }

    void noReaderKeepsTryingWithNewObjects() {
        module_->setPlugged(false);
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy connected(&poller, &CardPoller::connected);
        poller.start();
        for (int i = 0; i < 3; ++i) {
            poller.connectTick();
        }
        QCOMPARE(readersMade_, 3);
        QCOMPARE(connected.count(), 0);
        QVERIFY(poller.connectTimer()->isActive());
        QVERIFY(!poller.pollTimer()->isActive());
        module_->setPlugged(true);
        poller.connectTick();
        QCOMPARE(readersMade_, 4);
        QCOMPARE(connected.count(), 1);
    }

    void oncePerPresentation() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        QSignalSpy changes(&poller, &CardPoller::cardNumberChanged);
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        QSignalSpy removed(&poller, &CardPoller::cardRemoved);
        poller.start();
        poller.connectTick();

        poller.pollTick(); // nothing on the reader: nothing to say
        QCOMPARE(changes.count(), 0);

        module_->presentCard(kCardA);
        for (int i = 0; i < 5; ++i) {
            poller.pollTick(); // resting on the reader
        }
        QCOMPARE(presented.count(), 1);
        QCOMPARE(presented.at(0).at(0).toString(), QStringLiteral("04A1B2C3"));
        QCOMPARE(poller.cardNumber(), QStringLiteral("04A1B2C3"));

        module_->removeCard();
        poller.pollTick();
        poller.pollTick();
        QCOMPARE(removed.count(), 1);

        module_->presentCard(kCardA);
        poller.pollTick();
        QCOMPARE(presented.count(), 2);

        module_->presentCard(kCardB); // swapped without a gap
        poller.pollTick();
        QCOMPARE(presented.count(), 3);
        QCOMPARE(presented.at(2).at(0).toString(), QStringLiteral("11223344"));

        QStringList values;
        for (const auto& call : changes) {
            values << call.at(0).toString();
        }
        QCOMPARE(values, (QStringList{"04A1B2C3", "", "04A1B2C3", "11223344"}));
    }

    void forgottenCardIsAnnouncedAgain() {
        CardPoller poller(PollSchedule::itemSale(), nullptr, factory());
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        poller.start();
        poller.connectTick();
        module_->presentCard(kCardA);
        poller.pollTick();
        poller.pollTick();
        QCOMPARE(presented.count(), 1);
        poller.forgetCard();
        QCOMPARE(poller.cardNumber(), QString());
        poller.pollTick();
        poller.pollTick();
        QCOMPARE(presented.count(), 2);
    }

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
        QCOMPARE(changes.count(), 1); // the field is left alone
        QCOMPARE(disconnected.count(), 0);
        QVERIFY(poller.isConnected());
        module_->setCorruptCheck(false);
        poller.pollTick();
        QCOMPARE(changes.count(), 1);
    }

    void unpluggedAndBack_data() {
        QTest::addColumn<PollSchedule>("schedule");
        QTest::newRow("FrmSaleOrignal") << PollSchedule::saleOriginal();
        QTest::newRow("FrmCardRecharge") << PollSchedule::cardRecharge();
        QTest::newRow("masparty") << PollSchedule::partyMaster();
    }
    void unpluggedAndBack() {
        QFETCH(PollSchedule, schedule);
        CardPoller poller(schedule, nullptr, factory());
        QSignalSpy connected(&poller, &CardPoller::connected);
        QSignalSpy disconnected(&poller, &CardPoller::disconnected);
        QSignalSpy presented(&poller, &CardPoller::cardPresented);
        poller.start();
        poller.connectTick();
        module_->presentCard(kCardA);
        poller.pollTick();
        QCOMPARE(presented.count(), 1);

        module_->setPlugged(false);
        poller.pollTick();
        QCOMPARE(disconnected.count(), 1);
        QVERIFY(!poller.isConnected());
        QVERIFY(poller.connectTimer()->isActive());
        QCOMPARE(poller.pollTimer()->isActive(), schedule.pollFromStart);
        poller.pollTick(); // nothing to poll while connecting
        poller.connectTick();
        QCOMPARE(connected.count(), 1);

        module_->setPlugged(true);
        poller.connectTick();
        QCOMPARE(connected.count(), 2);
        QVERIFY(poller.pollTimer()->isActive());
        // The card still on the reader counts as presented again.
        poller.pollTick();
        QCOMPARE(presented.count(), 2);
    }

    void mutedReaderIsDroppedWithinTheBound() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr,
                          factory(std::chrono::milliseconds(100)));
        QSignalSpy disconnected(&poller, &CardPoller::disconnected);
        poller.start();
        poller.connectTick();
        module_->setSilent(true);
        QElapsedTimer clock;
        clock.start();
        poller.pollTick();
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(disconnected.count(), 1);
        QVERIFY(poller.connectTimer()->isActive());
    }

    void reconnectReplacesTheReader() {
        CardPoller poller(PollSchedule::saleOriginal(), nullptr, factory());
        QSignalSpy connected(&poller, &CardPoller::connected);
        poller.start();
        poller.connectTick();
        const Rrhfoem04Reader* first = poller.reader();
        QVERIFY(first);
        poller.reconnect(); // F2
        QVERIFY(poller.connectTimer()->isActive());
        poller.connectTick();
        QCOMPARE(readersMade_, 2);
        QCOMPARE(connected.count(), 2);
        QVERIFY(!poller.connectTimer()->isActive());
        QVERIFY(poller.reader()->isConnected());
    }

    void stopReleasesTheReader() {
        CardPoller poller(PollSchedule::cardRecharge(), nullptr, factory());
        poller.start();
        poller.connectTick();
        poller.stop();
        QVERIFY(!poller.reader());
        QVERIFY(!poller.isConnected());
        QVERIFY(!poller.connectTimer()->isActive());
        QVERIFY(!poller.pollTimer()->isActive());
    }
};

QTEST_GUILESS_MAIN(TestReaderPoller)
#include "test_reader_poller.moc"
