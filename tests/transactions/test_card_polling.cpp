// Cards presented on a simulated reader module, polled by the item sale screen (after F2)
// and the card recharge screen (from its opening). Most tests drive the poller's tick slots
// so that no test waits for a timer; the reader's fixed pauses cost nothing here.

#include "card_poller.h"
#include "simulated_reader.h"
#include "support/test_session.h"
#include "test_day_book_seed.h"
#include "transactions/card_recharge_screen.h"
#include "transactions/item_sale_screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace stokara;
using reader::CardPoller;
using reader::CardUid;
using reader::SimulatedReaderModule;

namespace {

const CardUid kRameshCard{0x1A, 0x2B, 0x3C, 0x4D};
const QString kRameshCardText = QStringLiteral("1A2B3C4D");
const CardUid kUnknownCard{0xFF, 0xEE, 0xDD, 0xCC};
const QString kConnected = QStringLiteral("Item Sale - Reader Connected");

} // namespace

class TestCardPolling : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    std::shared_ptr<SimulatedReaderModule> module;
    std::unique_ptr<QWidget> screen;
    CardPoller* poller = nullptr;
    int readersMade = 0;

    reader::ReaderFactory factory() {
        return [this] {
            ++readersMade;
            reader::ReaderHooks hooks;
            hooks.wait = [](int) {};
            hooks.readTimeout = std::chrono::milliseconds(50);
            return std::make_unique<reader::Rrhfoem04Reader>(
                std::make_unique<reader::SimulatedTransport>(module), hooks);
        };
    }

    template <class W = QWidget> W* find(const char* name) {
        auto* w = screen->findChild<W*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QString text(const char* name) { return edit(name)->text(); }
    QString nameLabel() { return find<QLabel>("LblMilkman")->text(); }
    QString picker() { return find<QComboBox>("Dc1")->currentText(); }
    bool focused(const char* name) {
        QTest::qWait(0);
        return find(name)->hasFocus();
    }

    // Where a card's lookup sends the focus, and the screen's own caption.
    static const char* nextField(const QString& which) {
        return which == QLatin1String("FrmItemsale") ? "Item_name" : "TxtAmount";
    }
    static QString caption(const QString& which) {
        return which == QLatin1String("FrmItemsale") ? QStringLiteral("Item Sale")
                                                     : QStringLiteral("Card Recharge");
    }

    // Opens the screen with the simulated reader and gets its poller going: F2 on the
    // sale screen, the opening itself on the recharge screen.
    void open(const QString& which) {
        if (which == QLatin1String("FrmItemsale")) {
            auto* sale = new transactions::ItemSaleScreen(t->session);
            sale->setReaderFactory(factory());
            screen.reset(sale);
            QVERIFY(test::showActive(sale));
            QVERIFY(!sale->cardPoller());
            QTest::keyClick(edit("TxtPartyCode"), Qt::Key_F2);
            poller = sale->cardPoller();
        } else {
            auto* recharge = new transactions::CardRechargeScreen(t->session);
            recharge->setReaderFactory(factory());
            screen.reset(recharge);
            QVERIFY(test::showActive(recharge));
            poller = recharge->cardPoller();
        }
        QVERIFY(poller);
        QVERIFY(poller->connectTimer()->isActive());
    }
    void connectReader() {
        poller->connectTick();
        QVERIFY(poller->isConnected());
    }
    void present(const CardUid& card) {
        module->presentCard(card);
        poller->pollTick();
    }
    void takeAway() {
        module->removeCard();
        poller->pollTick();
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
        test::addParty(t->db(), QStringLiteral("7"), QStringLiteral("Ramesh"),
                       QStringLiteral("MilkMan"), kRameshCardText);
        test::addParty(t->db(), QStringLiteral("9"), QStringLiteral("Shyam"),
                       QStringLiteral("MilkMan"));
        module = std::make_shared<SimulatedReaderModule>();
        readersMade = 0;
    }
    void cleanup() {
        poller = nullptr;
        screen.reset();
    }

    void connectingShowsTheReaderCaption_data() { screens(); }
    void connectingShowsTheReaderCaption() {
        QFETCH(QString, which);
        open(which);
        QCOMPARE(poller->connectTimer()->interval(), 1000);
        QCOMPARE(poller->pollTimer()->interval(), 1000);
        QVERIFY(!poller->pollTimer()->isActive());
        // No reader yet: nothing changes and nothing is said.
        module->setPlugged(false);
        poller->connectTick();
        QCOMPARE(screen->windowTitle(), caption(which));
        module->setPlugged(true);
        connectReader();
        QCOMPARE(screen->windowTitle(), kConnected);
        QVERIFY(poller->pollTimer()->isActive());
        QVERIFY(!poller->connectTimer()->isActive());
        QVERIFY(t->dialogs.shown.isEmpty());
    }

    void presentedCardSelectsThePartyOnce_data() { screens(); }
    void presentedCardSelectsThePartyOnce() {
        QFETCH(QString, which);
        open(which);
        connectReader();
        present(kRameshCard);
        QCOMPARE(text("TxtCardNo"), kRameshCardText);
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        QCOMPARE(picker(), QStringLiteral("Ramesh"));
        QVERIFY(!edit("TxtPartyCode")->isEnabled());
        QVERIFY(focused(nextField(which)));

        // However long the card rests, it is looked up once.
        find<QLabel>("LblMilkman")->clear();
        poller->pollTick();
        poller->pollTick();
        QCOMPARE(nameLabel(), QString());

        // Taken away: the card number leaves the field, the party stays.
        takeAway();
        QCOMPARE(text("TxtCardNo"), QString());
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        QVERIFY(!edit("TxtPartyCode")->isEnabled());

        // Presented again: a new lookup.
        present(kRameshCard);
        QCOMPARE(text("TxtCardNo"), kRameshCardText);
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        QVERIFY(t->dialogs.shown.isEmpty());
    }

    void unregisteredCardIsAWrongCard_data() { screens(); }
    void unregisteredCardIsAWrongCard() {
        QFETCH(QString, which);
        open(which);
        connectReader();
        typeAndEnterCode(which, QStringLiteral("9"));
        present(kUnknownCard);
        QCOMPARE(t->dialogs.texts(), QStringList{QStringLiteral("Wrong Card.")});
        QCOMPARE(t->dialogs.shown[0].icon, core::Icon::Information);
        // Titled with the caption of the moment.
        QCOMPARE(t->dialogs.shown[0].title, kConnected);
        QCOMPARE(text("TxtCardNo"), QString());
        QCOMPARE(text("TxtPartyCode"), QString());
        QCOMPARE(nameLabel(), QStringLiteral(" "));
        QVERIFY(edit("TxtPartyCode")->isEnabled());
        QVERIFY(focused("TxtPartyCode"));
        // The card resting on the reader is not refused again at every poll.
        poller->pollTick();
        poller->pollTick();
        QCOMPARE(t->dialogs.shown.size(), 1);
        // Taken away and presented again: refused again.
        takeAway();
        present(kUnknownCard);
        QCOMPARE(t->dialogs.shown.size(), 2);
        // A registered card after the wrong one selects its party.
        takeAway();
        present(kRameshCard);
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        QCOMPARE(t->dialogs.shown.size(), 2);
    }

    void lostReaderLeavesTypedCardsWorking_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<bool>("unplugged");
        for (const char* which : {"FrmItemsale", "FrmCardRecharge"}) {
            QTest::addRow("%s unplugged", which) << QString::fromLatin1(which) << true;
            QTest::addRow("%s silent", which) << QString::fromLatin1(which) << false;
        }
    }
    void lostReaderLeavesTypedCardsWorking() {
        QFETCH(QString, which);
        QFETCH(bool, unplugged);
        open(which);
        connectReader();
        if (unplugged)
            module->setPlugged(false);
        else
            module->setSilent(true);
        poller->pollTick();
        QVERIFY(!poller->isConnected());
        QCOMPARE(screen->windowTitle(), caption(which));
        QVERIFY(poller->connectTimer()->isActive());
        if (unplugged) {
            poller->connectTick();
            QVERIFY(!poller->isConnected());
            QCOMPARE(screen->windowTitle(), caption(which));
        }
        QVERIFY(t->dialogs.shown.isEmpty());

        // Typed card numbers still find their party.
        test::typeAndEnter(edit("TxtCardNo"), kRameshCardText);
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        QVERIFY(!edit("TxtPartyCode")->isEnabled());

        // The reader comes back: connected again, and cards are read again.
        module->setPlugged(true);
        module->setSilent(false);
        poller->connectTick();
        QCOMPARE(screen->windowTitle(), kConnected);
        find<QLabel>("LblMilkman")->clear();
        present(kRameshCard);
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        QVERIFY(t->dialogs.shown.isEmpty());
    }

    // A message box runs its own event loop; no poll (and no second lookup) runs under it.
    void noPollWhileAMessageIsOpen_data() { screens(); }
    void noPollWhileAMessageIsOpen() {
        QFETCH(QString, which);
        struct WatchingDialogs : test::ScriptedDialogs {
            CardPoller** poller = nullptr;
            QList<bool> pollingDuringMessage;
            core::Answer message(core::Icon icon, const QString& title, const QString& text,
                                 core::Buttons buttons) override {
                pollingDuringMessage << (*poller)->pollTimer()->isActive();
                return ScriptedDialogs::message(icon, title, text, buttons);
            }
        } dialogs;
        dialogs.poller = &poller;
        t->session.dialogs = &dialogs;
        open(which);
        connectReader();
        QVERIFY(poller->pollTimer()->isActive());
        present(kUnknownCard);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Wrong Card.")});
        QCOMPARE(dialogs.pollingDuringMessage, QList<bool>{false});
        // Polling goes on once the message is answered.
        QVERIFY(poller->pollTimer()->isActive());
        cleanup();
    }

    // A failing lookup is reported for the card field's change handler and changes nothing.
    void failingLookupIsShown_data() { screens(); }
    void failingLookupIsShown() {
        QFETCH(QString, which);
        open(which);
        connectReader();
        typeAndEnterCode(which, QStringLiteral("9"));
        t->db().exec(QStringLiteral("alter table masparty rename to masparty_away"));
        present(kRameshCard);
        QCOMPARE(t->dialogs.shown.size(), 1);
        QCOMPARE(t->dialogs.shown[0].icon, core::Icon::Critical);
        QVERIFY2(t->dialogs.shown[0].text.contains(QLatin1String("TxtCardNo_Change")),
                 qPrintable(t->dialogs.shown[0].text));
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("9"));
        QCOMPARE(nameLabel(), QStringLiteral("Shyam"));
        QVERIFY(edit("TxtPartyCode")->isEnabled());
    }

    // F2 on the sale screen keeps clearing the entry, and a later F2 reconnects the reader
    // with a new reader object.
    void saleF2ClearsAndReconnects() {
        open(QStringLiteral("FrmItemsale"));
        connectReader();
        QCOMPARE(readersMade, 1);
        present(kRameshCard);
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
        QTest::keyClick(find("Item_name"), Qt::Key_F2);
        QCOMPARE(text("TxtPartyCode"), QString());
        QCOMPARE(text("TxtCardNo"), QString());
        QVERIFY(edit("TxtPartyCode")->isEnabled());
        QVERIFY(focused("text2"));
        QVERIFY(poller->connectTimer()->isActive());
        poller->connectTick();
        QCOMPARE(readersMade, 2);
        QVERIFY(poller->isConnected());
        QCOMPARE(screen->windowTitle(), kConnected);
        // The new reader reads cards.
        takeAway();
        present(kRameshCard);
        QCOMPARE(text("TxtPartyCode"), QStringLiteral("7"));
    }

    // Without F2 the sale screen makes no poller and touches no reader.
    void saleScreenPollsOnlyAfterF2() {
        auto* sale = new transactions::ItemSaleScreen(t->session);
        sale->setReaderFactory(factory());
        screen.reset(sale);
        QVERIFY(test::showActive(sale));
        QVERIFY(!sale->cardPoller());
        QCOMPARE(readersMade, 0);
        QVERIFY(module->commandLog().empty());
    }

    // The recharge screen polls from its opening, with its own reader.
    void rechargePollsFromItsOpening() {
        transactions::CardRechargeScreen recharge(t->session);
        QVERIFY(recharge.cardPoller());
        QVERIFY(recharge.cardPoller()->connectTimer()->isActive());
        QVERIFY(!recharge.cardPoller()->pollTimer()->isActive());
        // Stopped before any tick, so that this test touches no USB device.
        recharge.cardPoller()->stop();
    }

    // The real timers: connected within a second or two, a card selected on the next poll.
    void timersConnectAndPoll_data() { screens(); }
    void timersConnectAndPoll() {
        QFETCH(QString, which);
        open(which);
        QTRY_COMPARE_WITH_TIMEOUT(screen->windowTitle(), kConnected, 2500);
        module->presentCard(kRameshCard);
        QTRY_COMPARE_WITH_TIMEOUT(text("TxtPartyCode"), QStringLiteral("7"), 2500);
        QCOMPARE(nameLabel(), QStringLiteral("Ramesh"));
        module->setPlugged(false);
        QTRY_COMPARE_WITH_TIMEOUT(screen->windowTitle(), caption(which), 2500);
    }

private:
    void typeAndEnterCode(const QString& which, const QString& code) {
        test::typeAndEnter(edit("TxtPartyCode"), code);
        QCOMPARE(nameLabel(), QStringLiteral("Shyam"));
        Q_UNUSED(which);
    }
};

QTEST_MAIN(TestCardPolling)
#include "test_card_polling.moc"
