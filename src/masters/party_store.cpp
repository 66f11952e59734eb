#include "party_store.h"

#include "core/database.h"

namespace stokara::masters {

using core::Database;
using core::Row;
using core::Rows;
using core::Transaction;

namespace {

const QString kCategories = QStringLiteral(" category in ('MilkMan','VLCC') ");

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
    QList<PartyGridRow> list;
    const Rows rows = db_.query(QStringLiteral("select party_code, party_name, city, ph, cardno "
                                               "from masparty where") +
                                kCategories + QStringLiteral("order by val(party_code) desc"));
    list.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row& r : rows)
        list.append({r.text(0), r.text(1), r.text(2), r.text(3), r.text(4)});
    return list;
}

int PartyStore::countByName(const QString& name) {
    return db_
        .scalar(QStringLiteral("select count(*) from masparty where party_name = ? and") +
                    kCategories,
                {name})
        .toInt();
}

QVariant PartyStore::highestCode() {
    return db_.scalar(
        QStringLiteral("select max(val(party_code)) from masparty where party_code <> '' and") +
        kCategories);
}

int PartyStore::countByCodeOrName(const QString& code, const QString& name) {
    return db_
        .scalar(QStringLiteral("select count(*) from masparty where (party_code = ? or "
                               "party_name = ?) and") +
                    kCategories,
                {code, name})
        .toInt();
}

bool PartyStore::codeExists(const QString& code) {
    return db_.scalar(QStringLiteral("select count(*) from masparty where party_code = ? and") +
                          kCategories,
                      {code})
               .toInt() > 0;
}

std::optional<FieldProblem> PartyStore::validate(const PartyFields& f) {
    struct Text {
        const char* column;
        const char* label;
        const QString* value;
        int limit;
    };
    const Text texts[] = {
        {"party_code", "Party Code", &f.code,
         widths_.limit({{"masparty", "party_code"}, {"MasPartyDeleted", "Party_Code"}})},
        {"party_name", "Party Name", &f.name,
         widths_.limit({{"masparty", "party_name"}, {"MasPartyDeleted", "Party_name"}})},
        {"add1", "Address", &f.add1, widths_.width("masparty", "add1")},
        {"city", "City", &f.city, widths_.width("masparty", "city")},
        {"ph", "Mobile No.", &f.ph, widths_.width("masparty", "ph")},
        {"veh_code", "Vehicle / Village", &f.vehCode, widths_.width("masparty", "veh_code")},
        {"category", "Category", &f.category,
         widths_.limit({{"masparty", "category"}, {"MasPartyDeleted", "Category"}})},
        {"baldrcr", "Dr./Cr.", &f.balDrCr, widths_.width("masparty", "baldrcr")},
        {"commtype", "Commission (Cow)", &f.commType, widths_.width("masparty", "commtype")},
        {"commtypebuff", "Commission (Buffalo)", &f.commTypeBuff,
         widths_.width("masparty", "commtypebuff")},
        {"commtype1", "Commission (Cow)", &f.commType1, widths_.width("masparty", "commtype1")},
        {"commtypebuff1", "Commission (Buffalo)", &f.commTypeBuff1,
         widths_.width("masparty", "commtypebuff1")},
        {"cowratetype", "Cow Rate Type", &f.cowRateType, widths_.width("masparty", "cowratetype")},
        {"buffaloratetype", "Buffalo Rate Type", &f.buffaloRateType,
         widths_.width("masparty", "buffaloratetype")},
        {"acno", "Bank Account No.", &f.acNo, widths_.width("masparty", "acno")},
        {"active", "Active", &f.active, widths_.width("masparty", "active")},
        {"ifsc", "IFSC", &f.ifsc, widths_.width("masparty", "ifsc")},
        {"snfcircuit", "SNF Circuit", &f.snfCircuit, widths_.width("masparty", "snfcircuit")},
        {"imagepath", "Photo path", &f.imagePath, widths_.width("masparty", "imagepath")},
        {"accountname", "Account Name", &f.accountName, widths_.width("masparty", "accountname")},
        {"fathername", "Father Name", &f.fatherName, widths_.width("masparty", "fathername")},
        {"bankname", "Bank Name", &f.bankName, widths_.width("masparty", "bankname")},
        {"bankbranch", "Bank Branch", &f.bankBranch, widths_.width("masparty", "bankbranch")},
        {"pan", "PAN", &f.pan, widths_.width("masparty", "pan")},
        {"cardno", "Card No.", &f.cardNo, widths_.width("masparty", "cardno")},
    };
    for (const Text& t : texts) {
        const QString m = core::tooLongMessage(QString::fromLatin1(t.label), *t.value, t.limit);
        if (!m.isEmpty())
            return FieldProblem{QString::fromLatin1(t.column), m};
    }
    const PartyNumbers n = partyNumbers(f);
    struct Number {
        const char* column;
        const char* label;
        double value;
        int digits;
    };
    const Number numbers[] = {
        {"ope_bal", "Op. Balance", n.opeBal, 10},
        {"commper", "Commission (Cow)", n.commPer, 7},
        {"commperbuff", "Commission (Buffalo)", n.commPerBuff, 7},
        {"commper1", "Commission (Cow)", n.commPer1, 7},
        {"commperbuff1", "Commission (Buffalo)", n.commPerBuff1, 7},
        {"interestrate", "Interest Rate %", n.interestRate, 7},
        {"creditlimit", "Credit Limit", n.creditLimit, 9},
    };
    for (const Number& x : numbers) {
        const QString m = core::tooLargeMessage(QString::fromLatin1(x.label), x.value, x.digits);
        if (!m.isEmpty())
            return FieldProblem{QString::fromLatin1(x.column), m};
    }
    return std::nullopt;
}

QVariantList PartyStore::values(const PartyFields& f) {
    const PartyNumbers n = partyNumbers(f);
    return {f.name,
            f.add1,
            f.ph,
            f.vehCode,
            f.category,
            f.city,
            n.opeBal,
            n.commPer,
            f.balDrCr,
            f.cowRateType,
            f.buffaloRateType,
            f.commType,
            n.commPerBuff,
            f.commTypeBuff,
            f.acNo,
            n.commPer1,
            f.commType1,
            n.commPerBuff1,
            f.commTypeBuff1,
            n.interestRate,
            f.active,
            f.ifsc,
            f.snfCircuit,
            f.imagePath,
            f.accountName,
            f.fatherName,
            f.bankName,
            f.bankBranch,
            f.pan,
            f.cardNo,
            n.creditLimit};
}

void PartyStore::insert(const PartyFields& f) {
    QVariantList v{f.code.trimmed()};
    v << values(f);
    db_.exec(QStringLiteral(
                 "insert into masparty (party_code,Party_name,add1,ph,veh_code,category,city,"
                 "ope_bal,commper,baldrcr,Cowratetype,Buffaloratetype,commtype,commperBuff,"
                 "commtypeBuff,acno,commper1,commtype1,commperBuff1,commtypeBuff1,InterestRate,"
                 "active,ifsc,SnfCircuit,imagepath,accountname,fathername,bankname,bankbranch,"
                 "pan,cardno,creditlimit) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                 "?,?,?,?,?,?,?,?)"),
             v);
}

void PartyStore::update(const PartyFields& f) {
    QVariantList v = values(f);
    v << f.code;
    db_.exec(QStringLiteral("update masparty set party_name = ?, add1 = ?, ph = ?, veh_code = ?, "
                            "category = ?, city = ?, ope_bal = ?, commper = ?, baldrcr = ?, "
                            "Cowratetype = ?, Buffaloratetype = ?, commtype = ?, commperBuff = ?, "
                            "commtypeBuff = ?, acno = ?, commper1 = ?, commtype1 = ?, "
                            "commperBuff1 = ?, commtypeBuff1 = ?, InterestRate = ?, active = ?, "
                            "ifsc = ?, SnfCircuit = ?, imagepath = ?, accountname = ?, "
                            "fathername = ?, bankname = ?, bankbranch = ?, pan = ?, cardno = ?, "
                            "creditlimit = ? where party_code = ? and") +
                 kCategories,
             v);
}

PartyStore::SaveResult PartyStore::save(const PartyFields& fields, bool codeAllocatedByScreen) {
    Transaction t(db_, kPartyCodeLock);
    PartyFields f = fields;
    // A code typed with blanks around it is the same code.
    f.code = f.code.trimmed();
    if (codeAllocatedByScreen && codeExists(f.code))
        f.code = nextCode();
    SaveResult result;
    result.code = f.code;
    if (countByCodeOrName(f.code, f.name) > 0) {
        update(f);
    } else {
        insert(f);
        result.inserted = true;
    }
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

void PartyStore::deleteParty(const QString& code) {
    Transaction t(db_);
    db_.exec(QStringLiteral("insert into MasPartyDeleted (party_code,party_name,category) "
                            "select party_code,party_name,category from masparty where "
                            "party_code = ? and") +
                 kCategories,
             {code});
    db_.exec(QStringLiteral("delete from masparty where party_code = ? and") + kCategories, {code});
    db_.exec(QStringLiteral("delete from milk_col where party_code = ?"), {code});
    db_.exec(QStringLiteral("delete from itemsale where party_code = ?"), {code});
    db_.exec(QStringLiteral("delete from advance where party_code = ?"), {code});
    db_.exec(QStringLiteral("delete from masrate where party_code = ?"), {code});
    t.commit();
}

} // namespace stokara::masters
