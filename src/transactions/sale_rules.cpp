#include "sale_rules.h"

#include "core/idioms.h"
#include "core/input_rules.h"

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

std::optional<core::Problem> firstSaveProblem(const LineFields& line, const LineWidths& widths) {
    auto problem = [](const char* field, const QString& message) {
        return core::Problem{QString::fromLatin1(field), message};
    };
    auto tooWide = [](const QString& text, int width) {
        return width > 0 && core::characterCount(text) > width;
    };
    const QString badRate = QStringLiteral("Enter correct rate.");
    const QString badQty = QStringLiteral("Enter proper weight value.");
    if (!core::parseDate(line.dateText))
        return problem("text2", QStringLiteral("Enter proper date"));
    const auto rate = core::positiveNumber(line.rateText);
    if (!rate)
        return problem("txtrate", badRate);
    // A name left over from another party is not enough: the row needs its code.
    if (line.partyName.trimmed().isEmpty() || line.partyCode.trimmed().isEmpty())
        return problem("TxtPartyCode", QStringLiteral("Enter proper milk man"));
    const auto qty = core::positiveNumber(line.qtyText);
    if (!qty)
        return problem("TxtQty", badQty);
    if (line.itemName.isEmpty())
        return problem("Item_name", QStringLiteral("Enter proper Item Name."));
    // What the columns can hold; the database would refuse more.
    if (*rate > kLargestAmount)
        return problem("txtrate", badRate);
    if (*qty > kLargestAmount)
        return problem("TxtQty", badQty);
    const auto amount = core::positiveNumber(line.amountText);
    if (!amount)
        return problem("TxtQty", QStringLiteral("Invalid Entry."));
    if (*amount > kLargestAmount)
        return problem("TxtQty", QStringLiteral("The amount is too large for one line."));
    if (tooWide(line.partyCode, widths.partyCode))
        return problem("TxtPartyCode", core::tooLongMessage(QStringLiteral("The party code"),
                                                            line.partyCode, widths.partyCode));
    if (tooWide(line.itemName, widths.itemName))
        return problem("Item_name", core::tooLongMessage(QStringLiteral("The item name"),
                                                         line.itemName, widths.itemName));
    if (tooWide(line.unit, widths.unit))
        return problem("Txtunit",
                       core::tooLongMessage(QStringLiteral("The unit"), line.unit, widths.unit));
    if (line.billNo.trimmed().isEmpty() || tooWide(line.billNo, widths.billNo))
        return problem(
            "TxtBillNo",
            QStringLiteral("The bill number must have 1 to %1 characters.").arg(widths.billNo));
    return std::nullopt;
}

QString loadedPartyLabel(const QString& code, const QString& name) {
    const QString c = code.trimmed();
    if (isNumeric(c) && core::val(c) >= 0)
        return QLatin1Char(' ') + numberText(core::val(c)) + QLatin1Char('-') + name;
    return c + QLatin1Char('-') + name;
}

} // namespace stokara::transactions::sale
