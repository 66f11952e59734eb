#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::transactions {

// Adds the screens of this module to the main window's registry.
void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::transactions
