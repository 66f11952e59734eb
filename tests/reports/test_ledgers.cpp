#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/ledgers.h"
#include "reports/report_table.h"
#include "reports/statements.h"
#include "reports/stock_reports.h"
#include "reports/ui/report_screen.h"
#include "stock_shop.h"
#include "support/test_session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;
using namespace stokara::reports;

namespace {

const ReportContext kContext{ReportFolders{{}, QStringLiteral(STOKARA_SOURCE_DIR)},
                             QStringLiteral("SHIV DAIRY SHOP")};
const QDate kFrom(2026, 4, 1), kTo(2027, 3, 31);

// The stock reports' shop holds more than the ledgers' goldens were made on.
void seed(core::Database& db, const QString& kind) {
    kind.contains("stock") ? test::seedStockShop(db) : test::seedLedgerShop(db);
}

Report makeReport(core::Database& db, const QString& kind, const QString& account) {
    if (kind.contains("stock")) // each starts afresh after a ledger's lines
        partyLedger(db, kContext, "1", "RAM SINGH", kFrom, kTo);
    if (kind == QLatin1String("item-stock"))
        return itemStock(db, kContext, account, kFrom, kTo);
    if (kind == QLatin1String("sub-item-stock"))
        return subItemStock(db, kContext, account, kFrom, kTo);
    if (kind == QLatin1String("item-stock-consolidate"))
        return itemStockConsolidate(db, kContext, kTo);
    if (kind == QLatin1String("party-ledger"))
        return partyLedger(db, kContext, findParty(db, account)->bound,
                           findParty(db, account)->shown, kFrom, kTo);
    if (kind == QLatin1String("vendor-ledger"))
        return vendorLedger(db, kContext, account, kFrom, kTo);
    return ledgerConsolidate(db, kContext, kTo);
}

QByteArray golden(const QString& kind) {
    QFile file(QStringLiteral(STOKARA_SOURCE_DIR "/tests/reports/golden/%1.csv").arg(kind));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing golden file");
}

// Runs the program's report command; returns the exit status and standard error.
std::pair<int, QString> runCommand(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(STOKARA_PROGRAM), QStringList{QStringLiteral("report")} + args);
    if (!p.waitForFinished(60000))
        return {-1, QStringLiteral("timed out")};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

} // namespace

class LedgerTest : public QObject {
    Q_OBJECT
private slots:
    // Each report's CSV byte for byte, and its first page's controls as laid out.
    void goldenReports_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("controls"); // control=text;...
        QTest::newRow("party") << "party-ledger"
                               << "1"
                               << "LABEL1=SHIV DAIRY SHOP;LABEL100=Party Ledger;LABEL7=01/04/26;"
                                  "LABEL29=31/03/27;LABEL24=RAM SINGH;LABEL14=700.00 Dr;"
                                  "txtdoc_dt=01/04/2026;LABEL4=1360.00;LABEL26=400.00;"
                                  "LABEL12=1660.00 Dr;lblPage=Page 1 of 1";
        QTest::newRow("vendor") << "vendor-ledger"
                                << "GREEN AGRO"
                                << "LABEL100=Vendor Ledger;LABEL24=GREEN AGRO;LABEL14=2000.00 Cr;"
                                   "LABEL8=Debit;txthead=CATTLE FEED;LABEL4=3450.00;"
                                   "LABEL26=3000.00;LABEL12=2450.00 Cr";
        QTest::newRow("consolidate")
            << "ledger-consolidate"
            << ""
            << "txtDairyName=SHIV DAIRY SHOP;txtReportTitle=Party Ledger Consolidate;"
               "txtFromDate=31/03/2027;txtPartyCode=Code;txtname=RAM SINGH;txtclbal=1660.00;"
               "txtside=Dr";
        QTest::newRow("item stock: a VLCC sale in the totals only") << "item-stock"
                                                                    << "CATTLE FEED"
                                                                    << "LABEL12=9.00";
        QTest::newRow("sub-item stock: 2 bought x 1.5 consumed is 3.00") << "sub-item-stock"
                                                                         << "MINERAL MIX"
                                                                         << "LABEL9=Consumed";
        QTest::newRow("stock consolidate: 100 in, 30 out is 70") << "item-stock-consolidate"
                                                                 << ""
                                                                 << "txtclbal=9.00";
    }
    void goldenReports() {
        QFETCH(QString, kind);
        QFETCH(QString, account);
        QFETCH(QString, controls);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        seed(database.db(), kind);
        const Report report = makeReport(database.db(), kind, account);
        QCOMPARE(QString::fromUtf8(csvText(report)), QString::fromUtf8(golden(kind)));
        const Pages pages = layOut(report);
        for (const QString& pair : controls.split(QLatin1Char(';'))) {
            const QString control = pair.section(QLatin1Char('='), 0, 0);
            QCOMPARE(control + QLatin1Char('=') + pages.text(0, control), pair);
        }
    }

    // A party with nothing in the period: no lines, its opening for closing,
    // ".00" totals.
    void emptyPeriod() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        test::seedLedgerShop(database.db());
        LedgerFigures f;
        const Pages pages =
            layOut(partyLedger(database.db(), kContext, "3", "GOPAL", kFrom, kTo, &f));
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(f.opening)
                     .arg(f.closing)
                     .arg(pages.texts(0, "txtdoc_dt").size()),
                 QStringLiteral("450 450 0"));
        QCOMPARE(pages.text(0, "LABEL4"), QStringLiteral(".00"));
    }

    // Two counters making bills at the same moment each keep their own lines.
    void countersKeepTheirOwnRows() {
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        test::seedLedgerShop(database.db());
        auto other = database.openAnother();
        const core::ShopInfo shop;
        partyBill(database.db(), kContext, shop, kFrom, kTo, "1");
        partyBill(*other, kContext, shop, kFrom, kTo, "2");
        const QString count = QStringLiteral("select count(*) from repdaybook");
        QCOMPARE(database.db().scalar(count).toInt(), 5);
        QCOMPARE(other->scalar(count).toInt(), 2);
        // The shared table of the schema is never written.
        const char* shared = database.db().isSqlite() ? "main.repled2" : "public.repled2";
        QCOMPARE(
            database.db().scalar(QStringLiteral("select count(*) from %1").arg(shared)).toInt(), 0);
    }

    // A spreadsheet holds the CSV's values, amounts as numbers with two
    // decimals and dates as dates; read back from the sheet's XML.
    void spreadsheet() {
        STOKARA_REQUIRE_DATABASE();
        if (QStandardPaths::findExecutable("unzip").isEmpty())
            QSKIP("unzip is not installed");
        test::TestDatabase database;
        test::seedLedgerShop(database.db());
        QTemporaryDir dir;
        const QString path = dir.filePath("ledger.xlsx");
        writeReportFile(partyLedger(database.db(), kContext, "1", "RAM SINGH", kFrom, kTo), path);
        QProcess unzip;
        unzip.start("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
        QVERIFY(unzip.waitForFinished(30000));
        const QString xml = QString::fromUtf8(unzip.readAllStandardOutput());
        QProcess styles;
        styles.start("unzip", {"-p", path, "xl/styles.xml"});
        QVERIFY(styles.waitForFinished(30000));
        const QString formats = QString::fromUtf8(styles.readAllStandardOutput());
        QVERIFY2(formats.contains("formatCode=\"0.00\"") &&
                     formats.contains("formatCode=\"dd/mm/yyyy\""),
                 qPrintable(formats));
        // The first line: 01/04/2026 (day 46113 of the spreadsheet's calendar),
        // CATTLE FEED, no credit, 500 debit: numbers, not strings.
        const QRegularExpression firstLine(
            "<c r=\"A13\" s=\"\\d+\"><v>46113</v></c><c r=\"B13\" t=\"s\"><v>\\d+</v></c>"
            "<c r=\"D13\" s=\"\\d+\"><v>500</v></c>");
        QVERIFY2(firstLine.match(xml).hasMatch(), qPrintable(xml));
        // The footer's debit total (LABEL4) likewise a number.
        QVERIFY2(xml.contains(QRegularExpression("<c r=\"B20\" s=\"\\d+\"><v>1360</v></c>")),
                 qPrintable(xml));
        QVERIFY2(!QFileInfo::exists(path + ".part") &&
                     QDir(dir.path()).entryList(QDir::Files) == QStringList{"ledger.xlsx"},
                 "only the finished file is left");
    }

    // "stokara report" alone lists every report of the table; an unknown one is
    // told with the usage, which names every report too.
    void reportList() {
        QProcess p;
        p.start(QStringLiteral(STOKARA_PROGRAM), {QStringLiteral("report")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QString listed = QString::fromUtf8(p.readAllStandardOutput());
        p.start(QStringLiteral(STOKARA_PROGRAM), {QStringLiteral("report"), QStringLiteral("x")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        const QString usage = QString::fromUtf8(p.readAllStandardError());
        p.start(QStringLiteral(STOKARA_PROGRAM),
                {QStringLiteral("report"), QStringLiteral("--help")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), usage.mid(usage.indexOf("Usage:")));
        QVERIFY(!reportTable().empty());
        for (const ReportEntry& r : reportTable()) {
            QVERIFY2(listed.contains(r.command + ' '), qPrintable(listed));
            QVERIFY2(usage.contains(usageLine(r)), qPrintable(usage));
        }
    }

    // From a shell: the format follows the extension; bad input is status 2 with
    // the screen's message.
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // golden CSV, PDF text, or the message
        const QStringList period{"--from", "01/04/2026", "--to", "31/03/2027"};
        QTest::newRow("party pdf")
            << QStringList{"party-ledger", "--party", "1", "--output", "out.pdf"} + period << 0
            << "RAM SINGH";
        QTest::newRow("consolidate csv")
            << QStringList{"ledger-consolidate", "--date", "31/03/2027", "--output", "out.csv"} << 0
            << "ledger-consolidate";
        const QString proper = kEnterProperInformation;
        QTest::newRow("a sub-item is no main item")
            << QStringList{"item-stock", "--item", "MINERAL MIX", "--output", "o.csv"} + period << 2
            << proper;
        QTest::newRow("impossible date")
            << QStringList{"party-ledger", "--party",  "1",      "--from",
                           "31/02/2026",   "--output", "out.csv"}
            << 2 << "--from: 31/02/2026 is not a date dd/mm/yyyy";
        QTest::newRow("date not typed")
            << QStringList{"ledger-consolidate", "--date", "__/__/____", "--output", "out.pdf"} << 2
            << "--date: __/__/____ is not a date dd/mm/yyyy";
        QTest::newRow("options before the name")
            << QStringList{"--party", "1", "--output", "out.csv"} + period +
                   QStringList{"party-ledger"}
            << 0 << "party-ledger";
        QTest::newRow("unknown party")
            << QStringList{"party-ledger", "--party", "99", "--output", "out.csv"} + period << 2
            << proper;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, expected);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        seed(database.db(), args.first());
        QTemporaryDir dir;
        const QString output = dir.filePath(args.at(args.indexOf("--output") + 1));
        args[args.indexOf("--output") + 1] = output;
        const auto [exit, err] =
            runCommand(args + QStringList{"--database", database.url().toString()});
        QCOMPARE(exit, status);
        if (status != 0) {
            QVERIFY2(err.endsWith(expected), qPrintable(err)); // after any platform notes
            return;
        }
        if (output.endsWith(".csv")) {
            QFile csv(output);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(csv.readAll()), QString::fromUtf8(golden(expected)));
            return;
        }
        // Real text in the PDF: a text extractor finds it.
        QProcess text;
        text.start("pdftotext", {output, "-"});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY2(text.readAllStandardOutput().contains(expected.toUtf8()), qPrintable(expected));
    }

    // The party ledger screen: the shop's own layout in its data folder first;
    // a missing file, a control the file lacks and bad input are told, not fatal.
    void partyLedgerScreen_data() {
        QTest::addColumn<QString>("layout"); // the data folder's RepItemBook.xml
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("party"); // list row, -1 none chosen
        QTest::addColumn<QString>("message");
        const QString source = QStringLiteral(STOKARA_SOURCE_DIR "/reports/RepItemBook.xml");
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QTest::newRow("shop's own letterhead")
            << QString(text).replace("<label name=\"LABEL1\"",
                                     "<label text=\"OWN HEAD\" w=\"9\" h=\"9\"/><label "
                                     "name=\"LABEL1\"")
            << "01/04/2026" << 0 << "";
        QTest::newRow("no layout file") << ""
                                        << "01/04/2026" << 0 << "RepItemBook.xml";
        QTest::newRow("control missing")
            << QString(text).replace("name=\"LABEL14\"", "") << "01/04/2026" << 0 << "LABEL14";
        QTest::newRow("no party chosen") << text << "01/04/2026" << -1 << kEnterProperInformation;
        QTest::newRow("date not typed") << text << "__/__/____" << 0 << kEnterProperInformation;
    }
    void partyLedgerScreen() {
        QFETCH(QString, layout);
        QFETCH(QString, from);
        QFETCH(int, party);
        QFETCH(QString, message);
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        test::seedLedgerShop(ts.db());
        ts.session.dataDir = ts.dataDir.path();
        if (!layout.isEmpty()) {
            QVERIFY(QDir(ts.dataDir.path()).mkpath("reports"));
            QFile file(ts.dataDir.filePath("reports/RepItemBook.xml"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(layout.toUtf8());
        }
        const std::unique_ptr<ReportScreen> owned(reportScreen(ts.session, "FrmPartyLedger"));
        ReportScreen& screen = *owned;
        screen.findChild<QLineEdit*>("text1")->setText(from);
        screen.findChild<QListWidget*>("DataList1")->setCurrentRow(party);
        QTest::mouseClick(screen.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        if (message.isEmpty()) {
            QVERIFY(ts.dialogs.shown.isEmpty());
            QVERIFY(screen.preview());
            QCOMPARE(screen.preview()->pages().text(0, "LABEL24"), QStringLiteral("RAM SINGH"));
            QCOMPARE(screen.preview()->pages().texts(0, "").first(), QStringLiteral("OWN HEAD"));
            return;
        }
        QCOMPARE(ts.dialogs.shown.size(), 1);
        QVERIFY2(ts.dialogs.lastText().contains(message), qPrintable(ts.dialogs.lastText()));
        QVERIFY(!screen.preview());
    }

    // Saving from the preview offers a name that tells the report, the account
    // and the period, in the data folder's exports/ and then in the last folder
    // used, and says where the file went; with no printer set up, Print says
    // so and offers the PDF instead.
    void previewTellsWhereItWent() {
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        test::seedLedgerShop(ts.db());
        ts.session.dataDir = ts.dataDir.path();
        QVERIFY(QFile::link(STOKARA_SOURCE_DIR "/reports", ts.dataDir.filePath("reports")));
        const std::unique_ptr<ReportScreen> screen(reportScreen(ts.session, "FrmPartyLedger"));
        screen->findChild<QLineEdit*>("text1")->setText("01/04/2026");
        screen->findChild<QLineEdit*>("text2")->setText("30/04/2026");
        screen->findChild<QListWidget*>("DataList1")->setCurrentRow(0);
        QTest::mouseClick(screen->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        PreviewWindow* preview = screen->preview();
        QVERIFY(preview);
        QTemporaryDir elsewhere;
        const QString csv = elsewhere.filePath("mine.csv");
        ts.dialogs.answerFile(csv);
        QTest::mouseClick(preview->findChild<QPushButton*>("cmdCsv"), Qt::LeftButton);
        QCOMPARE(ts.dialogs.suggestions.size(), 1);
        QCOMPARE(ts.dialogs.suggestions.last(),
                 ts.dataDir.filePath("exports/party-ledger_1_2026-04-01_2026-04-30.csv"));
        QVERIFY(QFile::exists(csv));
        QCOMPARE(preview->status(), "Saved " + QDir::toNativeSeparators(csv));

        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this computer has a printer: the no-printer offer cannot be seen");
        const QString pdf = elsewhere.filePath("ledger.pdf");
        ts.dialogs.answer(core::Answer::Yes);
        ts.dialogs.answerFile(pdf);
        QApplication::setActiveWindow(preview);
        QVERIFY(QTest::qWaitForWindowActive(preview));
        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!ts.dialogs.shown.isEmpty());
        QCOMPARE(ts.dialogs.shown.last().text,
                 "No printer is set up on this computer. Save the report as a PDF file instead?");
        QCOMPARE(ts.dialogs.suggestions.last(),
                 elsewhere.filePath("party-ledger_1_2026-04-01_2026-04-30.pdf"));
        QTRY_VERIFY_WITH_TIMEOUT(!preview->busy(), 60000);
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(preview->status(), "Saved " + QDir::toNativeSeparators(pdf));
    }
};

QTEST_MAIN(LedgerTest)
#include "test_ledgers.moc"
