#include "sale_rules.h"

#include "core/idioms.h"

#include <QLocale>

#include <cmath>

namespace stokara::transactions::sale {

bool isNumeric(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // Only plain decimals: no exponents, no "inf"/"nan", no grouping.
    for (const QChar c : t) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-') &&
            c != QLatin1Char('+'))
            return false;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(v);
}

double quantityForAmount(double saleAmount, double rate) {
    if (rate == 0.0)
        return 0.0;
    return core::round2(saleAmount / rate);
}

double lineAmount(double qty, double rate) {
    return core::round2(qty * rate);
}

QString numberText(double value) {
    if (value == 0.0)
        return QStringLiteral("0"); // never "-0"
    return QString::number(value, 'g', 15);
}

QString nextNumberAfter(const QVariant& highest) {
    if (highest.isNull() || !highest.isValid())
        return QStringLiteral("1");
    return numberText(highest.toDouble() + 1.0);
}

std::optional<QString> firstSaveProblem(const LineFields& line) {
    if (!core::parseDate(line.dateText))
        return QStringLiteral("Enter proper date");
    if (!isNumeric(line.rateText) || core::val(line.rateText) == 0.0)
        return QStringLiteral("Enter correct rate.");
    // A name left over from another party is not enough: the row needs its code.
    if (line.partyName.trimmed().isEmpty() || line.partyCode.trimmed().isEmpty())
        return QStringLiteral("Enter proper milk man");
    if (!isNumeric(line.qtyText) || core::val(line.qtyText) == 0.0)
        return QStringLiteral("Enter proper weight value.");
    if (line.itemName.isEmpty())
        return QStringLiteral("Enter proper Item Name.");
    // What the columns can hold; the database would refuse more.
    if (std::fabs(core::val(line.rateText)) > kLargestAmount)
        return QStringLiteral("Enter correct rate.");
    if (std::fabs(core::val(line.qtyText)) > kLargestAmount)
        return QStringLiteral("Enter proper weight value.");
    if (std::fabs(core::val(line.amountText)) > kLargestAmount)
        return QStringLiteral("The amount is too large for one line.");
    if (line.partyCode.size() > kPartyCodeWidth)
        return QStringLiteral("The party code is longer than %1 characters.").arg(kPartyCodeWidth);
    if (line.itemName.size() > kItemNameWidth)
        return QStringLiteral("The item name is longer than %1 characters.").arg(kItemNameWidth);
    if (line.unit.size() > kUnitWidth)
        return QStringLiteral("The unit is longer than %1 characters.").arg(kUnitWidth);
    if (line.billNo.trimmed().isEmpty() || line.billNo.size() > kBillNoWidth)
        return QStringLiteral("The bill number must have 1 to %1 characters.").arg(kBillNoWidth);
    return std::nullopt;
}

bool needsBalanceQuestion(const QString& amountText, const QString& balanceText) {
    return core::val(amountText) > core::val(balanceText);
}

QString cutPartyName(const QString& name) {
    return name.left(kPartyNameWidth);
}

QString loadedPartyLabel(const QString& code, const QString& name) {
    const QString c = code.trimmed();
    if (isNumeric(c) && core::val(c) >= 0)
        return QLatin1Char(' ') + numberText(core::val(c)) + QLatin1Char('-') + name;
    return c + QLatin1Char('-') + name;
}

} // namespace stokara::transactions::sale
