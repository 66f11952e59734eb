#pragma once

namespace stokara::core {
class ScreenRegistry;
}

namespace stokara::app {

// Every screen of every module that is built into this program.
void registerAllScreens(core::ScreenRegistry& registry);

} // namespace stokara::app
