#pragma once

namespace stokara::core {
class ScreenRegistry;
}

namespace stokara::transactions {

// Adds the screens of this module to the main window's registry.
void registerScreens(core::ScreenRegistry& registry);

} // namespace stokara::transactions
