#include "sale_store.h"

#include "core/database.h"
#include "core/dialect.h"
#include "core/idioms.h"
#include "core/input_rules.h"
#include "sale_rules.h"

namespace stokara::transactions {

namespace {

QString placeholders(int n) {
    QStringList marks;
    for (int i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

SaleParty partyFrom(const core::Row& row) {
    SaleParty p;
    p.name = row.text(QStringLiteral("party_name"));
    p.code = row.text(QStringLiteral("party_code"));
    return p;
}

QString numberOrEmpty(const QVariant& v) {
    if (v.isNull())
        return {};
    return sale::numberText(v.toDouble());
}

} // namespace

QString SaleStore::nextBillNo() {
    // Ordered by the numeric value so that the bill-number index answers it at
    // once (the expression is the index's own); the filter keeps a stray '"'
    // out, as it always has.
    const QString number = core::dialect::codeNumber(db_.engine(), QStringLiteral("doc_no"));
    return sale::nextNumberAfter(
        db_.scalar(QStringLiteral("select %1 from itemsale where doc_no <> '\"' "
                                  "order by %1 desc limit 1")
                       .arg(number)));
}

QString SaleStore::nextEntryNo() {
    return sale::nextNumberAfter(db_.scalar(QStringLiteral("select max(auto_no) from itemsale")));
}

std::optional<SaleParty> SaleStore::findParty(const QString& code, const QStringList& categories) {
    QVariantList values{code};
    for (const QString& c : categories)
        values << c;
    const core::Rows rows = db_.query(
        QStringLiteral("select party_name, CommPer, CreditLimit, party_code from masparty "
                       "where party_code = ? and category in (%1)")
            .arg(placeholders(static_cast<int>(categories.size()))),
        values);
    if (rows.empty())
        return std::nullopt;
    SaleParty p = partyFrom(rows.front());
    p.commPer = rows.front().number(1);
    p.creditLimit = rows.front().number(2);
    return p;
}

std::optional<SaleParty> SaleStore::findPartyByCard(const QString& cardNo) {
    const core::Rows rows =
        db_.query(QStringLiteral("select party_name, party_code from masparty where CardNo = ? "
                                 "order by val(party_code), party_code limit 1"),
                  {cardNo});
    if (rows.empty())
        return std::nullopt;
    return partyFrom(rows.front());
}

bool SaleStore::partyNameExists(const QString& name) {
    return db_.scalar(QStringLiteral("select count(*) from masparty where party_name = ?"), {name})
               .toLongLong() > 0;
}

QStringList SaleStore::itemNames() {
    QStringList names;
    for (const core::Row& r :
         db_.query(QStringLiteral("select item_name from masitem order by item_name")))
        names << r.text(0);
    return names;
}

QStringList SaleStore::partyNames() {
    QStringList names;
    for (const core::Row& r : db_.query(
             QStringLiteral("select distinct party_name from masparty where party_name is not null "
                            "order by party_name")))
        names << r.text(0);
    return names;
}

QList<QPair<QString, QString>> SaleStore::searchParties() {
    QList<QPair<QString, QString>> parties;
    for (const core::Row& r : db_.query(QStringLiteral(
             "select party_name, party_code from masparty order by party_name, val(party_code)")))
        parties.append({r.text(0), r.text(1)});
    return parties;
}

std::optional<SaleItem> SaleStore::findItem(const QString& itemName) {
    const core::Rows rows =
        db_.query(QStringLiteral("select unit, rate from masitem where item_name = ?"), {itemName});
    if (rows.empty())
        return std::nullopt;
    return SaleItem{rows.front().text(0), numberOrEmpty(rows.front().at(1))};
}

int SaleStore::duplicateCount(const QString& partyCode, const QString& itemName, const QDate& date,
                              const QString& billNo) {
    return db_
        .scalar(QStringLiteral("select count(*) from itemsale where party_code = ? and "
                               "item_name = ? and doc_dt >= ? and doc_dt < ? and doc_no = ?"),
                {partyCode, itemName, date, date.addDays(1), billNo})
        .toInt();
}

SavedSaleLine SaleStore::insertLine(const SaleLine& line, bool claimBillNo) {
    SavedSaleLine saved;
    saved.billNo = line.billNo;
    auto insert = [&] {
        if (saved.billNo.isEmpty() ||
            (billNoWidth_ > 0 && core::characterCount(saved.billNo) > billNoWidth_))
            throw SaleRefused(QStringLiteral("Bill No. %1 does not fit the bill number column "
                                             "(%2 characters).")
                                  .arg(saved.billNo)
                                  .arg(billNoWidth_));
        db_.exec(QStringLiteral("insert into itemsale (doc_dt, party_code, qty, rate, net_amt, "
                                "unit, item_name, category, doc_no) values (?, ?, ?, ?, ?, ?, ?, "
                                "?, ?)"),
                 {line.date, line.partyCode, core::round2(line.qty), core::round2(line.rate),
                  core::round2(line.amount), line.unit, line.itemName, line.category,
                  saved.billNo});
        saved.autoNo = db_.lastInsertId(QStringLiteral("itemsale"), QStringLiteral("auto_no"));
    };
    if (!claimBillNo) {
        insert();
        return saved;
    }
    // Counters claim numbers one at a time; whoever comes second sees the
    // first one's row and moves on to the next free number.
    core::Transaction claim(db_, kBillNumberLock);
    const bool taken =
        db_.scalar(QStringLiteral("select count(*) from itemsale where doc_no = ?"), {line.billNo})
            .toLongLong() > 0;
    if (taken) {
        saved.billNo = nextBillNo();
        saved.billNoChanged = true;
    }
    insert();
    claim.commit();
    return saved;
}

bool SaleStore::updateLine(qint64 autoNo, const SaleLine& line) {
    return db_.exec(QStringLiteral(
                        "update itemsale set doc_dt = ?, party_code = ?, qty = ?, rate = ?, "
                        "net_amt = ?, item_name = ?, unit = ?, category = ? where auto_no = ?"),
                    {line.date, line.partyCode, core::round2(line.qty), core::round2(line.rate),
                     core::round2(line.amount), line.itemName, line.unit, line.category, autoNo}) >
           0;
}

bool SaleStore::deleteLine(qint64 autoNo) {
    return db_.exec(QStringLiteral("delete from itemsale where auto_no = ?"), {autoNo}) > 0;
}

std::vector<SaleGridRow> SaleStore::billRows(const QDate& date, const QString& billNo,
                                             const QString& partyCode) {
    std::vector<SaleGridRow> out;
    if (!date.isValid())
        return out;
    // The party's name by a subquery, so a code kept by two party rows does not
    // show its lines twice.
    const core::Rows rows = db_.query(
        QStringLiteral("select mc.doc_dt, mc.doc_no, (select min(mn.party_name) from masparty mn "
                       "where mn.party_code = mc.party_code) as party_name, mc.item_name, mc.qty, "
                       "mc.unit, mc.rate, mc.net_amt, mc.auto_no from itemsale mc where "
                       "mc.doc_no = ? and mc.doc_dt >= ? and mc.doc_dt < ? and mc.party_code = ? "
                       "order by mc.auto_no desc"),
        {billNo, date, date.addDays(1), partyCode});
    out.reserve(rows.size());
    for (const core::Row& r : rows) {
        SaleGridRow g;
        g.date = r.at(0).isNull() ? QString() : core::formatDate(r.date(0));
        g.billNo = r.text(1);
        g.partyName = r.text(2);
        g.itemName = r.text(3);
        g.qty = numberOrEmpty(r.at(4));
        g.unit = r.text(5);
        g.rate = numberOrEmpty(r.at(6));
        g.amount = numberOrEmpty(r.at(7));
        g.autoNo = r.text(8);
        out.push_back(std::move(g));
    }
    return out;
}

std::optional<LoadedSaleLine> SaleStore::loadLine(qint64 autoNo) {
    // A party row of the row's own category is preferred; a sale saved as
    // "MilkMan" for a collection centre still loads.
    const core::Rows rows = db_.query(
        QStringLiteral("select mc.doc_dt, mc.doc_no, mc.party_code, mn.party_name, mc.item_name, "
                       "mc.unit, mc.qty, mc.rate, mc.net_amt, mc.auto_no, mc.category, "
                       "mn.category from itemsale mc left join masparty mn on mn.party_code = "
                       "mc.party_code where mc.auto_no = ? order by case when mn.category = "
                       "mc.category then 0 else 1 end"),
        {autoNo});
    if (rows.empty())
        return std::nullopt;
    const core::Row& r = rows.front();
    LoadedSaleLine l;
    l.date = r.at(0).isNull() ? QDate() : r.date(0);
    l.billNo = r.text(1);
    l.partyCode = r.text(2);
    l.partyLabel = sale::loadedPartyLabel(l.partyCode, r.text(3));
    l.itemName = r.text(4);
    l.unit = r.text(5);
    l.qty = numberOrEmpty(r.at(6));
    l.rate = numberOrEmpty(r.at(7));
    l.amount = numberOrEmpty(r.at(8));
    l.autoNo = r.text(9);
    l.category = r.text(10);
    if (l.category.isEmpty())
        l.category = r.text(11);
    if (l.category.isEmpty())
        l.category = QStringLiteral("MilkMan");
    return l;
}

bool SaleStore::billHasRows(const QString& billNo, const QDate& date) {
    if (!date.isValid())
        return false;
    return db_.scalar(QStringLiteral("select count(*) from itemsale where doc_no = ? and "
                                     "doc_dt >= ? and doc_dt < ?"),
                      {billNo, date, date.addDays(1)})
               .toLongLong() > 0;
}

} // namespace stokara::transactions
