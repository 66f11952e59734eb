#include "day_book_store.h"

#include "core/database.h"

namespace stokara::transactions {

namespace {

QList<AccountEntry> entries(const core::Rows& rows, bool nameFirst) {
    QList<AccountEntry> list;
    list.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows) {
        const QString code = row.text(0);
        const QString name = row.text(1);
        list.append({code, nameFirst ? name + QStringLiteral(" - ") + code
                                     : code + QStringLiteral(" - ") + name});
    }
    return list;
}

StoredVoucher toVoucher(const core::Row& row) {
    StoredVoucher v;
    v.autoNo = row.value(QStringLiteral("auto_no")).toLongLong();
    v.date = row.date(QStringLiteral("dt"));
    v.accountHead = row.text(QStringLiteral("accounthead"));
    v.voucherType = row.text(QStringLiteral("v_type"));
    v.amount = row.number(QStringLiteral("net_amount"));
    v.remark = row.text(QStringLiteral("remark"));
    v.partyCode = row.text(QStringLiteral("party_code"));
    v.category = row.text(QStringLiteral("category"));
    return v;
}

const char* const kVoucherColumns =
    "select auto_no, dt, accounthead, v_type, net_amount, remark, party_code, category "
    "from DayBook ";

} // namespace

QList<AccountEntry> DayBookStore::accounts(AccountCategory category) {
    switch (category) {
    case AccountCategory::MilkMan:
        return entries(db_.query(QStringLiteral("select party_code, party_name from masparty "
                                                "where category = ? order by val(party_code)"),
                                 {QStringLiteral("MilkMan")}),
                       true);
    case AccountCategory::RetailMilk:
        return entries(db_.query(QStringLiteral("select party_code, party_name from masparty "
                                                "where category = ? order by party_name"),
                                 {QStringLiteral("RetailMilk")}),
                       false);
    case AccountCategory::AccountHead: {
        QList<AccountEntry> list;
        for (const auto& row :
             db_.query(QStringLiteral("select accounthead from AccountHead order by accounthead")))
            list.append({row.text(0), row.text(0)});
        return list;
    }
    case AccountCategory::Vendor:
        return entries(db_.query(QStringLiteral("select party_code, party_name from masvendor "
                                                "order by val(party_code)")),
                       false);
    case AccountCategory::BuyerProduct:
        return entries(db_.query(QStringLiteral("select party_code, party_name from productbuyer "
                                                "order by val(party_code)")),
                       true);
    }
    return {};
}

std::vector<StoredVoucher> DayBookStore::vouchersOn(const QDate& date) {
    std::vector<StoredVoucher> list;
    const auto rows = db_.query(QString::fromLatin1(kVoucherColumns) +
                                    QStringLiteral("where dt = ? order by dt desc, auto_no desc"),
                                {date});
    list.reserve(rows.size());
    for (const auto& row : rows)
        list.push_back(toVoucher(row));
    return list;
}

std::optional<StoredVoucher> DayBookStore::voucher(qint64 autoNo) {
    const auto rows = db_.query(
        QString::fromLatin1(kVoucherColumns) + QStringLiteral("where auto_no = ?"), {autoNo});
    if (rows.empty())
        return std::nullopt;
    return toVoucher(rows.front());
}

qint64 DayBookStore::insert(const Voucher& v) {
    db_.exec(QStringLiteral("insert into DayBook (dt, accounthead, v_type, net_amount, remark, "
                            "party_code, category) values (?, ?, ?, ?, ?, ?, ?)"),
             {v.date, v.accountHead, v.voucherType, v.amount, v.remark, v.partyCode, v.category});
    return db_.lastInsertId(QStringLiteral("DayBook"), QStringLiteral("auto_no"));
}

bool DayBookStore::update(qint64 autoNo, const Voucher& v, bool setPartyAndCategory) {
    if (setPartyAndCategory)
        return db_.exec(QStringLiteral("update DayBook set dt = ?, accounthead = ?, v_type = ?, "
                                       "net_amount = ?, remark = ?, party_code = ?, category = ? "
                                       "where auto_no = ?"),
                        {v.date, v.accountHead, v.voucherType, v.amount, v.remark, v.partyCode,
                         v.category, autoNo}) > 0;
    return db_.exec(QStringLiteral("update DayBook set dt = ?, accounthead = ?, v_type = ?, "
                                   "net_amount = ?, remark = ? where auto_no = ?"),
                    {v.date, v.accountHead, v.voucherType, v.amount, v.remark, autoNo}) > 0;
}

bool DayBookStore::remove(qint64 autoNo) {
    return db_.exec(QStringLiteral("delete from DayBook where auto_no = ?"), {autoNo}) > 0;
}

} // namespace stokara::transactions
