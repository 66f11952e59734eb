#pragma once

#include "core/session.h"
#include "transactions/slip_canvas.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <memory>

namespace stokara::core {
class Database;
}

namespace stokara::transactions {

// Prints the cash/credit memo of one bill (its rows on that date) on the
// canvas. Returns false, having drawn nothing, when the bill has no rows on
// that date. Throws core::DbError on a database failure.
bool slipPrint(core::Database& db, const core::ShopInfo& shop, const QString& billNo,
               const QDate& date, SlipCanvas& canvas, const QDateTime& printedAt);

// The shop's memo canvas: the system's default printer, or, on a machine with
// no printer, a PDF file in <data>/memos/ whose path is put in *pdfPath (set
// empty for a printer). The file is written only when something is printed on
// it, so tell the operator the path only after slipPrint returned true. The
// bill number, when given, goes into the file name. Throws std::runtime_error
// when the memos folder cannot be made.
std::unique_ptr<SlipCanvas> openDefaultSlipCanvas(const core::Session& session, QString* pdfPath,
                                                  const QString& billNo = {});

} // namespace stokara::transactions
