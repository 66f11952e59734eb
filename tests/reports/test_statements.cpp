#include "app/main_window.h"
#include "core_ui/screen_support.h"
#include "ledger_shop.h"
#include "reports/engine/pages.h"
#include "reports/register_screens.h"
#include "reports/statements.h"
#include "reports/ui/report_screen.h"
#include "support/test_session.h"
#include "transactions/item_sale_screen.h"
#include "transactions/sale_test_data.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;
using namespace stokara::reports;

namespace {
const ReportContext kContext{ReportFolders{{}, STOKARA_SOURCE_DIR}, "SHIV DAIRY SHOP"};
const core::ShopInfo kShop{"SHIV DAIRY SHOP", "Main Road", "Karnal", "98120 00000", "06AB123"};
// A second bill numbered 2 for RAM SINGH on another date: printed with the first.
void seedStatementShop(core::Database& db) {
    test::seedLedgerShop(db);
    db.exec(
        "insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, net_amt, doc_no, "
        "category) values (?, '1', 'MINERAL MIX', 1, 'Kg', 80, 80, '2', 'MilkMan')",
        {QDate(2026, 6, 1)});
}
QString file(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : "missing " + path;
}
} // namespace

class StatementTest : public QObject {
    Q_OBJECT
private slots:
    // From a shell: each report's CSV byte for byte on both engines, and the refusals.
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // golden file or message
        const QStringList goldens[] = {
            {"item-sale-statement", "--item", "MINERAL MIX"}, // every party's rows of it
            {"item-purchase-statement", "--vendor", "1"},
            {"item-sale-summary"},
            {"day-book-statement", "--name", "RAM SINGH"}, // sales in the debit total too
            {"party-bill"}, // receipts negative; a vendor's voucher of number 2 is not party 2's
            {"party-bill-invoice", "--party", "RAM SINGH", "--bill", "2", "--date", "01/06/2026"}};
        for (const QStringList& g : goldens)
            QTest::newRow(qPrintable(g.first()))
                << g + QStringList{"--from", "01/04/2026", "--to", "31/03/2027"} << 0 << g.first();
        for (const char* name : {"item-sale-statement", "item-sale-summary"})
            QTest::newRow(qPrintable(QString(name) + " empty"))
                << QStringList{name, "--from", "01/01/2025", "--to", "31/01/2025"} << 3
                << kNoRecords;
        QTest::newRow("no such bill")
            << QStringList{"party-bill-invoice", "--party", "3", "--bill", "2"} << 3 << kNoRecords;
        QTest::newRow("bill number left out")
            << QStringList{"party-bill-invoice", "--party", "1"} << 2 << kEnterProperInformation;
        QTest::newRow("unknown item")
            << QStringList{"item-sale-statement", "--item", "SALT"} << 2 << kEnterProperInformation;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, expected);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        seedStatementShop(database.db());
        QTemporaryDir dir;
        const QString out = dir.filePath("x.csv");
        QProcess p;
        p.start(STOKARA_PROGRAM,
                QStringList{"report"} + args +
                    QStringList{"--output", out, "--database", database.url().toString()});
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
        QCOMPARE(p.exitCode(), status);
        if (status != 0)
            QVERIFY2(err.endsWith(expected), qPrintable(err));
        else
            QCOMPARE(file(out),
                     file(STOKARA_SOURCE_DIR "/tests/reports/golden/" + expected + ".csv"));
    }

    // One party's periodic bill: its opening in repdaybook2, the others' 0, and
    // the pages within the paper's width, every text (the words too) within its
    // box, as are the invoice bill's on A4 and on the 80 mm roll (the shop's
    // copy in its data folder).
    void billPages_data() {
        QTest::addColumn<QString>("layout"); // the data folder's RptVorlk_Bill1.rpt
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("olderFile"); // a periodic file that reads no words column
        QTest::newRow("periodic") << "" << 210.0 << false;
        QTest::newRow("periodic, file without words") << "" << 210.0 << true;
        QTest::newRow("A4 invoice") << "RptVorlk_Bill1.rpt" << 210.0 << false;
        QTest::newRow("80 mm invoice") << "RptVorlk_Bill1.80mm.rpt" << 80.0 << false;
    }
    void billPages() {
        QFETCH(QString, layout);
        QFETCH(double, width);
        QFETCH(bool, olderFile);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        core::Database& db = database.db();
        seedStatementShop(db);
        QTemporaryDir data;
        ReportContext context{ReportFolders{data.path(), STOKARA_SOURCE_DIR}, "SHIV DAIRY SHOP"};
        QVERIFY(QDir(data.path()).mkpath("reports"));
        QFile::copy(STOKARA_SOURCE_DIR "/reports/" + layout,
                    data.filePath("reports/RptVorlk_Bill1.rpt"));
        if (olderFile) {
            QString text = file(STOKARA_SOURCE_DIR "/reports/rptvorlk_bill.rpt");
            // A shop's file from before the words and the payment link had columns.
            const QString both = ", null as words,\n           null as upilink from (";
            QVERIFY(text.contains(both));
            text.replace(both, " from (");
            QFile older(data.filePath("reports/rptvorlk_bill.rpt"));
            QVERIFY(older.open(QIODevice::WriteOnly));
            older.write(text.toUtf8());
        }
        const auto report = layout.isEmpty()
                                ? partyBill(db, context, kShop, {2026, 4, 1}, {2027, 3, 31}, "1")
                                : partyBillInvoice(db, context, kShop, "1", "2");
        QVERIFY(report);
        if (layout.isEmpty()) {
            QCOMPARE(db.scalar("select sum(net_amt) from repdaybook2 where party_code <> '1'"), 0);
            QCOMPARE(db.scalar("select net_amt from repdaybook2 where party_code = '1'"), 700);
            QCOMPARE(report->rows().size(), size_t(9)); // opening, 6 lines, closing, words
            QCOMPARE(report->rows().back().text("words"),
                     "Amount in Words: one thousand, seven hundred forty due");
        }
        const Pages pages = layOut(*report);
        QCOMPARE(pages.width, width);
        // Every text within the paper (each against its box: the widest-values
        // test of the shipped layouts).
        for (int p = 0; p < pages.count(); ++p) {
            const Page& page = pages.page(p);
            for (const PageText& t : page.texts)
                QVERIFY2(t.rect.left() >= 0 && t.rect.right() <= width, qPrintable(t.text));
            for (const PageLine& l : page.lines)
                QVERIFY(std::max(l.line.x1(), l.line.x2()) <= width);
        }
    }

    // The day book statement and the periodic bill: two dates and a list of
    // which nothing need be chosen; an empty period or a bad date is told.
    void datedStatementScreens_data() {
        QTest::addColumn<bool>("bill");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("chosen");  // the list line chosen; "" none
        QTest::addColumn<QString>("control"); // on the first page; "" for a message
        QTest::addColumn<QString>("expected");
        const QString year[] = {"01/04/2026", "31/03/2027"};
        QTest::newRow("bill, every party") << true << year[0] << year[1] << QString() << "txtname"
                                           << "D'SOUZA DAIRY";
        QTest::newRow("bill, one party") << true << year[0] << year[1] << "RAM SINGH"
                                         << "txtname"
                                         << "RAM SINGH";
        QTest::newRow("day book of a party") << false << year[0] << year[1] << "RAM SINGH - 1"
                                             << "LBLpartyname"
                                             << "Name: RAM SINGH - 1";
        QTest::newRow("day book, nothing in the period")
            << false << "01/01/2025"
            << "31/01/2025"
            << "RAM SINGH - 1" << QString() << kNoRecords;
    }
    void datedStatementScreens() {
        QFETCH(bool, bill);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, chosen);
        QFETCH(QString, control);
        QFETCH(QString, expected);
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        seedStatementShop(ts.db());
        ts.session.dataDir = QStringLiteral(STOKARA_SOURCE_DIR); // its reports/ as the shop's
        const std::unique_ptr<ReportScreen> screen(
            reportScreen(ts.session, bill ? "FrmBill_1" : "FrmDayBokkReport"));
        screen->findChild<QLineEdit*>("text1")->setText(from);
        screen->findChild<QLineEdit*>("text2")->setText(to);
        auto* list = screen->findChild<QListWidget*>("DataList1");
        if (!chosen.isEmpty()) {
            const auto found = list->findItems(chosen, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            list->setCurrentItem(found.first());
        }
        QTest::mouseClick(screen->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        if (control.isEmpty()) {
            QCOMPARE(ts.dialogs.texts(), QStringList{expected});
            QVERIFY(!screen->preview());
            return;
        }
        QVERIFY2(ts.dialogs.shown.isEmpty(), qPrintable(ts.dialogs.lastText()));
        QVERIFY(screen->preview());
        QCOMPARE(screen->preview()->pages().text(0, control), expected);
    }

    // Each run starts its scratch tables afresh. PostgreSQL keeps a deleted row
    // in place until a vacuum, which never reaches a temporary table, so runs
    // that only deleted grew the tables and slowed every later run.
    void scratchTablesDoNotGrowRunAfterRun() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        core::Database& db = database.db();
        if (db.engine() != core::Engine::Postgres)
            QSKIP("SQLite reuses a deleted row's room at once");
        seedStatementShop(db);
        {
            core::Transaction t(db);
            for (int code = 100; code < 700; ++code) {
                const QString party = QString::number(code);
                db.exec("insert into masparty (party_code, party_name, category) values (?, ?, "
                        "'MilkMan')",
                        {party, "PARTY " + party});
                db.exec("insert into itemsale (doc_dt, party_code, item_name, qty, net_amt, "
                        "doc_no) values (?, ?, 'SALT', 1, 10, ?)",
                        {QDate(2026, 5, 1), party, party});
            }
            t.commit();
        }
        const char* const size =
            "select pg_relation_size('repdaybook') + pg_relation_size('repdaybook2') + "
            "pg_relation_size('repdaybook1')";
        QList<qint64> sizes;
        for (int run = 0; run < 3; ++run) {
            QVERIFY(partyBill(db, kContext, kShop, {2026, 4, 1}, {2027, 3, 31}, {}));
            ledgerConsolidate(db, kContext, {2027, 3, 31});
            sizes << db.scalar(size).toLongLong();
        }
        QVERIFY(sizes[0] > 0);
        QCOMPARE(sizes[2], sizes[0]);
    }

    // F7 on a bill of the sale screen opens the invoice bill filled in, the
    // focus on OK; Enter shows the bill with its words; a wrong number is told.
    void f7FromTheSaleScreen() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        seedStatementShop(ts.db());
        ts.session.dataDir = ts.dataDir.path(); // the layouts as the shop's own copy
        QVERIFY(QFile::link(STOKARA_SOURCE_DIR "/reports", ts.dataDir.filePath("reports")));
        core_ui::ScreenRegistry registry;
        registerScreens(registry);
        app::MainWindow window(ts.session, registry, {});
        window.show();
        transactions::ItemSaleScreen sale(ts.session,
                                          std::make_unique<test::sale::RecordingFinishing>());
        sale.show();
        auto key = [&](const char* name, const QString& text = {}, int k = Qt::Key_Return) {
            QWidget* w = sale.findChild<QWidget*>(name);
            w->setFocus();
            if (auto* c = qobject_cast<QComboBox*>(w); c && !text.isEmpty())
                c->setEditText("");
            else if (auto* e = qobject_cast<QLineEdit*>(w); e && !text.isEmpty())
                e->selectAll();
            QTest::keyClicks(w, text);
            QTest::keyClick(w, Qt::Key(k));
        };
        key("TxtPartyCode", "3");
        key("Item_name", "CATTLE FEED");
        key("TxtSaleAmount");
        key("TxtQty", "2");
        key("txtrate");
        key("TxtMore");
        const QString billNo = sale.findChild<QLineEdit*>("TxtBillNo")->text();
        key("Item_name", {}, Qt::Key_F7);
        auto* bill = window.findChild<ReportScreen*>("FrmBill_Invoicewise");
        QVERIFY(bill);
        QCOMPARE(bill->findChild<QLineEdit*>("TxtBillNo")->text(), billNo);
        QCOMPARE(bill->findChild<QListWidget*>("DataList1")->currentItem()->text(), "GOPAL");
        QCOMPARE(bill->focusWidget(), bill->findChild<QPushButton*>("Command1"));
        QTest::keyClick(bill->focusWidget(), Qt::Key_Return);
        QVERIFY(bill->preview());
        QCOMPARE(bill->preview()->pages().text(0, "txtWords"), "Amount in Words: one thousand");
        bill->findChild<QLineEdit*>("TxtBillNo")->setText("99");
        QTest::keyClick(bill->findChild<QPushButton*>("Command1"), Qt::Key_Return);
        QCOMPARE(ts.dialogs.shown.last().title, kNoRecordsTitle);
        QCOMPARE(ts.dialogs.shown.last().icon, core::Icon::None);
    }
};

QTEST_MAIN(StatementTest)
#include "test_statements.moc"
