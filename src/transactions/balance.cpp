#include "balance.h"

#include "core/database.h"
#include "core/idioms.h"
#include "sale_rules.h"

namespace stokara::transactions {

std::optional<double> closingBalance(core::Database& db, const QString& partyCode,
                                     const QDate& upTo) {
    // "Up to and including" as a half-open range: rows stored with a time of
    // day on the last date still count.
    const QDate before = upTo.addDays(1);

    const core::Rows sales =
        db.query(QStringLiteral("select count(*), sum(net_amt) from itemsale where party_code = ? "
                                "and doc_dt < ?"),
                 {partyCode, before});
    const core::Rows own = db.query(
        QStringLiteral("select count(*), sum(case when v_type = 'Cr' then net_amount else 0 end), "
                       "sum(case when v_type = 'Dr' then net_amount else 0 end) from daybook "
                       "where party_code = ? and category = 'MilkMan' and v_type in ('Cr', 'Dr') "
                       "and dt < ?"),
        {partyCode, before});
    const qint64 saleCount = sales.front().at(0).toLongLong();
    const qint64 voucherCount = own.front().at(0).toLongLong();
    if (saleCount + voucherCount > 0) {
        const double debit = sales.front().number(1) + own.front().number(2);
        const double credit = own.front().number(1);
        return core::round2(credit - debit);
    }

    // No account of the party itself: the first account head booked under its code.
    const core::Rows heads = db.query(
        QStringLiteral(
            "select accounthead, sum(case when v_type = 'Dr' then net_amount else 0 "
            "end) - sum(case when v_type = 'Cr' then net_amount else 0 end) from "
            "daybook where party_code = ? and category = 'AccountHead' and v_type in "
            "('Cr', 'Dr') and dt < ? group by accounthead order by coalesce(accounthead, '')"),
        {partyCode, before});
    if (heads.empty())
        return std::nullopt;
    return core::round2(heads.front().number(1));
}

QString balanceText(const std::optional<double>& balance) {
    if (!balance)
        return {};
    return sale::numberText(*balance);
}

} // namespace stokara::transactions
