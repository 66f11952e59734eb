#include "party_store.h"

#include "core/database.h"
#include "core/idioms.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace stokara::masters {

using core::Database;
using core::Problem;
using core::Row;
using core::Rows;
using core::Transaction;

namespace {

const QString kCategories = QStringLiteral(" category in ('MilkMan','VLCC') ");

// The columns a Save writes, each bound by its own name.
const QString kColumns = QStringLiteral(
    "party_code,Party_name,add1,ph,veh_code,category,city,ope_bal,commper,baldrcr,Cowratetype,"
    "Buffaloratetype,commtype,commperBuff,commtypeBuff,acno,commper1,commtype1,commperBuff1,"
    "commtypeBuff1,InterestRate,active,ifsc,SnfCircuit,imagepath,accountname,fathername,bankname,"
    "bankbranch,pan,cardno,creditlimit");

PartyFields fieldsFrom(const Row& r) {
    PartyFields f;
    f.code = r.text("party_code");
    f.name = r.text("party_name");
    f.add1 = r.text("add1");
    f.ph = r.text("ph");
    f.vehCode = r.text("veh_code");
    f.category = r.text("category");
    f.city = r.text("city");
    f.opeBal = r.text("ope_bal");
    f.balDrCr = r.text("baldrcr");
    f.commPer = r.text("commper");
    f.commType = r.text("commtype");
    f.commPerBuff = r.text("commperbuff");
    f.commTypeBuff = r.text("commtypebuff");
    f.commPer1 = r.text("commper1");
    f.commType1 = r.text("commtype1");
    f.commPerBuff1 = r.text("commperbuff1");
    f.commTypeBuff1 = r.text("commtypebuff1");
    f.cowRateType = r.text("cowratetype");
    f.buffaloRateType = r.text("buffaloratetype");
    f.acNo = r.text("acno");
    f.interestRate = r.text("interestrate");
    f.active = r.text("active");
    f.ifsc = r.text("ifsc");
    f.snfCircuit = r.text("snfcircuit");
    f.imagePath = r.text("imagepath");
    f.accountName = r.text("accountname");
    f.fatherName = r.text("fathername");
    f.bankName = r.text("bankname");
    f.bankBranch = r.text("bankbranch");
    f.pan = r.text("pan");
    f.cardNo = r.text("cardno");
    f.creditLimit = r.text("creditlimit");
    return f;
}

} // namespace

PartyCodeSettings PartyStore::codeSettings() {
    Rows rows =
        db_.query(QStringLiteral("select Partycodeauto, partycodemanual from dairysetting"));
    PartyCodeSettings s;
    if (!rows.empty()) {
        s.codeAuto = rows.front().text(0);
        s.codeManual = rows.front().text(1);
    }
    return s;
}

QList<Vehicle> PartyStore::vehicles() {
    QList<Vehicle> list;
    for (const Row& r : db_.query(QStringLiteral("select veh_code, veh_name from Vehicle where "
                                                 "veh_code is not null order by veh_name")))
        list.append({r.text(0), r.text(1)});
    return list;
}

QList<PartyGridRow> PartyStore::gridRows() {
    const Rows rows = db_.query(QStringLiteral("select party_code, party_name, city, ph, cardno "
                                               "from masparty where") +
                                kCategories);
    // Highest code first, sorted here: val() called per row from SQL costs more
    // than the whole sort on twenty thousand parties.
    std::vector<std::pair<double, size_t>> order;
    order.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        order.emplace_back(core::val(rows[i].text(0)), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<PartyGridRow> list;
    list.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& [key, i] : order) {
        const Row& r = rows[i];
        list.append({r.text(0), r.text(1), r.text(2), r.text(3), r.text(4)});
    }
    return list;
}

int PartyStore::countByName(const QString& name) {
    return db_
        .scalar(QStringLiteral("select count(*) from masparty where party_name = ? and") +
                    kCategories,
                {name})
        .toInt();
}

QString PartyStore::nextCode() {
    return nextPartyCode(db_.scalar(
        QStringLiteral("select max(val(party_code)) from masparty where party_code <> '' and") +
        kCategories));
}

std::optional<Problem> PartyStore::validate(const PartyFields& f) {
    auto w = [this](const char* column) { return widths_.width("masparty", column); };
    PartyWidths widths;
    widths.code = widths_.limit({{"masparty", "party_code"}, {"MasPartyDeleted", "Party_Code"}});
    widths.name = widths_.limit({{"masparty", "party_name"}, {"MasPartyDeleted", "Party_name"}});
    widths.add1 = w("add1");
    widths.city = w("city");
    widths.ph = w("ph");
    widths.vehCode = w("veh_code");
    widths.category = widths_.limit({{"masparty", "category"}, {"MasPartyDeleted", "Category"}});
    widths.balDrCr = w("baldrcr");
    widths.commType = w("commtype");
    widths.commTypeBuff = w("commtypebuff");
    widths.commType1 = w("commtype1");
    widths.commTypeBuff1 = w("commtypebuff1");
    widths.cowRateType = w("cowratetype");
    widths.buffaloRateType = w("buffaloratetype");
    widths.acNo = w("acno");
    widths.active = w("active");
    widths.ifsc = w("ifsc");
    widths.snfCircuit = w("snfcircuit");
    widths.imagePath = w("imagepath");
    widths.accountName = w("accountname");
    widths.fatherName = w("fathername");
    widths.bankName = w("bankname");
    widths.bankBranch = w("bankbranch");
    widths.pan = w("pan");
    widths.cardNo = w("cardno");
    return checkParty(f, widths);
}

std::optional<PartyRef> PartyStore::cardHolder(const QString& cardNo, const QString& except) {
    if (cardNo.isEmpty())
        return std::nullopt;
    QString sql = QStringLiteral("select party_code, party_name from masparty where cardno = ?");
    QVariantList values{cardNo};
    if (!except.isEmpty()) {
        sql += QStringLiteral(" and not (coalesce(party_code, '') = ? and coalesce(category, '') "
                              "in ('MilkMan','VLCC'))");
        values << except;
    }
    const Rows rows =
        db_.query(sql + QStringLiteral(" order by val(party_code), party_code limit 1"), values);
    if (rows.empty())
        return std::nullopt;
    return PartyRef{rows.front().text(0), rows.front().text(1)};
}

std::optional<Problem> PartyStore::cardProblem(const QString& cardNo, const QString& except) {
    if (const auto holder = cardHolder(cardNo, except))
        return Problem{QStringLiteral("TxtCardNo"), cardTakenMessage(holder->code, holder->name)};
    return std::nullopt;
}

QVariantHash PartyStore::bindings(const PartyFields& f) {
    const PartyNumbers n = partyNumbers(f);
    return {
        {QStringLiteral("party_code"), f.code},
        {QStringLiteral("party_name"), f.name},
        {QStringLiteral("add1"), f.add1},
        {QStringLiteral("ph"), f.ph},
        {QStringLiteral("veh_code"), f.vehCode},
        {QStringLiteral("category"), f.category},
        {QStringLiteral("city"), f.city},
        {QStringLiteral("ope_bal"), n.opeBal},
        {QStringLiteral("commper"), n.commPer},
        {QStringLiteral("baldrcr"), f.balDrCr},
        {QStringLiteral("cowratetype"), f.cowRateType},
        {QStringLiteral("buffaloratetype"), f.buffaloRateType},
        {QStringLiteral("commtype"), f.commType},
        {QStringLiteral("commperbuff"), n.commPerBuff},
        {QStringLiteral("commtypebuff"), f.commTypeBuff},
        {QStringLiteral("acno"), f.acNo},
        {QStringLiteral("commper1"), n.commPer1},
        {QStringLiteral("commtype1"), f.commType1},
        {QStringLiteral("commperbuff1"), n.commPerBuff1},
        {QStringLiteral("commtypebuff1"), f.commTypeBuff1},
        {QStringLiteral("interestrate"), n.interestRate},
        {QStringLiteral("active"), f.active},
        {QStringLiteral("ifsc"), f.ifsc},
        {QStringLiteral("snfcircuit"), f.snfCircuit},
        {QStringLiteral("imagepath"), f.imagePath},
        {QStringLiteral("accountname"), f.accountName},
        {QStringLiteral("fathername"), f.fatherName},
        {QStringLiteral("bankname"), f.bankName},
        {QStringLiteral("bankbranch"), f.bankBranch},
        {QStringLiteral("pan"), f.pan},
        {QStringLiteral("cardno"), f.cardNo},
        {QStringLiteral("creditlimit"), n.creditLimit},
    };
}

PartyStore::Written PartyStore::insert(const PartyFields& fields, bool codeAllocatedByScreen) {
    Transaction t(db_, kPartyCodeLock);
    PartyFields f = fields;
    // A code typed with blanks around it is the same code.
    f.code = f.code.trimmed();
    Written result;
    // Checked under the lock: two counters saving the same new name or card
    // one after the other find the first one's party.
    if (countByName(f.name) > 0) {
        result.refused = Problem{QStringLiteral("TxtParty_name"), kDuplicateName};
        return result;
    }
    const auto owner = load(f.code);
    if (owner && codeAllocatedByScreen) {
        f.code = nextCode();
    } else if (owner) {
        result.refused =
            Problem{QStringLiteral("TxtPartyCode"), codeTakenMessage(owner->code, owner->name)};
        return result;
    }
    if ((result.refused = cardProblem(f.cardNo, {})))
        return result;
    QStringList names;
    for (const QString& column : kColumns.split(QLatin1Char(',')))
        names << QLatin1Char(':') + column.toLower();
    db_.execNamed(QStringLiteral("insert into masparty (") + kColumns +
                      QStringLiteral(") values (") + names.join(QLatin1Char(',')) +
                      QLatin1Char(')'),
                  bindings(f));
    t.commit();
    result.hit = true;
    result.code = f.code;
    return result;
}

PartyStore::Written PartyStore::update(const QString& code, const PartyFields& fields) {
    Transaction t(db_, kPartyCodeLock);
    Written result;
    result.code = code;
    if ((result.refused = cardProblem(fields.cardNo, code)))
        return result;
    PartyFields f = fields;
    f.code = code; // the loaded party keeps its code
    QStringList sets;
    for (const QString& column : kColumns.split(QLatin1Char(',')).mid(1))
        sets << column + QStringLiteral(" = :") + column.toLower();
    result.hit =
        db_.execNamed(QStringLiteral("update masparty set ") + sets.join(QLatin1Char(',')) +
                          QStringLiteral(" where party_code = :party_code and") + kCategories,
                      bindings(f)) > 0;
    t.commit();
    return result;
}

std::optional<PartyFields> PartyStore::load(const QString& code) {
    const Rows rows = db_.query(
        QStringLiteral("select * from masparty where party_code = ? and") + kCategories, {code});
    if (rows.empty())
        return std::nullopt;
    return fieldsFrom(rows.front());
}

bool PartyStore::deleteParty(const QString& code) {
    Transaction t(db_);
    db_.exec(QStringLiteral("insert into MasPartyDeleted (party_code,party_name,category) "
                            "select party_code,party_name,category from masparty where "
                            "party_code = ? and") +
                 kCategories,
             {code});
    // A party deleted meanwhile by another counter took its rows with it.
    if (db_.exec(QStringLiteral("delete from masparty where party_code = ? and") + kCategories,
                 {code}) == 0)
        return false;
    db_.exec(QStringLiteral("delete from milk_col where party_code = ?"), {code});
    db_.exec(QStringLiteral("delete from itemsale where party_code = ?"), {code});
    db_.exec(QStringLiteral("delete from advance where party_code = ?"), {code});
    db_.exec(QStringLiteral("delete from masrate where party_code = ?"), {code});
    t.commit();
    return true;
}

} // namespace stokara::masters
