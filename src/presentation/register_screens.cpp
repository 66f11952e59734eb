#include "register_screens.h"

#include "convert_screen.h"
#include "core_ui/screen_support.h"

namespace stokara::presentation {

void registerScreens(core_ui::ScreenRegistry& registry) {
    // No menu entry names it; a bill screen opens it by name.
    registry.add(QStringLiteral("FrmConvert"),
                 [](core::Session& s) { return new ConvertScreen(s); });
}

} // namespace stokara::presentation
