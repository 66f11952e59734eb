#include "party_rules.h"

#include "core/idioms.h"

#include <cmath>

namespace stokara::masters {

PartyNumbers partyNumbers(const PartyFields& f) {
    PartyNumbers n;
    n.opeBal = core::round2(core::val(f.opeBal));
    n.commPer = core::round2(core::val(f.commPer));
    n.commPerBuff = core::round2(core::val(f.commPerBuff));
    n.commPer1 = core::round2(core::val(f.commPer1));
    n.commPerBuff1 = core::round2(core::val(f.commPerBuff1));
    n.interestRate = core::round2(core::val(f.interestRate));
    // numeric(9): whole rupees, halves to even like every other rounding here.
    n.creditLimit = std::nearbyint(core::val(f.creditLimit));
    return n;
}

std::optional<core::Problem> checkParty(const PartyFields& f, const PartyWidths& widths) {
    struct Text {
        const char* field;
        const char* label;
        const QString* value;
        int limit;
    };
    const Text texts[] = {
        {"TxtPartyCode", "Party Code", &f.code, widths.code},
        {"TxtParty_name", "Party Name", &f.name, widths.name},
        {"txtadd1", "Address", &f.add1, widths.add1},
        {"txtcity", "City", &f.city, widths.city},
        {"txtph", "Mobile No.", &f.ph, widths.ph},
        {"DCvehicle", "Vehicle / Village", &f.vehCode, widths.vehCode},
        {"ListCategory", "Category", &f.category, widths.category},
        {"txtbaldrcr", "Dr./Cr.", &f.balDrCr, widths.balDrCr},
        {"ListComm", "Commission (Cow)", &f.commType, widths.commType},
        {"ListCommBuff", "Commission (Buffalo)", &f.commTypeBuff, widths.commTypeBuff},
        {"List2", "Commission (Cow)", &f.commType1, widths.commType1},
        {"List3", "Commission (Buffalo)", &f.commTypeBuff1, widths.commTypeBuff1},
        {"LstCowRateType", "Cow Rate Type", &f.cowRateType, widths.cowRateType},
        {"LstBuffaloRateType", "Buffalo Rate Type", &f.buffaloRateType, widths.buffaloRateType},
        {"TxtAcNo", "Bank Account No.", &f.acNo, widths.acNo},
        {"LstActive", "Active", &f.active, widths.active},
        {"TxtIFSC", "IFSC", &f.ifsc, widths.ifsc},
        {"LstCircuit", "SNF Circuit", &f.snfCircuit, widths.snfCircuit},
        {"CmdPhoto", "Photo path", &f.imagePath, widths.imagePath},
        {"TxtAccountName", "Account Name", &f.accountName, widths.accountName},
        {"TxtFatherName", "Father Name", &f.fatherName, widths.fatherName},
        {"TxtBankName", "Bank Name", &f.bankName, widths.bankName},
        {"TxtBankBranch", "Bank Branch", &f.bankBranch, widths.bankBranch},
        {"TxtPan", "PAN", &f.pan, widths.pan},
        {"TxtCardNo", "Card No.", &f.cardNo, widths.cardNo},
    };
    for (const Text& t : texts) {
        const QString m = core::tooLongMessage(QString::fromLatin1(t.label), *t.value, t.limit);
        if (!m.isEmpty())
            return core::Problem{QString::fromLatin1(t.field), m};
    }
    const PartyNumbers n = partyNumbers(f);
    struct Number {
        const char* field;
        const char* label;
        const QString& text;
        double value;
        int digits;
    };
    const Number numbers[] = {
        {"Txtope_bal", "Op. Balance", f.opeBal, n.opeBal, core::kNumeric12_2Digits},
        {"TxtComm", "Commission (Cow)", f.commPer, n.commPer, core::kNumeric9_2Digits},
        {"TxtCommBuff", "Commission (Buffalo)", f.commPerBuff, n.commPerBuff,
         core::kNumeric9_2Digits},
        {"Text2", "Commission (Cow)", f.commPer1, n.commPer1, core::kNumeric9_2Digits},
        {"Text3", "Commission (Buffalo)", f.commPerBuff1, n.commPerBuff1, core::kNumeric9_2Digits},
        {"TxtInterestRate", "Interest Rate %", f.interestRate, n.interestRate,
         core::kNumeric9_2Digits},
        {"TxtCreditLimit", "Credit Limit", f.creditLimit, n.creditLimit, core::kNumeric9Digits},
    };
    for (const Number& x : numbers) {
        const QString m =
            core::numberMessage(QString::fromLatin1(x.label), x.text, x.value, x.digits);
        if (!m.isEmpty())
            return core::Problem{QString::fromLatin1(x.field), m};
    }
    return std::nullopt;
}

QString nextPartyCode(const QVariant& highestCode) {
    if (highestCode.isNull() || !highestCode.isValid())
        return QStringLiteral("1");
    double highest = std::floor(highestCode.toDouble());
    if (!std::isfinite(highest) || highest < 0)
        highest = 0;
    return QString::number(static_cast<qint64>(highest) + 1);
}

QString cardTakenMessage(const QString& code, const QString& name) {
    return QStringLiteral("Card No. already given to %1 - %2.").arg(code, name);
}

QString codeTakenMessage(const QString& code, const QString& name) {
    return QStringLiteral("Party Code already given to %1 - %2.").arg(code, name);
}

const QStringList& commissionTypes() {
    static const QStringList list{QStringLiteral("Per Liter"), QStringLiteral("Percentage"),
                                  QStringLiteral("Per Fat")};
    return list;
}

const QStringList& rateTypes() {
    static const QStringList list{QStringLiteral("Fat Wise Rate"),
                                  QStringLiteral("Fat SNF Wise Rate"),
                                  QStringLiteral("Fat Lacto / CLR Wise Rate"),
                                  QStringLiteral("Fat SNF Advance Rate"),
                                  QStringLiteral("Fat Lacto / CLR Advance Rate"),
                                  QStringLiteral("Fat Advance Rate"),
                                  QStringLiteral("Special Rate")};
    return list;
}

} // namespace stokara::masters
