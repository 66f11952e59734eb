#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::setup {

// Adds the data-source screen (FrmDsn) to the main window's registry.
void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::setup
