#include "shop_rules.h"

#include "core/upi.h"

namespace stokara::masters {

std::optional<core::Problem> checkShop(const ShopFields& f, const ShopWidths& widths) {
    const struct {
        const char* field;
        const char* label;
        const QString* value;
        int limit;
    } texts[] = {
        {"txtCompName", "Name", &f.name, widths.name},
        {"txtAddress", "Address", &f.address, widths.address},
        {"TxtCity", "City", &f.city, widths.city},
        {"TxtTelno", "TelNo", &f.telNo, widths.telNo},
        {"TxtMobile", "Mobile", &f.mobile, widths.mobile},
        {"TxtTinNo", "GST No.", &f.gstNo, widths.gstNo},
        {"TxtUpiId", "UPI ID", &f.upiId, widths.upiId},
        {"TxtUpiPayee", "UPI payee", &f.upiPayee, widths.upiPayee},
    };
    for (const auto& t : texts) {
        const QString m = core::tooLongMessage(QString::fromLatin1(t.label), *t.value, t.limit);
        if (!m.isEmpty())
            return core::Problem{QString::fromLatin1(t.field), m};
    }
    if (!f.upiId.trimmed().isEmpty() && !core::isUpiId(f.upiId.trimmed()))
        return core::Problem{QStringLiteral("TxtUpiId"),
                             QStringLiteral("Enter the UPI ID as name@bank, e.g. shop@okaxis.")};
    return std::nullopt;
}

} // namespace stokara::masters
