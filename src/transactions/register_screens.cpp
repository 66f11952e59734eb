#include "register_screens.h"

#include "core/screen_support.h"
#include "transactions/item_sale_screen.h"

namespace stokara::transactions {

void registerScreens(core::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmItemsale"), [&registry](core::Session& s) {
        auto* screen = new ItemSaleScreen(s);
        screen->setScreenRegistry(&registry);
        return screen;
    });
}

} // namespace stokara::transactions
