// Cards presented on a simulated reader module, polled by the item sale screen
// (after F2) and the card recharge screen (from its opening). The tests drive
// the poller's ticks, so none waits for a timer, only for the answer of the
// poller's thread.

#include "reader/card_poller.h"
#include "reader/simulated_reader.h"
#include "sale_test_data.h"
#include "support/test_session.h"
#include "transactions/card_recharge_screen.h"
#include "transactions/item_sale_screen.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace stokara;
using reader::CardPoller;
using reader::CardUid;

namespace {

const CardUid kRameshCard{0x1A, 0x2B, 0x3C, 0x4D};
const CardUid kUnknownCard{0xFF, 0xEE, 0xDD, 0xCC};
const QString kConnected = QStringLiteral("Item Sale - Reader Connected");

} // namespace

class TestCardPolling : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    std::shared_ptr<reader::SimulatedReaderModule> module;
    std::unique_ptr<QWidget> screen;
    CardPoller* poller = nullptr;
    int readersMade = 0;

    QLineEdit* edit(const char* name) {
        auto* w = screen->findChild<QLineEdit*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString text(const char* name) { return edit(name)->text(); }
    QString nameLabel() { return screen->findChild<QLabel*>(QStringLiteral("LblMilkman"))->text(); }
    void typeAndEnter(QLineEdit* field, const QString& typed) {
        field->setFocus();
        field->setText(typed);
        QTest::keyClick(field, Qt::Key_Return);
    }

    void tick(void (CardPoller::*slot)()) {
        const auto idle = [this] { return !poller->requestPending(); };
        QVERIFY(QTest::qWaitFor(idle, 10000));
        (poller->*slot)();
        QVERIFY(QTest::qWaitFor(idle, 10000));
    }

    // The sale screen polls after F2, the recharge screen from its opening.
    void open(const QString& which) {
        auto factory = [this] {
            ++readersMade;
            reader::ReaderHooks hooks;
            hooks.wait = [](int) {};
            hooks.readTimeout = std::chrono::milliseconds(50);
            return std::make_unique<reader::Rrhfoem04Reader>(
                std::make_unique<reader::SimulatedTransport>(module), hooks);
        };
        if (which == QLatin1String("FrmItemsale")) {
            auto* sale = new transactions::ItemSaleScreen(t->session);
            sale->setReaderFactory(factory);
            screen.reset(sale);
            QVERIFY(!sale->cardPoller()); // no reader touched before F2
            QTest::keyClick(edit("TxtPartyCode"), Qt::Key_F2);
            poller = sale->cardPoller();
        } else {
            auto* recharge = new transactions::CardRechargeScreen(t->session);
            recharge->setReaderFactory(factory);
            screen.reset(recharge);
            poller = recharge->cardPoller();
        }
        screen->show();
        QApplication::setActiveWindow(screen.get());
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        QVERIFY(poller);
        tick(&CardPoller::connectTick);
        QVERIFY(poller->isConnected());
        QCOMPARE(screen->windowTitle(), kConnected);
    }
    void present(const CardUid& card) {
        module->presentCard(card);
        tick(&CardPoller::pollTick);
    }
    void takeAway() {
        module->removeCard();
        tick(&CardPoller::pollTick);
    }
    static void screens() {
        QTest::addColumn<QString>("which");
        QTest::newRow("FrmItemsale") << QStringLiteral("FrmItemsale");
        QTest::newRow("FrmCardRecharge") << QStringLiteral("FrmCardRecharge");
    }

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<test::TestSession>();
        test::sale::addParty(t->db(), "7", "Ramesh", "MilkMan", "1A2B3C4D");
        test::sale::addParty(t->db(), "9", "Shyam");
        module = std::make_shared<reader::SimulatedReaderModule>();
        readersMade = 0;
    }
    void cleanup() {
        poller = nullptr;
        screen.reset();
    }

    void aCardIsLookedUpOncePerPresentation_data() { screens(); }
    void aCardIsLookedUpOncePerPresentation() {
        QFETCH(QString, which);
        open(which);
        present(kRameshCard);
        QCOMPARE(text("TxtCardNo"), QStringLiteral("1A2B3C4D"));
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        QVERIFY(!edit("TxtPartyCode")->isEnabled());
        // However long the card rests, it is looked up once.
        screen->findChild<QLabel*>(QStringLiteral("LblMilkman"))->clear();
        tick(&CardPoller::pollTick);
        tick(&CardPoller::pollTick);
        QCOMPARE(nameLabel(), QString());
        // Taken away: its number leaves the field, the party stays.
        takeAway();
        QCOMPARE(text("TxtCardNo"), QString());
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        present(kRameshCard);
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        QVERIFY(t->dialogs.shown.isEmpty());
    }

    void anUnknownCardIsRefusedOncePerPresentation_data() { screens(); }
    void anUnknownCardIsRefusedOncePerPresentation() {
        QFETCH(QString, which);
        open(which);
        present(kUnknownCard);
        QCOMPARE(t->dialogs.texts(), QStringList{"Wrong Card."});
        QCOMPARE(t->dialogs.shown[0].title, kConnected); // the caption of the moment
        QCOMPARE(text("TxtCardNo"), QString());
        QCOMPARE(text("TxtPartyCode"), QString());
        QVERIFY(edit("TxtPartyCode")->isEnabled());
        tick(&CardPoller::pollTick);
        QCOMPARE(t->dialogs.shown.size(), 1);
        takeAway();
        present(kUnknownCard);
        QCOMPARE(t->dialogs.shown.size(), 2);
    }

    void anUnpluggedReaderLeavesTypedCardsWorking_data() { screens(); }
    void anUnpluggedReaderLeavesTypedCardsWorking() {
        QFETCH(QString, which);
        open(which);
        const QString caption = which == QLatin1String("FrmItemsale")
                                    ? QStringLiteral("Item Sale")
                                    : QStringLiteral("Card Recharge");
        module->setPlugged(false);
        tick(&CardPoller::pollTick);
        tick(&CardPoller::connectTick);
        QVERIFY(!poller->isConnected());
        QCOMPARE(screen->windowTitle(), caption);
        QVERIFY(t->dialogs.shown.isEmpty());
        typeAndEnter(edit("TxtCardNo"), "1A2B3C4D");
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        // Plugged in again: connected, and cards are read again.
        module->setPlugged(true);
        tick(&CardPoller::connectTick);
        QCOMPARE(screen->windowTitle(), kConnected);
        takeAway();
        present(kRameshCard);
        QCOMPARE(text("TxtCardNo"), QStringLiteral("1A2B3C4D"));
        QVERIFY(t->dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestCardPolling)
#include "test_card_polling.moc"
