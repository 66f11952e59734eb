#include "menu_table.h"

namespace stokara::app {

namespace {

using A = MenuAction;

// "Item Sale Statement Party wise" has no screen of its own in this program,
// so its entry is kept (hidden) only to keep the menu names of the suite.
const MenuEntry kMenu[] = {
    {"masacc", "&Master Account", "FrmComp", "Shop Master", "", A::OpenScreen, "FrmCompany"},
    {"masacc", "&Master Account", "mnucompany", "&Party Master", "Ctrl+M", A::OpenScreen,
     "masparty"},
    {"masacc", "&Master Account", "MasVendor", "Vendor Master", "", A::OpenScreen, "FrmVendor"},
    {"masacc", "&Master Account", "MnuItem", "Item", "Ctrl+I", A::OpenScreen, "frmmasitem"},
    {"masacc", "&Master Account", "MnuAcchead", "Account Head", "", A::OpenScreen, "FrmHead"},
    {"masacc", "&Master Account", "MnuBom", "BOM", "", A::OpenScreen, "FrmBOM"},
    {"masacc", "&Master Account", "MnuSmsSetting", "SMS Setting", "", A::OpenScreen,
     "FrmOption_beta1"},
    {"mnuactivity", "Activity", "Mnuitpurchases", "Item Purchases", "", A::OpenScreen,
     "Frmitempurchase"},
    {"mnuactivity", "Activity", "mnuitemtomilkman", "Items Sale", "Ctrl+S", A::OpenScreen,
     "FrmItemsale"},
    {"mnuactivity", "Activity", "mnudaybook", "Day Book", "", A::OpenScreen, "FrmDayBook"},
    {"mnuactivity", "Activity", "MnuRC", "Recharge Card", "", A::OpenScreen, "FrmCardRecharge"},
    {"mnureport", "&Reports", "MnuFormat1", "Party Bill Periodic", "", A::OpenScreen, "FrmBill_1"},
    {"mnureport", "&Reports", "MnuPBIW", "Party Bill Invoice Wise", "", A::OpenScreen,
     "FrmBill_Invoicewise"},
    {"mnureport", "&Reports", "MnuVendorLedger", "Vendor Ledger Vendor Wise", "", A::OpenScreen,
     "FrmVendorLedger"},
    {"mnureport", "&Reports", "MnuPartyLedger", "Party Ledger Party Wise", "", A::OpenScreen,
     "FrmPartyLedger"},
    {"mnureport", "&Reports", "MnuLedgerConsolidate", "Party Ledger Consolidate", "", A::OpenScreen,
     "FrmLedger"},
    {"mnureport", "&Reports", "Mnuitpu", "Item Purchase Statement", "", A::OpenScreen,
     "FrmItemSaleStatement", "itempurchase"},
    {"mnureport", "&Reports", "mnuItSalest", "Item Sale Statement Item wise", "", A::OpenScreen,
     "FrmItemSaleStatement", "itemsale"},
    {"mnureport", "&Reports", "MnuLItemST", "Item Sale Statement Party wise", "", A::None, "", "",
     true},
    {"mnureport", "&Reports", "Mnuitss", "Item Sale Statement (Summary) ", "", A::OpenScreen,
     "FrmItemSaleSummary"},
    {"mnureport", "&Reports", "MnuItStock", "Main Item Stock Item Wise", "", A::OpenScreen,
     "FrmItemStock"},
    {"mnureport", "&Reports", "Mnnsis", "Sub Item Stock Item Wise", "", A::OpenScreen,
     "FrmSubItemStock"},
    {"mnureport", "&Reports", "MnuItemStkConsolidate", "Item Stock Consolidate", "", A::OpenScreen,
     "FrmItemLedgerConsolidate"},
    {"mnureport", "&Reports", "MnuDBST", "Day Book Statement", "", A::OpenScreen,
     "FrmDayBokkReport"},
    {"mnureport", "&Reports", "MnuBsheet", "Balance Sheet", "", A::None, "", "", true},
    {"mnureport", "&Reports", "MnuSms", "Message (SMS)", "", A::OpenScreen, "FrmMessage"},
    {"mnusec", "&Security", "mnuussec", "&User Security", "Ctrl+Q", A::OpenScreen,
     "FrmUserSecurity"},
    {"mnusec", "&Security", "mnuadsec", "&Administrator Security", "Ctrl+Z", A::OpenScreen,
     "FrmadminSecurity"},
    {"mnutool", "T&ools", "MnuDR", "Update Database", "", A::UpdateDatabase},
    {"mnutool", "T&ools", "MnuRepDB", "Repair Database", "", A::RepairDatabase},
    {"mnutool", "T&ools", "MnuDsn", "Dsn Creation", "", A::OpenScreen, "FrmDsn"},
    {"Mnuexit", "E&xit", "", "E&xit", "", A::Exit},
};

} // namespace

std::span<const MenuEntry> menuTable() {
    return kMenu;
}

} // namespace stokara::app
