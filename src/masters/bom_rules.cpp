#include "bom_rules.h"

#include "core/idioms.h"

#include <cmath>

namespace stokara::masters {

std::optional<core::Problem> checkBomLine(const QString& mainItem, const QString& subItem,
                                          const BomWidths& widths) {
    QString m = core::tooLongMessage(QStringLiteral("Main Item"), mainItem, widths.mainItem);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("DCMainItem"), m};
    m = core::tooLongMessage(QStringLiteral("Sub Item"), subItem, widths.subItem);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("DcSubItem"), m};
    return std::nullopt;
}

std::optional<double> bomWeight(const QString& text) {
    const double w = core::round2(core::val(text));
    if (w <= 0 || w >= std::pow(10.0, core::kNumeric9_2Digits))
        return std::nullopt;
    return w;
}

} // namespace stokara::masters
