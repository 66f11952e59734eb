#include "accounts.h"

#include "core/idioms.h"

#include <QStringList>

namespace stokara::books {

namespace {

// A voucher is a party's when it carries a party category, or none at all and
// a code the party master knows: the day book files a party's receipts and
// payments under the party's own category, which may be any of the three, and
// older rows under no category. Vendors, heads and product buyers have
// categories of their own, and codes that may repeat a party's.
const char* const kPartyVoucher =
    " and (d.category in ('MilkMan', 'VLCC', 'RetailMilk') or (coalesce(d.category, '') = '' "
    "and exists (select 1 from masparty m where m.party_code = d.party_code)))";
const char* const kVendorVoucher = " and d.category = 'Vendor'";
const char* const kHeadVoucher = " and d.category = 'AccountHead'";
// Only receipts and payments move a balance.
const char* const kVoucherSides =
    "sum(case when d.v_type = 'Dr' then d.net_amount else 0 end) as dr, "
    "sum(case when d.v_type = 'Cr' then d.net_amount else 0 end) as cr, count(*) as entries "
    "from daybook d where d.v_type in ('Cr', 'Dr')";

QString text(const char* s) {
    return QString::fromLatin1(s);
}

Balance balanceOf(const core::Row& row) {
    Balance b;
    b.debit = row.number(QStringLiteral("dr"));
    b.credit = row.number(QStringLiteral("cr"));
    b.entries = row.value(QStringLiteral("entries")).toLongLong();
    return b;
}

// Every vendor's purchases (by the vendor's name) and vouchers (by its code),
// one row per vendor: a purchase takes its vendor's code, a voucher its
// vendor's name, from the master; a name or code the master does not know
// stands alone.
Query vendorBalances(const QDate& date) {
    return {QStringLiteral(
                "select party_code, party_name, sum(dr) as dr, sum(cr) as cr, sum(entries) as "
                "entries from (select (select min(m.party_code) from masvendor m where "
                "m.party_name = p.party_name) as party_code, p.party_name, 0 as dr, "
                "sum(p.net_amount) as cr, count(*) as entries from itempurchases p where "
                "p.doc_dt < ? group by p.party_name union all select d.party_code, (select "
                "min(m.party_name) from masvendor m where m.party_code = d.party_code), ") +
                text(kVoucherSides) + QStringLiteral(" and d.dt < ?") + text(kVendorVoucher) +
                QStringLiteral(" group by d.party_code) u group by party_code, party_name"),
            {date, date}};
}

Query headBalances(const QDate& date) {
    return {
        QStringLiteral("select min(d.party_code) as party_code, d.accounthead as party_name, ") +
            text(kVoucherSides) + QStringLiteral(" and d.dt < ?") + text(kHeadVoucher) +
            QStringLiteral(" group by d.accounthead"),
        {date}};
}

} // namespace

QString categoryOf(AccountKind kind) {
    switch (kind) {
    case AccountKind::Party:
        return QStringLiteral("MilkMan");
    case AccountKind::Vendor:
        return QStringLiteral("Vendor");
    case AccountKind::Head:
        return QStringLiteral("AccountHead");
    }
    return {};
}

double Balance::net() const {
    return core::round2(debit - credit);
}

QString sideText(double drMinusCr) {
    const double v = core::round2(drMinusCr);
    if (v == 0)
        return core::formatAmount(0);
    return core::formatAmount(v > 0 ? v : -v) +
           (v > 0 ? QStringLiteral(" Dr") : QStringLiteral(" Cr"));
}

QString partyText(double drMinusCr) {
    const double v = core::round2(drMinusCr);
    if (v == 0)
        return core::formatAmount(0);
    return core::formatAmount(v > 0 ? v : -v) +
           (v > 0 ? QStringLiteral(" due") : QStringLiteral(" advance"));
}

Query partyBalancesBefore(const QDate& date, const QString& partyCode) {
    const bool one = !partyCode.isEmpty();
    QString sql = QStringLiteral("select party_code, sum(dr) as dr, sum(cr) as cr, sum(entries) as "
                                 "entries from (select party_code, sum(net_amt) as dr, 0 as cr, "
                                 "count(*) as entries from itemsale where doc_dt < ?");
    QVariantList values{date};
    if (one) {
        sql += QStringLiteral(" and party_code = ?");
        values << partyCode;
    }
    sql += QStringLiteral(" group by party_code union all select d.party_code, ") +
           text(kVoucherSides) + QStringLiteral(" and d.dt < ?") + text(kPartyVoucher);
    values << date;
    if (one) {
        sql += QStringLiteral(" and d.party_code = ?");
        values << partyCode;
    }
    sql += QStringLiteral(" group by d.party_code) u group by party_code");
    return {sql, values};
}

Query partyEntries(const QDate& from, const QDate& to, const QString& partyCode) {
    const QDate after = to.addDays(1); // an entry stored with a time of day on `to` counts
    const bool one = !partyCode.isEmpty();
    QString sql = QStringLiteral(
        "select i.party_code, i.doc_dt, i.item_name, i.qty, i.net_amt as amount, 1 as sn, "
        "i.auto_no from itemsale i where i.doc_dt >= ? and i.doc_dt < ?");
    QVariantList values{from, after};
    if (one) {
        sql += QStringLiteral(" and i.party_code = ?");
        values << partyCode;
    }
    sql += QStringLiteral(
               " union all select d.party_code, d.dt, '', 0, case when d.v_type = 'Cr' then "
               "d.net_amount * -1 else d.net_amount end, case when d.v_type = 'Cr' then 2 else "
               "3 end, d.auto_no from daybook d where d.v_type in ('Cr', 'Dr') and d.dt >= ? "
               "and d.dt < ?") +
           text(kPartyVoucher);
    values << from << after;
    if (one) {
        sql += QStringLiteral(" and d.party_code = ?");
        values << partyCode;
    }
    return {sql, values};
}

Balance balanceBefore(core::Database& db, const Account& account, const QDate& date) {
    switch (account.kind) {
    case AccountKind::Party: {
        const Query q = partyBalancesBefore(date, account.code);
        const core::Rows rows = db.query(q.sql, q.values);
        return rows.empty() ? Balance{} : balanceOf(rows.front());
    }
    case AccountKind::Vendor: {
        const core::Rows bought =
            db.query(QStringLiteral("select sum(net_amount), count(*) from itempurchases where "
                                    "party_name = ? and doc_dt < ?"),
                     {account.name, date});
        const core::Rows vouchers = db.query(
            QStringLiteral("select ") + text(kVoucherSides) +
                QStringLiteral(" and d.dt < ? and d.party_code = ?") + text(kVendorVoucher),
            {date, account.code});
        Balance b = balanceOf(vouchers.front());
        b.credit += bought.front().number(0);
        b.entries += bought.front().at(1).toLongLong();
        return b;
    }
    case AccountKind::Head:
        return balanceOf(db.query(QStringLiteral("select ") + text(kVoucherSides) +
                                      QStringLiteral(" and d.dt < ? and d.accounthead = ?") +
                                      text(kHeadVoucher),
                                  {date, account.name})
                             .front());
    }
    return {};
}

Balance balanceAsOn(core::Database& db, const Account& account, const QDate& date) {
    return balanceBefore(db, account, date.addDays(1));
}

std::vector<Posting> postings(core::Database& db, const Account& account, const QDate& from,
                              const QDate& to) {
    const QDate after = to.addDays(1);
    // Each select gives: date, order within the day, item, account text, voucher
    // type, remark, debit, credit, entry.
    const QString vouchers =
        QStringLiteral(" union all select d.dt, case when d.v_type = ? then 2 else 3 end, '', "
                       "d.accounthead, d.v_type, d.remark, case when d.v_type = 'Dr' then "
                       "d.net_amount else 0 end, case when d.v_type = 'Cr' then d.net_amount "
                       "else 0 end, d.auto_no from daybook d where d.v_type in ('Cr', 'Dr') and "
                       "d.dt >= ? and d.dt < ?");
    const QString order = QStringLiteral(" order by 1, 2, 9");
    core::Rows rows;
    Source first = Source::Sale;
    switch (account.kind) {
    case AccountKind::Party:
        // Receipts before payments on a day.
        rows = db.query(
            QStringLiteral("select doc_dt, 1, item_name, '', '', '', net_amt, 0, "
                           "auto_no from itemsale where party_code = ? and doc_dt "
                           ">= ? and doc_dt < ?") +
                vouchers + QStringLiteral(" and d.party_code = ?") + text(kPartyVoucher) + order,
            {account.code, from, after, QStringLiteral("Cr"), from, after, account.code});
        break;
    case AccountKind::Vendor:
        // Payments before receipts, as the vendor ledger has always listed them.
        first = Source::Purchase;
        rows = db.query(
            QStringLiteral("select doc_dt, 1, item_name, '', '', '', 0, net_amount, "
                           "auto_no from itempurchases where party_name = ? and "
                           "doc_dt >= ? and doc_dt < ?") +
                vouchers + QStringLiteral(" and d.party_code = ?") + text(kVendorVoucher) + order,
            {account.name, from, after, QStringLiteral("Dr"), from, after, account.code});
        break;
    case AccountKind::Head:
        rows = db.query(vouchers.mid(QStringLiteral(" union all ").size()) +
                            QStringLiteral(" and d.accounthead = ?") + text(kHeadVoucher) + order,
                        {QStringLiteral("Dr"), from, after, account.name});
        break;
    }
    std::vector<Posting> list;
    list.reserve(rows.size());
    for (const core::Row& row : rows) {
        Posting p;
        p.date = row.date(0);
        p.source = row.at(1).toInt() == 1 ? first : Source::Voucher;
        p.item = row.text(2);
        p.accountHead = row.text(3);
        p.voucherType = row.text(4);
        p.remark = row.text(5);
        p.debit = row.number(6);
        p.credit = row.number(7);
        p.entry = row.at(8).toLongLong();
        list.push_back(std::move(p));
    }
    return list;
}

Query accountBalancesBefore(AccountKind kind, const QDate& date) {
    switch (kind) {
    case AccountKind::Party: {
        const Query q = partyBalancesBefore(date);
        return {QStringLiteral("select b.party_code, (select min(m.party_name) from masparty m "
                               "where m.party_code = b.party_code) as party_name, b.dr, b.cr, "
                               "b.entries from (") +
                    q.sql + QStringLiteral(") b"),
                q.values};
    }
    case AccountKind::Vendor:
        return vendorBalances(date);
    case AccountKind::Head:
        return headBalances(date);
    }
    return {};
}

std::vector<AccountBalance> balancesBefore(core::Database& db, const QDate& date) {
    std::vector<AccountBalance> list;
    for (AccountKind kind : {AccountKind::Party, AccountKind::Vendor, AccountKind::Head}) {
        const Query q = accountBalancesBefore(kind, date);
        for (const core::Row& row : db.query(q.sql, q.values)) {
            const QString code = row.text(0);
            const QString name = row.text(1);
            list.push_back({{kind, code, name}, balanceOf(row)});
        }
    }
    return list;
}

} // namespace stokara::books
