#include "app/main_window.h"
#include "core_ui/screen_support.h"
#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/register_screens.h"
#include "reports/ui/statement_screens.h"
#include "statement_shop.h"
#include "support/test_session.h"
#include "transactions/item_sale_screen.h"
#include "transactions/sale_test_data.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;
using namespace stokara::reports;

namespace {

const ReportContext kContext{ReportFolders{{}, QStringLiteral(STOKARA_SOURCE_DIR)},
                             QStringLiteral("SHIV DAIRY SHOP")};
const core::ShopInfo kShop{"SHIV DAIRY SHOP", "Main Road", "Karnal", "98120 00000", "06AB123"};
const QDate kFrom(2026, 4, 1), kTo(2027, 3, 31);

QString file(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : "missing " + path;
}

// Every text and line of every page inside the page's width.
bool fitsTheWidth(const Pages& pages) {
    for (const Page& page : pages.pages) {
        for (const PageText& t : page.texts)
            if (t.rect.left() < 0 || t.rect.right() > pages.width + 1e-6)
                return false;
        for (const PageLine& l : page.lines)
            if (std::max(l.line.x1(), l.line.x2()) > pages.width + 1e-6)
                return false;
    }
    return true;
}

} // namespace

class StatementTest : public QObject {
    Q_OBJECT
private slots:
    // From a shell: each report's CSV byte for byte on both engines, the bill's
    // words in its PDF, and the refusals.
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // golden file, PDF text or message
        const QStringList period{"--from", "01/04/2026", "--to", "31/03/2027"};
        const QStringList goldens[] = {
            {"item-sale-statement", "--item", "CATTLE FEED"},
            {"item-purchase-statement", "--vendor", "1"},
            {"item-sale-summary"},
            {"day-book-statement", "--name", "RAM SINGH"},
            {"party-bill"},
            {"party-bill-invoice", "--party", "RAM SINGH", "--bill", "2", "--date", "01/06/2026"}};
        for (const QStringList& g : goldens)
            QTest::newRow(qPrintable(g.first()))
                << g + period + QStringList{"--output", "x.csv"} << 0 << g.first();
        QTest::newRow("bill pdf")
            << QStringList{"party-bill-invoice", "--party", "1", "--bill", "2", "--output", "x.pdf"}
            << 0 << "Total: 580.00 Amount in Words:"; // then a ligature
        QTest::newRow("no sale in the period")
            << QStringList{"item-sale-summary", "--from",   "01/01/2025", "--to",
                           "31/01/2025",        "--output", "x.csv"}
            << 3 << kNoRecords;
        QTest::newRow("no such bill")
            << QStringList{"party-bill-invoice", "--party", "3", "--bill", "2", "--output", "x.csv"}
            << 3 << kNoRecords;
        QTest::newRow("bill number left out")
            << QStringList{"party-bill-invoice", "--party", "1", "--output", "x.csv"} << 2
            << kEnterProperInformation;
        QTest::newRow("unknown item")
            << QStringList{"item-sale-statement", "--item", "SALT", "--output", "x.csv"} << 2
            << kEnterProperInformation;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, expected);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        test::seedStatementShop(database.db());
        QTemporaryDir dir;
        const int out = args.indexOf("--output") + 1;
        args[out] = dir.filePath(args[out]);
        QProcess p;
        p.start(STOKARA_PROGRAM, QStringList{"report"} + args +
                                     QStringList{"--database", database.url().toString()});
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
        QCOMPARE(p.exitCode(), status);
        if (status != 0)
            QVERIFY2(err.endsWith(expected), qPrintable(err));
        else if (args[out].endsWith(".csv"))
            QCOMPARE(file(args[out]),
                     file(QStringLiteral(STOKARA_SOURCE_DIR "/tests/reports/golden/%1.csv")
                              .arg(expected)));
        else {
            QProcess text;
            text.start("pdftotext", {args[out], "-"});
            QVERIFY(text.waitForFinished(30000));
            QVERIFY(text.readAllStandardOutput().simplified().contains(expected.toUtf8()));
        }
    }

    // The totals add up the lines shown, filters narrow them, and the periodic
    // bill counts a party's own vouchers only.
    void figures_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("figures");
        // One item, no party: every party's rows of it.
        QTest::newRow("one item") << "sale"
                                  << "MINERAL MIX"
                                  << "rows 3 qty 14 amount 1120";
        QTest::newRow("vendor 2") << "purchase"
                                  << "2"
                                  << "rows 1 qty 10 amount 600";
        // A sale and a purchase of RAM SINGH's: both in the debit total.
        QTest::newRow("day book of a party") << "daybook"
                                             << "RAM SINGH"
                                             << "dr 1440 cr 400 bal 1040";
        QTest::newRow("day book of a head") << "daybook"
                                            << "RENT"
                                            << "dr 5000 cr 1000 bal 4000";
        // Receipts negative; the vendor's voucher of number 2 is not D'SOUZA's.
        QTest::newRow("bill of party 2") << "bill"
                                         << "2"
                                         << "800 -500 | opening 0 closing 300";
        QTest::newRow("bill of party 1") << "bill"
                                         << "1"
                                         << "500 240 80 -400 100 520 | opening 700 closing 1740";
    }
    void figures() {
        QFETCH(QString, report);
        QFETCH(QString, filter);
        QFETCH(QString, figures);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        core::Database& db = database.db();
        test::seedStatementShop(db);
        QString got;
        if (report == "sale" || report == "purchase") {
            StatementTotals t;
            const bool sale = report == "sale";
            const auto r = itemStatement(db, kContext, "",
                                         sale ? StatementMode::Sale : StatementMode::Purchase,
                                         kFrom, kTo, sale ? filter : "", sale ? "" : filter, &t);
            got =
                QString("rows %1 qty %2 amount %3").arg(r->rows().size()).arg(t.qty).arg(t.amount);
        } else if (report == "daybook") {
            DayBookTotals t;
            QVERIFY(dayBookStatement(db, kContext, kFrom, kTo, filter, &t));
            got = QString("dr %1 cr %2 bal %3").arg(t.debit).arg(t.credit).arg(t.balance);
        } else {
            const auto r = partyBill(db, kContext, kShop, kFrom, kTo, filter);
            QVERIFY(r);
            for (const core::Row& row : r->rows())
                if (row.number("sn") == 2)
                    got += row.text("net_amt").section('.', 0, 0) + " ";
            got +=
                QString("| opening %1 closing %2")
                    .arg(db.scalar("select net_amt from repdaybook2 where party_code = ?", {filter})
                             .toDouble())
                    .arg(r->rows().at(r->rows().size() - 2).number("net_amt"));
        }
        QCOMPARE(got, figures);
    }

    // The bills' pages, on A4 and on the 80 mm roll (the shop's copy in its data
    // folder), stay within the page's width.
    void billPagesFitTheirPaper_data() {
        QTest::addColumn<QString>("copy"); // file copied to the data folder as the bill
        QTest::addColumn<double>("width");
        QTest::newRow("A4 invoice") << "" << 210.0;
        QTest::newRow("80 mm invoice") << "RptVorlk_Bill1.80mm.rpt" << 80.0;
        QTest::newRow("A4 periodic") << "periodic" << 210.0;
    }
    void billPagesFitTheirPaper() {
        QFETCH(QString, copy);
        QFETCH(double, width);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        test::seedStatementShop(database.db());
        QTemporaryDir data;
        ReportContext context = kContext;
        context.folders.dataDir = data.path();
        if (copy.endsWith(".rpt")) {
            QVERIFY(QDir(data.path()).mkpath("reports"));
            QVERIFY(QFile::copy(STOKARA_SOURCE_DIR "/reports/" + copy,
                                data.filePath("reports/RptVorlk_Bill1.rpt")));
        }
        const auto report =
            copy == "periodic"
                ? partyBill(database.db(), context, kShop, QDate(2020, 1, 1), kTo, "")
                : partyBillInvoice(database.db(), context, kShop, "1", "2");
        QVERIFY(report);
        const Pages pages = layOut(*report);
        QCOMPARE(pages.width, width);
        QVERIFY(fitsTheWidth(pages));
    }

    // F7 on a bill of the sale screen opens the invoice bill filled in, the
    // focus on OK; Enter shows the bill with its words.
    void f7FromTheSaleScreen() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        test::seedStatementShop(ts.db());
        ts.session.dataDir = ts.dataDir.path(); // the layouts as the shop's own copy
        QVERIFY(QFile::link(STOKARA_SOURCE_DIR "/reports", ts.dataDir.filePath("reports")));
        core_ui::ScreenRegistry registry;
        registerScreens(registry);
        app::MainWindow window(ts.session, registry, {});
        window.show();
        transactions::ItemSaleScreen sale(ts.session,
                                          std::make_unique<test::sale::RecordingFinishing>());
        sale.show();
        QApplication::setActiveWindow(&sale);
        auto type = [&](const char* name, const QString& text) {
            QWidget* w = sale.findChild<QWidget*>(name);
            w->setFocus();
            if (auto* c = qobject_cast<QComboBox*>(w))
                c->setEditText("");
            else
                static_cast<QLineEdit*>(w)->selectAll();
            QTest::keyClicks(w, text);
            QTest::keyClick(w, Qt::Key_Return);
        };
        type("TxtPartyCode", "3");
        type("Item_name", "CATTLE FEED");
        QTest::keyClick(sale.findChild<QWidget*>("TxtSaleAmount"), Qt::Key_Return);
        type("TxtQty", "2");
        QTest::keyClick(sale.findChild<QWidget*>("txtrate"), Qt::Key_Return);
        QTest::keyClick(sale.findChild<QWidget*>("TxtMore"), Qt::Key_Return);
        const QString billNo = sale.findChild<QLineEdit*>("TxtBillNo")->text();
        QTest::keyClick(sale.findChild<QWidget*>("Item_name"), Qt::Key_F7);
        auto* bill = window.findChild<InvoiceBillScreen*>();
        QVERIFY(bill);
        QCOMPARE(bill->findChild<QLineEdit*>("TxtBillNo")->text(), billNo);
        QCOMPARE(bill->findChild<QListWidget*>("DataList1")->currentItem()->text(), "GOPAL");
        QCOMPARE(bill->focusWidget(), bill->findChild<QPushButton*>("Command1"));
        QTest::keyClick(bill->focusWidget(), Qt::Key_Return);
        QVERIFY(bill->preview());
        QCOMPARE(bill->preview()->pages().text(0, "txtWords"), "Amount in Words:one thousand");
        QCOMPARE(bill->preview()->pages().text(0, "txtPartyName"), "GOPAL");
    }

    // The screens' refusals: what is told, with which icon and title.
    void screensTell_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("told");
        QTest::newRow("statement, no sale")
            << "FrmItemSaleStatement"
            << "01/01/2020" << int(core::Icon::None) << kNoRecordsTitle;
        QTest::newRow("summary, bad date")
            << "FrmItemSaleSummary"
            << "31/02/2026" << int(core::Icon::Information) << kEnterProperInformation;
        QTest::newRow("bill, no number")
            << "FrmBill_Invoicewise"
            << "01/01/2020" << int(core::Icon::Information) << kEnterProperInformation;
    }
    void screensTell() {
        QFETCH(QString, screen);
        QFETCH(QString, from);
        QFETCH(int, icon);
        QFETCH(QString, told);
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        test::seedStatementShop(ts.db());
        ts.session.dataDir = ts.dataDir.path(); // the layouts as the shop's own copy
        QVERIFY(QFile::link(STOKARA_SOURCE_DIR "/reports", ts.dataDir.filePath("reports")));
        core_ui::ScreenRegistry registry;
        registerScreens(registry);
        std::unique_ptr<QWidget> w(registry.create(screen, ts.session));
        for (const char* name : {"text1", "text2"})
            if (auto* date = w->findChild<QLineEdit*>(name))
                date->setText(from);
        w->findChild<QPushButton*>("Command1")->click();
        QCOMPARE(ts.dialogs.shown.size(), 1);
        QCOMPARE(int(ts.dialogs.shown[0].icon), icon);
        QVERIFY(ts.dialogs.shown[0].title == told || ts.dialogs.shown[0].text == told);
        QVERIFY(!static_cast<StatementScreen*>(w.get())->preview());
    }
};

QTEST_MAIN(StatementTest)
#include "test_statements.moc"
