#pragma once

#include "accounts.h"

#include <QDate>
#include <QString>

namespace stokara::books {

// An item's stock moves by its purchases (received), its sales to every party
// (issued) and, for a sub-item, its consumption: each purchase of a main item
// whose bill of materials lists it uses up the purchased quantity times the
// listed weight (the larger weight where a pair is listed twice), kept to two
// decimals per purchase. The opening stock typed in the item master stands
// before every entry.

// Stock before `date`, so a period's closing is the next period's opening.
double stockBefore(core::Database& db, const QString& item, const QDate& date);

// An item's figures for a period (both dates included).
struct StockFigures {
    double opening = 0;
    double received = 0;
    double issued = 0; // sales and consumption
    double closing() const;
};
StockFigures stockFigures(core::Database& db, const QString& item, const QDate& from,
                          const QDate& to);

// The entries behind those figures, by date and then purchases, sales and
// consumption: columns doc_dt, item_name, party_name (a purchase's vendor; a
// sale's party, from the master; "vendor - main item" for a consumption),
// category (a sale's party's category: "MilkMan" when the code is a milk
// supplier's, else the master's), received, issued, sn (1 purchase, 2 sale,
// 3 consumption), auto_no.
Query stockEntries(const QString& item, const QDate& from, const QDate& to);

// Every item with an entry or an opening stock before `date`: columns
// item_name, received (opening and purchases), issued (sales and consumption),
// stock.
Query itemStocksBefore(const QDate& date);

} // namespace stokara::books
