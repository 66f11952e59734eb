#include "core/database.h"
#include "messaging/message_log_store.h"
#include "sale_test_data.h"
#include "support/test_session.h"
#include "transactions/memo_lines.h"
#include "transactions/sale_finishing.h"
#include "transactions/slip_print.h"
#include "transactions/slip_recording_canvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QtTest>

using namespace stokara;
using transactions::RecordingSlipCanvas;

namespace {

const QDate kBillDate(2018, 3, 5);
const QDateTime kPrintedAt(QDate(2018, 3, 5), QTime(14, 7, 9));

core::ShopInfo shop() {
    return {"Green Agro", "12 Mandi Road, Near Old Bus Stand", "Karnal", {}, {}};
}

void addSale(core::Database& db, const QString& bill, const QDate& date, const QString& item,
             double qty, double rate, double amount, const QString& party = "12") {
    db.exec("insert into itemsale (doc_dt, party_code, qty, rate, net_amt, unit, item_name, "
            "category, doc_no) values (?, ?, ?, ?, ?, 'Kg', ?, 'MilkMan', ?)",
            {date, party, qty, rate, amount, item, bill});
}

// Bill 7 of 5 March 2018 with three items, and bill 7 of the next day.
void seedThreeRowBill(core::Database& db) {
    test::sale::addParty(db, "12", "Ram Singh", "MilkMan", {}, "919812345678");
    addSale(db, "7", kBillDate, "CF-GOLD PELLET 50KG", 12, 7.5, 90);
    addSale(db, "7", kBillDate, "UREA", 0.5, 450, 225);
    addSale(db, "7", kBillDate, "MIN-MIXTURE", 2.5, 0.25, 0.5);
    addSale(db, "7", kBillDate.addDays(1), "UREA", 1, 1, 1);
}

QStringList placed(const RecordingSlipCanvas& canvas) {
    QStringList out;
    for (const auto& line : canvas.lines)
        out << QStringLiteral("%1 %2 %3").arg(line.left).arg(line.top).arg(line.text);
    return out;
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    if (!data.startsWith("%PDF-"))
        return -1;
    return int(QString::fromLatin1(data).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

} // namespace

class TestMemo : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;

private slots:
    void init() {
        STOKARA_REQUIRE_DATABASE();
        t = std::make_unique<test::TestSession>();
        t->session.shop = shop();
        seedThreeRowBill(t->db());
    }
    void cleanup() { t.reset(); }

    void aBillPrintsItsLinesAtTheirPlaces() {
        RecordingSlipCanvas canvas;
        QVERIFY(transactions::slipPrint(t->db(), shop(), "7", kBillDate, canvas, kPrintedAt));
        const QString rule(65, QLatin1Char('-'));
        const QStringList expected = {
            "100 200 Green Agro",
            "100 300  ",
            "100 600 12 Mandi Road, Near Old Bus", // the first 27 characters
            "100 700  ",
            "100 900             Karnal",
            "100 1000  ",
            "200 1250     Cash / Credit Memo ",
            "100 1350  ",
            "100 1600 Bill No.7                   Date: 05-03-18",
            "100 1700  ",
            "100 1950 Party: 12 - Ram Singh",
            "100 2150 " + rule,
            "100 2350 Item",
            "1500 2350 Qty",
            "2500 2350 Rate",
            "3400 2350 Amount",
            "100 2550 " + rule,
            "100 2750 LET 50KG", // after the hyphen, the last 8 characters
            "1500 2750 12.000",
            "2500 2750 7.50",
            "3400 2750 90.00",
            "100 2950 UREA",
            "1500 2950 .500", // no leading zero
            "2500 2950 450.00",
            "3400 2950 225.00",
            "100 3150 MIXTURE",
            "1500 3150 2.500",
            "2500 3150 .25",
            "3400 3150 .50",
            "100 3350 " + rule,
            "100 3550 Total:",
            "3400 3550 315.50", // the next day's bill 7 is not in it
            "100 3850 Thanks              PrintTime:05-03-18 14:07:09",
            "100 4050 " + rule,
            "100 4250 " + transactions::memoFooter(),
        };
        QCOMPARE(placed(canvas), expected);
        QCOMPARE(canvas.pages, 1);
        QVERIFY(canvas.ended);
    }

    // A code held by two parties (another category) prints each line once,
    // with the party of the sale's category; the SMS goes to that party's phone.
    void aCodeOfTwoPartiesPrintsEveryLineOnce() {
        test::sale::addParty(t->db(), "12", "Anand Centre", "VLCC", {}, "919800000000");
        RecordingSlipCanvas canvas;
        QVERIFY(transactions::slipPrint(t->db(), shop(), "7", kBillDate, canvas, kPrintedAt));
        const QStringList lines = placed(canvas);
        QCOMPARE(lines.filter(" UREA").size(), 1);
        QVERIFY(lines.contains("100 1950 Party: 12 - Ram Singh"));
        QVERIFY(lines.contains("3400 3550 315.50"));
        messaging::SmsReceiptStore receipts(t->db());
        QCOMPARE(receipts.partyMobile("12", "MilkMan"), QStringLiteral("919812345678"));
        QCOMPARE(receipts.partyMobile("12", "VLCC"), QStringLiteral("919800000000"));
    }

    void noLinesOnThatDatePrintNothing_data() {
        QTest::addColumn<QString>("bill");
        QTest::addColumn<QDate>("date");
        QTest::newRow("bill of another day") << "7" << kBillDate.addDays(-1);
        QTest::newRow("unknown bill") << "8" << kBillDate;
        QTest::newRow("party left the master") << "9" << kBillDate;
    }
    void noLinesOnThatDatePrintNothing() {
        QFETCH(QString, bill);
        QFETCH(QDate, date);
        addSale(t->db(), "9", kBillDate, "UREA", 1, 1, 1, "404");
        RecordingSlipCanvas canvas;
        QVERIFY(!transactions::slipPrint(t->db(), shop(), bill, date, canvas, kPrintedAt));
        QVERIFY(canvas.calls.isEmpty());
        if (!QPrinterInfo::defaultPrinter().isNull())
            return;
        // Without a printer nothing is written either, and no file is named.
        const transactions::FinishedBill finished{date, bill, "12", "Ram Singh", "MilkMan"};
        QCOMPARE(transactions::printMemoOnShopPrinter(t->session, finished), QString());
        QVERIFY(!QDir(t->dataDir.filePath("memos")).exists() ||
                QDir(t->dataDir.filePath("memos")).isEmpty());
    }

    void aLongBillGoesOnOverPages() {
        core::Transaction tx(t->db());
        for (int i = 1; i <= 200; ++i)
            addSale(t->db(), "9", kBillDate, QString("F-LINE %1").arg(i, 3, 10, QChar('0')), 1, 2,
                    2);
        tx.commit();
        RecordingSlipCanvas canvas(15800); // an A4 sheet with margins
        QVERIFY(transactions::slipPrint(t->db(), shop(), "9", kBillDate, canvas, kPrintedAt));
        QCOMPARE(canvas.pages, 3);
        QStringList items;
        for (const auto& line : canvas.lines) {
            QVERIFY(line.top + transactions::kMemoLineHeightTwips <= 15800);
            // A following page starts with the bill line: a loose sheet says whose it is.
            if (line.top == 200)
                QVERIFY(line.text.startsWith("Bill No.9 ") || line.text == "Green Agro");
            if (line.left == 100 && line.text.startsWith("LINE "))
                items << line.text;
        }
        QCOMPARE(items.size(), 200);
        QCOMPARE(items.last(), QStringLiteral("LINE 200"));
    }

    void withoutAPrinterTheMemoIsAPdfInTheMemosFolder() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer");
        const transactions::FinishedBill bill{kBillDate, "7", "12", "Ram Singh", "MilkMan"};
        QStringList files;
        for (int i = 0; i < 2; ++i) {
            const QString notice = transactions::printMemoOnShopPrinter(t->session, bill);
            QVERIFY2(notice.startsWith("No printer: the memo was saved as "), qPrintable(notice));
            files << notice.mid(QStringLiteral("No printer: the memo was saved as ").size());
        }
        // Two memos in the same second do not overwrite each other.
        QVERIFY(files[0] != files[1]);
        for (const QString& path : files) {
            const QFileInfo info(path);
            QCOMPARE(info.absolutePath(), QDir(t->dataDir.path()).absoluteFilePath("memos"));
            QVERIFY(info.fileName().startsWith("memo-7-20240415-100000"));
            QCOMPARE(pdfPageCount(path), 1);
        }
    }
};

QTEST_MAIN(TestMemo)
#include "test_memo.moc"
