#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::security {

void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::security
