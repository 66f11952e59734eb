#pragma once

#include "engine/report.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace stokara::core {
class Database;
}

namespace stokara::reports {

struct ReportContext;

// The items a stock report can be asked for, by name: main items (sold and
// bought as they are) and sub-items (used up through the bill of materials).
QStringList mainItems(core::Database& db);
QStringList subItems(core::Database& db);

// One item's purchases and its sales to "MilkMan" parties from `from` to `to`
// (both included), on RepItemBook. Sales to every party count in the opening,
// the issued total and the closing stock; the item master's opening stock
// counts nowhere.
Report itemStock(core::Database& db, const ReportContext& context, const QString& item,
                 const QDate& from, const QDate& to);
// A sub-item consumed by the purchases of the main items that contain it
// (quantity times the BOM weight, one line per purchase) and its own purchases.
Report subItemStock(core::Database& db, const ReportContext& context, const QString& item,
                    const QDate& from, const QDate& to);
// Every item with a purchase or a sale up to `asOn`: purchases minus sales, on
// the report file RptVorlk_DayBookLedgerConsolidate1.rpt.
Report itemStockConsolidate(core::Database& db, const ReportContext& context, const QDate& asOn);

} // namespace stokara::reports
