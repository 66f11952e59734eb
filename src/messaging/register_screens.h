#pragma once

namespace stokara::core {
class ScreenRegistry;
}

namespace stokara::messaging {

void registerScreens(core::ScreenRegistry& registry);

} // namespace stokara::messaging
