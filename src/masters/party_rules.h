#pragma once

#include "core/input_rules.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace stokara::masters {

// Everything the party master shows and stores, as the fields hold it.
struct PartyFields {
    QString code;
    QString name;
    QString add1;
    QString ph;
    QString vehCode;
    QString category;
    QString city;
    QString opeBal;
    QString balDrCr;
    QString commPer;
    QString commType;
    QString commPerBuff;
    QString commTypeBuff;
    QString commPer1;
    QString commType1;
    QString commPerBuff1;
    QString commTypeBuff1;
    QString cowRateType;
    QString buffaloRateType;
    QString acNo;
    QString interestRate;
    QString active;
    QString ifsc;
    QString snfCircuit;
    QString imagePath;
    QString accountName;
    QString fatherName;
    QString bankName;
    QString bankBranch;
    QString pan;
    QString cardNo;
    QString creditLimit;
};

// The numbers a Save writes, read from the typed text by leading-number
// conversion (0 when empty) and rounded as their columns keep them.
struct PartyNumbers {
    double opeBal = 0;
    double commPer = 0;
    double commPerBuff = 0;
    double commPer1 = 0;
    double commPerBuff1 = 0;
    double interestRate = 0;
    double creditLimit = 0; // a whole amount
};
PartyNumbers partyNumbers(const PartyFields& fields);

// Characters the masparty text columns hold (0: no limit). The code, name and
// category are copied into MasPartyDeleted too, so theirs is the smaller width.
struct PartyWidths {
    int code = 0;
    int name = 0;
    int add1 = 0;
    int city = 0;
    int ph = 0;
    int vehCode = 0;
    int category = 0;
    int balDrCr = 0;
    int commType = 0;
    int commTypeBuff = 0;
    int commType1 = 0;
    int commTypeBuff1 = 0;
    int cowRateType = 0;
    int buffaloRateType = 0;
    int acNo = 0;
    int active = 0;
    int ifsc = 0;
    int snfCircuit = 0;
    int imagePath = 0;
    int accountName = 0;
    int fatherName = 0;
    int bankName = 0;
    int bankBranch = 0;
    int pan = 0;
    int cardNo = 0;
};

// Text too long for its column, or a number that is not one or too large for
// its column: the first problem in the order of the fields, naming the field
// to go back to.
std::optional<core::Problem> checkParty(const PartyFields& fields, const PartyWidths& widths);

// The code after the highest numeric code (NULL when no party has a code):
// "1" for the first party; codes that are not numbers count as 0. No upper
// limit other than the column's width.
QString nextPartyCode(const QVariant& highestCode);

inline const QString kDuplicateName = QStringLiteral("Duplicate Name.");
// A card or typed code that belongs to another party, named by its code and name.
QString cardTakenMessage(const QString& code, const QString& name);
QString codeTakenMessage(const QString& code, const QString& name);

// Categories this screen keeps.
inline const QStringList& partyCategories() {
    static const QStringList list{QStringLiteral("MilkMan"), QStringLiteral("VLCC")};
    return list;
}
inline QString kMilkMan() {
    return QStringLiteral("MilkMan");
}
inline QString kFatAdvanceRate() {
    return QStringLiteral("Fat Advance Rate");
}
const QStringList& commissionTypes();
const QStringList& rateTypes();

} // namespace stokara::masters
