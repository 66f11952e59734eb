#include "app/memo_report.h"
#include "reports/paper_check.h"
#include "support/test_session.h"
#include "transactions/sale_finishing.h"

#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QTest>

using namespace stokara;

class MemoTest : public QObject {
    Q_OBJECT
private slots:
    // With a memo layout copied into the data folder the memo prints whole
    // names, the total in words and, on the roll, is as long as the bill;
    // without one the classic memo still prints.
    void memoFromTheShopsLayout_data() {
        QTest::addColumn<QString>("layout"); // shipped file copied as Memo.rpt; "" none
        QTest::addColumn<double>("maxHeight");
        QTest::newRow("80 mm roll") << "Memo.80mm.rpt" << 150.0;
        QTest::newRow("plain paper") << "Memo.plain.rpt" << 211.0;
        QTest::newRow("classic") << "" << 400.0;
    }
    void memoFromTheShopsLayout() {
        QFETCH(QString, layout);
        QFETCH(double, maxHeight);
        STOKARA_REQUIRE_DATABASE();
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this computer has a printer: the memo would go to it");
        test::TestSession ts;
        ts.session.dataDir = ts.dataDir.path();
        ts.session.shop = {"SHIV DAIRY SHOP", "Main Road", "Karnal", "", "", "shop@ybl", ""};
        const QString party = "RAMESHWAR PRASAD CHAUDHARY OF UPPER KHERI VILLAGE";
        const QString item = "CATTLE FEED PREMIUM PELLETS FIFTY KG BAG";
        ts.db().exec("insert into masparty (party_code, party_name, category) values ('7', ?, "
                     "'MilkMan')",
                     {party});
        ts.db().exec("insert into itemsale (doc_dt, party_code, item_name, qty, unit, rate, "
                     "net_amt, doc_no) values (?, '7', ?, 2, 'Bag', 1250.25, 2500.5, '41')",
                     {QDate(2024, 4, 15), item});
        if (!layout.isEmpty()) {
            QVERIFY(QDir(ts.dataDir.path()).mkpath("reports"));
            QVERIFY(QFile::copy(STOKARA_SOURCE_DIR "/reports/" + layout,
                                ts.dataDir.filePath("reports/Memo.rpt")));
        }
        const QString told =
            app::printMemo(ts.session, {QDate(2024, 4, 15), "41", "7", party, "MilkMan"});
        QVERIFY2(told.startsWith("No printer: the memo was saved as "), qPrintable(told));
        const QString pdf = told.mid(QString("No printer: the memo was saved as ").size());
        QVERIFY(QFile::exists(pdf));
        const QString text = test::pdfText(pdf);
        QVERIFY2(text.contains("Cash / Credit Memo"), qPrintable(text));
        const QList<QSizeF> sizes = test::pdfPageSizes(pdf);
        const double height = sizes.isEmpty() ? 0 : sizes.first().height();
        QVERIFY2(height > 0 && height < maxHeight, qPrintable(QString::number(height)));
        if (layout.isEmpty())
            return; // the classic memo keeps its fixed columns
        QVERIFY2(text.contains(item) && text.contains(party), qPrintable(text));
        QVERIFY2(text.contains("Amount in Words: two thousand, five hundred rupees and fifty "
                               "paise"),
                 qPrintable(text));
    }
};

QTEST_MAIN(MemoTest)
#include "test_memo.moc"
