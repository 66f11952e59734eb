#pragma once

#include "core/session.h"

#include <QStringList>

namespace stokara::core {
class Database;
}

namespace stokara::app {

// The trace table starts empty at every start.
void recreateTableDebug(core::Database& db);

// Adds the vendor setting column when missing and sets the caption-language
// flag of the chosen language ("2" Hindi, "4" Punjabi, "1" English, "3" the
// third language). Reports a failure with the message kind ("HindiCheck").
void hindiCheck(core::Session& session);

// The shop record: the first compmaster row with a name; empty texts when
// there is none.
core::ShopInfo readShopInfo(core::Database& db);

// Shop names for the login screen's company list.
QStringList companyNames(core::Database& db);

} // namespace stokara::app
