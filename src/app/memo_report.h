#pragma once

#include <QString>

namespace stokara::core {
struct Session;
}

namespace stokara::transactions {
struct FinishedBill;
}

namespace stokara::app {

// The file a shop copies into its data folder's reports/ to have its memos
// printed from a layout (whole names, words, the payment QR) instead of the
// classic memo placed for pre-printed stationery.
inline constexpr const char* kMemoLayout = "Memo.rpt";

// A finished bill's memo: from the data folder's Memo.rpt when the shop has
// put one there, else the classic memo. On the default printer, or without
// one as a PDF in the data folder's memos/. Returns what the operator should
// be told (the PDF's path), empty when it went to a printer or the bill had
// no rows.
QString printMemo(core::Session& session, const transactions::FinishedBill& bill);

} // namespace stokara::app
