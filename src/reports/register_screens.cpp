#include "register_screens.h"

#include "core_ui/screen_support.h"
#include "reports/ui/ledger_screens.h"
#include "reports/ui/stock_screens.h"

namespace stokara::reports {

void registerScreens(core_ui::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmPartyLedger"), [](core::Session& s) {
        return new AccountLedgerScreen(s, AccountLedgerScreen::Kind::Party);
    });
    registry.add(QStringLiteral("FrmVendorLedger"), [](core::Session& s) {
        return new AccountLedgerScreen(s, AccountLedgerScreen::Kind::Vendor);
    });
    registry.add(QStringLiteral("FrmLedger"),
                 [](core::Session& s) { return new LedgerConsolidateScreen(s); });

    registry.add(QStringLiteral("FrmItemStock"), [](core::Session& s) {
        return new ItemStockScreen(s, ItemStockScreen::Kind::Main);
    });
    registry.add(QStringLiteral("FrmSubItemStock"), [](core::Session& s) {
        return new ItemStockScreen(s, ItemStockScreen::Kind::Sub);
    });
    registry.add(QStringLiteral("FrmItemLedgerConsolidate"),
                 [](core::Session& s) { return new ItemStockConsolidateScreen(s); });
}

} // namespace stokara::reports
