#include "core/session.h"
#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/engine/report.h"
#include "reports/ui/preview_window.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace stokara;
using namespace stokara::reports;

namespace {

Layout itemBook() {
    return loadLayout(QStringLiteral("RepItemBook.xml"),
                      ReportFolders{{}, QStringLiteral(STOKARA_SOURCE_DIR)});
}

core::Rows ledgerRows(int count) {
    core::Rows rows;
    rows.columns = QStringList{"doc_dt", "item_name", "dr", "cr"};
    const auto names = std::make_shared<const QStringList>(rows.columns);
    for (int i = 0; i < count; ++i)
        rows.emplace_back(names, QVariantList{QDate(2026, 4, 1).addDays(i / 3),
                                              QStringLiteral("Line %1").arg(i + 1),
                                              10.5,
                                              {}});
    return rows;
}

} // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT
private slots:
    // Number formats the ledgers do not show (their golden files cover the rest).
    void formats_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("half") << QVariant(0.5) << ".00"
                              << ".50";
        QTest::newRow("grouped") << QVariant(-1234.5) << "#,##0.00"
                                 << "-1,234.50";
        QTest::newRow("no negative zero") << QVariant(-0.001) << "0.00"
                                          << "0.00";
    }
    void formats() {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, shown);
        QCOMPARE(formatValue(value, format), shown);
    }

    // A long ledger: the page header on each page, rows never cut, the footer
    // once after the last row, "Page n of m".
    void longLedgerLaysOutOnPages() {
        Report report(itemBook());
        report.setCaption("a", "LABEL100", "Party Ledger");
        report.setCaption("SECTION5", "LABEL12", "99.00");
        report.setDataField("d", "txthead", "item_name");
        report.setData(ledgerRows(300));
        const Pages pages = layOut(Report(report)); // a copy keeps what was set
        QCOMPARE(pages.count(), 9);
        int rows = 0;
        for (int p = 0; p < pages.count(); ++p) {
            QCOMPARE(pages.text(p, "LABEL100"), QStringLiteral("Party Ledger"));
            QCOMPARE(pages.text(p, "lblPage"), QStringLiteral("Page %1 of 9").arg(p + 1));
            double lowest = 0, footerTop = 0;
            for (const PageText& t : pages.page(p).texts) {
                if (t.control == QLatin1String("txthead")) {
                    ++rows;
                    QVERIFY(t.rect.bottom() <= 297 - 12 - 8 + 1e-6); // above the page footer
                    lowest = std::max(lowest, t.rect.bottom());
                }
                if (t.control == QLatin1String("LABEL12"))
                    footerTop = t.rect.top();
            }
            QCOMPARE(footerTop > 0, p == 8);
            if (p == 8)
                QVERIFY(footerTop >= lowest);
        }
        QCOMPARE(rows, 300);
        QCOMPARE(pages.text(8, "txthead"), QStringLiteral("Line 297"));
        // A page is made when first asked for: the last one first, through a
        // copy, after the report it came from is gone, reads the same.
        Pages later;
        {
            const Report gone(report);
            later = layOut(gone);
        }
        const Pages copy = later;
        QCOMPARE(copy.texts(8, "txthead"), pages.texts(8, "txthead"));
        QCOMPARE(later.texts(0, "txthead"), pages.texts(0, "txthead"));
        QCOMPARE(later.text(3, "lblPage"), QStringLiteral("Page 4 of 9"));

        // The preview turns pages with PgDn/PgUp and closes with Escape.
        core::Session session;
        auto preview = std::make_unique<PreviewWindow>(session, report, "Ledger");
        preview->show();
        QTest::keyClick(preview.get(), Qt::Key_PageDown);
        QTest::keyClick(preview.get(), Qt::Key_PageDown);
        QTest::keyClick(preview.get(), Qt::Key_PageUp);
        QCOMPARE(preview->currentPage(), 1);
        QTest::keyClick(preview.get(), Qt::Key_Escape);
        QVERIFY(!preview->isVisible());
    }

    // The PDF is painted in a worker while the preview stays usable; a cancelled
    // one leaves no file, a finished one has every page.
    void previewSavesPdfInTheBackground() {
        Report report(itemBook());
        report.setDataField("d", "txthead", "item_name");
        report.setData(ledgerRows(3000));
        test::ScriptedDialogs dialogs;
        core::Session session;
        session.dialogs = &dialogs;
        QTemporaryDir folder;
        const QString stopped = folder.filePath("stopped.pdf");
        const QString whole = folder.filePath("whole.pdf");
        PreviewWindow preview(session, report, "Ledger");
        preview.show();
        auto* pdf = preview.findChild<QPushButton*>("cmdPdf");

        dialogs.answerFile(stopped);
        QTest::mouseClick(pdf, Qt::LeftButton);
        QVERIFY(preview.busy());
        QVERIFY(!pdf->isEnabled());
        emit preview.findChild<QProgressDialog*>("PrgPages")->canceled(); // its Cancel button
        QTRY_VERIFY(!preview.busy());
        QVERIFY(!QFile::exists(stopped));

        dialogs.answerFile(whole);
        QTest::mouseClick(pdf, Qt::LeftButton);
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(preview.currentPage(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!preview.busy(), 120000);
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.lastText()));
        QVERIFY(pdf->isEnabled());
        QFile file(whole);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")),
                 preview.pages().count());
    }

    // A PDF that cannot be written is reported, and the preview can try again.
    void previewReportsAPdfItCannotWrite() {
        Report report(itemBook());
        report.setData(ledgerRows(10));
        test::ScriptedDialogs dialogs;
        core::Session session;
        session.dialogs = &dialogs;
        PreviewWindow preview(session, report, "Ledger");
        dialogs.answerFile("/nonexistent-folder/ledger.pdf");
        preview.saveAsPdf();
        QTRY_VERIFY(!preview.busy());
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY2(dialogs.lastText().contains("ledger.pdf"), qPrintable(dialogs.lastText()));
        QVERIFY(preview.findChild<QPushButton*>("cmdPdf")->isEnabled());
    }

    // What a broken layout or a wrong name says: the file and the name, never a crash.
    void failuresNameTheCause_data() {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("message");
        const QString detail = "<section name='d' kind='detail' height='5'><field name='f'/>"
                               "</section>";
        QTest::newRow("not a layout") << "<html/>"
                                      << ""
                                      << ""
                                      << "does not start with <report>";
        QTest::newRow("no detail band") << "<report/>"
                                        << ""
                                        << ""
                                        << "no detail section";
        QTest::newRow("bad kind") << "<report><section kind='side' height='5'/></report>"
                                  << ""
                                  << ""
                                  << "unknown section kind \"side\"";
        QTest::newRow("bad number") << "<report><section kind='detail' height='x'/></report>"
                                    << ""
                                    << ""
                                    << "height=\"x\" is not a number";
        QTest::newRow("bad fit") << "<report><section kind='detail' height='5'><field "
                                    "fit='squeeze'/></section></report>"
                                 << ""
                                 << ""
                                 << "unknown fit \"squeeze\"";
        QTest::newRow("QR of nothing") << "<report><section kind='detail' height='5'><qr/>"
                                          "</section></report>"
                                       << ""
                                       << ""
                                       << "a QR control needs a formula or a column";
        QTest::newRow("bad roll") << "<report page='wxroll'>" + detail + "</report>"
                                  << ""
                                  << ""
                                  << "unknown page size \"wxroll\"";
        QTest::newRow("unknown section") << "<report>" + detail + "</report>"
                                         << "section2"
                                         << "LABEL14"
                                         << "has no section section2";
        QTest::newRow("unknown control") << "<report>" + detail + "</report>"
                                         << "d"
                                         << "LABEL14"
                                         << "has no control LABEL14 in section d";
    }
    void failuresNameTheCause() {
        QFETCH(QString, xml);
        QFETCH(QString, section);
        QFETCH(QString, control);
        QFETCH(QString, message);
        try {
            Report report(parseLayout(xml.toUtf8(), "shop.xml"));
            report.setCaption(section, control, "x");
            QFAIL("no error");
        } catch (const ReportError& e) {
            const QString text = QString::fromUtf8(e.what());
            QVERIFY2(text.contains("shop.xml") && text.contains(message), qPrintable(text));
        }
    }
};

QTEST_MAIN(ReportEngineTest)
#include "test_report_engine.moc"
