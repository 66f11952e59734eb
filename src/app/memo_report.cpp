#include "memo_report.h"

#include "books/amount_words.h"
#include "core/app_info.h"
#include "core/clock.h"
#include "core/idioms.h"
#include "core/session.h"
#include "core/upi.h"
#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/engine/report.h"
#include "transactions/memo_store.h"
#include "transactions/sale_finishing.h"
#include "transactions/slip_print.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include <stdexcept>

namespace stokara::app {

namespace {

// The bill's memo laid out from the shop's Memo.rpt.
reports::Report memoReport(core::Session& session, const QString& layoutPath,
                           const std::vector<transactions::MemoStore::Row>& lines, double total) {
    QFile file(layoutPath);
    if (!file.open(QIODevice::ReadOnly))
        throw reports::ReportError(
            QStringLiteral("The memo layout %1 cannot be read.").arg(layoutPath));
    reports::Report report(reports::parseLayout(file.readAll(), layoutPath));
    core::Rows rows;
    rows.columns = QStringList{QStringLiteral("item_name"), QStringLiteral("qty"),
                               QStringLiteral("rate"), QStringLiteral("net_amt")};
    auto names = std::make_shared<const QStringList>(rows.columns);
    for (const transactions::MemoStore::Row& line : lines)
        rows.push_back(core::Row(names, {line.itemName, line.qty, line.rate, line.netAmount}));
    report.setData(std::move(rows));
    const core::ShopInfo& shop = session.shop;
    const transactions::MemoStore::Row& first = lines.front();
    const QString link =
        core::upiPaymentLink(shop.upiId, shop.upiPayee.isEmpty() ? shop.name : shop.upiPayee, total,
                             QStringLiteral("Bill ") + first.docNo);
    // A shop's own file may leave out a formula it has no use for.
    const std::pair<const char*, QString> formulas[] = {
        {"dairyname", shop.name},
        {"address", shop.address},
        {"city", shop.city},
        {"mobileno", shop.mobile},
        {"mgstno", shop.tinNo},
        {"partycode", first.partyCode},
        {"partyname", first.partyName},
        {"billno", first.docNo},
        {"billdate", core::formatDate(first.docDate)},
        {"billtotal", QString::number(core::round2(total), 'f', 2)},
        {"amtinwords", QStringLiteral("Amount in Words: ") + books::rupeeWords(total)},
        {"printtime", QStringLiteral("PrintTime: ") +
                          session.clock->now().toString(QStringLiteral("dd-MM-yy hh:mm:ss"))},
        {"creditline", core::creditLine()},
        {"upilink", link},
    };
    for (const auto& [name, value] : formulas) {
        const QString n = QString::fromLatin1(name);
        if (reports::sharedFormulaNames().contains(n) ||
            report.layout().formulaNames.contains(n, Qt::CaseInsensitive))
            report.setFormula(n, value);
    }
    return report;
}

} // namespace

QString printMemo(core::Session& session, const transactions::FinishedBill& bill) {
    const QString layoutPath =
        QDir(session.dataDir).filePath(QStringLiteral("reports/") + QLatin1String(kMemoLayout));
    if (session.dataDir.isEmpty() || !QFileInfo::exists(layoutPath))
        return transactions::printMemoOnShopPrinter(session, bill);

    transactions::MemoStore store(*session.db);
    const auto lines = store.billRows(bill.billNo, bill.date);
    if (!bill.date.isValid() || lines.empty())
        return {};
    const reports::Pages pages = reports::layOut(
        memoReport(session, layoutPath, lines, store.billTotal(bill.billNo, bill.date)));
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        // As the classic memo does without a printer: a PDF in memos/.
        QDir dir(session.dataDir);
        if (!dir.mkpath(QStringLiteral("memos")))
            throw std::runtime_error("The folder for memos could not be made.");
        QString stem = bill.billNo.trimmed();
        stem.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
        const QString path = dir.filePath(
            QStringLiteral("memos/memo-%1-%2.pdf")
                .arg(stem, session.clock->now().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
        reports::writePdf(pages, path, QStringLiteral("Memo ") + bill.billNo);
        return QStringLiteral("No printer: the memo was saved as %1").arg(path);
    }
    QPrinter device(printer, QPrinter::HighResolution);
    device.setDocName(QStringLiteral("Memo ") + bill.billNo);
    device.setFullPage(true);
    device.setPageSize(QPageSize(QSizeF(pages.width, pages.pageHeight(0)), QPageSize::Millimeter));
    QPainter painter;
    if (!painter.begin(&device))
        throw reports::ReportError(
            QStringLiteral("The printer %1 cannot be used.").arg(printer.printerName()));
    reports::paintPages(painter, device, pages, 0, pages.count() - 1);
    painter.end();
    return {};
}

} // namespace stokara::app
