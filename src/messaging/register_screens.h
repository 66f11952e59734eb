#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::messaging {

void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::messaging
