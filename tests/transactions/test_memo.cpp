#include "core/database.h"
#include "support/test_session.h"
#include "transactions/memo_lines.h"
#include "transactions/slip_painter_canvas.h"
#include "transactions/slip_print.h"
#include "transactions/slip_recording_canvas.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace stokara;
using transactions::RecordingSlipCanvas;

namespace {

const QString kRule(65, QLatin1Char('-'));

core::ShopInfo shop() {
    core::ShopInfo s;
    s.name = QStringLiteral("Green Agro");
    s.address = QStringLiteral("12 Mandi Road, Near Old Bus Stand");
    s.city = QStringLiteral("Karnal");
    return s;
}

void addParty(core::Database& db, const QString& code, const QString& name) {
    db.exec(QStringLiteral("insert into masparty (party_code, party_name, category) values (?, ?, "
                           "'MilkMan')"),
            {code, name});
}

void addSale(core::Database& db, const QString& bill, const QDate& date, const QString& party,
             const QString& item, double qty, double rate, double amount) {
    db.exec(QStringLiteral("insert into itemsale (doc_dt, party_code, qty, rate, net_amt, unit, "
                           "item_name, category, doc_no) values (?, ?, ?, ?, ?, 'Kg', ?, "
                           "'MilkMan', ?)"),
            {date, party, qty, rate, amount, item, bill});
}

const QDate kBillDate(2018, 3, 5);
const QDateTime kPrintedAt(QDate(2018, 3, 5), QTime(14, 7, 9));

// Bill 7 of 5 March 2018 with three items.
void seedThreeRowBill(core::Database& db) {
    addParty(db, QStringLiteral("12"), QStringLiteral("Ram Singh"));
    addSale(db, QStringLiteral("7"), kBillDate, QStringLiteral("12"),
            QStringLiteral("CF-GOLD PELLET 50KG"), 12, 7.5, 90);
    addSale(db, QStringLiteral("7"), kBillDate, QStringLiteral("12"), QStringLiteral("UREA"), 0.5,
            450, 225);
    addSale(db, QStringLiteral("7"), kBillDate, QStringLiteral("12"), QStringLiteral("MIN-MIXTURE"),
            2.5, 0.25, 0.5);
    // Same bill number on another day: another bill, not on this memo.
    addSale(db, QStringLiteral("7"), kBillDate.addDays(1), QStringLiteral("12"),
            QStringLiteral("UREA"), 1, 1, 1);
}

void seedLongBill(core::Database& db, int rows) {
    addParty(db, QStringLiteral("5"), QStringLiteral("Long Bill"));
    core::Transaction t(db);
    for (int i = 1; i <= rows; ++i)
        addSale(db, QStringLiteral("9"), kBillDate, QStringLiteral("5"),
                QStringLiteral("F-LINE %1").arg(i, 3, 10, QLatin1Char('0')), 1, 2, 2);
    t.commit();
}

struct Placed {
    int left;
    int top;
    QString text;
};

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    if (!data.startsWith("%PDF-"))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(data).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

} // namespace

class TestMemo : public QObject {
    Q_OBJECT
private slots:
    void itemName_data();
    void itemName();
    void numbers_data();
    void numbers();
    void billLine();

    void threeRowBillLandsAtTheListedPlaces();
    void everyLineIsSizedAndPlacedBeforeItIsPrinted();
    void billWithoutRowsOnThatDatePrintsNothing_data();
    void billWithoutRowsOnThatDatePrintsNothing();
    void longBillContinuesOnNewPages_data();
    void longBillContinuesOnNewPages();
    void pdfCanvasWritesAReadablePdf_data();
    void pdfCanvasWritesAReadablePdf();
    void pdfCanvasWritesNoFileWhenNothingIsPrinted();
    void withoutAPrinterTheMemoGoesToTheMemosFolder();
};

void TestMemo::itemName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("printed");
    QTest::newRow("after the hyphen, last 8") << "CF-GOLD PELLET 50KG"
                                              << "LET 50KG";
    QTest::newRow("no hyphen, short") << "UREA"
                                      << "UREA";
    QTest::newRow("no hyphen, long") << "MINERAL MIXTURE"
                                     << " MIXTURE";
    QTest::newRow("only the first hyphen counts") << "A-B-CDEFGHIJK"
                                                  << "DEFGHIJK";
    QTest::newRow("hyphen at the end") << "FEED-"
                                       << "";
    QTest::newRow("hyphen first") << "-GHEE"
                                  << "GHEE";
}

void TestMemo::itemName() {
    QFETCH(QString, name);
    QFETCH(QString, printed);
    QCOMPARE(transactions::memoItemName(name), printed);
}

void TestMemo::numbers_data() {
    QTest::addColumn<bool>("quantity");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("printed");
    QTest::newRow("qty 12") << true << 12.0 << "12.000";
    QTest::newRow("qty 0.5") << true << 0.5 << ".500";
    QTest::newRow("qty 2.5") << true << 2.5 << "2.500";
    QTest::newRow("qty 0") << true << 0.0 << ".000";
    QTest::newRow("rate 7.5") << false << 7.5 << "7.50";
    QTest::newRow("total 0.5") << false << 0.5 << ".50";
    QTest::newRow("no grouping") << false << 1234567.25 << "1234567.25";
    QTest::newRow("binary noise of a sum") << false << 0.1 + 0.2 << ".30";
    QTest::newRow("negative below one") << false << -0.5 << "-.50";
    QTest::newRow("negative zero") << false << -0.0 << ".00";
}

void TestMemo::numbers() {
    QFETCH(bool, quantity);
    QFETCH(double, value);
    QFETCH(QString, printed);
    QCOMPARE(quantity ? transactions::formatMemoQty(value) : transactions::formatMemoAmount(value),
             printed);
}

void TestMemo::billLine() {
    QCOMPARE(transactions::memoBillLine(QStringLiteral("7"), kBillDate),
             QStringLiteral("Bill No.7") + QString(19, QLatin1Char(' ')) +
                 QStringLiteral("Date: 05-03-18"));
}

void TestMemo::threeRowBillLandsAtTheListedPlaces() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    seedThreeRowBill(t.db());
    RecordingSlipCanvas canvas;
    QVERIFY(transactions::slipPrint(t.db(), shop(), QStringLiteral("7"), kBillDate, canvas,
                                    kPrintedAt));

    const QString blank = QStringLiteral(" ");
    const std::vector<Placed> expected = {
        {100, 200, "Green Agro"},
        {100, 300, blank},
        {100, 600, "12 Mandi Road, Near Old Bus"}, // first 27 characters
        {100, 700, blank},
        {100, 900, "            Karnal"},
        {100, 1000, blank},
        {200, 1250, "    Cash / Credit Memo "},
        {100, 1350, blank},
        {100, 1600, "Bill No.7                   Date: 05-03-18"},
        {100, 1700, blank},
        {100, 1950, "Party: 12 - Ram Singh"},
        {100, 2150, kRule},
        {100, 2350, "Item"},
        {1500, 2350, "Qty"},
        {2500, 2350, "Rate"},
        {3400, 2350, "Amount"},
        {100, 2550, kRule},
        {100, 2750, "LET 50KG"},
        {1500, 2750, "12.000"},
        {2500, 2750, "7.50"},
        {3400, 2750, "90.00"},
        {100, 2950, "UREA"},
        {1500, 2950, ".500"},
        {2500, 2950, "450.00"},
        {3400, 2950, "225.00"},
        {100, 3150, "MIXTURE"},
        {1500, 3150, "2.500"},
        {2500, 3150, ".25"},
        {3400, 3150, ".50"},
        {100, 3350, kRule},
        {100, 3550, "Total:"},
        {3400, 3550, "315.50"},
        {100, 3850, "Thanks              PrintTime:05-03-18 14:07:09"},
        {100, 4050, kRule},
        {100, 4250, transactions::memoFooter()},
    };
    QCOMPARE(canvas.lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& got = canvas.lines[i];
        const QString where = QStringLiteral("line %1 (%2)").arg(i + 1).arg(expected[i].text);
        QVERIFY2(got.left == expected[i].left, qPrintable(where));
        QVERIFY2(got.top == expected[i].top, qPrintable(where));
        QCOMPARE(got.text, expected[i].text);
        QCOMPARE(got.fontSize, 10);
        QCOMPARE(got.page, 1);
    }
    QCOMPARE(canvas.pages, 1);
    QVERIFY(canvas.ended);
    QVERIFY(transactions::memoFooter().contains(QLatin1String("Stokara")));
}

void TestMemo::everyLineIsSizedAndPlacedBeforeItIsPrinted() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    seedThreeRowBill(t.db());
    RecordingSlipCanvas canvas;
    QVERIFY(transactions::slipPrint(t.db(), shop(), QStringLiteral("7"), kBillDate, canvas,
                                    kPrintedAt));
    // font, position, print for each line; then the font once more and the end.
    const QStringList& calls = canvas.calls;
    QCOMPARE(calls.size(), int(canvas.lines.size()) * 3 + 2);
    for (int i = 0; i + 2 < calls.size() - 2; i += 3) {
        QCOMPARE(calls[i], QStringLiteral("font 10"));
        QVERIFY(calls[i + 1].startsWith(QLatin1String("position ")));
        QVERIFY(calls[i + 2].startsWith(QLatin1String("print ")));
    }
    QCOMPARE(calls[calls.size() - 2], QStringLiteral("font 10"));
    QCOMPARE(calls.last(), QStringLiteral("end"));
}

void TestMemo::billWithoutRowsOnThatDatePrintsNothing_data() {
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QDate>("date");
    QTest::newRow("bill of another day") << "7" << kBillDate.addDays(-1);
    QTest::newRow("unknown bill") << "8" << kBillDate;
    QTest::newRow("empty bill number") << "" << kBillDate;
}

void TestMemo::billWithoutRowsOnThatDatePrintsNothing() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(QString, bill);
    QFETCH(QDate, date);
    test::TestSession t;
    seedThreeRowBill(t.db());
    RecordingSlipCanvas canvas;
    QVERIFY(!transactions::slipPrint(t.db(), shop(), bill, date, canvas, kPrintedAt));
    QVERIFY(canvas.calls.isEmpty());
}

void TestMemo::longBillContinuesOnNewPages_data() {
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("pages");
    // The tallest page a position can address (a roll): 200 lines need two.
    QTest::newRow("roll") << int(transactions::SlipCanvas::kTallestPageTwips) << 2;
    // An A4 sheet with margins (about 11 inches printable).
    QTest::newRow("A4") << 15800 << 3;
}

void TestMemo::longBillContinuesOnNewPages() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(int, pageHeight);
    QFETCH(int, pages);
    test::TestSession t;
    seedLongBill(t.db(), 200);
    RecordingSlipCanvas canvas(pageHeight);
    QVERIFY(transactions::slipPrint(t.db(), shop(), QStringLiteral("9"), kBillDate, canvas,
                                    kPrintedAt));
    QCOMPARE(canvas.pages, pages);
    QCOMPARE(canvas.calls.count(QStringLiteral("new page")), pages - 1);
    QVERIFY(canvas.ended);

    // Every item line is there once, in order, and every line fits its page.
    QStringList items;
    int page = 1;
    for (const auto& line : canvas.lines) {
        QVERIFY2(line.top + transactions::kMemoLineHeightTwips <= pageHeight,
                 qPrintable(QStringLiteral("%1 at %2").arg(line.text).arg(line.top)));
        if (line.page != page) {
            // A following page starts with the bill line, so a loose sheet says whose it is.
            QCOMPARE(line.page, page + 1);
            QCOMPARE(line.top, 200);
            QVERIFY(line.text.startsWith(QLatin1String("Bill No.9 ")));
            page = line.page;
        }
        if (line.left == 100 && line.text.startsWith(QLatin1String("LINE ")))
            items << line.text;
    }
    QCOMPARE(items.size(), 200);
    for (int i = 0; i < 200; ++i)
        QCOMPARE(items[i], QStringLiteral("LINE %1").arg(i + 1, 3, 10, QLatin1Char('0')));
    QCOMPARE(canvas.lines.back().text, transactions::memoFooter());
    QCOMPARE(canvas.lines.back().page, pages);
}

void TestMemo::pdfCanvasWritesAReadablePdf_data() {
    QTest::addColumn<int>("rows");
    QTest::newRow("three rows") << 3;
    QTest::newRow("200 rows") << 200;
}

void TestMemo::pdfCanvasWritesAReadablePdf() {
    STOKARA_REQUIRE_DATABASE();
    QFETCH(int, rows);
    test::TestSession t;
    if (rows == 3)
        seedThreeRowBill(t.db());
    else
        seedLongBill(t.db(), rows);
    const QString bill = rows == 3 ? QStringLiteral("7") : QStringLiteral("9");
    const QString path = t.dataDir.filePath(QStringLiteral("memo.pdf"));
    int expectedPages = 0;
    {
        auto canvas = transactions::PainterSlipCanvas::forPdf(path);
        // An A4 page holds about 11 inches of memo.
        QVERIFY(canvas->pageHeightTwips() > 14000 && canvas->pageHeightTwips() < 16838);
        RecordingSlipCanvas shadow(canvas->pageHeightTwips());
        QVERIFY(transactions::slipPrint(t.db(), shop(), bill, kBillDate, shadow, kPrintedAt));
        expectedPages = shadow.pages;
        QVERIFY(transactions::slipPrint(t.db(), shop(), bill, kBillDate, *canvas, kPrintedAt));
    }
    QCOMPARE(pdfPageCount(path), expectedPages);
    QCOMPARE(expectedPages, rows == 3 ? 1 : 3);
}

void TestMemo::pdfCanvasWritesNoFileWhenNothingIsPrinted() {
    STOKARA_REQUIRE_DATABASE();
    test::TestSession t;
    const QString path = t.dataDir.filePath(QStringLiteral("nothing.pdf"));
    {
        auto canvas = transactions::PainterSlipCanvas::forPdf(path);
        QVERIFY(!transactions::slipPrint(t.db(), shop(), QStringLiteral("1"), kBillDate, *canvas,
                                         kPrintedAt));
    }
    QVERIFY(!QFileInfo::exists(path));
}

void TestMemo::withoutAPrinterTheMemoGoesToTheMemosFolder() {
    STOKARA_REQUIRE_DATABASE();
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer");
    test::TestSession t;
    t.session.shop = shop();
    seedThreeRowBill(t.db());
    QString first;
    QString second;
    for (QString* path : {&first, &second}) {
        auto canvas = transactions::openDefaultSlipCanvas(t.session, path, QStringLiteral("7"));
        QVERIFY(canvas);
        QVERIFY(transactions::slipPrint(t.db(), t.session.shop, QStringLiteral("7"), kBillDate,
                                        *canvas, t.clock.now()));
    }
    // Two prints in the same second do not overwrite each other.
    QVERIFY(first != second);
    for (const QString& path : {first, second}) {
        const QFileInfo info(path);
        QCOMPARE(info.dir().dirName(), QStringLiteral("memos"));
        QCOMPARE(QFileInfo(info.dir().absolutePath()).dir().absolutePath(),
                 QFileInfo(t.dataDir.path()).absoluteFilePath());
        QVERIFY(info.fileName().startsWith(QLatin1String("memo-7-20240415-100000")));
        QCOMPARE(pdfPageCount(path), 1);
    }
}

QTEST_MAIN(TestMemo)
#include "test_memo.moc"
