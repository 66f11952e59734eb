#include "vendor_rules.h"

namespace stokara::masters {

std::optional<core::Problem> checkVendor(const VendorFields& f, const VendorWidths& widths) {
    const struct {
        const char* field;
        const char* label;
        const QString* value;
        int limit;
    } texts[] = {
        {"txtparty_name", "Vendor Name", &f.name, widths.name},
        {"txtadd1", "Address", &f.add1, widths.add1},
        {"txtph", "Phone", &f.ph, widths.ph},
        {"txtcity", "City", &f.city, widths.city},
    };
    for (const auto& t : texts) {
        const QString m = core::tooLongMessage(QString::fromLatin1(t.label), *t.value, t.limit);
        if (!m.isEmpty())
            return core::Problem{QString::fromLatin1(t.field), m};
    }
    return std::nullopt;
}

} // namespace stokara::masters
