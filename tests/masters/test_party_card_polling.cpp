// The party master reading cards from the simulated reader module (STOKARA_READER=simulated,
// the module the program itself would use). The timers are driven by their tick slots; each
// exchange keeps the protocol's own 100 ms pause.

#include "masters/party_screen.h"
#include "screen_test_kit.h"

#include "card_poller.h"
#include "core/database.h"
#include "simulated_reader.h"

#include <QTimer>

using namespace stokara;
using namespace stokara::test;
using masters::PartyScreen;
using reader::CardPoller;
using reader::SimulatedReaderModule;

namespace {

const reader::CardUid kCard{0x0A, 0x1B, 0x2C, 0x3D};
const QString kCardText = QStringLiteral("0A1B2C3D");
const QString kConnected = QStringLiteral("Item Sale - Reader Connected");

} // namespace

class TestPartyCardPolling : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<PartyScreen> screen;
    std::shared_ptr<SimulatedReaderModule> module;

    core::Database& db() { return ts->db(); }
    QLineEdit* f(const char* name) { return control(screen.get(), name); }
    CardPoller* poller() { return screen->cardPoller(); }

private slots:
    void initTestCase() { qputenv("STOKARA_READER", "simulated"); }
    void init() {
        STOKARA_REQUIRE_DATABASE();
        ts = std::make_unique<TestSession>();
        module = SimulatedReaderModule::shared();
        module->setPlugged(true);
        module->setSilent(false);
        module->removeCard();
        db().exec("insert into masparty (party_code, party_name, category, active) "
                  "values ('5', 'Mohan', 'MilkMan', 'Y')");
        screen = std::make_unique<PartyScreen>(ts->session);
        activate(screen.get());
    }
    void cleanup() { screen.reset(); }

    void cardNumberIsKeptAndSavedWithoutLookup() {
        QCOMPARE(poller()->connectTimer()->interval(), 1000);
        QCOMPARE(poller()->pollTimer()->interval(), 1000);
        QVERIFY(poller()->connectTimer()->isActive());
        QVERIFY(!poller()->pollTimer()->isActive());

        // Reader not there yet: the screen keeps its caption and says nothing.
        module->setPlugged(false);
        poller()->connectTick();
        QCOMPARE(screen->windowTitle(), PartyScreen::caption());
        module->setPlugged(true);
        poller()->connectTick();
        QCOMPARE(screen->windowTitle(), kConnected);
        QVERIFY(poller()->pollTimer()->isActive());

        clickRow(control<QTableWidget>(screen.get(), "VsGrid"), 0);
        QCOMPARE(f("TxtPartyCode")->text(), QStringLiteral("5"));
        module->presentCard(kCard);
        poller()->pollTick();
        // The card fills the card number and nothing else.
        QCOMPARE(f("TxtCardNo")->text(), kCardText);
        QCOMPARE(f("TxtPartyCode")->text(), QStringLiteral("5"));
        QCOMPARE(f("TxtParty_name")->text(), QStringLiteral("Mohan"));
        // Taking the card away before Save does not lose its number.
        module->removeCard();
        poller()->pollTick();
        QCOMPARE(f("TxtCardNo")->text(), kCardText);
        clickButton(screen.get(), "Command8");
        QCOMPARE(db().scalar("select CardNo from masparty where party_code = '5'").toString(),
                 kCardText);
        QVERIFY(!ts->dialogs.texts().contains(QStringLiteral("Wrong Card.")));
    }

    void unpluggedReaderComesBack() {
        poller()->connectTick();
        QCOMPARE(screen->windowTitle(), kConnected);
        module->setPlugged(false);
        poller()->pollTick();
        QCOMPARE(screen->windowTitle(), PartyScreen::caption());
        // A card number typed meanwhile stays.
        typeInto(f("TxtCardNo"), QStringLiteral("11112222"));
        poller()->connectTick();
        QCOMPARE(f("TxtCardNo")->text(), QStringLiteral("11112222"));
        module->setPlugged(true);
        poller()->connectTick();
        QCOMPARE(screen->windowTitle(), kConnected);
        module->presentCard(kCard);
        poller()->pollTick();
        QCOMPARE(f("TxtCardNo")->text(), kCardText);
        QVERIFY(ts->dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestPartyCardPolling)
#include "test_party_card_polling.moc"
