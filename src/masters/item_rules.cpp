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
