#pragma once

namespace stokara::core {
class ScreenRegistry;
}

namespace stokara::masters {

// FrmCompany, masparty, FrmVendor, frmmasitem, FrmHead and FrmBOM.
void registerScreens(core::ScreenRegistry& registry);

} // namespace stokara::masters
