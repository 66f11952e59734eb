#pragma once

#include "core/session.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace stokara::transactions {

// One item row of a memo, as the bill holds it.
struct MemoItem {
    QString itemName;
    double qty = 0;
    double rate = 0;
    double amount = 0;
};

// Everything a cash/credit memo shows about its bill.
struct MemoBill {
    QString billNo;
    QDate date;
    QString partyCode;
    QString partyName;
    std::vector<MemoItem> items;
    double total = 0;
    QDateTime printedAt;
};

// A line of text placed at an absolute position in twips from the top left of
// the printable area.
struct MemoLine {
    int left = 0;
    int top = 0;
    QString text;
    bool operator==(const MemoLine&) const = default;
};

inline constexpr int kMemoFontSize = 10;
// A 10 point line plus its leading; a line whose top lies closer than this to
// the bottom of the page goes to the next page.
inline constexpr int kMemoLineHeightTwips = 240;
// Where continued lines start on a following page (below the repeated bill line).
inline constexpr int kMemoContinuationTop = 450;
inline constexpr int kMemoContinuationHeaderTop = 200;

// The item column: the text after the first "-" (the whole name when there is
// none), of which the last 8 characters.
QString memoItemName(const QString& itemName);
// Quantity as ".000": three decimals, no grouping, no zero before the point
// (0.5 is ".500", 12 is "12.000").
QString formatMemoQty(double qty);
// Rate and amounts as ".00" (7.5 is "7.50", 0.5 is ".50").
QString formatMemoAmount(double amount);
// "Bill No.7                   Date: 05-03-18"
QString memoBillLine(const QString& billNo, const QDate& date);
// The fixed last line naming the program.
QString memoFooter();

// Every line of the memo, in printing order, at its absolute position.
std::vector<MemoLine> memoLines(const core::ShopInfo& shop, const MemoBill& bill);

// Splits the lines into pages of the given printable height. A line that does
// not fit goes with all that follow to a new page, which starts with the bill
// line (so a loose second sheet still says whose it is); positions are then
// measured on that page.
std::vector<std::vector<MemoLine>> paginateMemo(const std::vector<MemoLine>& lines,
                                                const QString& billLine, int pageHeightTwips);

} // namespace stokara::transactions
