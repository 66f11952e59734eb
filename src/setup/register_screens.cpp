#include "register_screens.h"

#include "dsn_screen.h"

#include "core_ui/screen_support.h"

namespace stokara::setup {

void registerScreens(core_ui::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmDsn"), [](core::Session& s) { return new DsnScreen(s); });
}

} // namespace stokara::setup
