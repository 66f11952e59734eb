#pragma once

#include "ledger_screens.h"

namespace stokara::reports {

// FrmItemStock (main items) and FrmSubItemStock (sub-items): one item over two
// dates, the item bound as the list shows it.
DatedListScreen* itemStockScreen(core::Session& session);
DatedListScreen* subItemStockScreen(core::Session& session);

} // namespace stokara::reports
