#include "app_test_kit.h"

#include "app/main_window.h"
#include "app/menu_table.h"

#include "core_ui/screen_support.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
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
    void offersEveryMenuEntry_data() {
        QTest::addColumn<int>("row");
        int i = 0;
        for (const app::MenuEntry& e : app::menuTable())
            QTest::newRow(*e.entry ? e.entry : e.menu) << i++;
    }
    void offersEveryMenuEntry() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(int, row);
        const app::MenuEntry& e = app::menuTable()[row];
        Harness h;
        h.build();
        QAction* action = h.window->entry(QString::fromUtf8(*e.entry ? e.entry : e.menu));
        QVERIFY(action);
        QCOMPARE(action->text(), QString::fromUtf8(e.caption));
        QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(e.shortcut)));
        QCOMPARE(action->isVisible(), !e.hidden);
        if (*e.entry) {
            auto* menu = h.window->menuBar()->findChild<QMenu*>(QString::fromUtf8(e.menu));
            QVERIFY(menu);
            QCOMPARE(menu->title(), QString::fromUtf8(e.menuCaption));
            QVERIFY(menu->actions().contains(action));
        } else {
            QVERIFY(h.window->menuBar()->actions().contains(action));
        }
    }

    void menusComeInTheirOrder() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.build();
        QStringList titles;
        for (QAction* a : h.window->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"&Master Account", "Activity", "&Reports", "&Security",
                                      "T&ools", "E&xit"}));
        auto* master = h.window->menuBar()->findChild<QMenu*>("masacc");
        QStringList entries;
        for (QAction* a : master->actions())
            entries << a->objectName();
        QCOMPARE(entries, (QStringList{"FrmComp", "mnucompany", "MasVendor", "MnuItem",
                                       "MnuAcchead", "MnuBom", "MnuSmsSetting"}));
    }

    // The whole menu tree as the shop knows it, written out here rather than
    // read from the menu table, so a changed caption or shortcut fails.
    void exactCaptionsAndShortcuts_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("FrmComp") << "masacc"
                                 << "FrmComp"
                                 << "Shop Master"
                                 << "";
        QTest::newRow("mnucompany") << "masacc"
                                    << "mnucompany"
                                    << "&Party Master"
                                    << "Ctrl+M";
        QTest::newRow("MasVendor") << "masacc"
                                   << "MasVendor"
                                   << "Vendor Master"
                                   << "";
        QTest::newRow("MnuItem") << "masacc"
                                 << "MnuItem"
                                 << "Item"
                                 << "Ctrl+I";
        QTest::newRow("MnuAcchead") << "masacc"
                                    << "MnuAcchead"
                                    << "Account Head"
                                    << "";
        QTest::newRow("MnuBom") << "masacc"
                                << "MnuBom"
                                << "BOM"
                                << "";
        QTest::newRow("MnuSmsSetting") << "masacc"
                                       << "MnuSmsSetting"
                                       << "SMS Setting"
                                       << "";
        QTest::newRow("Mnuitpurchases") << "mnuactivity"
                                        << "Mnuitpurchases"
                                        << "Item Purchases"
                                        << "";
        QTest::newRow("mnuitemtomilkman") << "mnuactivity"
                                          << "mnuitemtomilkman"
                                          << "Items Sale"
                                          << "Ctrl+S";
        QTest::newRow("mnudaybook") << "mnuactivity"
                                    << "mnudaybook"
                                    << "Day Book"
                                    << "";
        QTest::newRow("MnuRC") << "mnuactivity"
                               << "MnuRC"
                               << "Recharge Card"
                               << "";
        QTest::newRow("MnuFormat1") << "mnureport"
                                    << "MnuFormat1"
                                    << "Party Bill Periodic"
                                    << "";
        QTest::newRow("MnuPBIW") << "mnureport"
                                 << "MnuPBIW"
                                 << "Party Bill Invoice Wise"
                                 << "";
        QTest::newRow("MnuVendorLedger") << "mnureport"
                                         << "MnuVendorLedger"
                                         << "Vendor Ledger Vendor Wise"
                                         << "";
        QTest::newRow("MnuPartyLedger") << "mnureport"
                                        << "MnuPartyLedger"
                                        << "Party Ledger Party Wise"
                                        << "";
        QTest::newRow("MnuLedgerConsolidate") << "mnureport"
                                              << "MnuLedgerConsolidate"
                                              << "Party Ledger Consolidate"
                                              << "";
        QTest::newRow("Mnuitpu") << "mnureport"
                                 << "Mnuitpu"
                                 << "Item Purchase Statement"
                                 << "";
        QTest::newRow("mnuItSalest") << "mnureport"
                                     << "mnuItSalest"
                                     << "Item Sale Statement Item wise"
                                     << "";
        QTest::newRow("MnuLItemST") << "mnureport"
                                    << "MnuLItemST"
                                    << "Item Sale Statement Party wise"
                                    << "";
        QTest::newRow("Mnuitss") << "mnureport"
                                 << "Mnuitss"
                                 << "Item Sale Statement (Summary) "
                                 << "";
        QTest::newRow("MnuItStock") << "mnureport"
                                    << "MnuItStock"
                                    << "Main Item Stock Item Wise"
                                    << "";
        QTest::newRow("Mnnsis") << "mnureport"
                                << "Mnnsis"
                                << "Sub Item Stock Item Wise"
                                << "";
        QTest::newRow("MnuItemStkConsolidate") << "mnureport"
                                               << "MnuItemStkConsolidate"
                                               << "Item Stock Consolidate"
                                               << "";
        QTest::newRow("MnuDBST") << "mnureport"
                                 << "MnuDBST"
                                 << "Day Book Statement"
                                 << "";
        QTest::newRow("MnuBsheet") << "mnureport"
                                   << "MnuBsheet"
                                   << "Balance Sheet"
                                   << "";
        QTest::newRow("MnuSms") << "mnureport"
                                << "MnuSms"
                                << "Message (SMS)"
                                << "";
        QTest::newRow("mnuussec") << "mnusec"
                                  << "mnuussec"
                                  << "&User Security"
                                  << "Ctrl+Q";
        QTest::newRow("mnuadsec") << "mnusec"
                                  << "mnuadsec"
                                  << "&Administrator Security"
                                  << "Ctrl+Z";
        QTest::newRow("MnuDR") << "mnutool"
                               << "MnuDR"
                               << "Update Database"
                               << "";
        QTest::newRow("MnuRepDB") << "mnutool"
                                  << "MnuRepDB"
                                  << "Repair Database"
                                  << "";
        QTest::newRow("MnuDsn") << "mnutool"
                                << "MnuDsn"
                                << "Dsn Creation"
                                << "";
        QTest::newRow("Mnuexit") << ""
                                 << "Mnuexit"
                                 << "E&xit"
                                 << "";
    }
    void exactCaptionsAndShortcuts() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, menu);
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        Harness h;
        h.build();
        QAction* a = h.window->entry(entry);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(), shortcut);
        if (menu.isEmpty()) {
            QVERIFY(h.window->menuBar()->actions().contains(a));
        } else {
            auto* m = h.window->menuBar()->findChild<QMenu*>(menu);
            QVERIFY(m);
            QVERIFY(m->actions().contains(a));
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
        QCOMPARE(h.window->subWindow("masparty")->windowTitle(),
                 QStringLiteral("masparty caption"));
        h.window->entry("MnuItem")->trigger();
        QCOMPARE(h.window->mdiArea()->activeSubWindow()->objectName(),
                 QStringLiteral("frmmasitem"));
        h.window->entry("mnucompany")->trigger();
        QCOMPARE(h.subWindows("masparty"), 1);
        QCOMPARE(h.window->mdiArea()->activeSubWindow()->objectName(), QStringLiteral("masparty"));
        QCOMPARE(h.kindsSeen.size(), 2); // created once each
    }

    void screenClosingItselfClosesItsWindow() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.registerPlain("FrmUserSecurity");
        h.build();
        QWidget* screen = h.window->showScreen("FrmUserSecurity");
        QVERIFY(screen);
        screen->close(); // a Cancel button
        QTRY_COMPARE(h.subWindows("FrmUserSecurity"), 0);
        QVERIFY(h.window->showScreen("FrmUserSecurity"));
        QCOMPARE(h.subWindows("FrmUserSecurity"), 1);
    }

    void statementEntriesSetTheKindFirst() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.registerPlain("FrmItemSaleStatement");
        h.build();
        h.window->entry("Mnuitpu")->trigger();
        QCOMPARE(h.t.session.statementKind, QStringLiteral("itempurchase"));
        h.window->entry("mnuItSalest")->trigger();
        QCOMPARE(h.t.session.statementKind, QStringLiteral("itemsale"));
        QCOMPARE(h.kindsSeen, (QStringList{"itempurchase", "itemsale"}));
        QTRY_COMPARE(h.subWindows("FrmItemSaleStatement"), 1);
        h.window->entry("mnuItSalest")->trigger(); // same kind: brought to the front
        QCOMPARE(h.kindsSeen.size(), 2);
    }

    void loadShowsPictureAndReadsShopValues() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.t.db().exec(
            "insert into compmaster (compName, address1, city, mobileno) values (?, ?, ?, ?)",
            {"Shree Dairy", "Main Road", "Mehsana", "9811111111"});
        h.build();
        QCOMPARE(h.window->objectName(), QStringLiteral("MdiItem"));
        QCOMPARE(h.window->windowTitle(), app::MainWindow::caption());
        QCOMPARE(h.subWindows("FrmDairyChild"), 1);
        QCOMPARE(h.t.session.shop.name, QStringLiteral("Shree Dairy"));
        QCOMPARE(h.t.session.shop.city, QStringLiteral("Mehsana"));
        QCOMPARE(h.t.session.shop.mobile, QStringLiteral("9811111111"));
    }

    void updateDatabaseShowsBothMessagesEveryTime() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.build();
        for (int run = 0; run < 2; ++run) {
            h.t.dialogs.clear();
            h.window->entry("MnuDR")->trigger();
            QCOMPARE(h.t.dialogs.texts(),
                     (QStringList{"Data Repair 1 Done.", "Data Repair 2 Done."}));
            for (const auto& m : h.t.dialogs.shown) {
                QCOMPARE(m.title, QStringLiteral("Tarvex Milvora"));
                QCOMPARE(m.icon, core::Icon::Information);
            }
        }
        QVERIFY(h.t.db().tableExists("itemsale"));
    }

    void repairStartsRepairRunAndEnds() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.build();
        h.window->entry("MnuRepDB")->trigger();
        if (!h.t.db().isSqlite()) {
            QCOMPARE(h.quits, 0);
            QVERIFY(h.started.isEmpty());
            return;
        }
        QCOMPARE(h.t.dialogs.shown.first().text, QStringLiteral("This will close your Stokara."));
        QCOMPARE(h.t.dialogs.shown.first().title, QStringLiteral("Repair Database"));
        QCOMPARE(h.t.dialogs.shown.first().icon, core::Icon::Information);
        QCOMPARE(h.started, (QStringList{"/opt/stokara/stokara", "--repair", "--data-dir", "/d",
                                         "--database", "sqlite:/d/dairy.db"}));
        QCOMPARE(h.quits, 1);
    }

    void repairProgramMissingIsNamed() {
        STOKARA_REQUIRE_DATABASE();
        Harness h;
        h.startWorks = false;
        h.build();
        if (!h.t.db().isSqlite())
            QSKIP("repair runs on SQLite files");
        h.window->repairDatabase();
        QCOMPARE(h.t.dialogs.lastText(), QStringLiteral("/opt/stokara/stokara not found"));
        QCOMPARE(h.quits, 1);
    }

    void exitAndCloseEndTheProgram_data() {
        QTest::addColumn<bool>("viaMenu");
        QTest::newRow("E&xit") << true;
        QTest::newRow("close box") << false;
    }
    void exitAndCloseEndTheProgram() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(bool, viaMenu);
        Harness h;
        h.build();
        if (viaMenu)
            h.window->entry("Mnuexit")->trigger();
        else
            h.window->close();
        QVERIFY(!h.window->isVisible());
        QCOMPARE(h.quits, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
