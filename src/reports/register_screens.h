#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::reports {

void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::reports
