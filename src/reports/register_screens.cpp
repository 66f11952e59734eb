#include "register_screens.h"

#include "core_ui/screen_support.h"
#include "reports/ledgers.h"
#include "reports/stock_reports.h"
#include "reports/ui/ledger_screens.h"
#include "reports/ui/statement_screens.h"
#include "reports/ui/stock_screens.h"

namespace stokara::reports {

void registerScreens(core_ui::ScreenRegistry& registry) {
    registry.add(QStringLiteral("FrmPartyLedger"), partyLedgerScreen);
    registry.add(QStringLiteral("FrmVendorLedger"), vendorLedgerScreen);
    registry.add(QStringLiteral("FrmLedger"), [](core::Session& s) {
        return new AsOnDateScreen(s, QStringLiteral("FrmLedger"),
                                  QStringLiteral("Ledger Consolidate"), ledgerConsolidate);
    });

    registry.add(QStringLiteral("FrmItemSaleStatement"),
                 [](core::Session& s) { return new ItemStatementScreen(s); });
    registry.add(QStringLiteral("FrmItemSaleSummary"),
                 [](core::Session& s) { return new ItemSaleSummaryScreen(s); });
    registry.add(QStringLiteral("FrmDayBokkReport"), dayBookStatementScreen);
    registry.add(QStringLiteral("FrmBill_1"), partyBillScreen);
    registry.add(QStringLiteral("FrmBill_Invoicewise"),
                 [](core::Session& s) { return new InvoiceBillScreen(s); });
    registry.add(QStringLiteral("FrmItemStock"), itemStockScreen);
    registry.add(QStringLiteral("FrmSubItemStock"), subItemStockScreen);
    registry.add(QStringLiteral("FrmItemLedgerConsolidate"), [](core::Session& s) {
        return new AsOnDateScreen(s, QStringLiteral("FrmItemLedgerConsolidate"),
                                  QStringLiteral("Item Ledger Consolidate"), itemStockConsolidate);
    });
}

} // namespace stokara::reports
