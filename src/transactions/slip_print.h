#pragma once

#include "core/session.h"
#include "transactions/slip_canvas.h"

#include <QDate>
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
// no printer, a PDF file in <data>/memos/ whose path is put in *pdfPath.
std::unique_ptr<SlipCanvas> openDefaultSlipCanvas(const core::Session& session, QString* pdfPath);

} // namespace stokara::transactions
