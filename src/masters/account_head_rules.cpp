#include "account_head_rules.h"

namespace stokara::masters {

std::optional<core::Problem> checkAccountHead(const QString& head, const QString& group,
                                              const AccountHeadWidths& widths) {
    QString m = core::tooLongMessage(QStringLiteral("Account Head"), head, widths.head);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("TxtHead"), m};
    m = core::tooLongMessage(QStringLiteral("Account Group"), group, widths.group);
    if (!m.isEmpty())
        return core::Problem{QStringLiteral("LstGroup"), m};
    return std::nullopt;
}

} // namespace stokara::masters
