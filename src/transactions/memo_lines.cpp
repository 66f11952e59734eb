#include "transactions/memo_lines.h"

#include <cmath>

namespace stokara::transactions {

namespace {

const QString kRule = QString(65, QLatin1Char('-'));

// Fixed decimals with no zero before the point, the way the memo has always
// shown numbers below one.
QString fixedNoLeadingZero(double value, int decimals) {
    // Sums of stored amounts carry binary noise (0.1 + 0.2); drop it before rounding.
    const double cleaned = std::round(value * 1e6) / 1e6;
    QString digits = QString::number(std::abs(cleaned), 'f', decimals);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    const bool negative = cleaned < 0 && -cleaned >= 0.5 * std::pow(10.0, -decimals);
    return negative ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString memoItemName(const QString& itemName) {
    const qsizetype dash = itemName.indexOf(QLatin1Char('-'));
    const QString rest = dash < 0 ? itemName : itemName.mid(dash + 1);
    return rest.right(8);
}

QString formatMemoQty(double qty) {
    return fixedNoLeadingZero(qty, 3);
}

QString formatMemoAmount(double amount) {
    return fixedNoLeadingZero(amount, 2);
}

QString memoBillLine(const QString& billNo, const QDate& date) {
    return QStringLiteral("Bill No.") + billNo + QStringLiteral("                   Date: ") +
           date.toString(QStringLiteral("dd-MM-yy"));
}

QString memoFooter() {
    return QStringLiteral("Billing by Stokara - dairy shop software");
}

std::vector<MemoLine> memoLines(const core::ShopInfo& shop, const MemoBill& bill) {
    std::vector<MemoLine> lines;
    auto add = [&](int left, int top, const QString& text) { lines.push_back({left, top, text}); };
    const QString blank = QStringLiteral(" ");

    add(100, 200, shop.name);
    add(100, 300, blank);
    add(100, 600, shop.address.left(27));
    add(100, 700, blank);
    add(100, 900, QString(12, QLatin1Char(' ')) + shop.city);
    add(100, 1000, blank);
    add(200, 1250, QStringLiteral("    Cash / Credit Memo "));
    add(100, 1350, blank);
    add(100, 1600, memoBillLine(bill.billNo, bill.date));
    add(100, 1700, blank);
    add(100, 1950,
        QStringLiteral("Party: ") + bill.partyCode + QStringLiteral(" - ") + bill.partyName);
    add(100, 2150, kRule);
    add(100, 2350, QStringLiteral("Item"));
    add(1500, 2350, QStringLiteral("Qty"));
    add(2500, 2350, QStringLiteral("Rate"));
    add(3400, 2350, QStringLiteral("Amount"));
    add(100, 2550, kRule);

    int top = 2550; // item lines start 200 below the rule under the heads
    for (const MemoItem& item : bill.items) {
        top += 200;
        add(100, top, memoItemName(item.itemName));
        add(1500, top, formatMemoQty(item.qty));
        add(2500, top, formatMemoAmount(item.rate));
        add(3400, top, formatMemoAmount(item.amount));
    }
    add(100, top += 200, kRule);
    add(100, top += 200, QStringLiteral("Total:"));
    add(3400, top, formatMemoAmount(bill.total));
    add(100, top += 300,
        QStringLiteral("Thanks              PrintTime:") +
            bill.printedAt.toString(QStringLiteral("dd-MM-yy HH:mm:ss")));
    add(100, top += 200, kRule);
    add(100, top += 200, memoFooter());
    return lines;
}

std::vector<std::vector<MemoLine>> paginateMemo(const std::vector<MemoLine>& lines,
                                                const QString& billLine, int pageHeightTwips) {
    std::vector<std::vector<MemoLine>> pages(1);
    int offset = 0; // absolute top of the current page's origin
    for (const MemoLine& line : lines) {
        int top = line.top - offset;
        if (top + kMemoLineHeightTwips > pageHeightTwips && top > kMemoContinuationTop) {
            offset = line.top - kMemoContinuationTop;
            pages.emplace_back();
            pages.back().push_back({100, kMemoContinuationHeaderTop, billLine});
            top = kMemoContinuationTop;
        }
        pages.back().push_back({line.left, top, line.text});
    }
    return pages;
}

} // namespace stokara::transactions
