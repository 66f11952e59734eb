#include "books/amount_words.h"
#include "core/app_info.h"
#include "paper_check.h"
#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/engine/report.h"
#include "reports/engine/text_fit.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;
using namespace stokara::reports;

namespace {

const ReportFolders kShipped{{}, QStringLiteral(STOKARA_SOURCE_DIR)};

QString wide(int n) {
    return QString(n, QLatin1Char('W')); // the widest letter, as many as the column holds
}

const QString kTotal = QStringLiteral("999999999.99");
const QString kDate = QStringLiteral("31/12/2026");

QString widestWords() {
    return QStringLiteral("Amount in Words: ") + books::convertValue("999999999").words +
           QStringLiteral(" rupees and ninety-nine paise advance");
}

QString upiLink() {
    return QStringLiteral("upi://pay?pa=shivdairyshop.counter1@okaxis&pn=SHIV%20DAIRY%20SHOP"
                          "&am=999999999.99&cu=INR&tn=Bill%209999999999%20of%2031%2F12%2F2026");
}

// The widest text a shop can store for each value a layout shows, by the
// formula, caption or column it comes from (widths of the masters' columns).
QString widest(const QString& layout, const QString& key) {
    static const QHash<QString, QString> values = [] {
        QHash<QString, QString> v;
        const auto set = [&v](const QStringList& keys, const QString& value) {
            for (const QString& key : keys)
                v[key] = value;
        };
        set({"dairyname", "city", "partyname", "partycity", "LABEL1", "LABEL34", "LABEL24",
             "party_name", "Party_name"},
            wide(50));
        set({"address"}, wide(200));
        set({"partyaddress", "txthead", "accounthead", "remark"}, wide(100));
        set({"reporttitle", "LABEL100", "LABEL32", "item_name", "particulars"}, wide(40));
        set({"mgstno", "category"}, wide(20));
        set({"partycode", "party_code", "unit"}, wide(10));
        set({"mobileno", "partymobile"}, QString(50, '9'));
        set({"billtotal", "LABEL26", "LABEL4", "LABEL46", "LABEL47"}, kTotal);
        set({"LABEL14", "LABEL12"}, kTotal + " Dr");
        set({"fromdate", "todate", "LABEL7", "LABEL29", "RepItemPurchases/LABEL8"}, kDate);
        set({"amtinwords", "words"}, widestWords());
        set({"LBLpartyname"}, "Name: " + wide(100));
        set({"creditline"}, core::creditLine());
        set({"upilink"}, upiLink());
        set({"doc_no"}, QString(10, '9'));
        set({"LABEL8", "LABEL9"}, "Credit"); // column headings
        set({"side"}, "Cr");
        return v;
    }();
    return values.value(layout + '/' + key, values.value(key));
}

// Columns the test has no widest value for: a new layout's, to be added above.
QStringList& missingValues() {
    static QStringList missing;
    return missing;
}

bool isNumberFormat(const QString& format) {
    return !format.isEmpty() && !format.startsWith(QLatin1String("dd"));
}

// A shipped layout filled with the widest values, `lines` detail rows.
Report widestReport(const QString& file, int lines) {
    Report report(loadLayout(file, kShipped));
    const Layout& layout = report.layout();
    QStringList columns{QStringLiteral("upilink")};
    if (!layout.breakOn.isEmpty())
        columns << layout.breakOn;
    for (const LayoutSection& section : layout.sections) {
        for (const LayoutItem& item : section.items) {
            if (item.kind == ItemKind::Formula)
                report.setFormula(item.formula, widest(layout.name, item.formula));
            else if (item.kind == ItemKind::Qr && !item.formula.isEmpty())
                report.setFormula(item.formula, upiLink());
            else if (item.kind == ItemKind::Label && item.text.isEmpty() && !item.name.isEmpty() &&
                     item.name != QLatin1String("LABEL25")) // LABEL24's place, for an item
                report.setCaption(section.name, item.name, widest(layout.name, item.name));
            else if (item.kind == ItemKind::Field && section.kind == SectionKind::Detail) {
                if (item.column.isEmpty()) // a column the screen names
                    report.setDataField(section.name, item.name, item.name);
                const QString column = report.dataField(item);
                if (!columns.contains(column))
                    columns << column;
            }
        }
    }
    const LayoutSection* detail = layout.sectionOfKind(SectionKind::Detail);
    core::Rows rows;
    rows.columns = columns;
    const auto names = std::make_shared<const QStringList>(columns);
    for (int i = 0; i < lines; ++i) {
        QVariantList values(columns.size());
        for (const LayoutItem& item : detail->items) {
            const QString column = report.dataField(item);
            if (item.kind != ItemKind::Field || column.isEmpty())
                continue;
            QVariant value = isNumberFormat(item.format)    ? QVariant(kTotal.toDouble())
                             : item.format.startsWith("dd") ? QVariant(QDate(2026, 12, 31))
                             : !widest(layout.name, column).isEmpty()
                                 ? QVariant(widest(layout.name, column))
                                 : QVariant(widest(layout.name, item.name));
            if (value.toString().isEmpty())
                missingValues() << file + ": " + column;
            values[columns.indexOf(column)] = value;
        }
        // The words take a line of their own, with the party and nothing else.
        if (columns.contains(QStringLiteral("words"))) {
            for (int c = 0; c < columns.size(); ++c) {
                const bool words = columns[c] == QLatin1String("words");
                if (i % 2 ? !words && !columns[c].startsWith(QLatin1String("party_")) : words)
                    values[c] = QVariant();
            }
        }
        if (i % 2 == 0)
            values[0] = upiLink();
        rows.emplace_back(names, values);
    }
    report.setData(std::move(rows));
    return report;
}

} // namespace

class ReportPapersTest : public QObject {
    Q_OBJECT
private slots:
    // Every shipped layout with the widest values the masters hold, on A4 and
    // on the roll: every text inside its box as the PDF measures it, every
    // line of it whole, no two texts on one another, every row on its page.
    void shippedLayoutsHoldTheWidestValues_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("lines");
        const QStringList files = QDir(STOKARA_SOURCE_DIR "/reports")
                                      .entryList({"*.xml", "*.rpt"}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 8);
        for (const QString& f : files) {
            QTest::newRow(qPrintable(f + ", 2 lines")) << f << 2;
            QTest::newRow(qPrintable(f + ", 60 lines")) << f << 60;
        }
    }
    void shippedLayoutsHoldTheWidestValues() {
        QFETCH(QString, file);
        QFETCH(int, lines);
        const Report report = widestReport(file, lines);
        QVERIFY2(missingValues().isEmpty(), qPrintable(missingValues().join(", ")));
        const Layout& layout = report.layout();
        const Pages pages = layOut(report);
        int detailTexts = 0;
        for (int p = 0; p < pages.count(); ++p) {
            const Page& page = pages.page(p);
            const QRectF paper(0, 0, pages.width, pages.pageHeight(p));
            const QRectF printable = paper.adjusted(layout.marginLeft, layout.marginTop,
                                                    -layout.marginRight, -layout.marginBottom);
            std::vector<QRectF> taken;
            double footerTop = printable.bottom(); // rows end above the page footer
            for (const PageText& t : page.texts)
                if (const LayoutSection* f = layout.sectionOfKind(SectionKind::PageFooter);
                    f && t.section == f->name)
                    footerTop = std::min(footerTop, t.rect.top());
            for (const PageText& t : page.texts) {
                if (t.text.isEmpty())
                    continue;
                const QString where = QStringLiteral("page %1 %2/%3: %4")
                                          .arg(p + 1)
                                          .arg(t.section, t.control, t.text);
                QVERIFY2(printable.adjusted(-0.01, -0.01, 0.01, 0.01).contains(t.rect),
                         qPrintable(where));
                const QFont font = reportFont(pages.fontFamily, t.fontSize, t.bold);
                double widest = 0;
                for (const QString& line : t.lines)
                    widest = std::max(widest, textWidth(font, line));
                QVERIFY2(widest <= t.rect.width() + 1e-6, qPrintable(where));
                QVERIFY2(blockHeight(font, t.lines.size()) <= t.rect.height() + 1e-6,
                         qPrintable(where));
                // Nothing cut: the lines hold the whole text.
                QCOMPARE(t.lines.join(QString()).remove(' '), QString(t.text).remove(' '));
                const QRectF inner = t.rect.adjusted(0.05, 0.05, -0.05, -0.05);
                for (const QRectF& other : taken)
                    QVERIFY2(!inner.intersects(other), qPrintable(where + " overlaps"));
                taken.push_back(inner);
                if (t.section == layout.sectionOfKind(SectionKind::Detail)->name) {
                    ++detailTexts;
                    QVERIFY2(t.rect.bottom() <= footerTop + 1e-6, qPrintable(where));
                }
            }
            for (const PageQr& qr : page.qrs) {
                QVERIFY(printable.contains(qr.rect));
                QCOMPARE(qr.rect.width(), qr.rect.height());
                for (const QRectF& other : taken)
                    QVERIFY2(!qr.rect.intersects(other), qPrintable(file + " QR overlaps"));
            }
        }
        // Every row is laid out, none lost, none cut across pages.
        int expected = 0;
        for (const core::Row& row : report.rows())
            for (const LayoutItem& item : layout.sectionOfKind(SectionKind::Detail)->items)
                expected += item.kind == ItemKind::Field && !report.detailText(item, row).isEmpty();
        QCOMPARE(detailTexts, expected);
        if (layout.roll)
            QCOMPARE(pages.count(), 1);
    }

    // The 80 mm bill is one piece of paper as long as its lines.
    void rollFollowsTheBill() {
        QList<double> heights;
        for (int lines : {2, 40}) {
            Report report(loadLayout(QStringLiteral("RptVorlk_Bill1.80mm.rpt"), kShipped));
            core::Rows rows;
            rows.columns = QStringList{"doc_dt", "doc_no", "item_name", "qty", "rate", "net_amt"};
            const auto names = std::make_shared<const QStringList>(rows.columns);
            for (int i = 0; i < lines; ++i)
                rows.emplace_back(
                    names, QVariantList{QDate(2026, 4, 1), "12", "COW FEED", 2.0, 25.0, 50.0});
            report.setData(std::move(rows));
            // An ordinary bill, no due to pay by UPI: no QR, no room kept for one.
            for (const char* f : {"dairyname=SHIV DAIRY SHOP", "address=MAIN ROAD", "city=NAGPUR",
                                  "mobileno=9876543210", "mgstno=27ABCDE1234F1Z5", "partycode=1",
                                  "partyname=RAM SINGH", "partyaddress=NEAR TEMPLE",
                                  "partycity=NAGPUR", "partymobile=9876543211", "billtotal=100.00",
                                  "amtinwords=Amount in Words: one hundred", "upilink="}) {
                const QStringList pair = QString::fromLatin1(f).split('=');
                report.setFormula(pair[0], pair[1]);
            }
            const Pages pages = layOut(report);
            QCOMPARE(pages.count(), 1);
            QCOMPARE(pages.width, 80.0);
            QCOMPARE(pages.height, pages.pageHeight(0));
            heights << pages.height;
        }
        QVERIFY2(heights[0] < 120, qPrintable(QString::number(heights[0])));
        // Each line is one band of 8 mm: 38 more lines, 38 bands more paper.
        QCOMPARE(qRound((heights[1] - heights[0]) * 100), 38 * 8 * 100);
    }

    // The periodic bill for every party: each party starts a sheet, with its
    // own header and "Page n of m".
    void eachPartyOnItsOwnSheets() {
        Report report(loadLayout(QStringLiteral("rptvorlk_bill.rpt"), kShipped));
        core::Rows rows;
        rows.columns = QStringList{"party_code", "party_name", "sn",    "doc_dt", "particulars",
                                   "qty",        "net_amt",    "words", "upilink"};
        const auto names = std::make_shared<const QStringList>(rows.columns);
        const auto add = [&](const QString& code, int sn, const QVariant& particulars,
                             const QVariant& words = {}, const QVariant& link = {}) {
            rows.emplace_back(names, QVariantList{code,
                                                  "PARTY " + code,
                                                  sn,
                                                  {},
                                                  particulars,
                                                  {},
                                                  words.isNull() ? 10.0 : QVariant(),
                                                  words,
                                                  link});
        };
        const auto party = [&](const QString& code, int lines) {
            add(code, 1, "Opening Balance");
            for (int i = 0; i < lines; ++i)
                add(code, 2, "MILK");
            add(code, 3, "Closing Balance", {}, code == "2" ? upiLink() : QString());
            add(code, 4, {}, "Amount in Words: twenty");
        };
        party("1", 70); // two sheets
        party("2", 3);
        party("3", 1);
        report.setData(std::move(rows));
        const Pages pages = layOut(report);
        const QStringList numbers{"Page 1 of 2", "Page 2 of 2", "Page 1 of 1", "Page 1 of 1"};
        QCOMPARE(pages.count(), numbers.size());
        for (int p = 0; p < pages.count(); ++p) {
            QCOMPARE(pages.text(p, "lblPage"), numbers[p]);
            // The header names the page's party.
            const QString party = QStringLiteral("PARTY ") + QString("1123")[p];
            QVERIFY(std::any_of(
                pages.page(p).texts.begin(), pages.page(p).texts.end(),
                [&](const PageText& t) { return t.section == "Section2" && t.text == party; }));
            QCOMPARE(pages.page(p).qrs.size(), size_t(p == 2 ? 1 : 0));
        }
        QCOMPARE(pages.texts(2, "txtparticulars").first(), QStringLiteral("Opening Balance"));
        QCOMPARE(pages.page(2).qrs.front().text, upiLink());
    }

    // The QR drawn by the engine's painter scans back to its text; no text, no QR.
    void qrScansBackToItsText_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("size"); // mm, at least
        QTest::newRow("A4 bill") << "RptVorlk_Bill1.rpt" << 20.0;
        QTest::newRow("80 mm bill") << "RptVorlk_Bill1.80mm.rpt" << 25.0;
    }
    void qrScansBackToItsText() {
        QFETCH(QString, file);
        QFETCH(double, size);
        Report report = widestReport(file, 3);
        report.setFormula("upilink", QString());
        const double without = layOut(report).pageHeight(0);
        QVERIFY(layOut(report).page(0).qrs.empty());
        report.setFormula("upilink", upiLink());
        const Pages pages = layOut(report);
        const Page& page = pages.page(pages.count() - 1);
        QCOMPARE(page.qrs.size(), size_t(1));
        QVERIFY(page.qrs.front().rect.width() >= size);
        if (report.layout().roll)
            QVERIFY(pages.pageHeight(0) >= without + size);
        const auto scanned = test::scanQr(pages, pages.count() - 1);
        if (!scanned)
            QSKIP("zbarimg (zbar-tools) is not installed: the QR is not read back");
        QCOMPARE(*scanned, upiLink());
    }
};

QTEST_MAIN(ReportPapersTest)
#include "test_report_papers.moc"
