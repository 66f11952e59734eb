#pragma once

namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::masters {

// FrmCompany, masparty, FrmVendor, frmmasitem, FrmHead and FrmBOM.
void registerScreens(core_ui::ScreenRegistry& registry);

} // namespace stokara::masters
