#include "stock_screens.h"

#include "core/idioms.h"
#include "core/session.h"
#include "reports/ledgers.h"
#include "reports/stock_reports.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace stokara::reports {

namespace {

std::vector<ListEntry> itemEntries(const QStringList& items) {
    std::vector<ListEntry> entries;
    for (const QString& item : items)
        entries.push_back({item, item});
    return entries;
}

} // namespace

DatedListScreen* itemStockScreen(core::Session& session) {
    return new DatedListScreen(
        session, {QStringLiteral("FrmItemStock"), QStringLiteral("Item Stock"),
                  QStringLiteral("Item Description"), itemEntries(mainItems(*session.db)),
                  [](core::Database& db, const ReportContext& context, const ListEntry& item,
                     const QDate& from,
                     const QDate& to) { return itemStock(db, context, item.shown, from, to); }});
}

DatedListScreen* subItemStockScreen(core::Session& session) {
    return new DatedListScreen(
        session, {QStringLiteral("FrmSubItemStock"), QStringLiteral("Sub Item Stock"),
                  QStringLiteral("Item Description"), itemEntries(subItems(*session.db)),
                  [](core::Database& db, const ReportContext& context, const ListEntry& item,
                     const QDate& from,
                     const QDate& to) { return subItemStock(db, context, item.shown, from, to); }});
}

} // namespace stokara::reports
