#include "account_head_store.h"

#include "core/database.h"

namespace stokara::masters {

using core::Row;

const QStringList& accountGroups() {
    static const QStringList list{
        QStringLiteral("Sundry Assets"), QStringLiteral("Sundry Liabilities"),
        QStringLiteral("Sundry Expenses"), QStringLiteral("Sundry Income")};
    return list;
}

QList<AccountHeadRow> AccountHeadStore::gridRows() {
    QList<AccountHeadRow> list;
    for (const Row& r : db_.query(QStringLiteral("select autono, AccountHead, AccountGroup from "
                                                 "accounthead order by AccountHead desc")))
        list.append({r.text(0), r.text(1), r.text(2)});
    return list;
}

std::optional<AccountHeadRow> AccountHeadStore::load(qint64 autoNo) {
    const core::Rows rows = db_.query(QStringLiteral("select autono, AccountHead, AccountGroup "
                                                     "from accounthead where autono = ?"),
                                      {autoNo});
    if (rows.empty())
        return std::nullopt;
    const Row& r = rows.front();
    return AccountHeadRow{r.text(0), r.text(1), r.text(2)};
}

int AccountHeadStore::countByHead(const QString& head) {
    return db_
        .scalar(QStringLiteral("select count(*) from AccountHead where AccountHead = ?"), {head})
        .toInt();
}

std::optional<core::Problem> AccountHeadStore::validate(const QString& head, const QString& group) {
    AccountHeadWidths widths;
    widths.head = widths_.limit({{"AccountHead", "AccountHead"}, {"DayBook", "AccountHead"}});
    widths.group = widths_.width(QStringLiteral("AccountHead"), QStringLiteral("AccountGroup"));
    return checkAccountHead(head, group, widths);
}

bool AccountHeadStore::insertNew(const QString& head, const QString& group) {
    core::Transaction t(db_, kAccountHeadLock);
    if (countByHead(head) > 0)
        return false;
    db_.exec(QStringLiteral("insert into AccountHead (AccountHead,AccountGroup) values (?,?)"),
             {head, group});
    t.commit();
    return true;
}

bool AccountHeadStore::update(qint64 autoNo, const QString& head, const QString& group) {
    return db_.exec(QStringLiteral("update AccountHead set AccountHead = ?, AccountGroup = ? where "
                                   "autono = ?"),
                    {head, group, autoNo}) > 0;
}

bool AccountHeadStore::remove(qint64 autoNo) {
    return db_.exec(QStringLiteral("delete from accounthead where autono = ?"), {autoNo}) > 0;
}

} // namespace stokara::masters
