#include "item_rules.h"

#include "core/idioms.h"

#include <cmath>

namespace stokara::masters {

ItemNumbers itemNumbers(const ItemFields& f) {
    ItemNumbers n;
    n.rate = core::round2(core::val(f.rate));
    n.opeBal = std::nearbyint(core::val(f.opeBal));
    const double entry = core::val(f.autoNo);
    n.entry = std::isfinite(entry) && entry > 0 && entry < 9.0e15 ? static_cast<qint64>(entry) : 0;
    return n;
}

std::optional<core::Problem> checkItem(const ItemFields& f, const ItemWidths& widths) {
    QString m = core::tooLongMessage(QStringLiteral("Item Name"), f.name, widths.name);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("txtitem_name"), m};
    m = core::tooLongMessage(QStringLiteral("Unit"), f.unit, widths.unit);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("LstUnit"), m};
    m = core::tooLongMessage(QStringLiteral("Main Item"), f.mainItem, widths.mainItem);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("LstMainItem"), m};
    const ItemNumbers n = itemNumbers(f);
    m = core::numberMessage(QStringLiteral("Rate"), f.rate, n.rate, core::kNumeric9_2Digits);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("txtrate"), m};
    m = core::numberMessage(QStringLiteral("Opening Balance"), f.opeBal, n.opeBal,
                            core::kNumeric9Digits);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("TxtOpeBal"), m};
    return std::nullopt;
}

QString itemNameOnLeave(const QString& name) {
    return name.toUpper();
}

QString unitOnLeave(const QString& unit) {
    return unit.isEmpty() ? QStringLiteral("Weight") : unit;
}

QString mainItemOnLeave(const QString& flag) {
    return flag.isEmpty() ? QStringLiteral("N") : flag;
}

const QStringList& unitWords() {
    static const QStringList list{QStringLiteral("Weight"), QStringLiteral("Pcs"),
                                  QStringLiteral("Liter"),  QStringLiteral("Bags"),
                                  QStringLiteral("Tin"),    QStringLiteral("Box"),
                                  QStringLiteral("Crates"), QStringLiteral("Cup"),
                                  QStringLiteral("Pouch"),  QStringLiteral("Bottle")};
    return list;
}

} // namespace stokara::masters
