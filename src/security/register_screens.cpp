#include "register_screens.h"

#include "password_screen.h"

#include "core_ui/screen_support.h"

namespace stokara::security {

void registerScreens(core_ui::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmUserSecurity"),
                 [](core::Session& s) { return new UserSecurityScreen(s); });
    registry.add(QStringLiteral("FrmadminSecurity"),
                 [](core::Session& s) { return new AdminSecurityScreen(s); });
}

} // namespace stokara::security
