#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::app {

// Every screen of every module that is built into this program.
void registerAllScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::app
