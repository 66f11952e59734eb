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
