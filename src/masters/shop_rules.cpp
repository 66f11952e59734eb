#include "shop_rules.h"

#include "core/upi.h"

namespace stokara::masters {

std::optional<core::Problem> checkShop(const ShopFields& f, const ShopWidths& widths) {
    if (auto problem =
            core::firstTooLong({{"txtCompName", "Name", f.name, widths.name},
                                {"txtAddress", "Address", f.address, widths.address},
                                {"TxtCity", "City", f.city, widths.city},
                                {"TxtTelno", "TelNo", f.telNo, widths.telNo},
                                {"TxtMobile", "Mobile", f.mobile, widths.mobile},
                                {"TxtTinNo", "GST No.", f.gstNo, widths.gstNo},
                                {"TxtUpiId", "UPI ID", f.upiId, widths.upiId},
                                {"TxtUpiPayee", "UPI payee", f.upiPayee, widths.upiPayee}}))
        return problem;
    if (!f.upiId.trimmed().isEmpty() && !core::isUpiId(f.upiId.trimmed()))
        return core::Problem{QStringLiteral("TxtUpiId"),
                             QStringLiteral("Enter the UPI ID as name@bank, e.g. shop@okaxis.")};
    return std::nullopt;
}

} // namespace stokara::masters
