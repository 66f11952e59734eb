#include "register_screens.h"

#include "core_ui/screen_support.h"
#include "reports/report_table.h"
#include "reports/ui/report_screen.h"

namespace stokara::reports {

void registerScreens(core_ui::ScreenRegistry& registry) {
    // One criteria screen per report of the table; the statement screen serves
    // two reports and is registered once.
    for (const ReportEntry& report : reportTable())
        if (!registry.has(report.screen))
            registry.add(report.screen, [name = report.screen](core::Session& s) {
                return reportScreen(s, name);
            });
}

} // namespace stokara::reports
