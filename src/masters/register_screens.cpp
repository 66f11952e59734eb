#include "register_screens.h"

#include "account_head_screen.h"
#include "bom_screen.h"
#include "item_screen.h"
#include "party_screen.h"
#include "shop_screen.h"
#include "vendor_screen.h"

#include "core_ui/screen_support.h"

namespace stokara::masters {

void registerScreens(core_ui::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmCompany"), [](core::Session& s) { return new ShopScreen(s); });
    registry.add(QStringLiteral("masparty"), [](core::Session& s) { return new PartyScreen(s); });
    registry.add(QStringLiteral("FrmVendor"), [](core::Session& s) { return new VendorScreen(s); });
    registry.add(QStringLiteral("frmmasitem"), [](core::Session& s) { return new ItemScreen(s); });
    registry.add(QStringLiteral("FrmHead"),
                 [](core::Session& s) { return new AccountHeadScreen(s); });
    registry.add(QStringLiteral("FrmBOM"), [](core::Session& s) { return new BomScreen(s); });
}

} // namespace stokara::masters
