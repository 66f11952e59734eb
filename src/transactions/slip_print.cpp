#include "transactions/slip_print.h"

#include "core/clock.h"
#include "core/database.h"
#include "transactions/memo_lines.h"
#include "transactions/memo_store.h"
#include "transactions/sale_finishing.h"
#include "transactions/slip_painter_canvas.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <stdexcept>

namespace stokara::transactions {

bool slipPrint(core::Database& db, const core::ShopInfo& shop, const QString& billNo,
               const QDate& date, SlipCanvas& canvas, const QDateTime& printedAt) {
    MemoStore store(db);
    const std::vector<MemoStore::Row> rows = store.billRows(billNo, date);
    if (rows.empty())
        return false;

    MemoBill bill;
    bill.billNo = rows.front().docNo;
    bill.date = rows.front().docDate;
    bill.partyCode = rows.front().partyCode;
    bill.partyName = rows.front().partyName;
    for (const MemoStore::Row& row : rows)
        bill.items.push_back({row.itemName, row.qty, row.rate, row.netAmount});
    bill.total = store.billTotal(billNo, date);
    bill.printedAt = printedAt;

    const auto pages = paginateMemo(memoLines(shop, bill), memoBillLine(bill.billNo, bill.date),
                                    canvas.pageHeightTwips());
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            canvas.newPage();
        for (const MemoLine& line : pages[page]) {
            canvas.setFontSize(kMemoFontSize);
            canvas.setPosition(line.left, line.top);
            canvas.printLine(line.text);
        }
    }
    canvas.setFontSize(kMemoFontSize);
    canvas.endDocument();
    return true;
}

std::unique_ptr<SlipCanvas> openDefaultSlipCanvas(const core::Session& session, QString* pdfPath,
                                                  const QString& billNo) {
    if (pdfPath)
        pdfPath->clear();
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull())
        return PainterSlipCanvas::forPrinter(printer);

    const QString dataDir = session.dataDir.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : session.dataDir;
    QDir dir(dataDir);
    if (!dir.mkpath(QStringLiteral("memos")) || !dir.cd(QStringLiteral("memos")))
        throw std::runtime_error(
            QStringLiteral("The folder %1 for memos could not be made.")
                .arg(QDir::toNativeSeparators(dataDir + QStringLiteral("/memos")))
                .toStdString());

    // Bill numbers are typed text; keep only what is safe in a file name.
    QString bill = billNo.trimmed();
    bill.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    const QDateTime now = session.clock ? session.clock->now() : QDateTime::currentDateTime();
    QString stem = QStringLiteral("memo-");
    if (!bill.isEmpty())
        stem += bill + QLatin1Char('-');
    stem += now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = dir.filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral("-%1.pdf").arg(n));
    if (pdfPath)
        *pdfPath = path;
    return PainterSlipCanvas::forPdf(path);
}

} // namespace stokara::transactions

namespace stokara::transactions {

QString printMemoOnShopPrinter(core::Session& session, const FinishedBill& bill) {
    // Nothing to print opens no print job either.
    if (!bill.date.isValid() || MemoStore(*session.db).billRows(bill.billNo, bill.date).empty())
        return {};
    QString pdfPath;
    std::unique_ptr<SlipCanvas> canvas = openDefaultSlipCanvas(session, &pdfPath, bill.billNo);
    if (!canvas)
        throw std::runtime_error("No printer and no memo file could be opened.");
    const bool printed =
        slipPrint(*session.db, session.shop, bill.billNo, bill.date, *canvas, session.clock->now());
    // A bill whose party is gone prints nothing, and no file is left to point to.
    if (!printed || pdfPath.isEmpty())
        return {};
    return QStringLiteral("No printer: the memo was saved as %1").arg(pdfPath);
}

} // namespace stokara::transactions
