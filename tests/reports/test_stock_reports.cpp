#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/ledgers.h"
#include "reports/stock_reports.h"
#include "reports/ui/stock_screens.h"
#include "stock_shop.h"
#include "support/test_session.h"

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

Report makeReport(core::Database& db, const QString& kind, const QString& item, const QDate& from,
                  const QDate& to) {
    if (kind == QLatin1String("item-stock"))
        return itemStock(db, kContext, item, from, to);
    if (kind == QLatin1String("sub-item-stock"))
        return subItemStock(db, kContext, item, from, to);
    return itemStockConsolidate(db, kContext, to);
}

QString golden(const QString& kind) {
    QFile file(QStringLiteral(STOKARA_SOURCE_DIR "/tests/reports/golden/%1.csv").arg(kind));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "missing golden";
}

} // namespace

class StockReportTest : public QObject {
    Q_OBJECT
private slots:
    // Each report's CSV: byte for byte over a year (with a ledger's lines left in
    // the scratch table before it), or holding and lacking lines over other dates.
    void reports_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("present"); // "golden", or lines separated by '|'
        QTest::addColumn<QString>("absent");
        const QDate from(2026, 4, 1), to(2027, 3, 31);
        QTest::newRow("item golden: VLCC sale only in the totals")
            << "item-stock"
            << "CATTLE FEED" << from << to << "golden"
            << "D'SOUZA";
        QTest::newRow("sub-item golden: 2 x 1.5 consumed, direct purchase received")
            << "sub-item-stock"
            << "MINERAL MIX" << from << to << "golden"
            << "";
        QTest::newRow("consolidate golden: 100 in, 30 out, untouched item absent")
            << "item-stock-consolidate"
            << "" << from << to << "golden"
            << "GHEE TIN";
        QTest::newRow("nothing before the from date")
            << "item-stock"
            << "CF PELLET" << from << to << "LABEL14,.00|01/06/2026,KISAN FEEDS,2.00,|LABEL12,2.00"
            << "";
        QTest::newRow("the from date's sale in the opening a day later")
            << "item-stock"
            << "CATTLE FEED" << QDate(2026, 4, 2) << to << "LABEL14,11.00|LABEL4,3.00|LABEL12,9.00"
            << "01/04/2026";
        QTest::newRow("consumption before the period left out of the opening")
            << "sub-item-stock"
            << "MINERAL MIX" << QDate(2026, 7, 1) << to
            << "LABEL14,-3.00|15/08/2026,GREEN AGRO,20.00,|LABEL12,17.00"
            << "CF PELLET";
        QTest::newRow("consolidate: stock below zero, later purchases left out")
            << "item-stock-consolidate"
            << "" << from << QDate(2026, 3, 15) << ",CATTLE FEED,,.00,3.00,-3.00"
            << "MINERAL MIX";
    }
    void reports() {
        QFETCH(QString, kind);
        QFETCH(QString, item);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        core::Database& db = database.db();
        test::seedStockShop(db);
        partyLedger(db, kContext, "1", "RAM SINGH", from, to);
        const Report report = makeReport(db, kind, item, from, to);
        const QString csv = QString::fromUtf8(csvText(report));
        if (present == QLatin1String("golden"))
            QCOMPARE(csv, golden(kind));
        else
            for (const QString& line : present.split(QLatin1Char('|')))
                QVERIFY2(csv.contains(QLatin1Char('\n') + line + QLatin1Char('\n')),
                         qPrintable(line + "\n" + csv));
        if (!absent.isEmpty())
            QVERIFY2(!csv.contains(absent), qPrintable(csv));
        QCOMPARE(layOut(report).count(), 1);
    }

    // From a shell: CSV as the golden file, PDF with real text; bad input is
    // status 2 with the screen's message (an item of the other list is not proper).
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // golden name, PDF text or message
        const QStringList period{"--from", "01/04/2026", "--to", "31/03/2027"};
        const QString proper = kEnterProperInformation;
        QTest::newRow("item csv") << QStringList{"item-stock", "--item", "CATTLE FEED", "--output",
                                                 "o.csv"} +
                                         period
                                  << 0 << "item-stock";
        QTest::newRow("sub-item pdf")
            << QStringList{"sub-item-stock", "--item", "MINERAL MIX", "--output", "o.pdf"} + period
            << 0 << "KISAN FEEDS - CF PELLET";
        QTest::newRow("consolidate csv")
            << QStringList{"item-stock-consolidate", "--date", "31/03/2027", "--output", "o.csv"}
            << 0 << "item-stock-consolidate";
        QTest::newRow("sub-item as a main item")
            << QStringList{"item-stock", "--item", "MINERAL MIX", "--output", "o.csv"} + period << 2
            << proper;
        QTest::newRow("no item") << QStringList{"sub-item-stock", "--output", "o.csv"} + period << 2
                                 << proper;
        QTest::newRow("impossible date")
            << QStringList{"item-stock-consolidate", "--date", "30/02/2027", "--output", "o.csv"}
            << 2 << proper;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, expected);
        STOKARA_REQUIRE_DATABASE();
        test::TestDatabase database;
        test::seedStockShop(database.db());
        QTemporaryDir dir;
        const int out = args.indexOf("--output") + 1;
        args[out] = dir.filePath(args[out]);
        QProcess p;
        p.start(STOKARA_PROGRAM, QStringList{"report"} + args +
                                     QStringList{"--database", database.url().toString()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), status);
        if (status != 0) {
            QVERIFY(QString::fromUtf8(p.readAllStandardError()).trimmed().endsWith(expected));
            return;
        }
        QFile file(args[out]);
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (args[out].endsWith(".csv")) {
            QCOMPARE(QString::fromUtf8(file.readAll()), golden(expected));
            return;
        }
        QProcess text;
        text.start("pdftotext", {args[out], "-"});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY(text.readAllStandardOutput().contains(expected.toUtf8()));
    }

    // The item-wise screens list their own kind of item and refuse a run
    // without an item or with a date not typed.
    void itemScreens_data() {
        QTest::addColumn<bool>("sub");
        QTest::addColumn<int>("row"); // -1: none chosen
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("result"); // list|LABEL25 of the preview, or the message
        const QString proper = kEnterProperInformation;
        QTest::newRow("main") << false << 1 << "01/04/2026"
                              << "CATTLE FEED,CF PELLET,GHEE TIN,SALT LICK|CF PELLET";
        QTest::newRow("sub") << true << 0 << "01/04/2026"
                             << "MINERAL MIX|MINERAL MIX";
        QTest::newRow("no item") << false << -1 << "01/04/2026" << proper;
        QTest::newRow("date not typed") << true << 0 << "__/__/____" << proper;
    }
    void itemScreens() {
        QFETCH(bool, sub);
        QFETCH(int, row);
        QFETCH(QString, from);
        QFETCH(QString, result);
        STOKARA_REQUIRE_DATABASE();
        test::TestSession ts;
        test::seedStockShop(ts.db());
        ts.session.dataDir = ts.dataDir.path(); // the layout as a shop's own copy
        QVERIFY(QDir(ts.dataDir.path()).mkpath("reports"));
        QVERIFY(QFile::copy(STOKARA_SOURCE_DIR "/reports/RepItemBook.xml",
                            ts.dataDir.filePath("reports/RepItemBook.xml")));
        ItemStockScreen screen(ts.session,
                               sub ? ItemStockScreen::Kind::Sub : ItemStockScreen::Kind::Main);
        auto* list = screen.findChild<QListWidget*>("DataList1");
        screen.findChild<QLineEdit*>("text1")->setText(from);
        list->setCurrentRow(row);
        QTest::mouseClick(screen.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        if (!result.contains('|')) {
            QCOMPARE(ts.dialogs.lastText(), result);
            QVERIFY(!screen.preview());
            return;
        }
        QVERIFY2(screen.preview(), qPrintable(ts.dialogs.lastText()));
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        QCOMPARE(items.join(',') + '|' + screen.preview()->pages().text(0, "LABEL25"), result);
    }
};

QTEST_MAIN(StockReportTest)
#include "test_stock_reports.moc"
