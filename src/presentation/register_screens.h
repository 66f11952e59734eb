#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::presentation {

void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::presentation
