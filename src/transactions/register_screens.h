#pragma once

#include "transactions/sale_finishing.h"

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::transactions {

// Adds the screens of this module to the main window's registry. The sale
// screen finishes its bills with what `finishing` makes (memo and SMS); with
// none, bills are finished without either.
void registerScreens(core_ui::ScreenRegistry& registry, BillFinishingFactory finishing = {});

} // namespace stokara::transactions
