#include "messaging/register_screens.h"

#include "core_ui/screen_support.h"
#include "messaging/message_centre_screen.h"
#include "messaging/sms_settings_screen.h"

namespace stokara::messaging {

void registerScreens(core_ui::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmOption_beta1"),
                 [](core::Session& s) { return new SmsSettingsScreen(s); });
    registry.add(QStringLiteral("FrmMessage"),
                 [](core::Session& s) { return new MessageCentreScreen(s); });
}

} // namespace stokara::messaging
