#include "app_test_kit.h"

#include "app/main_window.h"
#include "app/menu_table.h"

#include "core/app_info.h"
#include "core_ui/screen_support.h"
#include "masters/register_screens.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

using namespace stokara;
using stokara::test::TestSession;

namespace {

struct Harness {
    TestSession t;
    core_ui::ScreenRegistry registry;
    int quits = 0;
    QStringList started; // program then arguments
    bool startWorks = true;
    QStringList kindsSeen;
    std::unique_ptr<app::MainWindow> window;

    void build() {
        app::MainWindowHooks hooks;
        hooks.quit = [this] { ++quits; };
        hooks.startDetached = [this](const QString& program, const QStringList& args) {
            started = QStringList{program} + args;
            return startWorks;
        };
        hooks.repairProgram = "/opt/stokara/stokara";
        hooks.repairArguments = {"--data-dir", "/d", "--database", "sqlite:/d/dairy.db"};
        window = std::make_unique<app::MainWindow>(t.session, registry, hooks);
        window->show();
    }
    void registerPlain(const QString& name) {
        registry.add(name, [this, name](core::Session& s) {
            kindsSeen << s.statementKind;
            auto* w = new QWidget;
            w->setObjectName(name);
            w->setWindowTitle(name + " caption");
            return w;
        });
    }
    int subWindows(const QString& name) {
        int n = 0;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
            n += sub->objectName() == name;
        return n;
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every row of the menu table becomes an action in its menu, with its caption
    // and shortcut; hidden rows stay hidden.
    void menusAreBuiltFromTheirTable() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.build();
        for (const app::MenuEntry& e : app::menuTable()) {
            QAction* action = h.window->entry(QString::fromUtf8(*e.entry ? e.entry : e.menu));
            QVERIFY2(action, e.caption);
            QCOMPARE(action->text(), QString::fromUtf8(e.caption));
            QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(e.shortcut)));
            QCOMPARE(action->isVisible(), !e.hidden);
            auto* menu = h.window->menuBar()->findChild<QMenu*>(QString::fromUtf8(e.menu));
            QVERIFY(*e.entry ? menu && menu->title() == QString::fromUtf8(e.menuCaption) &&
                                   menu->actions().contains(action)
                             : h.window->menuBar()->actions().contains(action));
        }
    }

    void onlyRegisteredScreensAreEnabled() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.registerPlain("masparty");
        h.build();
        QVERIFY(h.window->entry("mnucompany")->isEnabled());
        QVERIFY(!h.window->entry("FrmComp")->isEnabled());
        QVERIFY(!h.window->entry("MnuBsheet")->isVisible());
        QVERIFY(!h.window->entry("MnuLItemST")->isVisible());
        QVERIFY(h.window->entry("MnuDR")->isEnabled());
        QVERIFY(h.window->entry("MnuRepDB")->isEnabled());
        const int before = h.window->mdiArea()->subWindowList().size();
        h.window->entry("FrmComp")->trigger(); // disabled: nothing opens
        QCOMPARE(h.window->mdiArea()->subWindowList().size(), before);
        QVERIFY(!h.window->showScreen("FrmCompany"));
    }

    void openScreenIsBroughtToFront() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.registerPlain("masparty");
        h.registerPlain("frmmasitem");
        h.build();
        h.window->entry("mnucompany")->trigger();
        QCOMPARE(h.subWindows("masparty"), 1);
        QCOMPARE(h.window->subWindow("masparty")->windowTitle(), QString("masparty caption"));
        h.window->entry("MnuItem")->trigger();
        QCOMPARE(h.window->mdiArea()->activeSubWindow()->objectName(), QString("frmmasitem"));
        h.window->entry("mnucompany")->trigger();
        QCOMPARE(h.subWindows("masparty"), 1);
        QCOMPARE(h.window->mdiArea()->activeSubWindow()->objectName(), QString("masparty"));
        QCOMPARE(h.kindsSeen.size(), 2); // created once each
        // A screen closing itself (its Cancel) takes its window along; the
        // menu opens a new one.
        h.window->subWindow("masparty")->widget()->close();
        QTRY_COMPARE(h.subWindows("masparty"), 0);
        h.window->entry("mnucompany")->trigger();
        QCOMPARE(h.subWindows("masparty"), 1);
    }

    void statementEntriesSetTheKindFirst() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.registerPlain("FrmItemSaleStatement");
        h.build();
        h.window->entry("Mnuitpu")->trigger();
        QCOMPARE(h.t.session.statementKind, QString("itempurchase"));
        h.window->entry("mnuItSalest")->trigger();
        QCOMPARE(h.t.session.statementKind, QString("itemsale"));
        QCOMPARE(h.kindsSeen, (QStringList{"itempurchase", "itemsale"}));
        QTRY_COMPARE(h.subWindows("FrmItemSaleStatement"), 1);
        h.window->entry("mnuItSalest")->trigger(); // same kind: brought to the front
        QCOMPARE(h.kindsSeen.size(), 2);
    }

    // The shop values come from the first shop record that has a name; a null
    // column reads as empty text.
    void loadShowsPictureAndReadsShopValues() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        const QString insert = "insert into compmaster (compName, address1, city, mobileno) "
                               "values (?, ?, ?, ?)";
        h.t.db().exec(insert, {QVariant(), "no name", "x", "1"});
        h.t.db().exec(insert, {"Shree Dairy", QVariant(), "Mehsana", "9811111111"});
        h.build();
        QCOMPARE(h.window->objectName(), QString("MdiItem"));
        QCOMPARE(h.subWindows("FrmDairyChild"), 1);
        const core::ShopInfo& shop = h.t.session.shop;
        QCOMPARE(QStringList({shop.name, shop.address, shop.city, shop.mobile}),
                 QStringList({"Shree Dairy", "", "Mehsana", "9811111111"}));
    }

    // A first start: no shop record, so the shop master opens before anything
    // else; once its name is saved the frame's title carries it.
    void firstStartAsksForTheShopAndTitlesTheFrameWithIt() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        masters::registerScreens(h.registry);
        h.build();
        h.window->askForShopWhenMissing();
        QCOMPARE(h.window->mdiArea()->activeSubWindow()->objectName(), QString("FrmCompany"));
        QCOMPARE(h.window->statusBar()->currentMessage(), QString("Enter your shop's details"));
        QCOMPARE(h.window->windowTitle(), core::creditLine());

        QWidget* shop = h.window->subWindow("FrmCompany")->widget();
        shop->findChild<QLineEdit*>("txtCompName")->setText("Green Agro");
        shop->findChild<QAbstractButton*>("CmdSave")->click();
        QCOMPARE(h.t.dialogs.lastText(), QString("Saved."));
        QTRY_COMPARE(h.window->windowTitle(), "Green Agro - " + core::creditLine());
        QVERIFY(h.window->statusBar()->currentMessage().isEmpty());

        // The next start finds the shop and opens nothing by itself.
        Harness next;
        masters::registerScreens(next.registry);
        next.t.db().exec("insert into compmaster (compName) values (?)", {"Green Agro"});
        next.build();
        next.window->askForShopWhenMissing();
        QCOMPARE(next.subWindows("FrmCompany"), 0);
        QCOMPARE(next.window->windowTitle(), "Green Agro - " + core::creditLine());
    }

    void updateDatabaseAndExit() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.build();
        h.window->entry("MnuDR")->trigger();
        QCOMPARE(h.t.dialogs.texts(), (QStringList{"Data Repair 1 Done.", "Data Repair 2 Done."}));
        for (const auto& m : h.t.dialogs.shown)
            QCOMPARE(m.title, QString("Tarvex Milvora"));
        h.window->entry("Mnuexit")->trigger(); // E&xit ends the program
        QVERIFY(!h.window->isVisible());
        QCOMPARE(h.quits, 1);
    }

    void repairStartsRepairRunAndEnds_data() {
        QTest::addColumn<bool>("starts");
        QTest::newRow("repair run started") << true;
        QTest::newRow("program missing") << false;
    }
    void repairStartsRepairRunAndEnds() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(bool, starts);
        Harness h;
        h.startWorks = starts;
        h.build();
        h.window->entry("MnuRepDB")->trigger();
        if (!h.t.db().isSqlite()) { // the server looks after its own databases
            QCOMPARE(h.quits, 0);
            QVERIFY(h.started.isEmpty());
            return;
        }
        const auto& first = h.t.dialogs.shown.first();
        QCOMPARE(first.text, QString("This will close your Stokara."));
        QCOMPARE(first.title, QString("Repair Database"));
        QCOMPARE(first.icon, core::Icon::Information);
        QCOMPARE(h.started, (QStringList{"/opt/stokara/stokara", "--repair", "--data-dir", "/d",
                                         "--database", "sqlite:/d/dairy.db"}));
        QCOMPARE(h.t.dialogs.shown.size(), starts ? 1 : 2);
        if (!starts)
            QCOMPARE(h.t.dialogs.lastText(), QString("/opt/stokara/stokara not found"));
        QCOMPARE(h.quits, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
