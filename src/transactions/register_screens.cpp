#include "register_screens.h"

#include "core_ui/screen_support.h"
#include "transactions/card_recharge_screen.h"
#include "transactions/day_book_screen.h"
#include "transactions/item_sale_screen.h"
#include "transactions/purchase_screen.h"

namespace stokara::transactions {

void registerScreens(core_ui::ScreenRegistry& registry, BillFinishingFactory finishing) {
    registry.add(QStringLiteral("FrmItemsale"), [finishing](core::Session& s) {
        return new ItemSaleScreen(s, finishing ? finishing(s) : nullptr);
    });
    registry.add(QStringLiteral("Frmitempurchase"),
                 [](core::Session& s) { return new PurchaseScreen(s); });
    registry.add(QStringLiteral("FrmDayBook"),
                 [](core::Session& s) { return new DayBookScreen(s); });
    registry.add(QStringLiteral("FrmCardRecharge"),
                 [](core::Session& s) { return new CardRechargeScreen(s); });
}

} // namespace stokara::transactions
