#pragma once

namespace stokara::core {
class ScreenRegistry;
}

namespace stokara::security {

void registerScreens(core::ScreenRegistry& registry);

} // namespace stokara::security
