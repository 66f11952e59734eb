#include "vendor_rules.h"

namespace stokara::masters {

std::optional<core::Problem> checkVendor(const VendorFields& f, const VendorWidths& widths) {
    return core::firstTooLong({{"txtparty_name", "Vendor Name", f.name, widths.name},
                               {"txtadd1", "Address", f.add1, widths.add1},
                               {"txtph", "Phone", f.ph, widths.ph},
                               {"txtcity", "City", f.city, widths.city}});
}

} // namespace stokara::masters
